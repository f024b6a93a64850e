// A ZIP archive's central directory read on its own: each entry's packed size and CRC by
// its stored name, which libarchive does not hand out (its reader seeks past the data).
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace haruvi::archive {

struct ZipDirectoryEntry {
  std::uint64_t packed = 0;
  std::uint32_t crc = 0;
};

// Empty when the file has no readable central directory (not a ZIP, or damaged).
std::map<std::string, ZipDirectoryEntry> ReadZipDirectory(const std::string& path);

}  // namespace haruvi::archive
