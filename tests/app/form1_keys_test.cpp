// The window's key commands: typed characters in the views reach their commands by name,
// the keys are those of the user's key list, and every name the key table, the key menu,
// the tool bars and the places use resolves in the registry.
#include <QAbstractItemView>
#include <QAction>
#include <QRegularExpression>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>
#include <iterator>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "controllers/keys/key_table.h"
#include "controllers/toolbar/tool_buttons.h"
#include "shellview/file_view.h"
#include "support/key_list.h"
#include "ui/action_registry.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class KeysWindowTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    dir.Write("tree/a.TXT", "a");
    Open();
    ASSERT_TRUE(form->MoveToFolder(Q(dir / "tree")));
  }
  QAbstractItemView* View() { return form->FileView1->CurrentView(); }
  void Type(const QString& text) {
    View()->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(View(), &press);
  }
};

// The keys of the user's key list, as the window reads its keys: each letter and its kana
// twin name the listed command, which is declared; no other key is read.
TEST_F(KeysWindowTest, EveryListedKeyReachesItsDeclaredCommand) {
  const std::vector<controllers::keys::KeyCommand> table =
      controllers::keys::KeyCommands(form->Actions().Placements());
  for (const test::ListedKey& k : test::kListedKeys) {
    const controllers::keys::KeyCommand* key = controllers::keys::FindKey(table, k.letter);
    ASSERT_TRUE(key) << k.letter;
    EXPECT_EQ(key->action, k.action) << k.letter;
    EXPECT_EQ(controllers::keys::FindKey(table, k.kana), key) << k.kana;
    EXPECT_TRUE(form->Actions().Contains(QString::fromUtf8(k.action))) << k.letter << " -> " << k.action;
  }
  EXPECT_EQ(table.size(), std::size(test::kListedKeys));
  // The key menu opens with the keys and closes with its own closing entry.
  EXPECT_EQ(form->PopupMenu1->actions().front()->text(), QStringLiteral("&A 属性の変更"));
  const QList<QAction*> entries = form->PopupMenu1->actions();
  EXPECT_EQ(entries.back()->text(), QStringLiteral("メニューを閉じる(&Z)"));
  EXPECT_EQ(entries.at(entries.size() - 2)->text(), QStringLiteral("Haruviの終了(&Q)"));
  // The named keys stand together, SHIFT+DEL among them, before F3.
  QStringList named;
  for (QAction* a : entries)
    if (QRegularExpression(QStringLiteral("^[A-Za-z0-9+]+ ")).match(a->text()).hasMatch()) named << a->text();
  EXPECT_EQ(named.join(QLatin1Char('|')).toStdString(),
            "Enter サブディレクトリを開く|BS 一つ上のディレクトリへ移動|HOME 一番上のファイル|"
            "SHIFT+DEL ファイルの完全削除|F3 下へ検索|SHIFT+F3 上へ検索");
}

// Every button of both bars, the placed commands' included, runs a declared command and
// stands on its bar once; every placed name is declared.
TEST_F(KeysWindowTest, EveryToolButtonAndPlaceReachesADeclaredCommand) {
  const std::vector<controllers::toolbar::ToolButtonInfo> buttons =
      controllers::toolbar::BarButtons(form->Actions().Placements());
  std::set<std::pair<int, std::string_view>> names;
  int on_bar[3] = {0, 0, 0};
  for (const controllers::toolbar::ToolButtonInfo& b : buttons) {
    EXPECT_TRUE(names.insert({b.bar, b.name}).second) << b.name << " twice";
    ++on_bar[b.bar];
    if (b.divider()) continue;
    const QString name = QString::fromUtf8(b.action.data(), qsizetype(b.action.size()));
    EXPECT_TRUE(form->Actions().Contains(name)) << b.name << " -> " << name.toStdString();
  }
  // The bars carry every button, the text bar's own first button before them.
  EXPECT_EQ(form->ToolBar1->actions().size(), on_bar[1]);
  EXPECT_EQ(form->ToolBar2->actions().size(), 1 + on_bar[2]);
  for (const ui::Placement& p : form->Actions().Placements()) {
    EXPECT_TRUE(form->Actions().Contains(QString::fromUtf8(p.action))) << p.action;
    if (!p.popup.isEmpty()) {
      EXPECT_TRUE(form->Actions().Contains(p.popup)) << p.action;
    }
  }
}

TEST_F(KeysWindowTest, TypedCharactersAndTheirKanaTwinsRunCommandsInTheList) {
  const bool before = form->Actions().Checked("Mlhashow");
  Type(";");
  EXPECT_NE(form->Actions().Checked("Mlhashow"), before);
  Type(QStringLiteral("ﾚ"));
  EXPECT_EQ(form->Actions().Checked("Mlhashow"), before);
}

}  // namespace
}  // namespace haruvi::app
