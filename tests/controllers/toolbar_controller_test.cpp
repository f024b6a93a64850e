// The tool bars' buttons: they run their commands by name, follow their keys (dividers
// included) and the configuration dialog TForm21 writes only what its lists show.
#include <QAction>
#include <QIcon>
#include <QPixmap>
#include <QStandardPaths>
#include <QListWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QSet>
#include <map>
#include <stdexcept>
#include <memory>

#include <gtest/gtest.h>

#include "controllers/toolbar/tool_button_dialog.h"
#include "controllers/toolbar/tool_buttons.h"
#include "controllers/toolbar/toolbar_controller.h"
#include "fake_window.h"

namespace haruvi::controllers {
namespace {

class ToolbarTest : public ::testing::Test {
 protected:
  ToolbarTest() {
    std::size_t n = 0;
    const toolbar::ToolButtonInfo* table = toolbar::ToolButtons(&n);
    for (std::size_t i = 0; i < n; ++i) {
      if (table[i].divider()) continue;
      const QString name = QString::fromUtf8(table[i].action.data(), qsizetype(table[i].action.size()));
      if (w.Actions().Contains(name)) continue;
      w.Actions().Declare({name.toStdString().c_str(), "", "短い|長い説明"}, [this, name] { ran[name]++; });
    }
    bars = std::make_unique<ToolbarController>(w, nullptr);
    bars->FillBars();
  }
  bool Shown(const char* name) { return bars->Button(name)->isVisible(); }
  QListWidgetItem* Entry(QListWidget* list, const QString& text) {
    auto found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.front();
  }
  platform::Settings& S() { return w.Settings(); }
  bool KeyIs(const char* section, const char* key, const char* value) {
    auto v = S().File().ReadValue(section, key);
    return v && *v == value;
  }

  test::FakeWindow w;
  std::map<QString, int> ran;
  std::unique_ptr<ToolbarController> bars;
};

// Each bar holds its buttons, dividers included, once each and in table order.
TEST_F(ToolbarTest, EachBarHoldsItsButtonsOnceInOrder) {
  for (int bar : {1, 2}) {
    QStringList expected, names;
    for (const toolbar::ToolButtonInfo& b : bars->Buttons())
      if (b.bar == bar) expected << QString::fromUtf8(b.name.data(), qsizetype(b.name.size()));
    for (QAction* a : (bar == 1 ? w.MainToolBar() : w.TextToolBar()).actions())
      names << a->property("buttonName").toString();
    EXPECT_EQ(names, expected) << bar;
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << bar;
  }
}

TEST_F(ToolbarTest, ButtonsRunTheirCommandsAndHidingOneLeavesTheMenuItem) {
  bars->Button("ToolButton4")->trigger();
  EXPECT_EQ(ran["Mfilecopy"], 1);
  EXPECT_EQ(bars->Button("ToolButton4")->toolTip(), QStringLiteral("短い"));
  bars->toolbtnset("ToolButton4", false);
  EXPECT_FALSE(bars->Button("ToolButton4")->isVisible());
  EXPECT_TRUE(w.Actions().Get("Mfilecopy")->isVisible());
  // A command switched off switches its button off.
  w.Actions().Get("Mfilecopy")->setEnabled(false);
  EXPECT_FALSE(bars->Button("ToolButton4")->isEnabled());
}

TEST_F(ToolbarTest, KeysRoundTripThroughTheDialogAndDividersKeepTheirs) {
  // A settings file can hide a divider, although the dialog cannot change it.
  S().File().WriteString("ToolBar1", "ToolButton31", "0");
  S().File().WriteString("ToolBar2", "ToolButton39", "0");
  bars->iniload();
  EXPECT_FALSE(Shown("ToolButton31"));
  EXPECT_FALSE(Shown("ToolButton39"));
  EXPECT_TRUE(Shown("ToolButton36"));

  TForm21 dialog(S(), bars->Buttons());
  EXPECT_EQ(dialog.PageControl1->currentIndex(), 0);
  EXPECT_EQ(dialog.PageControl1->tabText(0), QStringLiteral("メイン"));
  // An entry for every button that is no divider, in bar order.
  for (int bar : {1, 2}) {
    QStringList expected, entries;
    for (const toolbar::ToolButtonInfo& b : bars->Buttons())
      if (b.bar == bar && !b.divider()) expected << QString::fromUtf8(b.entry.data(), qsizetype(b.entry.size()));
    QListWidget* list = bar == 1 ? dialog.CLB1 : dialog.CLB2;
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    EXPECT_EQ(entries, expected) << bar;
  }
  EXPECT_EQ(dialog.CLB1->item(0)->text(), QStringLiteral("印刷"));
  EXPECT_EQ(dialog.CLB2->item(dialog.CLB2->count() - 1)->text(), QStringLiteral("折り返し"));
  EXPECT_EQ(Entry(dialog.CLB2, QStringLiteral("折り返し"))->checkState(), Qt::Unchecked);
  Entry(dialog.CLB1, QStringLiteral("印刷"))->setCheckState(Qt::Unchecked);
  Entry(dialog.CLB1, QStringLiteral("印刷設定"))->setCheckState(Qt::Unchecked);
  Entry(dialog.CLB2, QStringLiteral("折り返し"))->setCheckState(Qt::Checked);
  dialog.BitBtn1Click();
  bars->ApplyChosen();
  EXPECT_FALSE(Shown("ToolButton36"));
  EXPECT_FALSE(Shown("ToolButton35"));
  EXPECT_FALSE(Shown("ToolButton31"));  // the divider keeps its own key
  EXPECT_TRUE(Shown("ToolButton39"));
  EXPECT_TRUE(KeyIs("ToolBar1", "ToolButton36", "0"));
  EXPECT_TRUE(KeyIs("ToolBar1", "ToolButton4", "1"));
  EXPECT_TRUE(KeyIs("ToolBar2", "ToolButton39", "1"));
  EXPECT_TRUE(KeyIs("ToolBar1", "ToolButton31", "0"));
  EXPECT_FALSE(S().File().ReadValue("ToolBar1", "ToolButton18"));  // dividers are never written
  EXPECT_FALSE(S().File().ReadValue("ToolBar2", "ToolButton9"));

  // The dialog opens again with what was chosen.
  EXPECT_EQ(TForm21(S(), bars->Buttons()).CLB1->item(0)->checkState(), Qt::Unchecked);
}

TEST_F(ToolbarTest, ShowAllThenCancelChangesNothing) {
  S().File().WriteString("ToolBar1", "ToolButton36", "0");
  TForm21 dialog(S(), bars->Buttons());
  dialog.Button1Click();
  EXPECT_EQ(dialog.CLB1->item(0)->checkState(), Qt::Checked);
  dialog.BitBtn2Click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(KeyIs("ToolBar1", "ToolButton36", "0"));
  EXPECT_FALSE(S().File().ReadValue("ToolBar1", "ToolButton35"));
}

// A command placed with a button of its own: the button follows the one it names, runs
// the button's command, has its key and its entry in the dialog.
TEST(ToolbarPlaces, APlacedButtonFollowsTheButtonItNames) {
  test::FakeWindow w;
  std::map<QString, int> ran;
  std::size_t n = 0;
  const toolbar::ToolButtonInfo* table = toolbar::ToolButtons(&n);
  for (std::size_t i = 0; i < n; ++i) {
    const QString name = QString::fromUtf8(table[i].action.data(), qsizetype(table[i].action.size()));
    if (!table[i].divider() && !w.Actions().Contains(name)) w.Actions().Declare({name.toStdString().c_str(), "", ""}, [] {});
  }
  w.Actions().Declare({"Mplaced", "置いた", ""}, [] {});
  w.Actions().Declare({"ToolButton99", "ボタンの", "ボタン|ボタンの説明"}, [&] { ran["ToolButton99"]++; });
  w.Actions().Place({.action = "Mplaced",
                     .button = {.bar = 2, .name = "ToolButton99", .entry = "置いたボタン", .icon = "edit-find",
                                .after = "ToolButton48", .caption = "ボタンの"}});
  ToolbarController bars(w, nullptr);
  bars.FillBars();
  const QList<QAction*> text_bar = w.TextToolBar().actions();
  const qsizetype at = text_bar.indexOf(bars.Button("ToolButton99"));
  ASSERT_GT(at, 0);
  EXPECT_EQ(text_bar.at(at - 1), bars.Button("ToolButton48"));
  EXPECT_EQ(bars.Button("ToolButton99")->text(), QStringLiteral("ボタンの"));
  bars.Button("ToolButton99")->trigger();
  EXPECT_EQ(ran["ToolButton99"], 1);
  bool keyed = false;
  for (const platform::KeyInfo& k : bars.Keys()) keyed |= k.section == "ToolBar2" && k.key == "ToolButton99";
  EXPECT_TRUE(keyed);
  TForm21 dialog(w.Settings(), bars.Buttons());
  EXPECT_EQ(dialog.CLB2->findItems(QStringLiteral("置いたボタン"), Qt::MatchExactly).size(), 1);

  // A button that follows none of the bar's throws when the bar is read.
  w.Actions().Declare({"Mstray", "", ""}, [] {});
  w.Actions().Place({.action = "Mstray", .button = {.bar = 1, .name = "ToolButton98", .after = "ToolButton0"}});
  EXPECT_THROW(bars.Buttons(), std::logic_error);
}

}  // namespace
}  // namespace haruvi::controllers

namespace haruvi::controllers {
namespace {

// One icon set for every button: the scalable symbolic icons of the installed theme
// (adwaita-icon-theme), sharp at 20 × 20 and at twice that.
TEST_F(ToolbarTest, EveryButtonHasAScalableIconOfTheTheme) {
  // As the program does without a desktop session.
  const QString before = QIcon::themeName();
  const QStringList paths = QIcon::themeSearchPaths();
  QIcon::setThemeSearchPaths(paths + QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                               QStringLiteral("icons"), QStandardPaths::LocateDirectory));
  QIcon::setThemeName(QStringLiteral("Adwaita"));
  std::size_t n = 0;
  const toolbar::ToolButtonInfo* table = toolbar::ToolButtons(&n);
  for (std::size_t i = 0; i < n; ++i) {
    if (table[i].divider()) continue;
    const QString name = QString::fromUtf8(table[i].icon.data(), qsizetype(table[i].icon.size())) + "-symbolic";
    const QIcon icon = QIcon::fromTheme(name);
    EXPECT_FALSE(icon.isNull()) << table[i].name << " " << name.toStdString();
    EXPECT_EQ(icon.pixmap(QSize(20, 20), 2.0).deviceIndependentSize().toSize(), QSize(20, 20)) << table[i].name;
    EXPECT_EQ(icon.pixmap(QSize(20, 20), 2.0).size(), QSize(40, 40)) << table[i].name;
  }
  QIcon::setThemeName(before);
  QIcon::setThemeSearchPaths(paths);
}

}  // namespace
}  // namespace haruvi::controllers
