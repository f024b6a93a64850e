// Simple editing: the mode switch and its signs, clipboard commands only where they may
// act, the jump rule, the caret's line and column, and the first and last lines.
#include "controllers/edit/edit_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>

#include "fake_window.h"
#include "ui/shown_text.h"

namespace haruvi::controllers {
namespace {

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override { w.Pane().SetText(std::string("\x93\xfa\x96\x7b\r\nabc\r\nlast")); }
  QColor Info() { return w.InfoLine().palette().color(QPalette::WindowText); }
  test::FakeWindow w;
  EditController edit{w};
};

TEST_F(EditTest, TheModeSwitchShowsItselfEverywhere) {
  w.Actions().Trigger("MediterRich");
  EXPECT_FALSE(w.Pane().ReadOnly());
  EXPECT_EQ(w.TextStatus().Text(2), " 編集 ");
  EXPECT_TRUE(w.Actions().Checked("MediterRich"));  // its tool button pressed
  EXPECT_EQ(w.Actions().Get("MediterRich")->text(), "簡易編集を解除(&R)");
  EXPECT_EQ(Info(), QColor(255, 0, 0));
  w.Actions().Trigger("MediterRich2");  // the pop-up copy switches back
  EXPECT_TRUE(w.Pane().ReadOnly());
  EXPECT_EQ(w.TextStatus().Text(2), " 閲覧 ");
  EXPECT_EQ(Info(), QColor(Qt::black));
  w.Text().editmodeon();
  w.Text().editmodeon();  // a second call changes nothing
  EXPECT_FALSE(w.Pane().ReadOnly());
  EXPECT_EQ(w.Actions().Get("MediterRich")->text(), "簡易編集を解除(&R)");  // the menu follows the mode
  EXPECT_EQ(w.Pane().Bytes(), "\x93\xfa\x96\x7b\r\nabc\r\nlast");  // entering edit keeps the bytes
}

TEST_F(EditTest, ClipboardCommandsActOnlyWhereTheyMay) {
  w.Pane().SetSelection(6, 3);  // "abc" (byte offsets, CR LF included)
  w.Actions().Trigger("Mtextdelete");  // view mode: nothing
  EXPECT_EQ(w.Pane().Bytes(), "\x93\xfa\x96\x7b\r\nabc\r\nlast");
  w.Actions().Trigger("Mcopy1");
  EXPECT_EQ(QApplication::clipboard()->text(), "abc");
  EXPECT_EQ(w.Pane().SelLength(), 0u);  // copied, the selection collapses to its start
  EXPECT_EQ(w.Pane().SelStart(), 6u);
  w.Text().editmodeon();
  w.Pane().SetSelection(0, 4);  // 日本
  w.Actions().Trigger("Mcut");
  EXPECT_EQ(QApplication::clipboard()->text(), "日本");
  EXPECT_EQ(w.Pane().Bytes(), "\r\nabc\r\nlast");
  QApplication::clipboard()->setText(QStringLiteral("é😀"));  // neither is in CP932
  w.Pane().SetSelection(0, 0);
  w.Actions().Trigger("Mpast");
  EXPECT_TRUE(w.Status().Text(4).contains("2 文字"));
  edit.Medit1Click();
  EXPECT_TRUE(w.Actions().Get("Mpast")->isEnabled());
  EXPECT_FALSE(w.Actions().Get("Mcut")->isEnabled());  // nothing selected
}

TEST_F(EditTest, JumpsGoWhereTheRuleSays) {
  const struct {
    const char* answer;
    std::size_t line;
  } rows[] = {{"0", 0}, {"1", 0}, {"2", 1}, {"99", 2}, {"x", 0}, {"", 0}, {"-5", 0}, {" 3 ", 2}};
  for (const auto& r : rows) EXPECT_EQ(EditController::JumpLine(r.answer, 3), r.line) << r.answer;
}

TEST_F(EditTest, TheCaretShowsItsLineAndColumn) {
  edit.caretdisp();
  EXPECT_EQ(w.TextStatus().Text(0), " 1行 1列 ");
  w.Actions().Trigger("Mlinebottom1");
  EXPECT_EQ(w.TextStatus().Text(0), " 3行 4列 ");  // the text's length minus one: before the last byte
  w.Actions().Trigger("Mlinetop1");
  EXPECT_EQ(w.Pane().Caret(), 0u);
  EXPECT_EQ(w.TextStatus().Text(0), " 1行 1列 ");
}

}  // namespace
}  // namespace haruvi::controllers

#include <QPushButton>
#include <QLineEdit>
#include <QTreeWidget>
#include <sys/stat.h>

#include "dialogs/folder_dialog.h"
#include "shellview/folder_view.h"
#include "support/temp_dir.h"

namespace haruvi::controllers {
namespace {

// The editor dialog takes programs only: a folder, a plain file or nothing keeps OK off;
// an executable file or a command on PATH turns it on; the tree lists a folder's programs
// and choosing one fills the box. The previous setting is named.
TEST(EditorDialog, OkOnlyForAProgramWhichTheTreeListsAndFills) {
  test::TempDir dir;
  const auto tool = dir.Write("bin/mytool", "#!/bin/sh\n");
  ::chmod(tool.c_str(), 0755);
  dir.Write("bin/notes.txt", "x");
  dialogs::TForm4 form(QStringLiteral("ｴﾃﾞｨﾀｰの設定"), QStringLiteral("p"), nullptr, dialogs::TForm4::Choose::Program);
  EXPECT_EQ(form.Label2->text(), QStringLiteral("以前の設定："));
  for (const QString& no : {QString(), QString::fromStdString((dir / "bin").string()),
                            QString::fromStdString((dir / "bin/notes.txt").string()), QStringLiteral("no-such-command-x")}) {
    form.Edit1->setText(no);
    EXPECT_FALSE(form.OkButton->isEnabled()) << no.toStdString();
  }
  for (const QString& yes : {QString::fromStdString(tool.string()), QStringLiteral("sh")}) {
    form.Edit1->setText(yes);
    EXPECT_TRUE(form.OkButton->isEnabled()) << yes.toStdString();
  }
  form.Edit1->clear();
  ASSERT_TRUE(form.FolderTree->SelectPath(QString::fromStdString((dir / "bin").string())));
  QTreeWidgetItem* bin = form.FolderTree->currentItem();
  bin->setExpanded(true);
  QStringList listed;
  for (int i = 0; i < bin->childCount(); ++i) listed << bin->child(i)->text(0);
  EXPECT_EQ(listed, QStringList{"mytool"});
  form.FolderTree->setCurrentItem(bin->child(0));
  EXPECT_EQ(form.Edit1->text().toStdString(), tool.string());
  EXPECT_TRUE(form.OkButton->isEnabled());
  form.SetPrevious(QStringLiteral("/usr/bin/gedit"));
  EXPECT_EQ(form.Label2->text(), QStringLiteral("以前の設定:/usr/bin/gedit"));
}

}  // namespace
}  // namespace haruvi::controllers
