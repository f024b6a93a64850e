// The user menus: numbered items kept in step with the dialogs' lists (adding, updating,
// exchanging, deleting), folder jumps by number, and registered command lines started
// without a shell in the browsed folder.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "controllers/usermenu/app_dialog.h"
#include "controllers/usermenu/folder_dialog.h"
#include "controllers/usermenu/usermenu_controller.h"
#include "fake_window.h"
#include "shellview/folder_view.h"
#include "platform/user_lists.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

QStringList Captions(const QMenu* m) {
  QStringList out;
  for (const QAction* a : m->actions()) out << a->text() + QStringLiteral("#") + a->data().toString();
  return out;
}

class UserMenuTest : public ::testing::Test {
 protected:
  UserMenuTest() : menus(w, nullptr) { ui::SetHeadless(true); }  // warnings to standard error
  ~UserMenuTest() override { ui::SetHeadless(false); }
  platform::IniFile& Ini() { return w.Settings().File(); }
  std::string Tool(const char* name) { return (w.dir.path() / name).string(); }
  // A registered program that exists.
  std::string MakeProgram(const char* name) {
    w.dir.Write(name, "#!/bin/sh\n");
    std::filesystem::permissions(w.dir.path() / name, std::filesystem::perms::owner_all);
    return Tool(name);
  }

  test::FakeWindow w;
  UserMenuController menus;
};

TEST_F(UserMenuTest, StartUpNumbersTheItemsAndFolderGapsKeepTheirNumbers) {
  std::vector<platform::ExeEntry> apps;
  for (int i = 0; i < 10; ++i) apps.push_back({"/bin/true", "App" + std::to_string(i + 1)});
  platform::WriteExeList(Ini(), apps);
  Ini().WriteInteger("PopupMenu2", "Count", 3);
  Ini().WriteString("PopupMenu2", "Folder0", "/tmp");
  Ini().WriteString("PopupMenu2", "Folder2", "/");
  menus.iniload();
  ASSERT_EQ(menus.Mexedo()->actions().size(), 10);
  EXPECT_EQ(menus.Mexedo()->actions()[0]->text(), QStringLiteral("&1 App1"));
  EXPECT_EQ(menus.Mexedo2()->actions()[9]->text(), QStringLiteral("&10 App10"));
  EXPECT_EQ(menus.Mexedo()->actions()[9]->statusTip(), QStringLiteral("App10"));
  EXPECT_EQ(Captions(menus.PopupMenu2()), (QStringList{"&1 /tmp#1", "&3 /#3"}));
}

TEST_F(UserMenuTest, ExchangesRenumberAndTheEndsDoNotMove) {
  menus.exemenuadd("A", 1);
  menus.exemenuadd("B", 2);
  menus.exemenuadd("C", 3);
  menus.exemenuup(0);  // the first cannot go up
  menus.exemenudown(2);  // the last cannot go down
  EXPECT_EQ(Captions(menus.Mexedo()), (QStringList{"&1 A#1", "&2 B#2", "&3 C#3"}));
  menus.exemenudown(0);
  EXPECT_EQ(Captions(menus.Mexedo()), (QStringList{"&1 B#1", "&2 A#2", "&3 C#3"}));
  EXPECT_EQ(Captions(menus.Mexedo2()), Captions(menus.Mexedo()));
  menus.exemenuupdate("Z&Z", 1);
  EXPECT_EQ(menus.Mexedo()->actions()[1]->text(), QStringLiteral("&2 Z&&Z"));
  EXPECT_EQ(menus.Mexedo()->actions()[1]->toolTip(), QStringLiteral("Z&Z"));
  menus.exemenudel(0);
  EXPECT_EQ(menus.Mexedo2()->actions().size(), 2);
}

TEST_F(UserMenuTest, ACommandLineRunsWithoutAShellInTheBrowsedFolder) {
  // touch makes one file per argument: their names prove how the line was split, and
  // that "$(...)", ";" and ">" reached the program instead of a shell.
  w.dir.Write("work/keep", "");
  w.MoveToFolder(QString::fromStdString((w.dir.path() / "work").string()));
  platform::WriteExeList(Ini(), {{"/usr/bin/touch \"two words\" '$(touch hacked)' 'a;b' x\\ y >z", "touch"}});
  menus.iniload();
  menus.Mexedo()->actions()[0]->trigger();
  const std::filesystem::path work = w.dir.path() / "work";
  for (const char* name : {"two words", "$(touch hacked)", "a;b", "x y", ">z"}) {
    for (int i = 0; i < 200 && !std::filesystem::exists(work / name); ++i) QTest::qWait(10);
    EXPECT_TRUE(std::filesystem::exists(work / name)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(work / "hacked"));
  EXPECT_FALSE(std::filesystem::exists(work / "z"));
}

TEST_F(UserMenuTest, AMissingProgramOrABrokenLineIsSaidOnTheStatusBar) {
  platform::WriteExeList(Ini(), {{"/no/such/program --x", "gone"}, {"prog 'open", "broken"}});
  menus.iniload();
  menus.appexe(1);
  EXPECT_TRUE(w.Status().Text(4).contains(QStringLiteral("/no/such/program"))) << w.Status().Text(4).toStdString();
  menus.appexe(2);
  EXPECT_TRUE(w.Status().Text(4).contains(QStringLiteral("実行できません"))) << w.Status().Text(4).toStdString();
  w.Status().SetText(4, "");
  menus.appexe(3);  // past the list: nothing
  menus.appexe(0);
  EXPECT_TRUE(w.Status().Text(4).isEmpty());
}

TEST_F(UserMenuTest, AFolderItemJumpsThereByItsNumber) {
  w.dir.Write("dest/f.txt", "x");
  platform::WriteFolderList(Ini(), {(w.dir.path() / "dest").string()});
  menus.iniload();
  menus.PopupMenu2()->actions()[0]->trigger();
  EXPECT_EQ(w.CurrentFolder().toStdString(), (w.dir.path() / "dest").string());
  EXPECT_TRUE(w.Called("folderinfo"));
  platform::WriteFolderList(Ini(), {(w.dir.path() / "gone").string()});
  menus.torokufolderjump(1);
  EXPECT_TRUE(w.Status().Text(4).contains(QStringLiteral("gone")));
  // "~/dest" is the home folder's dest.
  const QByteArray home = qgetenv("HOME");
  ::setenv("HOME", w.dir.path().c_str(), 1);
  platform::WriteFolderList(Ini(), {"~/dest"});
  menus.torokufolderjump(1);
  ::setenv("HOME", home.constData(), 1);
  EXPECT_EQ(w.CurrentFolder().toStdString(), (w.dir.path() / "dest").string());
}

TEST_F(UserMenuTest, TheApplicationDialogKeepsTheMenusInStepAndWritesOnClose) {
  const std::string a = MakeProgram("a"), b = MakeProgram("b");
  platform::WriteExeList(Ini(), {{a, "A"}, {"/no/such", "gone"}, {b, "B"}});
  menus.iniload();
  {
    TForm22 dialog(menus, Ini());
    ASSERT_EQ(dialog.ListBox1->count(), 2);  // the missing program is dropped
    EXPECT_FALSE(dialog.BNew->isEnabled());
    // The tree lists the program under its folder; choosing it there fills the boxes.
    ASSERT_TRUE(dialog.ShellTree->SelectPath(QString::fromStdString(a)));
    EXPECT_EQ(dialog.Edit1->text().toStdString(), a);
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("a"));
    EXPECT_TRUE(dialog.BNew->isEnabled());
    dialog.Edit2->setText("A again");
    dialog.NewClick();  // the same program twice is allowed
    ASSERT_EQ(dialog.ListBox1->count(), 3);
    dialog.ListBox1->setCurrentRow(1);
    dialog.ListBox1Click();
    EXPECT_EQ(dialog.ShellTree->SelectedPath().toStdString(), b);  // the tree shows the entry's program
    dialog.Edit2->setText("Bee");
    dialog.UpdateClick();
    dialog.UpClick();
    EXPECT_EQ(dialog.ListBox1->currentRow(), 0);
    dialog.UpClick();  // already first
    EXPECT_EQ(dialog.ListBox1->item(0)->text(), QStringLiteral("Bee"));
    dialog.ListBox1->setCurrentRow(0);
    dialog.DeleteClick();
    EXPECT_EQ(dialog.ListBox1->currentRow(), -1);
    EXPECT_TRUE(dialog.Edit1->text().isEmpty());
    dialog.Edit1->setText("/no/such/thing");
    dialog.NewClick();  // warned, not added
    EXPECT_EQ(dialog.ListBox1->count(), 2);
  }
  const std::vector<platform::ExeEntry> list = platform::ReadExeList(Ini());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "A");
  EXPECT_EQ(list[1].name, "A again");
}

TEST_F(UserMenuTest, TheFolderDialogIgnoresTwinsAndDropsEmptyEntriesOnClose) {
  Ini().WriteInteger("PopupMenu2", "Count", 2);
  Ini().WriteString("PopupMenu2", "Folder1", "/tmp");
  menus.iniload();
  {
    TForm23 dialog(menus, Ini());
    EXPECT_EQ(dialog.ListBox1->count(), 2);
    dialog.TreeClick("/tmp");
    dialog.NewClick();  // already there
    EXPECT_EQ(dialog.ListBox1->count(), 2);
    dialog.TreeClick("/var");
    dialog.NewClick();
    EXPECT_EQ(dialog.ListBox1->count(), 3);
    EXPECT_EQ(menus.PopupMenu2()->actions().back()->text(), QStringLiteral("&3 /var"));
    dialog.ListBox1->setCurrentRow(2);
    dialog.DownClick();  // already last
    EXPECT_EQ(dialog.ListBox1->item(2)->text(), QStringLiteral("/var"));
  }
  EXPECT_EQ(platform::ReadFolderList(Ini()), (std::vector<std::string>{"/tmp", "/var"}));
}

}  // namespace
}  // namespace haruvi::controllers
