// The lookup tables behind PaneCodec, and the builder that fills them from the system's
// converter at first use. Internal to the encoding library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "encoding/pane_codec.h"

namespace haruvi::encoding {

struct PaneCodec::Tables {
  // Decoding. `single[b]` is the unit of the one-byte character b, or the raw-byte unit.
  std::array<char16_t, 256> single{};
  std::array<uint8_t, 256> single_dup{};  // 0: the preferred code; n: the nth duplicate
  std::array<bool, 256> lead{};           // b starts at least one two-byte character
  std::vector<char16_t> pair;             // (lead << 8 | trail) -> unit, 0 when no character
  std::vector<uint8_t> pair_dup;          // as single_dup
  bool has_single_dups = false;

  // Encoding. An entry is (length << 16) | code, 0 when the unit has no code.
  std::vector<uint32_t> encode;                           // indexed by unit
  std::unordered_map<uint32_t, uint32_t> duplicates;      // (unit << 8 | n) -> entry
  std::string substitute;

  // EUC-JP: its two-byte characters are CP932's at the same JIS position (`cp932`), its
  // three-byte ones JIS X 0212's (`jis0212`, 94 x 94 cells, 0 where the cell decodes to
  // nothing that encodes back to it). `euc_encode` is the code a unit is written as: its
  // bytes in the value's low 1-3 bytes, 0 when neither set holds it.
  const Tables* cp932 = nullptr;
  std::vector<char16_t> jis0212;
  std::vector<uint32_t> euc_encode;
  bool escapes = false;  // ISO-2022-JP's escape sequences are characters (Iso2022Jp)
};

// The escape sequences of ISO-2022-JP, in the order of their units (kEscapeBase + index).
inline constexpr std::string_view kJisEscapes[PaneCodec::kEscapeCount] = {
    "\x1B(B", "\x1B(J", "\x1B(I", "\x1B$@", "\x1B$B", "\x1B$(B", "\x1B$(D", "\x1B&@"};
// The index of the escape sequence `bytes` start with, or -1.
int JisEscapeAt(std::string_view bytes);

// EUC-JP's tables, over CP932's (which must outlive them).
std::unique_ptr<const PaneCodec::Tables> BuildEucTables(const PaneCodec::Tables& cp932, bool escapes);
// The EUC-JP rules of PaneCodec (pane_codec_euc.cpp).
std::u16string DecodeEuc(const PaneCodec::Tables& t, std::string_view bytes);
std::string EncodeEuc(const PaneCodec::Tables& t, std::u16string_view text, size_t* unmappable);
size_t EucCharLength(const PaneCodec::Tables& t, std::string_view bytes);

// Fills the tables of `page` from the system converter. A code page the converter does
// not know still gets lossless tables: ASCII decodes as itself, every other byte is raw.
std::unique_ptr<const PaneCodec::Tables> BuildPaneCodecTables(CodePage page);

}  // namespace haruvi::encoding
