// The CRC-16 of each member of an LZH archive, read from its headers (levels 0 to 2) in
// archive order; libarchive checks it but does not hand it out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace haruvi::archive {

// Empty when the headers cannot be walked to the end mark.
std::vector<std::uint16_t> ReadLzhCrcs(const std::string& path);

}  // namespace haruvi::archive
