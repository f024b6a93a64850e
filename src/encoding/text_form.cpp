// Unicode form detection in front of the Japanese code detector.
#include "encoding/text_form.h"

#include <algorithm>

#include "encoding/utf8_scan.h"

namespace haruvi::encoding {
namespace {

inline unsigned char At(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// A code unit a Japanese or Western text holds: no C0 control but tab, line ends, form
// feed and escape; no C1 control, no noncharacter U+FFFE/U+FFFF.
bool PlausibleUnit(unsigned u) {
  if (u < 0x20) return u == 0x09 || u == 0x0A || u == 0x0D || u == 0x0C || u == 0x1B;
  if (u >= 0x7F && u <= 0x9F) return false;
  return u != 0xFFFE && u != 0xFFFF;
}

// UTF-16 without a mark: the zero bytes stand on one side of the code units (ASCII, line
// ends and spaces give them; few Japanese characters have one), there are at least two,
// and every unit read that way is text, surrogates in pairs.
TextForm DetectUnmarkedUtf16(std::string_view bytes) {
  const std::size_t n = std::min(bytes.size(), kUtf16ScanBytes) & ~std::size_t{1};
  if (n < 4) return TextForm::Legacy;
  std::size_t zero_even = 0, zero_odd = 0;
  for (std::size_t i = 0; i < n; i += 2) {
    zero_even += At(bytes, i) == 0;
    zero_odd += At(bytes, i + 1) == 0;
  }
  // The other side has zero bytes only from characters like U+4E00 "一" or the second
  // half of a surrogate pair: far fewer than the ASCII side's.
  bool little;
  if (zero_odd >= 2 && zero_even * 2 < zero_odd) little = true;
  else if (zero_even >= 2 && zero_odd * 2 < zero_even) little = false;
  else return TextForm::Legacy;
  bool want_low = false;
  for (std::size_t i = 0; i < n; i += 2) {
    const unsigned u = little ? (At(bytes, i) | At(bytes, i + 1) << 8) : (At(bytes, i) << 8 | At(bytes, i + 1));
    const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
    if (want_low != low) return TextForm::Legacy;
    want_low = high;
    if (!high && !low && !PlausibleUnit(u)) return TextForm::Legacy;
  }
  return little ? TextForm::Utf16Le : TextForm::Utf16Be;
}

}  // namespace

TextForm DetectTextForm(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return TextForm::Utf8Bom;
  if (bytes.size() >= 2) {
    if (At(bytes, 0) == 0xFF && At(bytes, 1) == 0xFE) return TextForm::Utf16Le;
    if (At(bytes, 0) == 0xFE && At(bytes, 1) == 0xFF) return TextForm::Utf16Be;
  }
  // Zero bytes are UTF-16's pattern, or a binary file's: either way no UTF-8 text, and
  // a binary file is named at once, as the Japanese detector names it.
  const std::string_view head = bytes.substr(0, std::min(bytes.size(), kUtf16ScanBytes));
  if (head.find('\0') != std::string_view::npos) {
    const TextForm form = DetectUnmarkedUtf16(bytes);
    if (form != TextForm::Legacy) return form;
  }
  for (const char c : bytes.substr(0, std::min(bytes.size(), BinaryScanLimit)))
    if (static_cast<unsigned char>(c) <= 0x07 || static_cast<unsigned char>(c) == 0xFF) return TextForm::Legacy;
  const Utf8Scan scan = ScanUtf8(bytes);
  // The evidence is three- and four-byte sequences (every Japanese character is one), at
  // least one for every four two-byte ones: pairs of half-width kana in Shift_JIS or EUC
  // can pass for two-byte sequences, so a text made mostly of those stays with the
  // Japanese detector. A cut last character (a beginning cut anywhere) is allowed.
  if (scan.valid && scan.leads34 > 0 && scan.leads34 * 4 >= scan.leads2) return TextForm::Utf8;
  return TextForm::Legacy;
}

std::string TextFormName(TextForm form) {
  switch (form) {
    case TextForm::Utf8: return "UTF-8";
    case TextForm::Utf8Bom: return "UTF-8(BOM)";
    case TextForm::Utf16Le: return "UTF-16LE";
    case TextForm::Utf16Be: return "UTF-16BE";
    case TextForm::Legacy:
    case TextForm::EucJp:
    case TextForm::Jis: break;
  }
  return "";
}

bool IsUtf16(TextForm form) { return form == TextForm::Utf16Le || form == TextForm::Utf16Be; }
bool IsUnicode(TextForm form) { return form != TextForm::Legacy && !IsJapaneseForm(form); }
bool IsJapaneseForm(TextForm form) { return form == TextForm::EucJp || form == TextForm::Jis; }

std::string CodeNameOf(std::string_view bytes) {
  const TextForm form = DetectTextForm(bytes);
  if (form != TextForm::Legacy) return TextFormName(form);
  return CharCodeName(DetectCharCode(bytes));
}

}  // namespace haruvi::encoding
