// The letter keys of the file list: every key of the user's key list, its lower-case form
// and its katakana twin run the command the list names, through the registry; a command
// placed with a key joins them; inert keys stay inert.
#include <QAction>
#include <QMenu>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "controllers/keys/key_table.h"
#include "controllers/keys/keys_controller.h"
#include "fake_window.h"
#include "support/key_list.h"
#include "ui/action_registry.h"

namespace haruvi::controllers {
namespace {

class KeysTest : public ::testing::Test {
 protected:
  KeysTest() {
    // Every command the key list names that the keys controller does not declare itself,
    // plus the commands its own entries call.
    for (const test::ListedKey& k : test::kListedKeys) Record(QString::fromUtf8(k.action));
    for (const char* name : {"Mserch", "Mrootfolder", "ToolButton55", "Mlhalist", "MserchNext", "Mserchnextup1",
                             "Micon1", "Micon2", "Micon3", "Micon4"})
      Record(QString::fromUtf8(name));
    w.Actions().DeclareSwitch({"Mlhashow", "LHA書庫内容表示(&L)", ""});
    keys = std::make_unique<KeysController>(w, nullptr);
  }
  void Record(const QString& name) {
    static const QStringList own = {"Mf", "Myy", "Mye", "Myb", "Myh", "Myc", "Mz"};
    if (name == QStringLiteral("ToolButton49")) Record(QStringLiteral("Mv"));  // V's key-menu entry
    if (own.contains(name) || w.Actions().Contains(name)) return;
    const std::string key = name.toStdString();
    w.Actions().Declare({key.c_str(), "", ""}, [this, name] { ran[name]++; });
  }

  test::FakeWindow w;
  std::map<QString, int> ran;
  std::unique_ptr<KeysController> keys;
};

TEST_F(KeysTest, EveryLetterItsLowerCaseAndItsKanaTwinRunTheirCommand) {
  for (const test::ListedKey& k : test::kListedKeys) {
    const QString action = QString::fromUtf8(k.action);
    if (action == "Mf" || action == "Mz" || action == "Myc" || action == "Myy") continue;  // below
    ran.clear();
    const QString letter = QString::fromUtf8(k.letter);
    EXPECT_TRUE(keys->FileView1KeyPress(letter)) << k.letter;
    EXPECT_TRUE(keys->FileView1KeyPress(letter.toLower())) << k.letter;
    EXPECT_TRUE(keys->FileView1KeyPress(QString::fromUtf8(k.kana))) << k.letter;
    // A kana keyboard under X11 types the full-width katakana: the same key.
    const QString wide = QString::fromUtf8(k.kana).normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(keys->FileView1KeyPress(wide)) << k.letter << " " << wide.toStdString();
    EXPECT_EQ(ran[action], 4) << k.letter << " -> " << k.action;
  }
  // The root key and its twin "ｰ" go to the root folder command.
  ran.clear();
  EXPECT_TRUE(keys->FileView1KeyPress("\\"));
  EXPECT_TRUE(keys->FileView1KeyPress(QStringLiteral("ｰ")));
  EXPECT_EQ(ran["Mrootfolder"], 2);
}

// The table holds the listed keys and nothing else; no key nor kana is taken twice.
TEST_F(KeysTest, TheTableIsTheKeyList) {
  const std::vector<keys::KeyCommand> table = keys::KeyCommands(w.Actions().Placements());
  std::set<std::string_view> listed;
  for (const test::ListedKey& k : test::kListedKeys) {
    const keys::KeyCommand* by_letter = keys::FindKey(table, k.letter);
    ASSERT_TRUE(by_letter) << k.letter;
    EXPECT_EQ(by_letter->action, k.action) << k.letter;
    EXPECT_EQ(by_letter->kana, k.kana) << k.letter;
    EXPECT_EQ(keys::FindKey(table, k.kana), by_letter) << k.kana;
    listed.insert(k.action);
  }
  std::set<char> letters;
  std::set<std::string_view> kana;
  for (const keys::KeyCommand& k : table) {
    EXPECT_TRUE(listed.count(k.action)) << k.letter << " is not in the key list";
    EXPECT_TRUE(letters.insert(k.letter).second) << k.letter;
    EXPECT_TRUE(kana.insert(k.kana).second) << k.letter;
  }
  EXPECT_EQ(keys::FindKey(table, "Y"), nullptr);
  EXPECT_EQ(keys::FindKey(table, "ﾝ"), nullptr);
}

// A command placed with a key letter is typed like the others and listed in the key menu
// in key order; a key already taken is refused when the keys are read.
TEST_F(KeysTest, APlacedKeyJoinsTheTableAndTheKeyMenu) {
  Record("Mplaced");
  w.Actions().Place({.action = "Mplaced", .key = {.letter = 'Y', .entry = "&Y 置いたコマンド"}});
  EXPECT_TRUE(keys->FileView1KeyPress("y"));
  EXPECT_TRUE(keys->FileView1KeyPress(QStringLiteral("ﾝ")));
  EXPECT_EQ(ran["Mplaced"], 2);
  QMenu menu;
  keys->FillKeyMenu(&menu);
  QStringList texts;
  for (QAction* a : menu.actions()) texts << a->text();
  const qsizetype y = texts.indexOf(QStringLiteral("&Y 置いたコマンド"));
  EXPECT_EQ(texts.indexOf(QStringLiteral("&X ファイルを実行")), y - 1);
  EXPECT_EQ(texts.indexOf(QStringLiteral("&Z メニューを表示/終了")), y + 1);

  Record("Mclash");
  w.Actions().Place({.action = "Mclash", .key = {.letter = 'C', .entry = "&C 重なり"}});
  EXPECT_THROW(keys->FileView1KeyPress("c"), std::logic_error);
}

TEST_F(KeysTest, UnnamedCharactersPassOnAndDisabledCommandsDoNothing) {
  EXPECT_FALSE(keys->FileView1KeyPress("1"));
  EXPECT_FALSE(keys->FileView1KeyPress("y"));
  EXPECT_FALSE(keys->FileView1KeyPress(""));
  EXPECT_FALSE(keys->FileView1KeyPress("ab"));
  EXPECT_FALSE(keys->FileView1KeyPress(QStringLiteral("あ")));
  w.Actions().Get("Mfilecopy")->setEnabled(false);
  EXPECT_TRUE(keys->FileView1KeyPress("c"));  // consumed, yet nothing runs
  EXPECT_EQ(ran["Mfilecopy"], 0);
}

TEST_F(KeysTest, FindRunsOnlyOnShownText) {
  EXPECT_TRUE(keys->FileView1KeyPress("f"));
  EXPECT_EQ(ran["Mserch"], 0);
  w.Pane().SetText("abc\r\n");
  EXPECT_TRUE(keys->FileView1KeyPress(QStringLiteral("ﾊ")));
  EXPECT_EQ(ran["Mserch"], 1);
}

TEST_F(KeysTest, SemicolonTogglesTheListingSwitchAndListsWhenOn) {
  EXPECT_TRUE(keys->FileView1KeyPress(";"));
  EXPECT_TRUE(w.Actions().Checked("Mlhashow"));
  EXPECT_EQ(ran["Mlhalist"], 1);
  EXPECT_TRUE(keys->FileView1KeyPress(QStringLiteral("ﾚ")));
  EXPECT_FALSE(w.Actions().Checked("Mlhashow"));
  EXPECT_EQ(ran["Mlhalist"], 1);
}

TEST_F(KeysTest, KeyMenuEntriesRunTheKeysCommands) {
  QMenu menu;
  menu.addAction(QStringLiteral("終わり"));
  keys->FillKeyMenu(&menu);
  QAction* copy = menu.findChild<QAction*>("KeyMfilecopy");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->text(), QStringLiteral("&C ファイルのコピー"));
  copy->trigger();
  EXPECT_EQ(ran["Mfilecopy"], 1);
  w.Actions().Get("Mfilecopy")->setEnabled(false);
  EXPECT_FALSE(copy->isEnabled());
  // The entries come first, what the menu had follows, the closing entry ends it.
  const qsizetype count = menu.actions().size();
  EXPECT_EQ(menu.actions().at(count - 2)->text(), QStringLiteral("終わり"));
  EXPECT_EQ(menu.actions().back()->text(), QStringLiteral("メニューを閉じる(&Z)"));
  QStringList texts;
  for (QAction* a : menu.actions()) texts << a->text();
  for (const char* t : {"&V テキストを表示", "&W 拡張子を指定", "&X ファイルを実行", "&Z メニューを表示/終了",
                        "&\\ ルートフォルダーに移動", "&；　LHA書庫内容表示切替", "&1 大きいアイコンで表示",
                        "&4 詳細で表示", "Enter サブディレクトリを開く", "BS 一つ上のディレクトリへ移動",
                        "HOME 一番上のファイル", "F3 下へ検索", "SHIFT+F3 上へ検索"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
  menu.findChild<QAction*>("KeyMicon4")->trigger();
  EXPECT_EQ(ran["Micon4"], 1);
  // V's entry brings the pane forward (Mv) while the key shows the file (filedisp2).
  menu.findChild<QAction*>("KeyMv")->trigger();
  EXPECT_EQ(ran["Mv"], 1);
  EXPECT_EQ(ran["ToolButton49"], 0);
}

}  // namespace
}  // namespace haruvi::controllers
