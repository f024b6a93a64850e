// Reading ARJ archives with our own decoder: the main header, then each file header
// (checked by its CRC-32) and its data. Reader uses it for the files libarchive does
// not read.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace haruvi::archive {

struct ArjEntry {
  std::string raw_name;  // as stored: "\" or "/" between folders
  bool folder = false;
  int method = 0;
  std::uint64_t size = 0;
  std::uint64_t packed = 0;
  std::uint32_t crc = 0;
  std::int64_t mtime = 0;  // from the MS-DOS stamp, local time
  std::uint32_t mode = 0644;
};

class ArjReader {
 public:
  ArjReader() = default;
  ~ArjReader();
  ArjReader(const ArjReader&) = delete;
  ArjReader& operator=(const ArjReader&) = delete;

  // False when the file is no ARJ archive.
  bool Open(const std::string& path, std::string* error);
  // 1 with the next file, 0 at the end, -1 on damage.
  int Next(ArjEntry* entry, std::string* error);
  // The current entry's data, checked against its CRC-32.
  bool ReadData(const std::function<bool(std::string_view)>& sink, std::string* error);
  std::uint64_t Position() const { return pos_; }

 private:
  // The basic header at pos_: its bytes (after the size field), or false.
  bool Header(std::string* header, std::string* error);
  bool ReadAt(std::uint64_t offset, std::size_t size, std::string* out) const;

  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t pos_ = 0;
  std::uint64_t data_at_ = 0;
  ArjEntry current_;
  bool garbled_ = false;
};

}  // namespace haruvi::archive
