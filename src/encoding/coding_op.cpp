// The numbered conversions of the "文字コード変換" menu, one call each.
#include "encoding/codings.h"
#include "encoding/jis_convert.h"

namespace haruvi::encoding {

std::string ApplyCodingOp(TCodingOp op, std::string_view text) {
  constexpr std::string_view kSep = "\r";  // the pane's line codings end lines with CR alone
  switch (op) {
    case coJisToSjis: return JisToSjis(text);
    case coEucToSjis: return EucToSjis(text);
    case coSjisToJis: return SjisToJis(text);
    case coEucToJis: return EucToJis(text);
    case coSjisToEuc: return SjisToEuc(text);
    case coJisToEuc: return JisToEuc(text);
    case coBase64Encode: return Base64Encode(text);
    case coMimeHeaderEncode: return MimeHeaderEncode(text);
    case coBase64Decode: return Base64Decode(text);
    case coUuEncode: return UuEncode(text, kSep);
    case coUuDecode: return UuDecode(text);
    case coBinHexEncode: return BinHexEncode(text, kSep);
    case coBinHexDecode: return BinHexDecode(text);
    case coMimeHeaderDecode: return MimeHeaderDecode(text);
    case coAutoToSjis: return ConvertToCode(text, ccSjis);
  }
  return std::string(text);
}

}  // namespace haruvi::encoding
