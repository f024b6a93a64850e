// Every command that takes the selected path reaches the file by its bytes: a Shift_JIS
// name in a Shift_JIS folder, a name with a newline, one with a leading dash and a
// 255-byte UTF-8 name, through the window's own commands.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>

#include "bridge/disk_path.h"
#include "bridge/path_mime.h"
#include "bridge/programs.h"
#include "controllers/fileops/fileops_controller.h"
#include "dialogs/file_name_dialog.h"
#include "shellview/item_menu.h"
#include "shellview/path_edit.h"
#include "dialogs/target_dialog.h"
#include "ui/prompt_dialog.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

namespace fs = std::filesystem;
using controllers::FileOpsController;

std::string Long255() {
  std::string name;
  for (int i = 0; i < 83; ++i) name += "あ";  // 249 bytes
  return name + "ab.txt";
}

class PathsTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    ::setenv("VISUAL", "my-editor", 1);
    bridge::ProgramStarterForTest() = [this](const std::vector<std::string>& argv, const std::string&) {
      started.push_back(argv);
      return true;
    };
    FileOpsController::prompts.confirm = [](const QString&) { return true; };
  }
  void TearDown() override {
    bridge::ProgramStarterForTest() = nullptr;
    FileOpsController::prompts = {};
    dialogs::FileNameDialog::confirm_overwrite = nullptr;
    ::unsetenv("VISUAL");
    ::unsetenv("XDG_DATA_HOME");
    WindowTest::TearDown();
  }
  std::vector<std::vector<std::string>> started;
};

TEST_F(PathsTest, EveryCommandReachesTheFileByItsBytes) {
  const std::string folder = (dir / "\x93\xfa\x96\x7b").string();  // 日本 in Shift_JIS
  const std::string target = (dir / "\x88\xda\x82\xb7").string();  // 移す in Shift_JIS
  fs::create_directories(folder);
  fs::create_directories(target);
  const std::string names[] = {"\x83\x74\x83\x40\x83\x43\x83\x8b.txt", "new\nline.txt", "-dash.txt", Long255()};
  int round = 0;
  for (const std::string& name : names) {
    SCOPED_TRACE("name #" + std::to_string(round));
    const std::string path = folder + "/" + name;
    const std::string text = "text " + std::to_string(round++) + "\r\n";
    dir.Write(fs::path(path).lexically_relative(dir.path()).string(), text);
    Open(bridge::FromDisk(path));
    ASSERT_EQ(bridge::ToDisk(form->SelectedPath()), path);
    const QString shown = bridge::DisplayName(bridge::FromDisk(name));

    // Other programs get the bytes: the editor and the desktop's opener.
    started.clear();
    Run("Mediter");
    Run("Mfileexe");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"my-editor", path}));
    EXPECT_EQ(started[1], (std::vector<std::string>{"xdg-open", path}));

    // The clipboard and a drag: the bytes in the URLs, the name as shown in the text.
    Run("Mfilenamecopy1");
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(bridge::PathsFromMimeData(clip), QStringList{bridge::FromDisk(path)});
    EXPECT_TRUE(clip->text().endsWith(shown));
    QAbstractItemView* view = form->FileView1->CurrentView();
    std::unique_ptr<QMimeData> no_drag(view->model()->mimeData({view->currentIndex()}));
    EXPECT_EQ(no_drag, nullptr);  // drags to other programs are off until asked for
    Run("Mdragdrop1");
    std::unique_ptr<QMimeData> drag(view->model()->mimeData({view->currentIndex()}));
    Run("Mdragdrop1");
    EXPECT_EQ(bridge::PathsFromMimeData(drag.get()), QStringList{bridge::FromDisk(path)});

    // The properties are the file's own.
    bool looked = false;
    AnswerNext<shellview::PropertiesDialog>([&](shellview::PropertiesDialog* d) {
      QStringList labels;
      for (QLabel* l : d->findChildren<QLabel*>()) labels << l->text();
      EXPECT_TRUE(labels.contains(QString::number(text.size()) + QStringLiteral(" byte"))) << labels.join('|').toStdString();
      EXPECT_TRUE(labels.contains(shown));
      looked = true;
    });
    Run("Mfileproperty1");
    EXPECT_TRUE(looked);

    // Saved over, and saved under its own name through the dialog (which asks first).
    form->Text().Replace("changed\r\n");
    Run("MToversave1");
    EXPECT_EQ(test::ReadFile(path), "changed\r\n");
    int asked = 0;
    dialogs::FileNameDialog::confirm_overwrite = [&](QWidget*, const QString& p) {
      ++asked;
      EXPECT_EQ(bridge::ToDisk(p), path);
      return true;
    };
    form->Text().Replace("again\r\n");
    AnswerNext<dialogs::FileNameDialog>([&](dialogs::FileNameDialog* d) {
      EXPECT_EQ(d->findChild<shellview::PathEdit*>(QStringLiteral("Name"))->text(), shown);
    });
    Run("MTsave1");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(test::ReadFile(path), "again\r\n");

    // An archive under the proposed name, left as shown, unpacked into the other folder.
    Open(bridge::FromDisk(path));
    const std::string stem = name.substr(0, name.rfind('.'));
    AnswerNext<ui::TForm33>([&](ui::TForm33* ask) {
      EXPECT_EQ(ask->ComboBox1->currentText(), bridge::DisplayName(bridge::FromDisk(stem + ".lzh")));
    });
    Run("Marcmake");
    ASSERT_TRUE(fs::exists(folder + "/" + stem + ".lzh")) << form->Text().View().Bytes();
    ASSERT_TRUE(form->FileView1->SelectByCaption(bridge::FromDisk(stem + ".lzh")));
    AnswerNext<dialogs::TForm2>([&](dialogs::TForm2* d) { d->CBdir->setEditText(bridge::FromDisk(target)); });
    Run("Marcunpack1");
    // Names from an archive are unpacked in UTF-8: a Shift_JIS name comes out as it is shown.
    const std::string unpacked = target + "/" + bridge::ToDisk(bridge::DisplayName(bridge::FromDisk(name)));
    EXPECT_EQ(test::ReadFile(unpacked), "again\r\n") << form->Text().View().Bytes();
    fs::remove(unpacked);
    fs::remove(folder + "/" + stem + ".lzh");

    // The folder prompt shows the folder as the tree does; left as it is, nothing moves.
    AnswerNext<ui::TForm33>([&](ui::TForm33* ask) {
      EXPECT_EQ(ask->ComboBox1->currentText(), bridge::DisplayName(bridge::FromDisk(folder)));
    });
    Run("Mfolderm");
    EXPECT_EQ(bridge::ToDisk(form->CurrentFolder()), folder);

    // Copied, then moved into a Shift_JIS folder, renamed there, then it goes to the trash.
    Open(bridge::FromDisk(path));
    FileOpsController::prompts.target = [&](auto, auto&) { return std::optional<QString>(bridge::FromDisk(target)); };
    Run("Mfilecopy");
    EXPECT_EQ(test::ReadFile(target + "/" + name), "again\r\n");
    fs::remove(target + "/" + name);
    Run("Mfilemove");
    EXPECT_EQ(test::ReadFile(target + "/" + name), "again\r\n");
    EXPECT_FALSE(fs::exists(path));
    Open(bridge::FromDisk(target + "/" + name));
    ASSERT_EQ(bridge::ToDisk(form->SelectedPath()), target + "/" + name);
    FileOpsController::prompts.text = [&](const QString&, const QString&, const QString& initial) {
      EXPECT_EQ(initial, shown);
      return std::optional<QString>(initial);  // left as shown: the same name, nothing renamed
    };
    Run("Mrename");
    EXPECT_TRUE(fs::exists(target + "/" + name));
    FileOpsController::prompts.text = [](auto&, auto&, auto&) { return std::optional<QString>("renamed.txt"); };
    Run("Mrename");
    ASSERT_TRUE(fs::exists(target + "/renamed.txt"));
    ASSERT_EQ(bridge::ToDisk(form->SelectedPath()), target + "/renamed.txt");
    Run("Mfiledelete");
    EXPECT_FALSE(fs::exists(target + "/renamed.txt"));
    form->close();
    form.reset();
  }
}

}  // namespace
}  // namespace haruvi::app
