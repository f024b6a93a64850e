// Archives in the window, tried as a new user would: an LZH made on Windows (Japanese
// names in CP932) listed on selection and unpacked into a chosen folder, an LZH and a
// ZIP made of a selection, and an ARJ listed.
#include <QAbstractItemView>
#include <QAction>
#include <QItemSelectionModel>
#include <QComboBox>
#include <QProcess>

#include "archive/listing.h"
#include "archive/lzh_writer.h"
#include "dialogs/target_dialog.h"
#include "support/sjis.h"
#include "support/temp_dir.h"
#include "ui/prompt_dialog.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

#include <algorithm>

namespace haruvi::app {
namespace {

using test::S;

class ArchiveTrial : public WindowTest {
 protected:
  std::string Pane() const { return form->RichEdit1->Text(); }
  // Two files of the list selected together, as with Ctrl+click.
  void SelectBoth(const char* a, const char* b) {
    QAbstractItemView* view = form->FileView1->CurrentView();
    view->clearSelection();
    const QStringList captions = form->FileView1->Captions();
    for (const char* name : {a, b}) {
      const auto row = static_cast<int>(captions.indexOf(QString::fromUtf8(name)));
      ASSERT_GE(row, 0) << name;
      view->selectionModel()->select(view->model()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  std::vector<std::string> Names(const std::filesystem::path& archive) const {
    std::vector<std::string> names;
    for (const archive::Entry& e : archive::ListArchive(archive.string()).entries) names.push_back(e.name);
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ArchiveTrial, AWindowsLzhIsListedAndUnpackedAndArchivesAreMadeOfASelection) {
  // As a Windows archiver writes it: CP932 names, one with a second byte like "\".
  std::string lzh;
  archive::LzhWriter writer(lzh);
  std::string error;
  ASSERT_TRUE(writer.AddFile(S("メモ.txt"), S("牛乳と卵\r\n"), 1700000000, 0644, &error)) << error;
  ASSERT_TRUE(writer.AddFile(S("ソフト\\表.txt"), "table\r\n", 1700000000, 0644, &error)) << error;
  writer.Finish();
  dir.Write("box/日本語.lzh", lzh);
  dir.Write("box/a.txt", "alpha\n");
  dir.Write("box/b.txt", "beta\n");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "box")));

  // The listing on selection, names in Japanese.
  if (!form->Action(QStringLiteral("Mlhashow"))->isChecked()) Run("Mlhashow");
  SelectHere("日本語.lzh");
  EXPECT_NE(Pane().find(S("メモ.txt")), std::string::npos) << Pane();
  EXPECT_NE(Pane().find(S("表.txt")), std::string::npos) << Pane();

  // Unpacked into a folder typed into the target dialog.
  const std::filesystem::path out = dir / "out";
  AnswerNext<dialogs::TForm2>([&](dialogs::TForm2* target) { target->CBdir->setEditText(Q(out)); });
  Run("Marcunpack1");
  EXPECT_EQ(test::ReadFile(out / "メモ.txt"), S("牛乳と卵\r\n"));
  EXPECT_EQ(test::ReadFile(out / "ソフト" / "表.txt"), "table\r\n");

  // An LZH and a ZIP of two selected files.
  for (const char* name : {"two.lzh", "two.zip"}) {
    SelectBoth("a.txt", "b.txt");
    ASSERT_EQ(form->FileView1->SelectedCount(), 2);
    AnswerNext<ui::TForm33>([name](ui::TForm33* ask) { ask->ComboBox1->setEditText(QString::fromUtf8(name)); });
    Run("Marcmake");
    EXPECT_EQ(Names(dir / "box" / name), (std::vector<std::string>{"a.txt", "b.txt"})) << name << "\n" << Pane();
  }
}

TEST_F(ArchiveTrial, AnArjIsListed) {
  dir.Write("arj/src/note.txt", std::string(5000, 'n'));
  QProcess arj;
  arj.setWorkingDirectory(Q(dir / "arj" / "src"));
  arj.start(QStringLiteral("/usr/bin/arj"), {QStringLiteral("a"), QStringLiteral("../notes.arj"), QStringLiteral("note.txt")});
  ASSERT_TRUE(arj.waitForFinished(20000));
  ASSERT_EQ(arj.exitCode(), 0) << arj.readAllStandardOutput().toStdString();
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "arj")));
  SelectHere("notes.arj");
  Run("Marclist1");
  EXPECT_NE(Pane().find("note.txt"), std::string::npos) << Pane();
  EXPECT_NE(Pane().find("5000"), std::string::npos) << Pane();
}

}  // namespace
}  // namespace haruvi::app
