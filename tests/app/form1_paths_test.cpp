// Every command that takes the selected path reaches the file by its bytes: a Shift_JIS
// name in a Shift_JIS folder, a name with a newline, one with a leading dash and a
// 255-byte UTF-8 name, through the window's own commands.
#include <QAbstractItemView>
#include <QClipboard>
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
#include "ui/shown_text.h"
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
    std::unique_ptr<QMimeData> drag(view->model()->mimeData({view->currentIndex()}));
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

    // Copied, then moved into a Shift_JIS folder, then the copy goes to the trash.
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
    Run("Mfiledelete");
    EXPECT_FALSE(fs::exists(target + "/" + name));
    form->close();
    form.reset();
  }
}

}  // namespace
}  // namespace haruvi::app
