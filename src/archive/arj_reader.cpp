// ARJ headers; see arj_reader.h.
#include "archive/arj_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "archive/arj_decode.h"

namespace haruvi::archive {
namespace {

constexpr std::size_t kMaxHeader = 2600;
constexpr std::uint64_t kMaxPacked = std::uint64_t{1} << 31;  // held in memory to decode

std::uint32_t Get(std::string_view s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
  return v;
}

std::int64_t FromDos(std::uint32_t stamp) {
  std::tm tm{};
  tm.tm_year = static_cast<int>((stamp >> 25) & 0x7F) + 80;
  tm.tm_mon = static_cast<int>((stamp >> 21) & 0x0F) - 1;
  tm.tm_mday = static_cast<int>((stamp >> 16) & 0x1F);
  tm.tm_hour = static_cast<int>((stamp >> 11) & 0x1F);
  tm.tm_min = static_cast<int>((stamp >> 5) & 0x3F);
  tm.tm_sec = static_cast<int>(stamp & 0x1F) * 2;
  tm.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&tm));
}

}  // namespace

ArjReader::~ArjReader() {
  if (fd_ >= 0) close(fd_);
}

bool ArjReader::ReadAt(std::uint64_t offset, std::size_t size, std::string* out) const {
  if (offset > size_ || size > size_ - offset) return false;
  out->assign(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = pread(fd_, out->data() + got, size - got, static_cast<off_t>(offset + got));
    if (n <= 0) return false;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool ArjReader::Header(std::string* header, std::string* error) {
  std::string head;
  if (!ReadAt(pos_, 4, &head) || Get(head, 0, 2) != 0xEA60) {
    *error = "not an ARJ header";
    return false;
  }
  const std::size_t size = Get(head, 2, 2);
  pos_ += 4;
  if (size == 0) {  // the end of the archive
    header->clear();
    return true;
  }
  std::string crc;
  if (size > kMaxHeader || !ReadAt(pos_, size, header) || !ReadAt(pos_ + size, 4, &crc) ||
      Crc32(*header) != Get(crc, 0, 4)) {
    *error = "an ARJ header is damaged";
    return false;
  }
  pos_ += size + 4;
  // Extended headers: each a size, the bytes and their CRC; passed over.
  for (int n = 0; n < 64; ++n) {
    std::string ext;
    if (!ReadAt(pos_, 2, &ext)) {
      *error = "an ARJ header is cut short";
      return false;
    }
    const std::size_t ext_size = Get(ext, 0, 2);
    pos_ += 2;
    if (ext_size == 0) return true;
    pos_ += ext_size + 4;
  }
  *error = "an ARJ header is damaged";
  return false;
}

bool ArjReader::Open(const std::string& path, std::string* error) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  struct stat st {};
  if (fd_ < 0 || fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = "cannot open the archive";
    return false;
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
  std::string main;
  if (!Header(&main, error) || main.size() < 30) {
    *error = "not an ARJ archive";
    return false;
  }
  garbled_ = (static_cast<unsigned char>(main[4]) & 0x01) != 0;
  return true;
}

int ArjReader::Next(ArjEntry* e, std::string* error) {
  for (;;) {
    std::string h;
    if (!Header(&h, error)) return -1;
    if (h.empty()) return 0;
    const std::size_t first = static_cast<unsigned char>(h[0]);
    if (first < 30 || first > h.size()) {
      *error = "an ARJ header is damaged";
      return -1;
    }
    *e = ArjEntry{};
    const unsigned flags = static_cast<unsigned char>(h[4]);
    e->method = static_cast<unsigned char>(h[5]);
    const int type = static_cast<unsigned char>(h[6]);
    // ARJ made on UNIX (and NeXT) keeps a time_t; the others an MS-DOS stamp.
    const int host = static_cast<unsigned char>(h[3]);
    e->mtime = host == 2 || host == 8 ? static_cast<std::int64_t>(Get(h, 8, 4)) : FromDos(Get(h, 8, 4));
    e->packed = Get(h, 12, 4);
    e->size = Get(h, 16, 4);
    e->crc = Get(h, 20, 4);
    e->mode = Get(h, 26, 2) & 07777;
    const std::size_t name_end = h.find('\0', first);
    e->raw_name = h.substr(first, name_end == std::string::npos ? std::string::npos : name_end - first);
    // DOS separators ("\") stay: a 0x5C second byte of a CP932 name looks the same, and
    // the name codec tells them apart once it has decoded the name.
    data_at_ = pos_;
    if (e->packed > size_ - std::min(pos_, size_)) {
      *error = "the archive is cut short";
      return -1;
    }
    pos_ += e->packed;
    if (type == 3) {
      e->folder = true;
      e->mode = e->mode ? e->mode : 0755;
    } else if (type > 1) {
      continue;  // comments, volume and chapter labels hold no file
    }
    if ((flags & 0x01) || garbled_) {
      *error = e->raw_name + ": encrypted entries are not read";
      return -1;
    }
    if (e->mode == 0) e->mode = 0644;
    current_ = *e;
    return 1;
  }
}

bool ArjReader::ReadData(const std::function<bool(std::string_view)>& sink, std::string* error) {
  if (current_.folder) return true;
  if (current_.packed > kMaxPacked) {
    *error = "an entry too large to decode";
    return false;
  }
  std::string packed;
  if (!ReadAt(data_at_, static_cast<std::size_t>(current_.packed), &packed)) {
    *error = "the archive is cut short";
    return false;
  }
  std::uint32_t crc = 0;
  bool stopped = false;
  const bool ok = ArjDecode(
      current_.method, packed, current_.size,
      [&](std::string_view piece) {
        crc = Crc32(piece, crc);
        if (!sink(piece)) return !(stopped = true);
        return true;
      },
      error);
  if (stopped) return false;
  if (!ok) return false;
  if (crc != current_.crc) {
    *error = current_.raw_name + ": CRC error";
    return false;
  }
  return true;
}

}  // namespace haruvi::archive
