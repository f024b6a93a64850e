// LZH header walk; see lzh_headers.h. Bounds are checked on every field: a hostile
// header may claim any size.
#include "archive/lzh_headers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace haruvi::archive {
namespace {

constexpr std::size_t kMaxMembers = 1u << 20;

class File {
 public:
  explicit File(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    struct stat st {};
    if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::uint64_t>(st.st_size);
  }
  ~File() {
    if (fd_ >= 0) close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  std::uint64_t size() const { return size_; }
  // Bytes at `at`, fewer at the end of the file.
  std::string Read(std::uint64_t at, std::size_t n) const {
    if (at >= size_) return {};
    n = static_cast<std::size_t>(std::min<std::uint64_t>(n, size_ - at));
    std::string out(n, '\0');
    const ssize_t got = pread(fd_, out.data(), n, static_cast<off_t>(at));
    out.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return out;
  }

 private:
  int fd_;
  std::uint64_t size_ = 0;
};

std::uint32_t Get(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}

bool IsMethod(const std::string& s, std::size_t at) {
  return at + 5 <= s.size() && s[at] == '-' && s[at + 1] == 'l' && (s[at + 2] == 'h' || s[at + 2] == 'z') &&
         s[at + 4] == '-';
}

}  // namespace

std::vector<std::uint16_t> ReadLzhCrcs(const std::string& path) {
  std::vector<std::uint16_t> crcs;
  File f(path);
  // The first header; a self-extractor has its program in front.
  const std::string head = f.Read(0, 64 * 1024);
  std::uint64_t pos = 0;
  while (pos + 7 <= head.size() && !IsMethod(head, pos + 2)) ++pos;
  if (pos + 7 > head.size()) return {};
  while (crcs.size() < kMaxMembers) {
    const std::string h = f.Read(pos, 26);
    if (h.empty() || h[0] == '\0') return crcs;  // the end mark (or the end of the file)
    if (h.size() < 26 || !IsMethod(h, 2)) return {};
    const int level = static_cast<unsigned char>(h[20]);
    const std::uint64_t packed = Get(h, 7, 4);
    std::uint64_t header = 0;
    if (level == 0 || level == 1) {
      header = static_cast<unsigned char>(h[0]) + 2u;
      const std::size_t name_len = static_cast<unsigned char>(h[21]);
      const std::string c = f.Read(pos + 22 + name_len, 2);
      if (c.size() < 2) return {};
      crcs.push_back(static_cast<std::uint16_t>(Get(c, 0, 2)));
    } else if (level == 2) {
      header = Get(h, 0, 2);
      crcs.push_back(static_cast<std::uint16_t>(Get(h, 21, 2)));
    } else {
      return {};
    }
    if (header < 22) return {};
    pos += header + packed;  // level 1: the packed size counts the extended headers
  }
  return {};
}

}  // namespace haruvi::archive
