// The ZIP central directory; see zip_directory.h. Every read is bounds-checked: the
// directory of a hostile file may point anywhere.
#include "archive/zip_directory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace haruvi::archive {
namespace {

constexpr std::uint64_t kMaxDirectory = 256u << 20;

std::uint32_t Get(std::string_view s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}
std::uint64_t Get64(std::string_view s, std::size_t at) {
  return Get(s, at, 4) | (static_cast<std::uint64_t>(Get(s, at + 4, 4)) << 32);
}

bool ReadAt(int fd, std::uint64_t offset, std::size_t size, std::string* out) {
  out->assign(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = pread(fd, out->data() + got, size - got, static_cast<off_t>(offset + got));
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::map<std::string, ZipDirectoryEntry> ReadZipDirectory(const std::string& path) {
  std::map<std::string, ZipDirectoryEntry> out;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return out;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 22) {
    close(fd);
    return out;
  }
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  const std::size_t tail_size = static_cast<std::size_t>(std::min<std::uint64_t>(size, 65557));
  std::string tail;
  if (!ReadAt(fd, size - tail_size, tail_size, &tail)) {
    close(fd);
    return out;
  }
  // The end record, searched from the back.
  std::size_t eocd = std::string::npos;
  for (std::size_t i = tail_size - 22 + 1; i-- > 0;)
    if (Get(tail, i, 4) == 0x06054b50) {
      eocd = i;
      break;
    }
  if (eocd == std::string::npos) {
    close(fd);
    return out;
  }
  std::uint64_t count = Get(tail, eocd + 10, 2);
  std::uint64_t dir_size = Get(tail, eocd + 12, 4);
  std::uint64_t dir_offset = Get(tail, eocd + 16, 4);
  // ZIP64: the locator just before the end record names the ZIP64 end record.
  if ((dir_offset == 0xFFFFFFFFu || count == 0xFFFF) && eocd >= 20 && Get(tail, eocd - 20, 4) == 0x07064b50) {
    std::string rec;
    if (ReadAt(fd, Get64(tail, eocd - 12), 56, &rec) && Get(rec, 0, 4) == 0x06064b50) {
      count = Get64(rec, 32);
      dir_size = Get64(rec, 40);
      dir_offset = Get64(rec, 48);
    }
  }
  std::string dir;
  if (dir_size > kMaxDirectory || dir_offset + dir_size > size ||
      !ReadAt(fd, dir_offset, static_cast<std::size_t>(dir_size), &dir)) {
    close(fd);
    return out;
  }
  close(fd);
  std::size_t at = 0;
  for (std::uint64_t n = 0; n < count && at + 46 <= dir.size() && Get(dir, at, 4) == 0x02014b50; ++n) {
    const std::size_t name_len = Get(dir, at + 28, 2), extra_len = Get(dir, at + 30, 2), comment_len = Get(dir, at + 32, 2);
    if (at + 46 + name_len + extra_len + comment_len > dir.size()) break;
    ZipDirectoryEntry e;
    e.crc = Get(dir, at + 16, 4);
    e.packed = Get(dir, at + 20, 4);
    if (e.packed == 0xFFFFFFFFu) {
      // The ZIP64 extra field holds the sizes that did not fit: original first if it
      // overflowed too, then packed.
      std::size_t x = at + 46 + name_len;
      const std::size_t end = x + extra_len;
      while (x + 4 <= end) {
        const std::uint32_t id = Get(dir, x, 2), len = Get(dir, x + 2, 2);
        if (x + 4 + len > end) break;
        if (id == 1) {
          std::size_t p = x + 4;
          if (Get(dir, at + 24, 4) == 0xFFFFFFFFu) p += 8;
          if (p + 8 <= x + 4 + len) e.packed = Get64(dir, p);
        }
        x += 4 + len;
      }
    }
    out[dir.substr(at + 46, name_len)] = e;
    at += 46 + name_len + extra_len + comment_len;
  }
  return out;
}

}  // namespace haruvi::archive
