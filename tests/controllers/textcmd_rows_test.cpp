// The text commands' rows: each is declared once with its pop-up copy and placed in row
// order in one of the three text menus; a row without a handler runs a command of the core
// table; the tool button's own command keeps its caption.
#include <gtest/gtest.h>

#include <QAction>
#include <set>
#include <string>

#include "controllers/textcmd/command_rows.h"
#include "textcmd/command_table.h"
#include "textcmd_fixture.h"
#include "ui/action_registry.h"

namespace haruvi::controllers {
namespace {

TEST_F(TextCmdTest, EveryRowIsDeclaredWithItsCopyAndPlacedInRowOrder) {
  std::set<std::string> names, submenus;
  std::vector<std::string> placed;
  for (const ui::Placement& p : w.Actions().Placements()) placed.push_back(p.action);
  std::size_t next = 0;
  for (const CommandRow& row : CommandRows()) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name << " twice";
    const QString name = QString::fromUtf8(row.name);
    QAction* action = w.Actions().Get(name);
    EXPECT_EQ(action->text(), QString::fromUtf8(row.caption)) << row.name;
    if (row.popup_copy) {
      EXPECT_EQ(w.Actions().Get(name + "P")->text(), action->text()) << row.name;
    }
    if (!row.handler) {
      EXPECT_TRUE(textcmd::FindTextCommand(row.command)) << row.name << " runs " << row.command;
    }
    // The rows are the three text menus' entries; a group's first row opens its submenu.
    const std::string menu = row.menu;
    const std::string top = menu.substr(0, menu.find('/'));
    EXPECT_TRUE(top == "編集(&E)" || top == "削除(&K)" || top == "変換(&C)") << row.name << ": " << menu;
    const bool opens = menu.find('/') == std::string::npos || submenus.insert(menu).second;
    if (row.group_start) {
      EXPECT_TRUE(opens) << row.name << " starts a group inside " << menu;
    }
    ASSERT_LT(next, placed.size());
    EXPECT_EQ(placed[next++], row.name);
  }
}

// The text bar's HTML button runs a command of its own: its caption, the menu item's hint.
TEST_F(TextCmdTest, TheHtmlButtonsCommandHasItsOwnCaption) {
  QAction* button = w.Actions().Get("ToolButton51");
  EXPECT_EQ(button->text(), QStringLiteral("htmlタグ削除"));
  EXPECT_EQ(button->toolTip(), w.Actions().Get("Mhtml")->toolTip());
  EXPECT_EQ(button->statusTip(), w.Actions().Get("Mhtml")->statusTip());
}

}  // namespace
}  // namespace haruvi::controllers
