// Table-driven decoding and encoding for the text pane; see pane_codec.h for the rules.
#include "encoding/pane_codec.h"

#include <algorithm>
#include <array>
#include <mutex>

#include "encoding/pane_codec_tables.h"
#include "encoding/utf8.h"

namespace haruvi::encoding {

CodePage CodePageForCharset(int font_charset) {
  switch (font_charset) {
    // The standard (1) and the system's own (255) code page of this program are its
    // Japanese one, as on a Japanese system.
    case 1:
    case 255:
    case 128: return CodePage::Cp932;
    case 129: return CodePage::Cp949;
    case 134: return CodePage::Gbk;
    case 136: return CodePage::Big5;
    case 238: return CodePage::Windows1250;
    case 204: return CodePage::Windows1251;
    case 161: return CodePage::Windows1253;
    case 162: return CodePage::Windows1254;
    case 177: return CodePage::Windows1255;
    case 178: return CodePage::Windows1256;
    case 186: return CodePage::Windows1257;
    case 163: return CodePage::Windows1258;
    case 222: return CodePage::Cp874;
    case 77: return CodePage::MacRoman;
    default: return CodePage::Windows1252;
  }
}

std::string_view CodePageName(CodePage page) {
  switch (page) {
    case CodePage::Cp932: return "CP932";
    case CodePage::Windows1252: return "windows-1252";
    case CodePage::Cp949: return "CP949";
    case CodePage::Gbk: return "GBK";
    case CodePage::Big5: return "Big5";
    case CodePage::Windows1250: return "windows-1250";
    case CodePage::Windows1251: return "windows-1251";
    case CodePage::Windows1253: return "windows-1253";
    case CodePage::Windows1254: return "windows-1254";
    case CodePage::Windows1255: return "windows-1255";
    case CodePage::Windows1256: return "windows-1256";
    case CodePage::Windows1257: return "windows-1257";
    case CodePage::Windows1258: return "windows-1258";
    case CodePage::Cp874: return "CP874";
    case CodePage::MacRoman: return "MacRoman";
    case CodePage::Cp437: return "CP437";
    case CodePage::Utf8: return "UTF-8";
    case CodePage::EucJp: return "EUC-JP";
    case CodePage::Iso2022Jp: return "ISO-2022-JP";
  }
  return "windows-1252";
}

PaneCodec::PaneCodec(CodePage page, std::unique_ptr<const Tables> tables)
    : page_(page), tables_(std::move(tables)) {}
PaneCodec::~PaneCodec() = default;

const PaneCodec& PaneCodec::For(CodePage page) {
  static std::array<std::once_flag, kCodePageCount> once;
  static std::array<std::unique_ptr<PaneCodec>, kCodePageCount> codecs;
  auto index = static_cast<size_t>(page);
  if (index >= kCodePageCount) index = static_cast<size_t>(CodePage::Windows1252);
  std::call_once(once[index], [&] {
    auto p = static_cast<CodePage>(index);
    std::unique_ptr<const Tables> tables;
    if (p == CodePage::EucJp || p == CodePage::Iso2022Jp)
      tables = BuildEucTables(For(CodePage::Cp932).tables(), p == CodePage::Iso2022Jp);
    else if (p != CodePage::Utf8) tables = BuildPaneCodecTables(p);
    codecs[index] = std::make_unique<PaneCodec>(p, std::move(tables));
  });
  return *codecs[index];
}

size_t PaneCodec::CharLength(std::string_view bytes) const {
  if (bytes.empty()) return 0;
  if (!tables_) return std::max<size_t>(1, Utf8SequenceAt(bytes, 0));
  if (IsEuc()) return EucCharLength(*tables_, bytes);
  const auto b = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() >= 2 && tables_->lead[b] &&
      tables_->pair[(b << 8) | static_cast<unsigned char>(bytes[1])] != 0)
    return 2;
  return 1;
}

size_t PaneCodec::CharStart(std::string_view bytes, size_t at) const {
  if (at >= bytes.size()) return bytes.size();
  if (!tables_) {
    // A well-formed sequence that starts up to three bytes back and reaches past `at`;
    // its first byte is no continuation byte, so nothing before it can hold it.
    for (size_t back = 1; back <= 3 && back <= at; ++back) {
      const size_t s = at - back;
      if (static_cast<unsigned char>(bytes[s]) < 0xC0) continue;
      return s + Utf8SequenceAt(bytes, s) > at ? s : at;
    }
    return at;
  }
  // Back to the byte after one that leads no character (or to the line's start): a
  // character starts there, whatever came before. Then forward by characters.
  // In EUC-JP only 0x8E, 0x8F and 0xA1-0xFE are ever part of a longer character.
  const auto holds = [&](unsigned char b) {
    return IsEuc() ? b == 0x8E || b == 0x8F || (b >= 0xA1 && b != 0xFF) : tables_->lead[b];
  };
  size_t from = at;
  while (from > 0 && holds(static_cast<unsigned char>(bytes[from - 1]))) --from;
  // An escape sequence (at most four bytes) starts at its ESC, which starts a character
  // whatever stands before it.
  if (IsEuc() && tables_->escapes) {
    for (size_t back = std::min<size_t>(from, 3); back > 0; --back) {
      if (bytes[from - back] == '\x1B') {
        from -= back;
        break;
      }
    }
  }
  while (from < at) {
    const size_t n = CharLength(bytes.substr(from));
    if (from + n > at) break;
    from += n;
  }
  return from;
}

namespace {

std::u16string DecodeUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    char32_t cp = 0;
    if (const size_t len = Utf8SequenceAt(bytes, i, &cp)) {
      if (cp >= 0x10000) {
        out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(cp));
      }
      i += len;
    } else {
      out.push_back(static_cast<char16_t>(PaneCodec::kRawByteBase + b));
      ++i;
    }
  }
  return out;
}

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

std::string EncodeUtf8(std::u16string_view text, size_t* unmappable) {
  std::string out;
  out.reserve(text.size() * 3);
  size_t missing = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t u = text[i];
    if (IsHigh(u) && i + 1 < n && IsLow(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (u >= PaneCodec::kRawByteBase && u < PaneCodec::kRawByteBase + 256) {
      out.push_back(static_cast<char>(PaneCodec::RawByteValue(u)));
    } else if (IsHigh(u) || IsLow(u)) {
      out += "\xEF\xBF\xBD";
      ++missing;
    } else {
      AppendUtf8(out, u);
    }
  }
  if (unmappable) *unmappable = missing;
  return out;
}

}  // namespace

std::u16string PaneCodec::PlainText(std::u16string_view units) const {
  std::u16string out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (!tables_ && IsHigh(u) && i + 1 < units.size() && IsLow(units[i + 1])) {
      out.push_back(u);
      out.push_back(units[++i]);
    } else if (!IsRawByte(u) && !(tables_ && u >= kSelectorBase && u < kSelectorBase + 16) &&
               !(tables_ && tables_->escapes && IsEscape(u))) {
      out.push_back(u);
    }
  }
  return out;
}

std::u16string PaneCodec::Decode(std::string_view bytes) const {
  if (!tables_) return DecodeUtf8(bytes);
  if (IsEuc()) return DecodeEuc(*tables_, bytes);
  const Tables& t = *tables_;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  // Every byte gives at most one unit, except a one-byte duplicate (two).
  std::u16string out(t.has_single_dups ? 2 * n : n, u'\0');
  char16_t* o = out.data();
  size_t i = 0;
  while (i < n) {
    const unsigned b = p[i];
    if (t.lead[b] && i + 1 < n) {
      const unsigned code = (b << 8) | p[i + 1];
      if (const char16_t u = t.pair[code]) {
        *o++ = u;
        if (const uint8_t dup = t.pair_dup[code]) *o++ = static_cast<char16_t>(kSelectorBase + dup - 1);
        i += 2;
        continue;
      }
    }
    *o++ = t.single[b];
    if (const uint8_t dup = t.single_dup[b]) *o++ = static_cast<char16_t>(kSelectorBase + dup - 1);
    ++i;
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

namespace {

bool IsSelector(char16_t u) { return u >= PaneCodec::kSelectorBase && u < PaneCodec::kSelectorBase + 16; }

void Put(std::string& out, uint32_t entry) {
  const uint32_t code = entry & 0xFFFF;
  if ((entry >> 16) == 2) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}

}  // namespace

std::string PaneCodec::Encode(std::u16string_view text, size_t* unmappable) const {
  if (!tables_) return EncodeUtf8(text, unmappable);
  if (IsEuc()) return EncodeEuc(*tables_, text, unmappable);
  const Tables& t = *tables_;
  std::string out;
  out.reserve(text.size() * 2);
  size_t missing = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t u = text[i];
    if (IsRawByte(u)) {
      out.push_back(static_cast<char>(RawByteValue(u)));
      continue;
    }
    if (u >= 0xD800 && u <= 0xDFFF) {  // outside the BMP, or a stray surrogate
      if (u < 0xDC00 && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
      out += t.substitute;
      ++missing;
      continue;
    }
    if (IsSelector(u)) {  // no character before it carries this duplicate
      ++missing;
      continue;
    }
    if (i + 1 < n && IsSelector(text[i + 1])) {
      const uint32_t key = (static_cast<uint32_t>(u) << 8) | static_cast<uint32_t>(text[i + 1] - kSelectorBase + 1);
      if (auto it = t.duplicates.find(key); it != t.duplicates.end()) {
        Put(out, it->second);
        ++i;
        continue;
      }
    }
    if (const uint32_t entry = t.encode[u]) {
      Put(out, entry);
    } else {
      out += t.substitute;
      ++missing;
    }
  }
  if (unmappable) *unmappable = missing;
  return out;
}

}  // namespace haruvi::encoding
