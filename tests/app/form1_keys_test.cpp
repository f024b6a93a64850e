// The window's key commands: typed characters in the views reach their commands by name,
// and every name the key table and the key menu use resolves in the registry.
#include <QAbstractItemView>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QToolBar>

#include "controllers/keys/key_table.h"
#include "controllers/toolbar/tool_buttons.h"
#include "shellview/file_view.h"
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

TEST_F(KeysWindowTest, EveryKeyOfTheTableReachesADeclaredCommand) {
  // Commands no feature declares yet; the list shrinks as they come.
  const QStringList known_missing = {};
  std::size_t n = 0;
  const controllers::keys::KeyCommand* table = controllers::keys::KeyTable(&n);
  for (std::size_t i = 0; i < n; ++i) {
    const QString name = QString::fromUtf8(table[i].action.data(), qsizetype(table[i].action.size()));
    if (known_missing.contains(name)) continue;
    EXPECT_TRUE(form->Actions().Contains(name)) << table[i].letter << " -> " << name.toStdString();
  }
  // The key menu opens with the keys and closes with its own closing entry.
  EXPECT_EQ(form->PopupMenu1->actions().front()->text(), QStringLiteral("&A 属性の変更"));
  const QList<QAction*> entries = form->PopupMenu1->actions();
  EXPECT_EQ(entries.back()->text(), QStringLiteral("メニューを閉じる(&Z)"));
  EXPECT_EQ(entries.at(entries.size() - 2)->text(), QStringLiteral("Haruviの終了(&Q)"));
}

TEST_F(KeysWindowTest, EveryToolButtonReachesADeclaredCommand) {
  // Commands no feature declares yet; the list shrinks as they come.
  const QStringList known_missing = {};
  std::size_t n = 0;
  const controllers::toolbar::ToolButtonInfo* table = controllers::toolbar::ToolButtons(&n);
  int buttons = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (table[i].divider()) continue;
    ++buttons;
    const QString name = QString::fromUtf8(table[i].action.data(), qsizetype(table[i].action.size()));
    if (known_missing.contains(name)) continue;
    EXPECT_TRUE(form->Actions().Contains(name)) << table[i].name << " -> " << name.toStdString();
  }
  EXPECT_EQ(buttons, 24 + 17);
  // The bars carry every button, the text bar's own first button before them.
  EXPECT_EQ(form->ToolBar1->actions().size(), 31);
  EXPECT_EQ(form->ToolBar2->actions().size(), 1 + 23);
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
