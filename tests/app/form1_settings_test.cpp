// The window's settings: read back with the clamping rules, written at close, and the
// commands that act on the settings file as a whole.
#include <QAction>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QToolBar>

#include "ui/panel_bar.h"
#include "platform/ini_file.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

QRect Screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

TEST_F(WindowTest, OutOfRangeGeometryIsCorrected) {
  WriteIni("[Form]\nLeft=-5\nTop=99999\nWidth=99999\nHeight=300\n[PanelRB]\nHeight=99999\n"
           "[FileView]\nIcon=7\nHottrack=0\n[Menu]\nMmousepoint=1\n");
  TForm1& f = Open();
  EXPECT_EQ(f.x(), 0);
  EXPECT_EQ(f.y(), 0);
  EXPECT_EQ(f.geometry().width(), Screen().width());
  EXPECT_EQ(f.geometry().height(), 300);
  // The text area keeps the height initset gave it: two thirds of the right column.
  EXPECT_NEAR(f.PanelRBHeight(), f.PanelR->height() * 2 / 3, 8);
  EXPECT_EQ(f.FileView1->Style(), shellview::ViewStyle::List);
  EXPECT_TRUE(f.Action("Micon3")->isChecked());
  EXPECT_FALSE(f.Action("Mmousepoint")->isChecked());  // Hottrack wins
  EXPECT_EQ(f.SBarR->Text(5), "    ");
}

TEST_F(WindowTest, GarbageValuesGiveTheDefaults) {
  WriteIni("[Form]\nLeft=abc\nWidth=\x01\x02\n[Menu]\nMdisp=yes\nMtoolbar=0x\nMrtf=0x1\n[FontR]\nStyle=999\nSize=-4\n"
           "[FileView]\nColum1=-7\n");
  TForm1& f = Open();
  EXPECT_EQ(f.x(), Screen().left());
  EXPECT_TRUE(f.Action("Mdisp")->isChecked());     // not a number: default 1
  EXPECT_TRUE(f.Action("Mtoolbar")->isChecked());  // "0x" alone is no number: default 1
  EXPECT_TRUE(f.Action("Mrtf")->isChecked());      // "0x1" is hexadecimal 1
  EXPECT_FALSE(f.RichEdit1->font().bold());
  EXPECT_GT(f.RichEdit1->font().pointSize(), 0);
}

TEST_F(WindowTest, SettingsSurviveACloseAndAStart) {
  TForm1& f = Open();
  f.Action("Micon4")->trigger();
  f.Action("Mtoolbar")->trigger();
  f.Action("Mdisp")->trigger();
  f.SetPanelLWidth(211);
  const QString folder = Q(dir.path());
  ASSERT_TRUE(f.MoveToFolder(folder));
  f.Action("Mcloseinitview1")->trigger();  // off: the folder stays selected at close
  Reopen();
  EXPECT_EQ(form->FileView1->Style(), shellview::ViewStyle::Details);
  EXPECT_FALSE(form->Action("Mtoolbar")->isChecked());
  EXPECT_FALSE(form->ToolBar1->isVisible());
  EXPECT_FALSE(form->Action("Mdisp")->isChecked());
  EXPECT_EQ(form->Flags().instantmode, 0);
  EXPECT_EQ(form->SBarR->Text(4), "  Vﾓｰﾄﾞ ");
  EXPECT_EQ(form->PanelLWidth(), 211);
  EXPECT_EQ(form->CurrentFolder(), folder);
  platform::IniFile ini(IniPath());
  EXPECT_EQ(ini.ReadString("System", "Program", ""), "HARUV");
  // The date and time in the Japanese short forms, whatever the locale.
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d$"))
                  .match(QString::fromStdString(ini.ReadString("System", "Date", "")))
                  .hasMatch());
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$"))
                  .match(QString::fromStdString(ini.ReadString("System", "Time", "")))
                  .hasMatch());
  EXPECT_EQ(ini.ReadString("Menu", "Mtoolbar", ""), "0");
  EXPECT_EQ(ini.ReadString("FontR", "Name", ""), "ＭＳ ゴシック");
}

TEST_F(WindowTest, ClosingWithTheTextPaneHiddenSavesTheVisibleLayout) {
  TForm1& f = Open();
  const int visible_height = f.PanelRBHeight();
  f.Action("MeditView1")->trigger();
  EXPECT_TRUE(f.RichEdit1->isHidden());
  EXPECT_LT(f.PanelRBHeight(), visible_height);
  EXPECT_EQ(f.Action("MeditView1")->text(), "テキスト表示を表示する(&I)");
  f.close();
  platform::IniFile ini(IniPath());
  EXPECT_NEAR(ini.ReadInteger("PanelRB", "Height", 0), visible_height, 8);
  EXPECT_FALSE(f.RichEdit1->isHidden());
  EXPECT_EQ(f.Action("MeditView1")->text(), "テキスト表示を隠す(&I)");
}

TEST_F(WindowTest, StartFolderRules) {
  dir.Write("start/x.txt", "x");
  WriteIni("[FolderView]\nDirectory=" + (dir / "start").string() + "\n");
  EXPECT_EQ(Open().CurrentFolder(), Q(dir / "start"));
  form->close();
  form.reset();
  // A fixed start folder wins; one that cannot be shown leaves the program's folder.
  WriteIni("[InitFolder]\nInitFolderName=/no/such/folder\n[FolderView]\nDirectory=" +
           (dir / "start").string() + "\n");
  TForm1& f = Open();
  EXPECT_EQ(f.CurrentFolder(), f.ProgramFolder());
}

TEST_F(WindowTest, IniFileClearDeletesTheFileUntilTheNextClose) {
  TForm1& f = Open();
  f.close();
  ASSERT_TRUE(std::filesystem::exists(IniPath()));
  Open();
  // Bars hidden before the reset show again with their check marks.
  form->Action("Mtoolbar")->trigger();
  form->Action("Msubtoolbar1")->trigger();
  ASSERT_TRUE(form->ToolBar1->isHidden());
  form->Action("Minifileclear1")->trigger();
  EXPECT_TRUE(form->Action("Mtoolbar")->isChecked());
  EXPECT_FALSE(form->ToolBar1->isHidden());
  EXPECT_FALSE(form->ToolBar2->isHidden());
  EXPECT_FALSE(std::filesystem::exists(IniPath()));
  EXPECT_EQ(form->Flags().viewenabled, 1);
  EXPECT_TRUE(form->Flags().worktext.isEmpty());
  form->close();
  EXPECT_TRUE(std::filesystem::exists(IniPath()));
}

TEST_F(WindowTest, MenuTwinsShareTheCheckMark) {
  TForm1& f = Open();
  ASSERT_NE(f.Action("Mdisp1"), nullptr);
  f.Action("Mdisp1")->trigger();
  EXPECT_FALSE(f.Action("Mdisp")->isChecked());
  EXPECT_FALSE(f.Action("Mdisp1")->isChecked());
  EXPECT_EQ(f.Flags().instantmode, 0);
  f.Action("Mdisp")->trigger();
  EXPECT_TRUE(f.Action("Mdisp1")->isChecked());
  EXPECT_EQ(f.Flags().instantmode, 1);
}

TEST_F(WindowTest, DateCaptionUsesJapaneseWeekdays) {
  TForm1& f = Open();
  const QString caption = f.Action("Mnow")->text();
  EXPECT_TRUE(caption.startsWith(' '));
  EXPECT_TRUE(caption.endsWith(')'));
  EXPECT_TRUE(QString("日月火水木金土").contains(caption.at(caption.size() - 2))) << caption.toStdString();
}

}  // namespace
}  // namespace haruvi::app
