// The layout, options and settings-file controllers against a window-less context: list
// styles and their key, the pane and bars, moving up, and the switches' keys.
#include "controllers/layout/layout_controller.h"

#include <gtest/gtest.h>

#include <QAction>

#include "controllers/options/options_controller.h"
#include "controllers/settingsfile/settings_file_controller.h"
#include "fake_window.h"

namespace haruvi::controllers {
namespace {

TEST(LayoutController, ListStylesFollowTheirItemsAndTheKeyIsClamped) {
  test::FakeWindow w;
  LayoutController layout(w);
  layout.initset();
  EXPECT_EQ(w.Files().Style(), shellview::ViewStyle::List);
  w.Actions().Trigger("Micon1");
  EXPECT_EQ(w.Files().Style(), shellview::ViewStyle::LargeIcons);
  EXPECT_FALSE(w.Actions().Checked("Micon3"));
  layout.inisave();
  EXPECT_EQ(w.Settings().File().ReadInteger("FileView", "Icon", 0), 1);
  for (const char* bad : {"0", "5", "x"}) {
    w.Settings().File().WriteString("FileView", "Icon", bad);
    layout.iniload();
    EXPECT_EQ(w.Files().Style(), shellview::ViewStyle::List) << bad;
    EXPECT_TRUE(w.Actions().Checked("Micon3")) << bad;
  }
}

TEST(LayoutController, BarsAndThePaneGoThroughTheContext) {
  test::FakeWindow w;
  LayoutController layout(w);
  layout.initset();
  w.Window()->show();
  w.Actions().Trigger("Mtoolbar");  // off
  EXPECT_FALSE(w.MainToolBar().isVisible());
  w.Actions().Trigger("Mtoolbar2");  // the pop-up twin: on again
  EXPECT_TRUE(w.MainToolBar().isVisible());
  EXPECT_TRUE(w.Actions().Checked("Mtoolbar"));
  w.Actions().Trigger("MeditView1");
  EXPECT_TRUE(w.Called("SetTextPaneVisible 0"));
  w.Actions().Trigger("Mmousepoint");
  EXPECT_TRUE(w.Files().HotTrack());
  EXPECT_EQ(w.TextStatus().Text(5), " MP ");
}

TEST(LayoutController, UpMovesToTheParentQuietlyAndCountsIt) {
  test::FakeWindow w;
  LayoutController layout(w);
  w.dir.Write("a/b/x.txt", "x");
  w.MoveToFolder(QString::fromStdString((w.dir / "a/b").string()));
  w.calls.clear();
  w.Actions().Trigger("ToolButton55");
  EXPECT_EQ(w.CurrentFolder().toStdString(), (w.dir / "a").string());
  EXPECT_EQ(w.Files().SelectedPath().toStdString(), (w.dir / "a/b").string());  // the first item
  EXPECT_EQ(w.Flags().viewenabled, 1);
  EXPECT_TRUE(w.Called("folderinfo"));
}

TEST(OptionsController, SwitchesStartAtTheirDefaultsAndRoundTrip) {
  test::FakeWindow w;
  OptionsController options(w);
  options.initset();
  EXPECT_TRUE(w.Actions().Checked("Mdialogdisp1"));
  EXPECT_TRUE(w.Actions().Checked("Mcloseinitview1"));
  EXPECT_TRUE(w.Actions().Checked("Mbackup1"));
  EXPECT_FALSE(w.Actions().Checked("Mtodiropen"));
  EXPECT_TRUE(w.Actions().Get("Mlhashow")->isEnabled());  // the archive listing is there
  w.Actions().Trigger("Mtodiropen");
  w.Actions().Trigger("Mbackup1");
  options.inisave();
  options.initset();
  options.iniload();
  EXPECT_TRUE(w.Actions().Checked("Mtodiropen"));
  EXPECT_FALSE(w.Actions().Checked("Mbackup1"));
  EXPECT_EQ(w.Settings().File().ReadString("Menu", "Mbackup1", ""), "0");
}

TEST(SettingsFileController, ResetDeletesTheFileAndRebuildsThroughTheContext) {
  test::FakeWindow w;
  SettingsFileController settings_file(w);
  w.Settings().Write(SettingsFileController::kInitFolderName, "/somewhere");
  EXPECT_EQ(settings_file.InitFolder(), "/somewhere");
  w.Flags().ctrldown = 1;
  w.Actions().Trigger("Minifileclear1");
  EXPECT_FALSE(w.Settings().File().Exists());
  EXPECT_EQ(w.Flags().ctrldown, 0);
  EXPECT_EQ(w.calls, (std::vector<std::string>{"initset", "SetTextPaneVisible 1", "viewrefresh", "filedisp"}));
  EXPECT_TRUE(settings_file.InitFolder().isEmpty());
}

}  // namespace
}  // namespace haruvi::controllers

#include "controllers/help/help_controller.h"

namespace haruvi::controllers {
namespace {

TEST(HelpController, MissingHelpPagesAreSaidNotIgnored) {
  test::FakeWindow w;  // its program folder holds no help pages
  HelpController help(w);
  w.Actions().Trigger("Mhelp");
  EXPECT_EQ(w.Status().Text(4), "ヘルプが見つかりません");
}

}  // namespace
}  // namespace haruvi::controllers
