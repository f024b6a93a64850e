// What a new user ran into: files that must never be read on the window's thread
// (a FIFO, devices), Esc while renaming, stale status texts, Shift_JIS names put into
// the pane, folder totals after a start and a refresh, and links to folders.
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include "app/folder_status.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/panel_bar.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class DefectsTest : public WindowTest {
 protected:
  void WaitForTotals() {
    form->folder_status()->WaitForIdle();
    QApplication::processEvents();
  }
};

TEST_F(DefectsTest, SelectingAFifoOrADeviceNeverWaitsAndReadsNothing) {
  dir.Write("f/a.txt", "a");
  ASSERT_EQ(::mkfifo((dir / "f/pipe").c_str(), 0600), 0);
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  QElapsedTimer t;
  t.start();
  ASSERT_EQ(form->FileView1->SelectByCaption("pipe"), 1);  // would block in open() if read
  EXPECT_LT(t.elapsed(), 2000);
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  EXPECT_TRUE(form->LFilestring->text().startsWith("pipe   "));  // its line, no contents
  form->Action("Mv")->trigger();  // the show commands leave a FIFO alone too
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
}

TEST_F(DefectsTest, StartingOnDevZeroShowsItsLineAndStaysSmall) {
  QElapsedTimer t;
  t.start();
  Open("/dev/zero");
  EXPECT_LT(t.elapsed(), 20000);
  EXPECT_EQ(form->FileView1->SelectedPath(), "/dev/zero");
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  EXPECT_TRUE(form->LFilestring->text().startsWith("zero   "));
}

TEST_F(DefectsTest, EscWhileRenamingCancelsTheRenameOnly) {
  dir.Write("f/a.txt", "a");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  form->FileView1->SelectByCaption("a.txt");
  QAbstractItemView* view = form->FileView1->CurrentView();
  view->setFocus();
  form->FileView1->RenameSelected();
  QApplication::processEvents();
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(std::filesystem::exists(dir / "f/a.txt"));
}

TEST_F(DefectsTest, StatusTextsFollowWhatIsShown) {
  dir.Write("f/a.txt", "one\r\ntwo\r\n");
  dir.Write("f/sub/b.txt", "b");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  form->FileView1->SelectByCaption("a.txt");
  EXPECT_EQ(form->SBarR->Text(1), " 2 行 ");
  EXPECT_EQ(form->StatusBar1->Text(3), " 1 個選択 ");
  // A rename names the new file at once.
  QAbstractItemModel* model = form->FileView1->CurrentView()->model();
  const int row = static_cast<int>(form->FileView1->Captions().indexOf("a.txt"));
  model->setData(model->index(row, 0), "renamed.txt");
  EXPECT_TRUE(form->LFilestring->text().startsWith("renamed.txt   "));
  // Entering a folder with nothing selected: no stale count, no stale lines.
  form->FileView1->SelectByCaption("sub");
  form->FileView1Change(form->FileView1->SelectedPath(), true);
  form->MoveToFolder(Q(dir / "f/sub"));
  EXPECT_EQ(form->StatusBar1->Text(3), " 0 個選択 ");
  EXPECT_EQ(form->SBarR->Text(1), "");
}

TEST_F(DefectsTest, FileNameListsKeepShiftJisNamesAsTheirBytes) {
  // "シフトJIS名のファイル.txt" in Shift_JIS: its bytes C3 8C 83 ... hold runs that are
  // valid UTF-8 by chance.
  const std::string sjis_name = "\x83\x56\x83\x74\x83\x67JIS\x96\xbc\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b.txt";
  dir.Write("f/" + sjis_name, "x");
  dir.Write("f/日本.txt", "y");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  form->Action("Mfilenamedisp1")->trigger();
  EXPECT_EQ(form->RichEdit1->Bytes(), sjis_name + "\r\n" "\x93\xfa\x96\x7b.txt\r\n");
}

TEST_F(DefectsTest, FolderTotalsAfterStartAndAfterRefresh) {
  dir.Write("start/a.txt", "aa");
  WriteIni("[FolderView]\nDirectory=" + (dir / "start").string() + "\n");
  Open();
  EXPECT_EQ(form->StatusBar1->Text(0), Q(dir / "start"));
  WaitForTotals();
  EXPECT_EQ(form->StatusBar1->Text(1), " 1 個 ");
  form->FileView1->SelectByCaption("a.txt");
  dir.Write("start/b.txt", "bbb");
  form->Action("Minitview")->trigger();
  WaitForTotals();
  EXPECT_EQ(form->StatusBar1->Text(1), " 2 個 ");
  EXPECT_EQ(form->StatusBar1->Text(2), " 5 byte ");
}

TEST_F(DefectsTest, AFolderReachedThroughALinkIsCounted) {
  dir.Write("real/a.txt", "aaaa");
  std::filesystem::create_directory_symlink(dir / "real", dir / "link");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "link")));
  form->folderinfo();
  WaitForTotals();
  EXPECT_EQ(form->StatusBar1->Text(1), " 1 個 ");
  EXPECT_EQ(form->StatusBar1->Text(2), " 4 byte ");
}

TEST_F(DefectsTest, TheHintPanelTakesTheRestOfTheBar) {
  Open();
  form->resize(900, 600);
  QApplication::processEvents();
  form->StatusBar1->SetText(4, "「Haruvi」のINIファイルを削除し、初期化します。");
  QApplication::processEvents();
  EXPECT_GT(form->StatusBar1->Width(4), 200);
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST_F(DefectsTest, TheWindowSpeaksJapanese) {
  dir.Write("f/a.txt", "a");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  // The file list's kind column names plain text in Japanese, not "plain text document".
  form->Action("Micon4")->trigger();
  const QString kind = form->FileView1->CurrentView()->model()->index(0, 2).data().toString();
  EXPECT_FALSE(kind.contains(QStringLiteral("plain text"))) << kind.toStdString();
  EXPECT_TRUE(kind.contains(QStringLiteral("テキスト"))) << kind.toStdString();
  // Qt's own buttons: "キャンセル", not "Cancel".
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
}

TEST_F(DefectsTest, FoldersInTheTreeRenameOnDiskOrKeepTheirName) {
  dir.Write("f/old/x.txt", "x");
  dir.Write("f/taken/y.txt", "y");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f/old")));
  QTreeWidgetItem* item = form->FolderView1->currentItem();
  ASSERT_NE(item, nullptr);
  item->setText(0, "taken");  // a name in use: refused
  EXPECT_EQ(item->text(0), "old");
  EXPECT_TRUE(std::filesystem::exists(dir / "f/old/x.txt"));
  item->setText(0, "new");
  EXPECT_TRUE(std::filesystem::exists(dir / "f/new/x.txt"));
  EXPECT_EQ(form->CurrentFolder(), Q(dir / "f/new"));
  EXPECT_EQ(form->FileView1->Captions(), QStringList{"x.txt"});
  form->FolderView1->topLevelItem(0)->setText(0, "root");  // the root is never renamed
  EXPECT_TRUE(std::filesystem::exists("/"));
}

TEST_F(DefectsTest, LinksCarryAnEmblem) {
  dir.Write("f/a.txt", "a");
  std::filesystem::create_symlink(dir / "f/a.txt", dir / "f/b.txt");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  QAbstractItemModel* m = form->FileView1->CurrentView()->model();
  const QImage plain = m->index(0, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(32, 32).toImage();
  const QImage link = m->index(1, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(32, 32).toImage();
  EXPECT_NE(plain, link);
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST_F(DefectsTest, ShiftJisNamesShowReadAsShiftJisAndStillOpen) {
  const std::string sjis_name = "\x83\x56\x83\x74\x83\x67JIS.txt";  // シフトJIS.txt
  dir.Write("f/" + sjis_name, "\x93\xfa\x96\x7b");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "f")));
  QAbstractItemModel* m = form->FileView1->CurrentView()->model();
  EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("シフトJIS.txt"));
  form->FileView1->SelectRow(0);
  EXPECT_EQ(form->RichEdit1->Bytes(), "\x93\xfa\x96\x7b");  // the file opened by its bytes
  EXPECT_TRUE(form->LFilestring->text().startsWith(QStringLiteral("シフトJIS.txt   ")));
}

}  // namespace
}  // namespace haruvi::app
