// A tiny writer of RAR 4.x archives for the tests: stored entries only (method 0x30),
// each block with its CRC16 (the low half of the CRC-32 of the header after the CRC
// field), files with their data's CRC-32, names as the bytes given (no Unicode flag).
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace haruvi::test {

struct RarEntry {
  std::string name;  // stored as given: "\" or "/" between folders, any code
  std::string data;
  bool folder = false;
  std::uint32_t dos_stamp = (43u << 25) | (11u << 21) | (14u << 16) | (12u << 11) | (34u << 5) | 28u;  // 2023-11-14 12:34:56
};

inline void PutLe(std::string* s, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s->push_back(static_cast<char>(v >> (8 * i)));
}

inline std::uint32_t Crc32Of(std::string_view s) {
  return static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(s.data()), static_cast<uInt>(s.size())));
}

// One block: CRC16, type, flags, size, the rest of the header, then `data`.
inline std::string RarBlock(unsigned type, unsigned flags, const std::string& rest, const std::string& data = {}) {
  std::string head;
  PutLe(&head, type, 1);
  PutLe(&head, flags, 2);
  PutLe(&head, 7 + rest.size(), 2);
  head += rest;
  std::string block;
  PutLe(&block, Crc32Of(head) & 0xFFFF, 2);
  return block + head + data;
}

inline std::string RarArchive(const std::vector<RarEntry>& entries) {
  std::string out("Rar!\x1A\x07\x00", 7);              // the marker block
  out += RarBlock(0x73, 0, std::string(6, '\0'));      // the archive header: two reserved fields
  for (const RarEntry& e : entries) {
    std::string rest;
    PutLe(&rest, e.data.size(), 4);                    // packed size: stored
    PutLe(&rest, e.data.size(), 4);                    // original size
    PutLe(&rest, 2, 1);                                // host: Win32
    PutLe(&rest, e.folder ? 0 : Crc32Of(e.data), 4);
    PutLe(&rest, e.dos_stamp, 4);
    PutLe(&rest, 20, 1);                               // version needed: 2.0
    PutLe(&rest, 0x30, 1);                             // method: stored
    PutLe(&rest, e.name.size(), 2);
    PutLe(&rest, e.folder ? 0x10 : 0x20, 4);           // DOS attributes: folder or archive
    rest += e.name;
    // 0x8000: the data's size follows; 0x00E0: the folder's dictionary bits.
    out += RarBlock(0x74, 0x8000 | (e.folder ? 0x00E0 : 0), rest, e.data);
  }
  out += RarBlock(0x7B, 0x4000, "");                    // the end of the archive
  return out;
}

}  // namespace haruvi::test
