// The key table: one row per key, its kana from the keyboard, looked up by the typed
// character.
#include "controllers/keys/key_table.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "ui/placement.h"

namespace haruvi::controllers::keys {
namespace {

struct KeyRow {
  char letter;
  std::string_view action;
  std::string_view entry;
  std::string_view entry_action = {};  // the key menu's entry runs this instead, when given
};

// V shows the selected file now, whatever instant display says, the line blue (the "表示"
// button's command), while its key-menu entry "テキストを表示" brings the pane forward when
// instant display is on; H opens help at its contents page (context 1001), which is what
// "Mhelp" shows.
constexpr KeyRow kKeys[] = {
    {'A', "Mpropaty", "&A 属性の変更"},
    {'B', "Mdump1", "&B 16進表示"},
    {'C', "Mfilecopy", "&C ファイルのコピー"},
    {'D', "Mfiledelete", "&D ファイルの削除"},
    {'E', "Mediter", "&E エディターで編集"},
    {'F', "Mf", "&F テキストの検索"},
    {'G', "Mtorokufolder", "&G 登録フォルダー"},
    {'H', "Mhelp", "&H ヘルプ"},
    {'I', "Mlhalist", "&I LHA書庫内容表示"},
    {'J', "Mjump", "&J 指定行へジャンプ"},
    {'K', "Mmkdir", "&K フォルダーの作成"},
    {'L', "Mfolderm", "&L フォルダーを指定"},
    {'M', "Mfilemove", "&M ファイルの移動"},
    {'N', "Minitview", "&N 最新の情報に更新"},
    {'O', "Mdrivem", "&O ドライブを指定"},
    {'P', "MlhaP", "&P LHA書庫の作成"},
    {'Q', "Mexit1", "&Q 終了"},
    {'R', "Mrename", "&R 名前の変更"},
    {'S', "Mfilesort1", "&S ファイルの並び替え"},
    {'T', "Mtojis1", "&T 文字コード自動変換"},
    {'U', "MlhaU", "&U LHA書庫を解凍"},
    {'V', "ToolButton49", "&V テキストを表示", "Mv"},
    {'W', "Mmask", "&W 拡張子を指定"},
    {'X', "Mfileexe", "&X ファイルを実行"},
    {'Z', "Mz", "&Z メニューを表示/終了"},
    {';', "Myc", "&；　LHA書庫内容表示切替"},
    {'\\', "Myy", "&\\ ルートフォルダーに移動"},
};

// The keys of a Japanese keyboard in key order, each with its kana-mode katakana (the
// yen key, typed as a backslash, gives the long-vowel mark) in both widths: a kana
// keyboard types the half-width one under some input methods and the full-width one
// under others (X11's kana keysyms).
constexpr struct {
  char letter;
  std::string_view kana;
  std::string_view wide;
} kKeyboard[] = {
    {'A', "ﾁ", "チ"}, {'B', "ｺ", "コ"}, {'C', "ｿ", "ソ"}, {'D', "ｼ", "シ"}, {'E', "ｲ", "イ"}, {'F', "ﾊ", "ハ"},
    {'G', "ｷ", "キ"}, {'H', "ｸ", "ク"}, {'I', "ﾆ", "ニ"}, {'J', "ﾏ", "マ"}, {'K', "ﾉ", "ノ"}, {'L', "ﾘ", "リ"},
    {'M', "ﾓ", "モ"}, {'N', "ﾐ", "ミ"}, {'O', "ﾗ", "ラ"}, {'P', "ｾ", "セ"}, {'Q', "ﾀ", "タ"}, {'R', "ｽ", "ス"},
    {'S', "ﾄ", "ト"}, {'T', "ｶ", "カ"}, {'U', "ﾅ", "ナ"}, {'V', "ﾋ", "ヒ"}, {'W', "ﾃ", "テ"}, {'X', "ｻ", "サ"},
    {'Y', "ﾝ", "ン"}, {'Z', "ﾂ", "ツ"}, {';', "ﾚ", "レ"}, {':', "ｹ", "ケ"}, {',', "ﾈ", "ネ"}, {'.', "ﾙ", "ル"},
    {'/', "ﾒ", "メ"}, {'-', "ﾎ", "ホ"}, {'^', "ﾍ", "ヘ"}, {'@', "ﾞ", "゛"}, {'[', "ﾟ", "゜"}, {']', "ﾑ", "ム"},
    {'\\', "ｰ", "ー"},
};

std::size_t KeyOrder(char letter) {
  for (std::size_t i = 0; i < std::size(kKeyboard); ++i)
    if (kKeyboard[i].letter == letter) return i;
  return std::size(kKeyboard);
}

}  // namespace

std::string_view KanaOf(char letter) {
  const std::size_t i = KeyOrder(letter);
  return i < std::size(kKeyboard) ? kKeyboard[i].kana : std::string_view();
}

std::string_view WideKanaOf(char letter) {
  const std::size_t i = KeyOrder(letter);
  return i < std::size(kKeyboard) ? kKeyboard[i].wide : std::string_view();
}

std::vector<KeyCommand> KeyCommands(const std::vector<ui::Placement>& places) {
  std::vector<KeyCommand> keys;
  for (const KeyRow& k : kKeys)
    keys.push_back({k.letter, KanaOf(k.letter), k.action, k.entry, k.entry_action.empty() ? k.action : k.entry_action});
  for (const ui::Placement& p : places) {
    const char letter = p.key.letter;
    if (letter == 0) continue;
    if (KanaOf(letter).empty() || FindKey(keys, std::string_view(&letter, 1)))
      throw std::logic_error(std::string(p.action) + " cannot take the key " + letter);
    keys.push_back({letter, KanaOf(letter), p.action, p.key.entry, p.action});
  }
  std::stable_sort(keys.begin(), keys.end(),
                   [](const KeyCommand& a, const KeyCommand& b) { return KeyOrder(a.letter) < KeyOrder(b.letter); });
  return keys;
}

const KeyCommand* FindKey(std::span<const KeyCommand> keys, std::string_view typed) {
  if (typed.empty()) return nullptr;
  if (typed.size() == 1) {
    char c = typed[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const KeyCommand& k : keys)
      if (k.letter == c) return &k;
    return nullptr;
  }
  for (const KeyCommand& k : keys)
    if (k.kana == typed || WideKanaOf(k.letter) == typed) return &k;
  return nullptr;
}

}  // namespace haruvi::controllers::keys
