// Builds the pane codec's tables by asking the system converter (iconv) about every
// one- and two-byte sequence once, then ranking the codes that share a character.
#include "encoding/pane_codec_tables.h"

#include <iconv.h>

#include <algorithm>
#include <optional>

#include "encoding/jis_convert.h"
#include "encoding/sjis_char.h"

namespace haruvi::encoding {
namespace {

struct PageInfo {
  const char* converter_name;
  bool double_byte;
  std::string_view substitute;
  // Shift_JIS's lead and trail ranges: pairs outside them are never characters, so
  // they are not asked about (a third of the questions, at every start).
  bool sjis_ranges = false;
};

PageInfo InfoOf(CodePage page) {
  switch (page) {
    case CodePage::Cp932: return {"CP932", true, "\x81\xAC", true};  // "〓"
    case CodePage::Windows1252: return {"CP1252", false, "?"};
    case CodePage::Cp949: return {"CP949", true, "?"};
    case CodePage::Gbk: return {"CP936", true, "?"};
    case CodePage::Big5: return {"CP950", true, "?"};
    case CodePage::Windows1250: return {"CP1250", false, "?"};
    case CodePage::Windows1251: return {"CP1251", false, "?"};
    case CodePage::Windows1253: return {"CP1253", false, "?"};
    case CodePage::Windows1254: return {"CP1254", false, "?"};
    case CodePage::Windows1255: return {"CP1255", false, "?"};
    case CodePage::Windows1256: return {"CP1256", false, "?"};
    case CodePage::Windows1257: return {"CP1257", false, "?"};
    case CodePage::Windows1258: return {"CP1258", false, "?"};
    case CodePage::Cp874: return {"CP874", false, "?"};
    case CodePage::MacRoman: return {"MACINTOSH", false, "?"};
    case CodePage::Cp437: return {"CP437", false, "?"};
    case CodePage::Utf8:   // no tables: decoded by rule
    case CodePage::EucJp:  // tables of its own (BuildEucTables)
    case CodePage::Iso2022Jp:
      break;
  }
  return {"CP1252", false, "?"};
}

// One conversion descriptor, reset before every question so no state carries over.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // The whole of `in` converted and flushed, or nullopt on any error (after which the
  // descriptor is reset before the next question; a success leaves nothing behind).
  std::optional<std::string> Convert(std::string_view in) const {
    if (dirty_) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    dirty_ = true;
    char buf[32];
    char* src = const_cast<char*>(in.data());
    size_t src_left = in.size();
    char* dst = buf;
    size_t dst_left = sizeof buf;
    if (iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1) || src_left != 0)
      return std::nullopt;
    if (iconv(cd_, nullptr, nullptr, &dst, &dst_left) == static_cast<size_t>(-1)) return std::nullopt;
    dirty_ = false;
    return std::string(buf, static_cast<size_t>(dst - buf));
  }

 private:
  iconv_t cd_;
  mutable bool dirty_ = false;
};

// The one UTF-16 unit that `bytes` decode to, if they decode to exactly one that the
// codec may hand out (not a surrogate, which marks raw bytes, nor a variation selector,
// which marks duplicates, nor U+0000 from a pair, which marks "no character").
std::optional<char16_t> DecodeOne(const Converter& dec, std::string_view bytes) {
  auto out = dec.Convert(bytes);
  if (!out || out->size() != 2) return std::nullopt;
  auto u = static_cast<char16_t>(static_cast<unsigned char>((*out)[0]) |
                                 (static_cast<unsigned char>((*out)[1]) << 8));
  if (u >= 0xD800 && u <= 0xDFFF) return std::nullopt;
  if (u >= PaneCodec::kSelectorBase && u < PaneCodec::kSelectorBase + 16) return std::nullopt;
  if (u == 0 && bytes.size() == 2) return std::nullopt;
  return u;
}

// The code the system converter writes for `unit`, as a table entry, or 0.
uint32_t PreferredEntry(const Converter& enc, char16_t unit) {
  if (!enc.ok()) return 0;
  const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  auto out = enc.Convert(std::string_view(in, 2));
  if (!out || out->empty() || out->size() > 2) return 0;
  uint32_t code = static_cast<unsigned char>((*out)[0]);
  if (out->size() == 2) code = (code << 8) | static_cast<unsigned char>((*out)[1]);
  return (static_cast<uint32_t>(out->size()) << 16) | code;
}

uint32_t EntryOf(uint32_t length, uint32_t code) { return (length << 16) | code; }

}  // namespace

std::unique_ptr<const PaneCodec::Tables> BuildPaneCodecTables(CodePage page) {
  const PageInfo info = InfoOf(page);
  auto t = std::make_unique<PaneCodec::Tables>();
  t->substitute = std::string(info.substitute);
  t->encode.assign(0x10000, 0);
  for (int b = 0; b < 256; ++b) t->single[b] = static_cast<char16_t>(PaneCodec::kRawByteBase + b);

  Converter dec("UTF-16LE", info.converter_name);
  Converter enc(info.converter_name, "UTF-16LE");
  // Every (unit, code) found, in code order (one-byte codes before two-byte ones).
  std::vector<std::pair<char16_t, uint32_t>> found;
  found.reserve(info.double_byte ? 12000 : 256);
  if (!dec.ok()) {
    for (int b = 0; b < 0x80; ++b) found.emplace_back(static_cast<char16_t>(b), EntryOf(1, b));
  } else {
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      if (auto u = DecodeOne(dec, std::string_view(&byte, 1))) found.emplace_back(*u, EntryOf(1, b));
    }
    if (info.double_byte) {
      for (int b = 0x80; b < 256; ++b) {
        if (info.sjis_ranges && !IsLeadByte(static_cast<unsigned char>(b))) continue;
        for (int c = 0; c < 256; ++c) {
          if (info.sjis_ranges && !IsTrailByte(static_cast<unsigned char>(c))) continue;
          const char two[2] = {static_cast<char>(b), static_cast<char>(c)};
          if (auto u = DecodeOne(dec, std::string_view(two, 2))) found.emplace_back(*u, EntryOf(2, (b << 8) | c));
        }
      }
    }
  }
  // Grouped by unit, each unit's codes still in code order.
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });

  if (info.double_byte) {
    t->pair.assign(0x10000, 0);
    t->pair_dup.assign(0x10000, 0);
  }
  std::vector<uint32_t> entries;
  for (std::size_t i = 0; i < found.size();) {
    const char16_t unit = found[i].first;
    entries.clear();
    for (; i < found.size() && found[i].first == unit; ++i) entries.push_back(found[i].second);
    uint32_t preferred = entries.front();
    if (entries.size() > 1) {
      const uint32_t system = PreferredEntry(enc, unit);
      if (std::find(entries.begin(), entries.end(), system) != entries.end()) preferred = system;
    }
    t->encode[unit] = preferred;
    int dup = 0;
    for (uint32_t entry : entries) {
      uint8_t rank = 0;
      if (entry != preferred) {
        // Only sixteen selectors: a seventeenth duplicate stays raw bytes, still lossless.
        if (++dup > 16) continue;
        rank = static_cast<uint8_t>(dup);
        t->duplicates[(static_cast<uint32_t>(unit) << 8) | rank] = entry;
      }
      const uint32_t code = entry & 0xFFFF;
      if ((entry >> 16) == 1) {
        t->single[code] = unit;
        t->single_dup[code] = rank;
        if (rank) t->has_single_dups = true;
      } else {
        t->pair[code] = unit;
        t->pair_dup[code] = rank;
        t->lead[code >> 8] = true;
      }
    }
  }
  return t;
}

namespace {

// The EUC-JP code of CP932's table entry, or 0 when EUC-JP has no such position (the IBM
// extensions and the user-defined area lie past JIS row 94).
uint32_t EucOfCp932Entry(uint32_t entry) {
  if (entry == 0) return 0;
  const uint32_t code = entry & 0xFFFF;
  if ((entry >> 16) == 1) {
    if (code < 0x80) return code;
    return code >= 0xA1 && code <= 0xDF ? 0x8E00 | code : 0;
  }
  const BytePair j = SjisPairToJis(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code & 0xFF));
  if (j[0] < 0x21 || j[0] > 0x7E || j[1] < 0x21 || j[1] > 0x7E) return 0;
  return (static_cast<uint32_t>(j[0] | 0x80) << 8) | (j[1] | 0x80);
}

}  // namespace

std::unique_ptr<const PaneCodec::Tables> BuildEucTables(const PaneCodec::Tables& cp932, bool escapes) {
  auto t = std::make_unique<PaneCodec::Tables>();
  t->cp932 = &cp932;
  t->escapes = escapes;
  t->substitute = "\xA2\xAE";  // "〓"
  t->euc_encode.assign(0x10000, 0);
  // A unit is written as CP932's own code where EUC-JP has its position, else as its
  // JIS X 0212 code, else as the first duplicate EUC-JP has.
  for (uint32_t u = 0; u < 0x10000; ++u) t->euc_encode[u] = EucOfCp932Entry(cp932.encode[u]);
  t->jis0212.assign(94 * 94, 0);
  Converter dec("UTF-16LE", "EUC-JP");
  if (dec.ok()) {
    for (int r = 0; r < 94; ++r) {
      for (int c = 0; c < 94; ++c) {
        const char three[3] = {'\x8F', static_cast<char>(0xA1 + r), static_cast<char>(0xA1 + c)};
        const auto u = DecodeOne(dec, std::string_view(three, 3));
        if (!u || *u < 0x80) continue;
        uint32_t& code = t->euc_encode[*u];
        if (code == 0) code = 0x8F0000u | static_cast<uint32_t>((0xA1 + r) << 8) | static_cast<uint32_t>(0xA1 + c);
        // A cell whose character is written otherwise (it is in JIS X 0208 too) stays
        // raw bytes: decoding it to that character would lose the cell on the way back.
        if (code == (0x8F0000u | static_cast<uint32_t>((0xA1 + r) << 8) | static_cast<uint32_t>(0xA1 + c)))
          t->jis0212[static_cast<size_t>(r * 94 + c)] = *u;
      }
    }
  }
  for (uint32_t u = 0x80; u < 0x10000; ++u) {
    if (t->euc_encode[u] != 0 || cp932.encode[u] == 0) continue;
    for (uint32_t rank = 1; rank <= 16 && t->euc_encode[u] == 0; ++rank) {
      const auto it = cp932.duplicates.find((u << 8) | rank);
      if (it == cp932.duplicates.end()) break;
      t->euc_encode[u] = EucOfCp932Entry(it->second);
    }
  }
  return t;
}

}  // namespace haruvi::encoding
