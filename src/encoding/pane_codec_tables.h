// The lookup tables behind PaneCodec, and the builder that fills them from the system's
// converter at first use. Internal to the encoding library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
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
};

// Fills the tables of `page` from the system converter. A code page the converter does
// not know still gets lossless tables: ASCII decodes as itself, every other byte is raw.
std::unique_ptr<const PaneCodec::Tables> BuildPaneCodecTables(CodePage page);

}  // namespace haruvi::encoding
