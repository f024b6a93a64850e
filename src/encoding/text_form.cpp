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

// What a unit of a Japanese or Western text is: ASCII (with tab and line ends), Japanese
// (kana and the CJK symbols, the unified ideographs, full-width and half-width forms, the
// punctuation and signs Japanese text uses; Latin-1 letters and combining accents go
// with them), or neither.
enum class UnitKind { Ascii, Japanese, Other };

UnitKind KindOf(unsigned u) {
  if (u < 0x80) return (u >= 0x20 && u < 0x7F) || u == 0x09 || u == 0x0A || u == 0x0D ? UnitKind::Ascii : UnitKind::Other;
  if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF9F) ||
      (u >= 0x00A0 && u <= 0x00FF) || (u >= 0x0300 && u <= 0x036F) ||
      (u >= 0x2010 && u <= 0x2026) || (u >= 0x2190 && u <= 0x21FF) || (u >= 0x2460 && u <= 0x24FF) ||
      (u >= 0x2500 && u <= 0x25FF))
    return UnitKind::Japanese;
  return UnitKind::Other;
}

// How well the bytes read as UTF-16 in one order: the share of units that are Japanese
// or ASCII (both units of a surrogate pair count), and the share that only
// a UTF-16 text has many of (ASCII units, whose high byte is zero; kana, whose high byte
// is 0x30; full-width forms, whose high byte is 0xFF). Random bytes read either way give
// about a third and a hundredth; a Shift_JIS or ASCII text read as UTF-16 falls in the
// ideographs often, but has almost no zero, 0x30 or 0xFF bytes in the right places.
struct Utf16Reading {
  std::size_t units = 0, text = 0, telling = 0;
  bool broken = false;  // a C0 or C1 control, a noncharacter or an unpaired surrogate
};

Utf16Reading ReadAsUtf16(std::string_view bytes, std::size_t n, bool little) {
  Utf16Reading r;
  bool want_low = false;
  for (std::size_t i = 0; i < n; i += 2) {
    const unsigned u = little ? (At(bytes, i) | At(bytes, i + 1) << 8) : (At(bytes, i) << 8 | At(bytes, i + 1));
    const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
    if (want_low != low) {
      r.broken = true;
      return r;
    }
    want_low = high;
    ++r.units;
    if (high || low) {  // a character past U+FFFF (its pair checked above)
      ++r.text;
      continue;
    }
    if (!PlausibleUnit(u)) {
      r.broken = true;
      return r;
    }
    const UnitKind kind = KindOf(u);
    if (kind == UnitKind::Other) continue;
    ++r.text;
    if (kind == UnitKind::Ascii || (u >> 8) == 0x30 || (u >> 8) == 0xFF) ++r.telling;
  }
  return r;
}

// A text this long (in units) before its share is believed: a few units of random bytes
// can happen to read well.
constexpr std::size_t kUtf16MinUnits = 8;

// UTF-16 without a mark: nine units in ten are Japanese or ASCII characters in one byte
// order, at least one in eight of them telling (see Utf16Reading), and every unit is
// text (surrogates in pairs). When both orders would do, the one that reads better.
TextForm DetectUnmarkedUtf16(std::string_view bytes) {
  const std::size_t n = std::min(bytes.size(), kUtf16ScanBytes) & ~std::size_t{1};
  if (n / 2 < kUtf16MinUnits) return TextForm::Legacy;
  const auto good = [](const Utf16Reading& r) {
    return !r.broken && r.text * 10 >= r.units * 9 && r.telling * 8 >= r.units;
  };
  const Utf16Reading le = ReadAsUtf16(bytes, n, true);
  const Utf16Reading be = ReadAsUtf16(bytes, n, false);
  const bool le_good = good(le), be_good = good(be);
  if (le_good && (!be_good || le.text + le.telling >= be.text + be.telling)) return TextForm::Utf16Le;
  if (be_good) return TextForm::Utf16Be;
  return TextForm::Legacy;
}

}  // namespace

TextForm DetectTextForm(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return TextForm::Utf8Bom;
  if (bytes.size() >= 2) {
    if (At(bytes, 0) == 0xFF && At(bytes, 1) == 0xFE) return TextForm::Utf16Le;
    if (At(bytes, 0) == 0xFE && At(bytes, 1) == 0xFF) return TextForm::Utf16Be;
  }
  // Zero bytes are UTF-16's pattern, or a binary file's: either way no UTF-8 text, and
  // a binary file is named at once, as the Japanese detector names it. A UTF-16 text of
  // Japanese alone has no zero byte, but bytes 0x00-0x07 and 0xFF as any other.
  const std::string_view head = bytes.substr(0, std::min(bytes.size(), kUtf16ScanBytes));
  bool utf16_asked = false;
  const auto utf16 = [&] {
    if (utf16_asked) return TextForm::Legacy;
    utf16_asked = true;
    return DetectUnmarkedUtf16(bytes);
  };
  if (head.find('\0') != std::string_view::npos) {
    if (const TextForm form = utf16(); form != TextForm::Legacy) return form;
  }
  for (const char c : bytes.substr(0, std::min(bytes.size(), BinaryScanLimit)))
    if (static_cast<unsigned char>(c) <= 0x07 || static_cast<unsigned char>(c) == 0xFF) return utf16();
  const Utf8Scan scan = ScanUtf8(bytes);
  // The evidence is three- and four-byte sequences (every Japanese character is one), at
  // least one for every four two-byte ones: pairs of half-width kana in Shift_JIS or EUC
  // can pass for two-byte sequences, so a text made mostly of those stays with the
  // Japanese detector. A cut last character (a beginning cut anywhere) is allowed.
  if (scan.valid && scan.leads34 > 0 && scan.leads34 * 4 >= scan.leads2) return TextForm::Utf8;
  return utf16();
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
