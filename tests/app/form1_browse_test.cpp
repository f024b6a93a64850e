// Browsing with the window: keys in the views, the modifier flags, masks, sorting,
// re-selection and the folder status totals.
#include <QAbstractItemView>
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app/folder_status.h"
#include "controllers/fileops/fileops_controller.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "shellview/listing.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class BrowseTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dir.Write("tree/a.TXT", std::string(10, 'a'));
    dir.Write("tree/b.bmp", std::string(300, 'b'));
    dir.Write("tree/c", std::string(20, 'c'));
    dir.Write("tree/d.text", std::string(4000, 'd'));
    dir.Write("tree/sub/e.txt", std::string(5, 'e'));
    dir.Write("tree/sub/deep/f", std::string(1, 'f'));
    std::filesystem::create_directory_symlink(dir / "tree", dir / "tree/sub/loop");
    Open();
    ASSERT_TRUE(form->MoveToFolder(Q(dir / "tree")));
  }
  QAbstractItemView* View() { return form->FileView1->CurrentView(); }
};

TEST_F(BrowseTest, BackspaceGoesUpAndEnterOpensAFolder) {
  form->FileView1->SelectByCaption("a.TXT");
  ASSERT_FALSE(form->LFilestring->text().isEmpty());
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Backspace);
  EXPECT_EQ(form->CurrentFolder(), Q(dir.path()));
  EXPECT_TRUE(form->LFilestring->text().isEmpty());  // the file left behind is no longer named
  EXPECT_EQ(form->FileView1->SelectedPath(), Q(dir / "tree"));  // the first item is selected
  QTest::keyClick(View(), Qt::Key_Return);
  EXPECT_EQ(form->CurrentFolder(), Q(dir / "tree"));
  EXPECT_EQ(form->Flags().viewenabled, 1);
}

// A folder that cannot be entered (here: gone since it was listed; unreadable ones go
// the same way) is said so on the status bar; the window stays where it is.
TEST_F(BrowseTest, EnterOnAFolderThatCannotBeOpenedSaysSo) {
  form->FileView1->SelectByCaption("sub");
  ASSERT_TRUE(form->FileView1->SelectedIsFolder());
  std::filesystem::rename(dir / "tree/sub", dir / "elsewhere");
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Return);
  EXPECT_EQ(form->CurrentFolder(), Q(dir / "tree"));
  const QString said = form->StatusBar1->Text(4);
  EXPECT_TRUE(said.startsWith(QStringLiteral("フォルダーを開けません: "))) << said.toStdString();
  EXPECT_TRUE(said.contains(QStringLiteral("sub"))) << said.toStdString();
}

TEST_F(BrowseTest, DeleteAsksForTheTrashAndShiftDeleteForGood) {
  QStringList asked;
  controllers::FileOpsController::prompts.confirm = [&](const QString& question) {
    asked << question;
    return false;  // nothing is deleted
  };
  form->FileView1->SelectByCaption("a.TXT");
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Delete);
  QTest::keyClick(View(), Qt::Key_Delete, Qt::ShiftModifier);
  controllers::FileOpsController::prompts = {};
  ASSERT_EQ(asked.size(), 2);
  EXPECT_TRUE(asked[0].contains(QStringLiteral("ごみ箱"))) << asked[0].toStdString();
  EXPECT_TRUE(asked[1].contains(QStringLiteral("完全に削除"))) << asked[1].toStdString();
  EXPECT_TRUE(std::filesystem::exists(dir / "tree/a.TXT"));
}

TEST_F(BrowseTest, BackspaceAtTheRootStaysThere) {
  ASSERT_TRUE(form->MoveToFolder("/"));
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Backspace);
  EXPECT_EQ(form->CurrentFolder(), "/");
}

TEST_F(BrowseTest, ModifierFlagsFollowTheKeys) {
  View()->setFocus();
  QTest::keyPress(View(), Qt::Key_Shift, Qt::ShiftModifier);
  EXPECT_EQ(form->Flags().shiftdown, 1);
  QTest::keyPress(View(), Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(form->Flags().viewenabled, 0);  // extending a selection shows nothing
  QTest::keyRelease(View(), Qt::Key_Shift, Qt::NoModifier);
  EXPECT_EQ(form->Flags().shiftdown, 0);
  EXPECT_EQ(form->Flags().viewenabled, 1);
  QTest::keyPress(View(), Qt::Key_Control, Qt::ControlModifier);
  EXPECT_EQ(form->Flags().ctrldown, 1);
  QTest::keyRelease(View(), Qt::Key_Control, Qt::NoModifier);
  EXPECT_EQ(form->Flags().ctrldown, 0);
  QTest::keyPress(View(), Qt::Key_Down, Qt::NoModifier);
  EXPECT_EQ(form->Flags().viewenabled, 1);
}

TEST_F(BrowseTest, KeypadDigitsSwitchTheListStyle) {
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_4, Qt::KeypadModifier);
  EXPECT_EQ(form->FileView1->Style(), shellview::ViewStyle::Details);
  EXPECT_TRUE(form->Action("Micon4")->isChecked());
  QTest::keyClick(form->FileView1->CurrentView(), Qt::Key_1, Qt::KeypadModifier);
  EXPECT_EQ(form->FileView1->Style(), shellview::ViewStyle::LargeIcons);
}

TEST_F(BrowseTest, MaskShowsFoldersAndMatchingExtensions) {
  form->FileView1->SetMask(shellview::ParseMask("txt;bmp"));
  ASSERT_TRUE(form->FileView1->Fill());
  EXPECT_EQ(form->FileView1->Captions(), (QStringList{"sub", "a.TXT", "b.bmp"}));
}

TEST_F(BrowseTest, ColumnClicksFlipTheirDirection) {
  auto& v = *form->FileView1;
  const QStringList natural = v.Captions();
  EXPECT_EQ(natural, (QStringList{"sub", "a.TXT", "b.bmp", "c", "d.text"}));
  v.ColumnClick(0);
  QStringList reversed = natural;
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(v.Captions(), reversed);
  v.ColumnClick(0);
  EXPECT_EQ(v.Captions(), natural);
  v.ColumnClick(1);  // first click on any column: descending by the size text
  EXPECT_EQ(v.Captions().front(), "d.text");
  EXPECT_EQ(v.Captions().back(), "sub");  // a folder shows no size
  v.SortBy(93 - 2);  // the sort dialog: size, descending
  EXPECT_EQ(v.Captions().front(), "d.text");
  v.SortBy(0);
  EXPECT_EQ(v.Captions().front(), "a.TXT");
  EXPECT_EQ(v.Direction(1), -1);  // the dialog does not touch the column directions
}

TEST_F(BrowseTest, ViewreselectSelectsTheFileAgainWithoutCase) {
  form->viewreselect(Q(dir / "tree/A.txt"));
  EXPECT_EQ(form->FileView1->SelectedPath(), Q(dir / "tree/a.TXT"));
  EXPECT_EQ(form->StatusBar1->Text(3), " 1 個選択 ");
}

TEST_F(BrowseTest, FolderStatusCountsTheWholeTreeWithoutFollowingLinks) {
  form->folderinfo();
  form->folder_status()->WaitForIdle();
  QApplication::processEvents();
  EXPECT_EQ(form->StatusBar1->Text(0), Q(dir / "tree"));
  EXPECT_EQ(form->StatusBar1->Text(1), " 7 個 ");  // six files and the link
  const auto link_size = std::filesystem::read_symlink(dir / "tree/sub/loop").string().size();
  EXPECT_EQ(form->StatusBar1->Text(2), QString(" %1 byte ").arg(QLocale(QLocale::English).toString(qulonglong(4336 + link_size))));
}

TEST_F(BrowseTest, AFolderThatCannotBeListedLeavesTheViewsWhereTheyWere) {
  EXPECT_FALSE(form->MoveToFolder(Q(dir / "tree/a.TXT")));
  EXPECT_FALSE(form->MoveToFolder("/no/such/folder"));
  EXPECT_EQ(form->CurrentFolder(), Q(dir / "tree"));
}

TEST_F(BrowseTest, StartingWithAMissingFileShowsNoFile) {
  form->close();
  form.reset();
  Open(Q(dir / "tree/missing file.txt"));
  EXPECT_EQ(form->Flags().viewenabled, 1);
  EXPECT_TRUE(form->FileView1->SelectedPath().isEmpty());
}

TEST_F(BrowseTest, StartingWithAnUnquotedPathWithBlanksSelectsIt) {
  dir.Write("tree/with blank.txt", "x");
  form->close();
  form.reset();
  Open(Q(dir / "tree/with blank.txt"));  // the command line joins its arguments with blanks
  EXPECT_EQ(form->FileView1->SelectedPath(), Q(dir / "tree/with blank.txt"));
  EXPECT_EQ(form->CurrentFolder(), Q(dir / "tree"));
}

TEST_F(BrowseTest, FileNameListsReplaceThePane) {
  form->Action("Mfilenamedisp1")->trigger();
  EXPECT_EQ(form->FileView1->Captions().join('\n'), "sub\na.TXT\nb.bmp\nc\nd.text");
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST_F(BrowseTest, InPlaceRenameRenamesOnDiskOrShowsTheOldName) {
  auto* model = View()->model();
  int row = static_cast<int>(form->FileView1->Captions().indexOf("c"));
  ASSERT_GE(row, 0);
  model->setData(model->index(row, 0), "renamed.txt");
  EXPECT_TRUE(std::filesystem::exists(dir / "tree/renamed.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "tree/c"));
  // A name that is taken is refused and the old name comes back.
  model->setData(model->index(row, 0), "a.TXT");
  EXPECT_EQ(model->index(row, 0).data().toString(), "renamed.txt");
  EXPECT_EQ(test::ReadFile(dir / "tree/a.TXT"), std::string(10, 'a'));
  model->setData(model->index(row, 0), "bad/name");
  EXPECT_TRUE(std::filesystem::exists(dir / "tree/renamed.txt"));
}

TEST_F(BrowseTest, EscapeInTheViewsClosesTheWindow) {
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(form->isVisible());
}

// The Esc that dismissed a menu, a held Esc, or Esc with "Escで終了" off never closes it.
TEST_F(BrowseTest, EscapeKeepsTheWindowAfterAMenuWhenHeldOrWhenTurnedOff) {
  View()->setFocus();
  QMenu menu;
  menu.addAction(QStringLiteral("x"));
  menu.popup(QPoint(10, 10));
  QApplication::processEvents();
  menu.hide();
  View()->setFocus();
  QTest::keyClick(View(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(form->isVisible()) << "the Esc right after a menu closed";

  QTest::qWait(450);
  QKeyEvent held(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), /*autorep=*/true);
  QApplication::sendEvent(View(), &held);
  QApplication::processEvents();
  EXPECT_TRUE(form->isVisible()) << "a held Esc";

  form->Actions().SetChecked(QStringLiteral("MescExit"), false);
  QTest::keyClick(View(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(form->isVisible()) << "Escで終了 off";

  form->Actions().SetChecked(QStringLiteral("MescExit"), true);
  QTest::keyClick(View(), Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST_F(BrowseTest, ShowingAFileReusesTheFolderCountAndAFolderChangeCountsAgain) {
  form->folderinfo();
  form->folder_status()->WaitForIdle();
  QApplication::processEvents();
  const QString counted = form->StatusBar1->Text(1);
  EXPECT_EQ(counted, " 7 個 ");
  dir.Write("tree/new.txt", "n");
  form->folderinfo2();  // what every file display runs
  EXPECT_EQ(form->StatusBar1->Text(1), counted);
  form->folderinfo();
  form->folder_status()->WaitForIdle();
  QApplication::processEvents();
  EXPECT_EQ(form->StatusBar1->Text(1), " 8 個 ");
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST(FolderStatusWalks, ANewFolderDropsTheWalkOfTheOldOne) {
  test::TempDir dir;
  dir.Write("small/a", "12345");
  FolderStatus status;
  QStringList finished;
  QObject::connect(&status, &FolderStatus::Finished, [&](const QString& folder, quint64 files, quint64 bytes) {
    finished << QString("%1 %2 %3").arg(folder).arg(files).arg(bytes);
  });
  status.Start("/");  // the whole system: far too big to finish before the next start
  status.Start(QString::fromStdString((dir / "small").string()));
  status.WaitForIdle();
  QApplication::processEvents();
  ASSERT_EQ(finished.size(), 1);
  EXPECT_EQ(finished.front(), QString::fromStdString((dir / "small").string()) + " 1 5");
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

// The list's context menu offers the file commands between "開く" and "プロパティ", and
// they act on what the menu was opened on (the list's selection).
TEST_F(BrowseTest, TheListsContextMenuHoldsTheFileCommands) {
  form->FileView1->SelectByCaption(QStringLiteral("c"));
  emit form->FileView1->ContextMenuRequested(QPoint(20, 20));
  QApplication::processEvents();
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  QStringList names;
  for (QAction* a : menu->actions()) names << (a->isSeparator() ? QStringLiteral("-") : a->objectName().isEmpty() ? a->text() : a->objectName());
  menu->close();
  EXPECT_EQ(names.join(' ').toStdString(),
            "開く(&O) - Mfilecopy Mfilemove Mfiledelete Mrename - Mfilenamecopy1 Mmkdir - プロパティ(&R)");
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

// A message about a folder that was not found goes once the views reach another folder,
// by a command or by the tree.
TEST_F(BrowseTest, AFolderMessageGoesWithTheNextMove) {
  form->StatusBar1->SetText(4, QStringLiteral("フォルダーが見つかりません: /no/such"));
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "tree/sub")));
  EXPECT_EQ(form->StatusBar1->Text(4), QString());
  form->StatusBar1->SetText(4, QStringLiteral("フォルダーが見つかりません: /no/such"));
  form->FolderView1->SelectPath(Q(dir / "tree"));
  QApplication::processEvents();
  EXPECT_EQ(form->StatusBar1->Text(4), QString());
}

}  // namespace
}  // namespace haruvi::app
