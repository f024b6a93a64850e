// Table-driven conversions between CP932 and UTF-8 over the pane codec's CP932 tables
// (built from the system converter, so both agree on every code), UTF-16 by arithmetic,
// and EUC and JIS through the Shift_JIS arithmetic of jis_convert.
#include "encoding/unicode_convert.h"

#include <iconv.h>

#include <cstring>
#include <unordered_map>

#include "encoding/byte_writer.h"
#include "encoding/japanese_form.h"
#include "encoding/pane_codec.h"
#include "encoding/pane_codec_tables.h"
#include "encoding/text_form.h"
#include "encoding/utf8.h"

namespace haruvi::encoding {
namespace {

const PaneCodec::Tables& Cp932() { return PaneCodec::For(CodePage::Cp932).tables(); }

inline unsigned char At(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Shift_JIS bytes to UTF-8; stops before a lead byte whose trail is not in `in` unless
// `last`. Returns the bytes taken.
std::size_t SjisPiece(std::string_view in, bool last, std::string& out, std::size_t* missing) {
  const PaneCodec::Tables& t = Cp932();
  const std::size_t n = in.size();
  const auto* p = reinterpret_cast<const unsigned char*>(in.data());
  // Written through a pointer into room for the worst case (one byte, three out).
  const std::size_t old = out.size();
  out.resize(old + 3 * n);
  char* o = out.data() + old;
  const auto put = [&](char16_t u) {  // a BMP character: one to three bytes
    if (u < 0x80) {
      *o++ = static_cast<char>(u);
    } else if (u < 0x800) {
      *o++ = static_cast<char>(0xC0 | (u >> 6));
      *o++ = static_cast<char>(0x80 | (u & 0x3F));
    } else {
      *o++ = static_cast<char>(0xE0 | (u >> 12));
      *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (u & 0x3F));
    }
  };
  std::size_t i = 0;
  while (i < n) {
    const unsigned b = p[i];
    if (b < 0x80) {
      i = CopyAsciiRun(p, i, n, o);
      continue;
    }
    if (t.lead[b]) {
      if (i + 1 >= n && !last) break;
      if (i + 1 < n) {
        if (const char16_t u = t.pair[(b << 8) | p[i + 1]]) {
          put(u);
          i += 2;
          continue;
        }
      }
    }
    const char16_t u = t.single[b];
    if (u >= PaneCodec::kRawByteBase && u < PaneCodec::kRawByteBase + 256) {
      for (const char c : kUtf8Substitute) *o++ = c;
      ++*missing;
    } else {
      put(u);
    }
    ++i;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return i;
}

// Characters without a CP932 code of their own that the system converter still writes
// one way (U+00A2 "¢" as 0x8191 "￠", U+2016, U+2212, ...), asked once.
std::unordered_map<char32_t, std::uint32_t> BuildOneWay() {
  std::unordered_map<char32_t, std::uint32_t> map;
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return map;
  const PaneCodec::Tables& t = Cp932();
  for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || t.encode[cp]) continue;
    std::string in;
    AppendUtf8(in, cp);
    char buf[8];
    char* src = in.data();
    size_t src_left = in.size();
    char* dst = buf;
    size_t dst_left = sizeof buf;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1) || src_left) continue;
    const size_t len = sizeof buf - dst_left;
    const auto b = [&](size_t k) { return static_cast<std::uint32_t>(static_cast<unsigned char>(buf[k])); };
    if (len == 1) map.emplace(cp, (1u << 16) | b(0));
    else if (len == 2) map.emplace(cp, (2u << 16) | b(0) << 8 | b(1));
  }
  iconv_close(cd);
  return map;
}

std::uint32_t OneWayEntry(char32_t cp) {
  static const std::unordered_map<char32_t, std::uint32_t> map = BuildOneWay();
  const auto it = map.find(cp);
  return it == map.end() ? 0 : it->second;
}

// A well-formed sequence cut off by the end of `t`, which starts at its lead byte.
bool IsCutUtf8(std::string_view t) {
  const unsigned char c = At(t, 0);
  const std::size_t need = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
  if (need == 0 || t.size() >= need) return false;
  for (std::size_t k = 1; k < t.size(); ++k)
    if ((At(t, k) & 0xC0) != 0x80) return false;
  return true;
}

std::size_t Utf8ToSjisPiece(std::string_view in, bool last, std::string& out, std::size_t* missing) {
  const PaneCodec::Tables& t = Cp932();
  const std::size_t n = in.size();
  const auto* p = reinterpret_cast<const unsigned char*>(in.data());
  // Written through a pointer into room for the worst case (a stray byte becomes "〓").
  const std::size_t old = out.size();
  out.resize(old + 2 * n);
  char* o = out.data() + old;
  const auto put = [&](std::uint32_t entry) {
    if ((entry >> 16) == 2) *o++ = static_cast<char>(entry >> 8);
    *o++ = static_cast<char>(entry & 0xFF);
  };
  const auto substitute = [&] {
    *o++ = kSjisSubstitute[0];
    *o++ = kSjisSubstitute[1];
    ++*missing;
  };
  std::size_t i = 0;
  while (i < n) {
    const unsigned b = p[i];
    if (b < 0x80) {
      i = CopyAsciiRun(p, i, n, o);
      continue;
    }
    // The common case, a three-byte sequence (every Japanese character), read inline.
    if ((b & 0xF0) == 0xE0 && i + 2 < n && (p[i + 1] & 0xC0) == 0x80 && (p[i + 2] & 0xC0) == 0x80) {
      const char32_t cp = (b & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F);
      if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) {
        std::uint32_t entry = t.encode[cp];
        if (!entry) entry = OneWayEntry(cp);
        if (entry) put(entry);
        else substitute();
        i += 3;
        continue;
      }
    }
    char32_t cp = 0;
    const std::size_t len = Utf8SequenceAt(in, i, &cp);
    if (len == 0) {
      const bool cut = IsCutUtf8(in.substr(i));
      if (cut && !last) break;
      substitute();
      i = cut ? n : i + 1;  // a character cut off by the end is one
      continue;
    }
    std::uint32_t entry = cp < 0x10000 ? t.encode[cp] : 0;
    if (!entry && cp < 0x10000) entry = OneWayEntry(cp);
    if (entry) put(entry);
    else substitute();
    i += len;
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return i;
}

void AppendUnit(std::string& out, char16_t u, bool little) {
  const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
  out.push_back(little ? lo : hi);
  out.push_back(little ? hi : lo);
}

std::size_t Utf8ToUtf16Piece(std::string_view in, bool last, bool little, std::string& out, std::size_t* missing) {
  std::size_t i = 0;
  const std::size_t n = in.size();
  out.reserve(out.size() + 2 * n);
  while (i < n) {
    char32_t cp = 0;
    const std::size_t len = Utf8SequenceAt(in, i, &cp);
    if (len == 0) {
      const bool cut = IsCutUtf8(in.substr(i));
      if (cut && !last) break;
      AppendUnit(out, 0xFFFD, little);
      ++*missing;
      i = cut ? n : i + 1;
      continue;
    }
    if (cp >= 0x10000) {
      AppendUnit(out, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)), little);
      AppendUnit(out, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)), little);
    } else {
      AppendUnit(out, static_cast<char16_t>(cp), little);
    }
    i += len;
  }
  return i;
}

// UTF-16 to UTF-8. Strict: an unpaired surrogate and an odd last byte are counted and
// written as U+FFFD. Lossless (the pane's form): they are kept as described in the header.
std::size_t Utf16Piece(std::string_view in, bool last, bool little, bool lossless, std::string& out,
                       std::size_t* missing) {
  const std::size_t n = in.size();
  const auto unit = [&](std::size_t k) -> char16_t {
    return static_cast<char16_t>(little ? (At(in, k) | At(in, k + 1) << 8) : (At(in, k) << 8 | At(in, k + 1)));
  };
  out.reserve(out.size() + n + n / 2);
  std::size_t i = 0;
  while (i + 1 < n) {
    const char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 3 >= n && !last) break;
      if (i + 3 < n) {
        const char16_t v = unit(i + 2);
        if (v >= 0xDC00 && v <= 0xDFFF) {
          AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (v - 0xDC00));
          i += 4;
          continue;
        }
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      if (lossless) {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
      } else {
        out += kUtf8Substitute;
        ++*missing;
      }
    } else {
      AppendUtf8(out, u);
    }
    i += 2;
  }
  if (i + 1 == n && last) {
    if (lossless) {
      out.push_back('\xFF');
      out.push_back(in[i]);
    } else {
      out += kUtf8Substitute;
      ++*missing;
    }
    ++i;
  }
  return i;
}

class SjisToUtf8Conversion : public PieceConversion {
 public:
  explicit SjisToUtf8Conversion(std::size_t* missing) : missing_(missing) {}
  std::size_t Convert(std::string_view held, bool last, std::string& out) override {
    return SjisPiece(held, last, out, missing_);
  }

 private:
  std::size_t* missing_;
};

class Utf8ToSjisConversion : public PieceConversion {
 public:
  explicit Utf8ToSjisConversion(std::size_t* missing) : missing_(missing) {}
  std::size_t Convert(std::string_view held, bool last, std::string& out) override {
    return Utf8ToSjisPiece(held, last, out, missing_);
  }

 private:
  std::size_t* missing_;
};

class Utf8ToUtf16Conversion : public PieceConversion {
 public:
  Utf8ToUtf16Conversion(bool little, bool mark, std::size_t* missing)
      : little_(little), mark_(mark), missing_(missing) {}
  std::size_t Convert(std::string_view held, bool last, std::string& out) override {
    std::size_t skip = 0;
    if (first_) {
      if (held.size() < 3 && !last) return 0;
      first_ = false;
      // A mark in the UTF-8 text becomes UTF-16's mark; one is added where wanted and
      // missing, and dropped where not wanted.
      const bool marked = held.substr(0, 3) == "\xEF\xBB\xBF";
      if (mark_ && !marked) AppendUnit(out, 0xFEFF, little_);
      if (!mark_ && marked) skip = 3;
    }
    return skip + Utf8ToUtf16Piece(held.substr(skip), last, little_, out, missing_);
  }

 private:
  bool little_, mark_;
  std::size_t* missing_;
  bool first_ = true;
};

class Utf16ToUtf8Conversion : public PieceConversion {
 public:
  explicit Utf16ToUtf8Conversion(std::size_t* missing) : missing_(missing) {}
  std::size_t Convert(std::string_view held, bool last, std::string& out) override {
    std::size_t skip = 0;
    if (!decided_) {
      if (held.size() < kUtf16ScanBytes && !last) return 0;
      decided_ = true;
      const TextForm form = DetectTextForm(held);
      little_ = form != TextForm::Utf16Be;
      const bool marked = held.size() >= 2 && (held.substr(0, 2) == "\xFF\xFE" || held.substr(0, 2) == "\xFE\xFF");
      if (marked) skip = 2;  // the mark is UTF-16's; UTF-8 goes without
    }
    return skip + Utf16Piece(held.substr(skip), last, little_, false, out, missing_);
  }

 private:
  std::size_t* missing_;
  bool decided_ = false;
  bool little_ = true;
};

// One conversion feeding the next.
class Chained : public PieceConversion {
 public:
  Chained(std::unique_ptr<PieceConversion> first, std::unique_ptr<PieceConversion> second)
      : first_(std::move(first)), second_(std::move(second)) {}
  std::size_t Convert(std::string_view held, bool last, std::string& out) override {
    const std::size_t took = first_->Convert(held, last, middle_);
    const std::size_t used = second_->Convert(middle_, last && took == held.size(), out);
    middle_.erase(0, used);
    return took;
  }

 private:
  std::unique_ptr<PieceConversion> first_, second_;
  std::string middle_;
};

struct OpRow {
  std::string_view name;
  UnicodeOp op;
};
constexpr OpRow kOps[] = {
    {"sjis2utf8", UnicodeOp::kSjisToUtf8},     {"utf82sjis", UnicodeOp::kUtf8ToSjis},
    {"euc2utf8", UnicodeOp::kEucToUtf8},       {"utf82euc", UnicodeOp::kUtf8ToEuc},
    {"jis2utf8", UnicodeOp::kJisToUtf8},       {"utf82jis", UnicodeOp::kUtf8ToJis},
    {"utf162utf8", UnicodeOp::kUtf16ToUtf8},   {"utf82utf16", UnicodeOp::kUtf8ToUtf16},
    {"utf82utf16le", UnicodeOp::kUtf8ToUtf16Le}, {"utf82utf16be", UnicodeOp::kUtf8ToUtf16Be},
};

}  // namespace

std::optional<UnicodeOp> UnicodeOpNamed(std::string_view name) {
  for (const OpRow& r : kOps)
    if (r.name == name) return r.op;
  return std::nullopt;
}

std::string_view UnicodeOpName(UnicodeOp op) {
  for (const OpRow& r : kOps)
    if (r.op == op) return r.name;
  return "";
}

std::unique_ptr<PieceConversion> MakeUnicodeConversion(UnicodeOp op, std::size_t* unmappable) {
  switch (op) {
    case UnicodeOp::kSjisToUtf8: return std::make_unique<SjisToUtf8Conversion>(unmappable);
    case UnicodeOp::kUtf8ToSjis: return std::make_unique<Utf8ToSjisConversion>(unmappable);
    case UnicodeOp::kEucToUtf8:
      return std::make_unique<Chained>(MakeCodingConversion(coEucToSjis),
                                       std::make_unique<SjisToUtf8Conversion>(unmappable));
    case UnicodeOp::kJisToUtf8:
      return std::make_unique<Chained>(MakeCodingConversion(coJisToSjis),
                                       std::make_unique<SjisToUtf8Conversion>(unmappable));
    case UnicodeOp::kUtf8ToEuc:
      return std::make_unique<Chained>(std::make_unique<Utf8ToSjisConversion>(unmappable),
                                       MakeCodingConversion(coSjisToEuc));
    case UnicodeOp::kUtf8ToJis:
      return std::make_unique<Chained>(std::make_unique<Utf8ToSjisConversion>(unmappable),
                                       MakeCodingConversion(coSjisToJis));
    case UnicodeOp::kUtf16ToUtf8: return std::make_unique<Utf16ToUtf8Conversion>(unmappable);
    case UnicodeOp::kUtf8ToUtf16: return std::make_unique<Utf8ToUtf16Conversion>(true, true, unmappable);
    case UnicodeOp::kUtf8ToUtf16Le: return std::make_unique<Utf8ToUtf16Conversion>(true, false, unmappable);
    case UnicodeOp::kUtf8ToUtf16Be: return std::make_unique<Utf8ToUtf16Conversion>(false, false, unmappable);
  }
  return nullptr;
}

std::string ConvertUnicode(UnicodeOp op, std::string_view text, std::size_t* unmappable) {
  std::size_t missing = 0;
  std::string out;
  MakeUnicodeConversion(op, &missing)->Convert(text, true, out);
  if (unmappable) *unmappable = missing;
  return out;
}

std::string SjisToUtf8(std::string_view sjis, std::size_t* unmappable) {
  return ConvertUnicode(UnicodeOp::kSjisToUtf8, sjis, unmappable);
}

std::string Utf8ToSjisCounted(std::string_view utf8, std::size_t* unmappable) {
  return ConvertUnicode(UnicodeOp::kUtf8ToSjis, utf8, unmappable);
}

std::string Utf16ToPaneUtf8(std::string_view bytes, bool little_endian) {
  std::string out;
  std::size_t missing = 0;
  Utf16Piece(bytes, true, little_endian, true, out, &missing);
  return out;
}

std::string PaneUtf8ToUtf16(std::string_view utf8, bool little_endian) {
  std::string out;
  out.reserve(utf8.size() * 2);
  const std::size_t n = utf8.size();
  std::size_t i = 0;
  while (i < n) {
    char32_t cp = 0;
    if (const std::size_t len = Utf8SequenceAt(utf8, i, &cp)) {
      if (cp >= 0x10000) {
        AppendUnit(out, static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)), little_endian);
        AppendUnit(out, static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)), little_endian);
      } else {
        AppendUnit(out, static_cast<char16_t>(cp), little_endian);
      }
      i += len;
    } else if (At(utf8, i) == 0xED && i + 2 < n && (At(utf8, i + 1) & 0xE0) == 0xA0 &&
               (At(utf8, i + 2) & 0xC0) == 0x80) {
      // A surrogate kept on its own.
      AppendUnit(out, static_cast<char16_t>(0xD000 | (At(utf8, i + 1) & 0x3F) << 6 | (At(utf8, i + 2) & 0x3F)),
                 little_endian);
      i += 3;
    } else if (At(utf8, i) == 0xFF && i + 2 == n) {
      out.push_back(utf8[i + 1]);  // the odd last byte
      i += 2;
    } else {
      AppendUnit(out, 0xFFFD, little_endian);
      ++i;
    }
  }
  return out;
}

}  // namespace haruvi::encoding

namespace haruvi::encoding {

namespace {

// The characters of an EUC-JP or ISO-2022-JP pane text in UTF-8; its bytes that are no
// character are counted.
std::string JapaneseToUtf8(std::string_view pane_bytes, TextForm from, std::size_t* missing) {
  const PaneCodec& codec = PaneCodec::For(from == TextForm::Jis ? CodePage::Iso2022Jp : CodePage::EucJp);
  const std::u16string units = codec.Decode(pane_bytes);
  for (char16_t u : units) *missing += codec.IsRawByte(u);
  return PaneCodec::For(CodePage::Utf8).Encode(codec.PlainText(units));
}

std::string Utf8ToJapanese(std::string_view utf8, TextForm to, std::size_t* missing) {
  std::size_t lost = 0;
  std::string euc = PaneCodec::For(CodePage::EucJp).Encode(PaneCodec::For(CodePage::Utf8).Decode(utf8), &lost);
  *missing += lost;
  return to == TextForm::Jis ? PaneEucToJis(euc) : euc;
}

}  // namespace

std::string ConvertPaneForm(std::string_view pane_bytes, TextForm from, TextForm to, std::size_t* unmappable) {
  std::size_t missing = 0;
  std::string out;
  if (from == to) {
    out = IsUtf16(to)          ? PaneUtf8ToUtf16(pane_bytes, to == TextForm::Utf16Le)
          : to == TextForm::Jis ? PaneEucToJis(pane_bytes)
                                : std::string(pane_bytes);
  } else {
    // Through UTF-8 without its mark.
    std::string utf8 = from == TextForm::Legacy    ? SjisToUtf8(pane_bytes, &missing)
                       : IsJapaneseForm(from) ? JapaneseToUtf8(pane_bytes, from, &missing)
                                              : std::string(pane_bytes);
    if (std::string_view(utf8).starts_with("\xEF\xBB\xBF")) utf8.erase(0, 3);
    switch (to) {
      case TextForm::Legacy: out = Utf8ToSjisCounted(utf8, &missing); break;
      case TextForm::Utf8: out = std::move(utf8); break;
      case TextForm::Utf8Bom: out = "\xEF\xBB\xBF" + utf8; break;
      case TextForm::Utf16Le:
      case TextForm::Utf16Be: out = PaneUtf8ToUtf16("\xEF\xBB\xBF" + utf8, to == TextForm::Utf16Le); break;
      case TextForm::EucJp:
      case TextForm::Jis: out = Utf8ToJapanese(utf8, to, &missing); break;
    }
  }
  if (unmappable) *unmappable = missing;
  return out;
}

}  // namespace haruvi::encoding
