// Writes LZH archives: level-2 headers with CP932 names, -lh5- data (stored as -lh0-
// when compression does not pay), a CRC-16 per file, and the final zero byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace haruvi::archive {

// Largest file an LZH level-2 header can describe.
inline constexpr std::uint64_t kLzhMaxFileSize = 0xFFFFFFFFu;

class LzhWriter {
 public:
  // Appends to `out`; the caller writes it wherever it goes.
  explicit LzhWriter(std::string& out) : out_(out) {}

  // `name` uses "/" between folders and is stored as given (CP932 by convention).
  // False with *error when the name or the data cannot be stored.
  bool AddFile(std::string_view name, std::string_view data, std::int64_t mtime, std::uint32_t mode,
               std::string* error);
  bool AddDirectory(std::string_view name, std::int64_t mtime, std::uint32_t mode, std::string* error);
  // The end-of-archive mark.
  void Finish();

 private:
  bool AddMember(std::string_view name, bool directory, std::string_view data, std::int64_t mtime,
                 std::uint32_t mode, std::string* error);
  std::string& out_;
};

}  // namespace haruvi::archive
