// UTF-8 notes in the window, tried as a Linux user would: a folder of notes read, grepped
// for a Japanese word beside a Shift_JIS file, one converted to Shift_JIS and back with
// nothing lost, and one edited and saved, still UTF-8 with its own line ends.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "controllers/save/save_controller.h"
#include "controllers/search/search_forms.h"
#include "shellview/file_view.h"
#include "support/sjis.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class UnicodeNotes : public WindowTest {
 protected:
  std::string Pane() const { return form->RichEdit1->Bytes(); }
  QString Info() const { return form->LFilestring->text(); }
  // Answers the grep dialog with a pattern over every file, then waits for the report.
  void Grep(const QString& pattern) {
    AnswerNext<controllers::TForm9>([pattern](controllers::TForm9* dialog) {
      dialog->CBRegExp->setEditText(pattern);
      dialog->All->setChecked(true);
    });
    Run("Mgrep");
    WaitWhileEnabled("Mgrep2");
  }
};

TEST_F(UnicodeNotes, ReadGreppedConvertedBackAndEditedStayUtf8) {
  const std::string shopping = "買い物メモ\n牛乳と卵 🥚\n";
  const std::string plain = "日本語のノート\n二行目\n";
  dir.Write("notes/shopping.md", shopping);
  dir.Write("notes/plain.txt", plain);
  dir.Write("notes/old.txt", test::S("古いメモ\r\n"));
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "notes")));

  SelectHere("shopping.md");
  EXPECT_TRUE(Info().endsWith(QStringLiteral("UTF-8"))) << Info().toStdString();
  EXPECT_EQ(Pane(), shopping);
  EXPECT_EQ(form->RichEdit1->Line(1), "牛乳と卵 🥚");

  // The report follows the UTF-8 note: every file's line in UTF-8, the Shift_JIS one too.
  Grep(QStringLiteral("メモ"));
  const std::string report = form->RichEdit1->Text();
  EXPECT_NE(report.find("買い物メモ\r\n"), std::string::npos) << report;
  EXPECT_NE(report.find("古いメモ\r\n"), std::string::npos) << report;

  // To Shift_JIS and back: nothing lost.
  SelectHere("plain.txt");
  Run("Mutf8tosjis");
  EXPECT_EQ(Pane(), test::S("日本語のノート\n二行目\n"));
  controllers::SaveController::ask_name = [&](QWidget*, const QString&, const QString&) {
    return Q(dir / "notes" / "plain.sjis.txt");
  };
  Run("MTsave1");
  SelectHere("plain.sjis.txt");
  EXPECT_TRUE(Info().endsWith(QStringLiteral("ｼﾌﾄJIS"))) << Info().toStdString();
  Run("Msjistoutf8");
  EXPECT_EQ(Pane(), plain);

  // Edited and saved over: still UTF-8, still LF.
  SelectHere("shopping.md");
  Run("MediterRich");
  form->RichEdit1->MoveCaretTo(form->RichEdit1->Text().size());
  form->RichEdit1->Type(QStringLiteral("パン 🍞"));
  QTest::keyClick(form->RichEdit1->View(), Qt::Key_Return);
  Run("MToversave1");
  EXPECT_EQ(test::ReadFile(dir / "notes" / "shopping.md"), shopping + "パン 🍞\n");
  Run("MediterRich");
  SelectHere("plain.txt");
  SelectHere("shopping.md");
  EXPECT_TRUE(Info().endsWith(QStringLiteral("UTF-8"))) << Info().toStdString();
}

}  // namespace
}  // namespace haruvi::app
