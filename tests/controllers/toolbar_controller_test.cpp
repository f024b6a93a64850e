// The tool bars' buttons: they run their commands by name, follow their keys (dividers
// included) and the configuration dialog TForm21 writes only what its lists show.
#include <QAction>
#include <QIcon>
#include <QPixmap>
#include <QStandardPaths>
#include <QListWidget>
#include <QTabWidget>
#include <QToolBar>
#include <map>
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

TEST_F(ToolbarTest, ButtonsRunTheirCommandsAndHidingOneLeavesTheMenuItem) {
  EXPECT_EQ(w.MainToolBar().actions().size(), 31);
  EXPECT_EQ(w.TextToolBar().actions().size(), 23);
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

  TForm21 dialog(S());
  EXPECT_EQ(dialog.PageControl1->currentIndex(), 0);
  EXPECT_EQ(dialog.PageControl1->tabText(0), QStringLiteral("メイン"));
  ASSERT_EQ(dialog.CLB1->count(), 24);
  ASSERT_EQ(dialog.CLB2->count(), 17);
  EXPECT_EQ(dialog.CLB1->item(0)->text(), QStringLiteral("印刷"));
  EXPECT_EQ(dialog.CLB2->item(16)->text(), QStringLiteral("折り返し"));
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
  EXPECT_EQ(TForm21(S()).CLB1->item(0)->checkState(), Qt::Unchecked);
}

TEST_F(ToolbarTest, ShowAllThenCancelChangesNothing) {
  S().File().WriteString("ToolBar1", "ToolButton36", "0");
  TForm21 dialog(S());
  dialog.Button1Click();
  EXPECT_EQ(dialog.CLB1->item(0)->checkState(), Qt::Checked);
  dialog.BitBtn2Click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_TRUE(KeyIs("ToolBar1", "ToolButton36", "0"));
  EXPECT_FALSE(S().File().ReadValue("ToolBar1", "ToolButton35"));
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
