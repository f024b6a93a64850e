// Selecting a file shows it: the information line, the read settings, instant display,
// the modifier rule and rich-text mode.
#include <QAbstractItemView>
#include <QAction>
#include <QLabel>

#include "ui/panel_bar.h"
#include "platform/ini_file.h"
#include "shellview/file_view.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class DisplayTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dir.Write("files/a10000.txt", std::string(10000, 'a'));
    dir.Write("files/b10001.txt", std::string(10001, 'b'));
    dir.Write("files/c5000.txt", std::string(5000, 'c'));
    dir.Write("files/d5001.txt", std::string(5001, 'd'));
    dir.Write("files/empty.txt", "");
    dir.Write("files/euc.txt", "\xc6\xfc\xcb\xdc\xb8\xec\r\n");
    dir.Write("files/rich.rtf", "{\\rtf1\\ansi {\\b bold}\\par second}");
    dir.Write("files/sjis.txt", "\x93\xfa\x96\x7b\x8c\xea\r\nline2\r\n");
  }
  void Select(const char* name) {
    ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
    ASSERT_EQ(form->FileView1->SelectByCaption(name), 1);
  }
  QString Info() const { return form->LFilestring->text(); }
  QColor InfoColor() const { return form->LFilestring->palette().color(QPalette::WindowText); }
};

TEST_F(DisplayTest, SelectingAFileShowsItWithItsInformationLine) {
  Open();
  Select("sjis.txt");
  EXPECT_EQ(form->RichEdit1->Bytes(), "\x93\xfa\x96\x7b\x8c\xea\r\nline2\r\n");
  EXPECT_TRUE(Info().startsWith("sjis.txt   "));
  EXPECT_TRUE(Info().endsWith(Q(dir / "files") + "/          ｼﾌﾄJIS")) << Info().toStdString();
  EXPECT_EQ(InfoColor(), QColor(Qt::black));
  EXPECT_EQ(form->SBarR->Text(1), " 2 行 ");
}

TEST_F(DisplayTest, EucIsShownUnconvertedAndNamed) {
  Open();
  Select("euc.txt");
  EXPECT_EQ(form->RichEdit1->Bytes(), "\xc6\xfc\xcb\xdc\xb8\xec\r\n");
  EXPECT_TRUE(Info().endsWith("EUC") || Info().endsWith("EUC+ｼﾌﾄJIS")) << Info().toStdString();
}

TEST_F(DisplayTest, StreamThresholdChoosesTheWayButBothLoad) {
  Open();
  Select("a10000.txt");
  EXPECT_EQ(form->RichEdit1->Bytes().size(), 10000u);
  Select("b10001.txt");
  EXPECT_EQ(form->RichEdit1->Bytes().size(), 10001u);
}

TEST_F(DisplayTest, ReadLimitLeavesBigFilesOutButNamesTheirSize) {
  WriteIni("[ReadMax]\nByte=5000\n");
  Open();
  Select("c5000.txt");
  EXPECT_EQ(form->RichEdit1->Bytes().size(), 5000u);
  Select("d5001.txt");
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  EXPECT_TRUE(Info().contains("5,001 byte"));
  EXPECT_TRUE(Info().endsWith("/          "));  // no kind, no code
  // The setting is read at every display: a change applies to the next one.
  platform::IniFile(IniPath()).WriteInteger("ReadMax", "Byte", 0);
  Select("c5000.txt");
  Select("d5001.txt");
  EXPECT_EQ(form->RichEdit1->Bytes().size(), 5001u);
}

TEST_F(DisplayTest, EmptyFileHasNoKindAndNoCode) {
  Open();
  Select("empty.txt");
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  EXPECT_TRUE(Info().endsWith("/          "));
}

TEST_F(DisplayTest, WithInstantDisplayOffOnlyTheShowCommandsShow) {
  Open();
  form->Action("Mdisp")->trigger();
  ASSERT_EQ(form->Flags().instantmode, 0);
  Select("sjis.txt");
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  form->Action("Mv")->trigger();  // shown once, as a selection shows it
  EXPECT_FALSE(form->RichEdit1->IsEmpty());
  EXPECT_EQ(InfoColor(), QColor(Qt::black));
  form->RichEdit1->Clear();
  form->Action("ToolButton49")->trigger();  // forced: blue
  EXPECT_FALSE(form->RichEdit1->IsEmpty());
  EXPECT_EQ(InfoColor(), QColor(Qt::blue));
}

TEST_F(DisplayTest, SelectionsMadeWithShiftShowNothing) {
  Open();
  QAbstractItemView* view = form->FileView1->CurrentView();
  // Shift held, as the keyboard says: the selection shows nothing.
  QTest::keyPress(view, Qt::Key_Shift, Qt::ShiftModifier);
  Select("sjis.txt");
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  EXPECT_TRUE(Info().isEmpty());
  QTest::keyRelease(view, Qt::Key_Shift, Qt::NoModifier);
  form->Action("Mtextrepaint1")->trigger();
  EXPECT_FALSE(form->RichEdit1->IsEmpty());
  // A flag left set by a key whose release went elsewhere no longer hides the files.
  form->Flags().shiftdown = 1;
  form->Flags().ctrldown = 1;
  Select("euc.txt");
  EXPECT_FALSE(form->RichEdit1->IsEmpty());
}

TEST_F(DisplayTest, RichTextModeShowsFormattedTextAndTheKindEitherWay) {
  Open();
  Select("rich.rtf");
  EXPECT_FALSE(form->RichEdit1->ShowingRichText());
  EXPECT_TRUE(Info().contains("[ﾘｯﾁテキスト]"));
  form->Action("Mrtf")->trigger();
  EXPECT_EQ(form->SBarR->Text(3), " RTF ");
  Select("sjis.txt");
  Select("rich.rtf");
  EXPECT_TRUE(form->RichEdit1->ShowingRichText());
  EXPECT_EQ(form->RichEdit1->Text(), "bold\r\nsecond");
  EXPECT_TRUE(Info().contains("[ﾘｯﾁテキスト]"));
}

TEST_F(DisplayTest, DisplaySettingsAreSavedAtClose) {
  Open();
  form->Action("Mwordwrap")->trigger();
  form->Action("Mrtf")->trigger();
  form->Flags().tabwidth = 4;
  form->close();
  platform::IniFile ini(IniPath());
  EXPECT_TRUE(ini.ReadBool("RichEdit", "WordWrap", false));
  EXPECT_TRUE(ini.ReadBool("Menu", "Mrtf", false));
  EXPECT_EQ(ini.ReadInteger("RichEdit", "richtabwidth", 0), 4);
  form.reset();
  Open();
  EXPECT_TRUE(form->RichEdit1->WordWrap());
  EXPECT_TRUE(form->Action("ToolButton39")->isChecked());  // the wrap button pressed
  // The menu item names what choosing it does, without a check mark, and the button and
  // the item switch the same wrap.
  EXPECT_FALSE(form->Action("Mwordwrap")->isCheckable());
  form->Action("ToolButton39")->trigger();
  EXPECT_FALSE(form->RichEdit1->WordWrap());
  form->Action("Mwordwrap")->trigger();
  EXPECT_TRUE(form->RichEdit1->WordWrap());
  EXPECT_TRUE(form->Action("ToolButton39")->isChecked());
  EXPECT_EQ(form->Flags().tabwidth, 4);
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST_F(DisplayTest, ArrowKeysShowEachFileReached) {
  Open();
  Select("a10000.txt");
  QAbstractItemView* view = form->FileView1->CurrentView();
  view->setFocus();
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_TRUE(Info().startsWith("b10001.txt")) << Info().toStdString();
  EXPECT_EQ(form->RichEdit1->Bytes().size(), 10001u);
  QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);  // extending shows nothing
  EXPECT_TRUE(form->RichEdit1->IsEmpty());
  EXPECT_EQ(form->StatusBar1->Text(3), " 2 個選択 ");
}

TEST_F(DisplayTest, AClickShowsTheFileInEveryListStyle) {
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
  for (const char* style : {"Micon1", "Micon2", "Micon3", "Micon4"}) {
    form->Action(style)->trigger();
    QAbstractItemView* view = form->FileView1->CurrentView();
    const int row = static_cast<int>(form->FileView1->Captions().indexOf("sjis.txt"));
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    EXPECT_TRUE(Info().startsWith("sjis.txt")) << style;
    form->FileView1->ClearSelection();
  }
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

TEST_F(DisplayTest, FilesAndFoldersWithShiftJisNamesOpenAndShow) {
  // Names from an old archive: Shift_JIS bytes, not UTF-8.
  dir.Write("files/\x93\xfa\x96\x7b/\x95\xb6\x8f\x91.txt", "\x93\xfa\x96\x7b\r\n");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
  const QStringList names = form->FileView1->Captions();
  ASSERT_FALSE(names.isEmpty());
  const QString folder = names.front();  // folders come first
  ASSERT_TRUE(form->MoveToFolder(form->CurrentFolder() + "/" + folder));
  ASSERT_EQ(form->FileView1->Count(), 1);
  form->FileView1->SelectRow(0);
  EXPECT_EQ(form->RichEdit1->Bytes(), "\x93\xfa\x96\x7b\r\n");
  EXPECT_TRUE(Info().endsWith("ｼﾌﾄJIS")) << Info().toStdString();
}

}  // namespace
}  // namespace haruvi::app
