// Our ARJ decompressor: methods 1 to 3 (LZ77 over a 26 KiB window with blocks of Huffman
// codes) and method 4 (LZ77 with fixed-width-class codes); method 0 is stored. Any byte
// sequence decodes to at most the promised size or fails; it never reads out of bounds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace haruvi::archive {

// CRC-32 (the archive's checksum of each file), continued from `crc` (start at 0).
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

// Decodes `packed` of `method` into `original_size` bytes, handed to `sink` in pieces
// (false from the sink stops). False with *error on damaged data or an unknown method.
bool ArjDecode(int method, std::string_view packed, std::uint64_t original_size,
               const std::function<bool(std::string_view)>& sink, std::string* error);

}  // namespace haruvi::archive
