// The -lh5- compressor of our LZH writer: LZ77 over an 8 KiB window with blocks of
// Huffman-coded literals, lengths and positions, the stream every LZH reader decodes.
// CRC-16 (the archive's checksum of each file's bytes) lives here too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace haruvi::archive {

// CRC-16 with the polynomial 0xA001 (reflected), continued from `crc`.
std::uint16_t Crc16(std::string_view bytes, std::uint16_t crc = 0);

// The -lh5- stream of `data`, whole; the reader needs no end mark (it stops at the
// original size, which the header carries).
std::string Lh5Compress(std::string_view data);

}  // namespace haruvi::archive
