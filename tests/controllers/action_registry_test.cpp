// The action registry: names resolve or throw, twins share handler and check mark, and
// the captions and hints are split as the menus and status bar show them.
#include "ui/action_registry.h"

#include <gtest/gtest.h>

#include <QAction>

#include "ui/window_context.h"

namespace haruvi::ui {
namespace {

TEST(ActionRegistry, UnknownOrRepeatedNamesAreErrors) {
  ActionRegistry a;
  a.Declare({"Mone", "一(&O)", "短|長い説明。"}, [] {});
  EXPECT_THROW(a.Get("Mtwo"), UnknownAction);
  EXPECT_THROW(a.Trigger("Mtwo"), UnknownAction);
  EXPECT_THROW(a.Declare({"Mone", "", ""}, [] {}), std::logic_error);
  EXPECT_THROW(a.Twin("Mnone", "Mnone1"), UnknownAction);
  EXPECT_EQ(a.Get("Mone")->toolTip(), "短");
  EXPECT_EQ(a.Get("Mone")->statusTip(), "長い説明。");
}

// A place names declared commands only, once per command, and keeps the order it was given.
TEST(ActionRegistry, PlacesNameDeclaredCommandsOnce) {
  ActionRegistry a;
  a.Declare({"Mone", "一", ""}, [] {});
  a.Declare({"Mtwo", "二", ""}, [] {});
  EXPECT_THROW(a.Place({.action = "Mnone"}), UnknownAction);
  EXPECT_THROW(a.Place({.action = "Mone", .popup = "MoneP"}), UnknownAction);
  EXPECT_THROW(a.Place({.action = "Mone", .button = {.bar = 2, .name = "ToolButton9", .caption = "ボタン"}}),
               UnknownAction);
  a.Twin("Mtwo", "MtwoP");
  a.Place({.action = "Mtwo", .menu = "編集(&E)", .popup = "MtwoP"});
  a.Place({.action = "Mone", .menu = "編集(&E)/下"});
  EXPECT_THROW(a.Place({.action = "Mtwo"}), std::logic_error);
  ASSERT_EQ(a.Placements().size(), 2u);
  EXPECT_STREQ(a.Placements()[0].action, "Mtwo");
  EXPECT_STREQ(a.Placements()[1].action, "Mone");
}

TEST(ActionRegistry, TwinsRunTheHandlerOnceAndShareTheMark) {
  ActionRegistry a;
  int runs = 0;
  a.Declare({"Mdisp", "瞬時", "", true}, [&] { ++runs; });
  a.Declare({"Mexit", "終了", ""}, [&] { runs += 10; });
  a.SetChecked("Mdisp", true);
  a.Twin("Mdisp", "Mdisp1");
  a.Twin("Mexit", "Mexit2");
  EXPECT_TRUE(a.Checked("Mdisp1"));
  a.Trigger("Mdisp1");
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(a.Checked("Mdisp"));
  EXPECT_FALSE(a.Checked("Mdisp1"));
  a.Trigger("Mdisp");
  EXPECT_TRUE(a.Checked("Mdisp1"));
  a.Trigger("Mexit2");
  EXPECT_EQ(runs, 12);
  a.Get("Mdisp")->setEnabled(false);  // a twin follows its main item
  EXPECT_FALSE(a.Get("Mdisp1")->isEnabled());
}

TEST(ActionRegistry, PendingItemsAreShownDisabledAndSwitchesOnlyToggle) {
  ActionRegistry a;
  EXPECT_FALSE(a.DeclarePending({"Mlater", "後で", ""})->isEnabled());
  QAction* s = a.DeclareSwitch({"Mswitch", "切替", ""});
  EXPECT_TRUE(s->isEnabled());
  a.Trigger("Mswitch");
  EXPECT_TRUE(a.Checked("Mswitch"));
  EXPECT_EQ(a.Names(), (QStringList{"Mlater", "Mswitch"}));
}

TEST(QuietGuard, NestedGuardsKeepTheOuterQuiet) {
  WindowFlags f;
  {
    QuietGuard outer(f);
    {
      QuietGuard inner(f);
      EXPECT_EQ(f.viewenabled, 0);
    }
    EXPECT_EQ(f.viewenabled, 0);
  }
  EXPECT_EQ(f.viewenabled, 1);
}

}  // namespace
}  // namespace haruvi::ui

#include <QElapsedTimer>

#include "ui/messages.h"

namespace haruvi::ui {
namespace {

TEST(Messages, AHeadlessRunNeverWaitsForAClick) {
  SetHeadless(true);
  QElapsedTimer t;
  t.start();
  testing::internal::CaptureStderr();
  Warn(nullptr, QStringLiteral("ストリームからの読み込みに失敗しました\nPermission denied"));
  const std::string err = testing::internal::GetCapturedStderr();
  SetHeadless(false);
  EXPECT_LT(t.elapsed(), 1000);
  EXPECT_EQ(err, "haruvi: ストリームからの読み込みに失敗しました Permission denied\n");
}

}  // namespace
}  // namespace haruvi::ui
