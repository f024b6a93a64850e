// The key table: one row per key, looked up by the typed character.
#include "controllers/keys/key_table.h"

#include <iterator>

namespace haruvi::controllers::keys {
namespace {

// V shows the selected file now (the display controller's "表示" button runs filedisp2);
// H opens help at its contents page (context 1001), which is what "Mhelp" shows.
constexpr KeyCommand kKeys[] = {
    {'A', "ﾁ", "Mpropaty", "&A 属性の変更"},
    {'B', "ｺ", "Mdump1", "&B 16進表示"},
    {'C', "ｿ", "Mfilecopy", "&C ファイルのコピー"},
    {'D', "ｼ", "Mfiledelete", "&D ファイルの削除"},
    {'E', "ｲ", "Mediter", "&E エディターで編集"},
    {'F', "ﾊ", "Mf", "&F テキストの検索"},
    {'G', "ｷ", "Mtorokufolder", "&G 登録フォルダー"},
    {'H', "ｸ", "Mhelp", "&H ヘルプ"},
    {'I', "ﾆ", "Mlhalist", "&I LHA書庫内容表示"},
    {'J', "ﾏ", "Mjump", "&J 指定行へジャンプ"},
    {'K', "ﾉ", "Mmkdir", "&K フォルダーの作成"},
    {'L', "ﾘ", "Mfolderm", "&L フォルダーを指定"},
    {'M', "ﾓ", "Mfilemove", "&M ファイルの移動"},
    {'N', "ﾐ", "Minitview", "&N 最新の情報に更新"},
    {'O', "ﾗ", "Mdrivem", "&O ドライブを指定"},
    {'P', "ｾ", "MlhaP", "&P LHA書庫の作成"},
    {'Q', "ﾀ", "Mexit1", "&Q 終了"},
    {'R', "ｽ", "Mrename", "&R 名前の変更"},
    {'S', "ﾄ", "Mfilesort1", "&S ファイルの並び替え"},
    {'T', "ｶ", "Mtojis1", "&T 文字コード自動変換"},
    {'U', "ﾅ", "MlhaU", "&U LHA書庫の解凍"},
    {'V', "ﾋ", "Mv", "&V テキストを表示"},
    {'W', "ﾃ", "Mmask", "&W 拡張子を指定"},
    {'X', "ｻ", "Mfileexe", "&X ファイルを実行"},
    {'Z', "ﾂ", "Mz", "&Z メニューを表示/終了"},
    {';', "ﾚ", "Myc", "&；　LHA書庫内容表示切替"},
    {'\\', "ｰ", "Myy", "&\\ ルートフォルダーに移動"},
};

}  // namespace

const KeyCommand* KeyTable(std::size_t* count) {
  *count = std::size(kKeys);
  return kKeys;
}

const KeyCommand* FindKey(std::string_view typed) {
  if (typed.empty()) return nullptr;
  if (typed.size() == 1) {
    char c = typed[0];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const KeyCommand& k : kKeys)
      if (k.letter == c) return &k;
    return nullptr;
  }
  for (const KeyCommand& k : kKeys)
    if (k.kana == typed) return &k;
  return nullptr;
}

}  // namespace haruvi::controllers::keys
