// The Japanese reasons; see system_error.h.
#include "platform/system_error.h"

#include <cerrno>
#include <cstring>

namespace haruvi::platform {

std::string SystemErrorText(int error) {
  switch (error) {
    case EPERM: return "この操作は許可されていません";
    case ENOENT: return "ファイルやフォルダーがありません";
    case EIO: return "入出力エラーが生じました";
    case ENXIO: return "装置がありません";
    case E2BIG: return "引数が長すぎます";
    case EBADF: return "ファイルが開かれていません";
    case ENOMEM: return "メモリーが足りません";
    case EACCES: return "アクセスが拒否されました";
    case EBUSY: return "使用中です";
    case EEXIST: return "同じ名前のファイルが既にあります";
    case EXDEV: return "別のファイルシステムへは移せません";
    case ENODEV: return "装置がありません";
    case ENOTDIR: return "フォルダーではありません";
    case EISDIR: return "フォルダーです";
    case EINVAL: return "引数が正しくありません";
    case ENFILE:
    case EMFILE: return "開いているファイルが多すぎます";
    case ETXTBSY: return "実行中のファイルです";
    case EFBIG: return "ファイルが大きすぎます";
    case ENOSPC: return "ディスクの空きが足りません";
    case ESPIPE: return "位置を移せないファイルです";
    case EROFS: return "読み取り専用のファイルシステムです";
    case EMLINK: return "リンクが多すぎます";
    case EPIPE: return "書き込み先が閉じられました";
    case ENAMETOOLONG: return "名前が長すぎます";
    case ENOTEMPTY: return "フォルダーが空ではありません";
    case ELOOP: return "シンボリックリンクが多すぎるか、リンクをたどれません";
    case EDQUOT: return "ディスクの割り当て量を超えました";
    case ESTALE: return "ネットワーク上のファイルが見つからなくなりました";
    case ETIMEDOUT: return "時間切れになりました";
    case ECANCELED: return "中止されました";
    case EILSEQ: return "名前や内容に使えないバイト列があります";
    case EOVERFLOW: return "値が大きすぎます";
    case EAGAIN: return "一時的に使えません。もう一度試してください";
    case EINTR: return "割り込まれました";
    default: {
      const char* text = std::strerror(error);
      return text && *text ? std::string(text) : "エラー " + std::to_string(error);
    }
  }
}

}  // namespace haruvi::platform
