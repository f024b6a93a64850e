// Result messages of archive operations; see result_codes.h.
#include "archive/result_codes.h"

namespace haruvi::archive {

std::string ResultMessage(int code) {
  switch (code) {
    case 32773: return "ディスクの空きが足りません。格納時はエラーとなりますが，展開時は当該格納ファイルの展開をスキップして次のファイルの展開に移ります。";
    case 32774: return "展開先のファイルはリードオンリーです。";
    case 32775: return "ユーザーによって処理がスキップされました。";
    case 32780: return "格納ファイルのチェックサムが合っていません。";
    case 32781: return "ファイルを開けませんでした。";
    case 32782: return "より新しいファイルが展開先に存在しています。";
    case 32783: return "ファイルは展開先に存在していません。";
    case 32784: return "ファイルは既に存在しています。";
    case 32786: return "ディレクトリが作成できません。";
    case 32787: return "書き込みエラーが生じました。";
    case 32788: return "格納ファイルのハフマンコードが壊れています。";
    case 32790: return "書庫のヘッダのチェックサムが合っていません。";
    case 32791: return "書庫のヘッダが壊れています。";
    case 32792: return "書庫を開く事が出来ません。";
    case 32793: return "書庫のファイル名が指定されていません。";
    case 32794: return "ファイルの読み込み時にエラーが生じました。";
    case 32795: return "指定されたファイルは有効な LZH 書庫ではありません。";
    case 32796: return "コマンド指定が間違っています。";
    case 32797: return "作業用のためのヒープメモリが不足しています。実際には BC++ のランタイムである malloc() がエラーとなったときにこのエラーとなります。";
    case 32798: return "グローバルメモリが不足しています。";
    case 32799: return "既に UNLHA32.DLL が動作中です。";
    case 32800: return "ユーザーによって処理を中断されました。";
    case 32801: return "UnlhaOpenArchive()  で書庫とハンドルを関連付ける前に UnlhaFindFirst() 等の API が使用されました。";
    case 32802: return "UnlhaFindFirst() を使用する前に UnlhaFindNext() が呼ばれた。または，これらを呼び出す前に  UnlhaGet-FileName() 等の API が呼ばれました。";
    case 32803: return "UNLHA32.DLL  でサポートされていない API が使用されました。";
    case 32804: return "日付及び時間の指定形式が間違っています。";
    case 32805: return "作業ファイルが作成できません。";
    case 32806: return "ディレクトリのパスが長すぎます。";
    case 32807: return "書き込み専用属性の書庫に対する操作はできません。";
    case 32808: return "すでに同じ名前のファイルが書庫に格納されています。";
    case 32809: return "指定されたディレクトリには書庫がありませんでした。";
    case 32810: return "レスポンスファイルの読み込み時にエラーが生じました。";
    case 32811: return "ファイル名の指定が必要です。";
    case 32812: return "作業ファイルの書庫への書き戻しができませんでした。";
    case 32813: return "書庫のデータが欠落しています。";
    default: return {};
  }
}

int DamageCode(std::string_view reason) {
  for (std::string_view cut : {"cut short", "runcated", "remature end", "nexpected end", "nexpected EOF"})
    if (reason.find(cut) != std::string_view::npos) return kErrMissingData;
  return kErrBrokenHeader;
}

}  // namespace haruvi::archive
