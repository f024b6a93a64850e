#include "fileops/copy_data.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/write_all.h"
#include "platform/system_error.h"

namespace haruvi::fileops {
namespace {

constexpr std::uint64_t kPiece = 8u << 20;  // progress and Cancel are looked at this often

DataCopyResult Fail(const char* what) {
  DataCopyResult r;
  r.error = std::string(what) + platform::SystemErrorText(errno);
  return r;
}

// Plain reads and writes, for file systems without copy_file_range between these two.
bool CopyByReading(int in, std::uint64_t in_off, int out, std::uint64_t out_off, std::uint64_t len,
                   std::uint64_t* moved) {
  static thread_local std::vector<char> buf(1u << 20);
  *moved = 0;
  while (*moved < len) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buf.size(), len - *moved));
    const ssize_t n = ::pread(in, buf.data(), want, static_cast<off_t>(in_off + *moved));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;  // the source ended early; the caller sees moved < len
    std::size_t put = 0;
    while (put < static_cast<std::size_t>(n)) {
      const ssize_t w = ::pwrite(out, buf.data() + put, static_cast<std::size_t>(n) - put,
                                 static_cast<off_t>(out_off + *moved + put));
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      put += static_cast<std::size_t>(w);
    }
    *moved += static_cast<std::uint64_t>(n);
  }
  return true;
}

// Copies [in_off, in_off + len) to out_off, in pieces; `base` is what the caller moved
// before this range, for the progress figure.
DataCopyResult CopySpan(int in, std::uint64_t in_off, int out, std::uint64_t out_off, std::uint64_t len,
                        std::uint64_t base, const ByteProgress& progress) {
  bool kernel = true;
  std::uint64_t done = 0;
  while (done < len) {
    const std::uint64_t want = std::min(kPiece, len - done);
    std::uint64_t moved = 0;
    if (kernel) {
      loff_t io = static_cast<loff_t>(in_off + done), oo = static_cast<loff_t>(out_off + done);
      const ssize_t n = ::copy_file_range(in, &io, out, &oo, static_cast<std::size_t>(want), 0);
      if (n < 0) {
        if (errno == EINTR) continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF) {
          kernel = false;
          continue;
        }
        return Fail(errno == ENOSPC || errno == EFBIG || errno == EDQUOT ? "書き込めません: " : "");
      }
      moved = static_cast<std::uint64_t>(n);
    } else if (!CopyByReading(in, in_off + done, out, out_off + done, want, &moved)) {
      return Fail(errno == ENOSPC || errno == EFBIG || errno == EDQUOT ? "書き込めません: " : "");
    }
    if (moved == 0) {
      DataCopyResult r;
      r.error = "コピー中にファイルが短くなりました";
      return r;
    }
    done += moved;
    if (progress && !progress(base + done)) {
      DataCopyResult r;
      r.cancelled = true;
      return r;
    }
  }
  DataCopyResult r;
  r.ok = true;
  return r;
}

}  // namespace

namespace {

// A file whose size reads 0 may still hold bytes (/proc, /sys): they are read to the end,
// up to a bound, instead of copying an empty file.
DataCopyResult CopySizeless(int in, int out) {
  constexpr std::uint64_t kLimit = 64u << 20;
  char buf[1 << 16];
  std::uint64_t total = 0;
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n == 0) return DataCopyResult{true, false, {}};
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail("");
    }
    total += static_cast<std::uint64_t>(n);
    if (total > kLimit) return DataCopyResult{false, false, "大きさの分からないファイルが上限 (64 MB) を超えました"};
    if (!platform::WriteAll(out, std::string_view(buf, static_cast<std::size_t>(n))))
      return Fail(errno == ENOSPC || errno == EFBIG || errno == EDQUOT ? "書き込めません: " : "");
  }
}

}  // namespace

DataCopyResult CopyFileData(int in, int out, const struct stat& in_stat, const ByteProgress& progress) {
  const std::uint64_t size = static_cast<std::uint64_t>(in_stat.st_size);
  if (size == 0) return CopySizeless(in, out);
  // A reflink shares the blocks: instant, and holes stay holes.
  if (::ioctl(out, FICLONE, in) == 0) {
    if (progress && !progress(size)) return DataCopyResult{false, true, {}};
    return DataCopyResult{true, false, {}};
  }
  // Read from start to end: the kernel may read further ahead.
  ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
  const bool sparse = static_cast<std::uint64_t>(in_stat.st_blocks) * 512 < size;
  if (!sparse) return CopySpan(in, 0, out, 0, size, 0, progress);
  // Only the data regions are copied; the target is extended to full size at the end, so
  // the holes between them (and a hole at the end) stay unallocated.
  std::uint64_t pos = 0, moved = 0;
  while (pos < size) {
    const off_t data = ::lseek(in, static_cast<off_t>(pos), SEEK_DATA);
    if (data < 0) {
      if (errno == ENXIO) break;  // nothing but a hole up to the end
      return CopySpan(in, pos, out, pos, size - pos, moved, progress);  // no SEEK_DATA here
    }
    off_t hole = ::lseek(in, data, SEEK_HOLE);
    if (hole < 0) hole = static_cast<off_t>(size);
    const std::uint64_t from = static_cast<std::uint64_t>(data);
    const std::uint64_t to = std::min<std::uint64_t>(static_cast<std::uint64_t>(hole), size);
    if (to <= from) break;
    DataCopyResult r = CopySpan(in, from, out, from, to - from, moved, progress);
    if (!r.ok) return r;
    moved += to - from;
    pos = to;
  }
  if (::ftruncate(out, static_cast<off_t>(size)) != 0) return Fail("書き込めません: ");
  return DataCopyResult{true, false, {}};
}

DataCopyResult AppendFileData(int in, int out, std::uint64_t size, const ByteProgress& progress) {
  const off_t end = ::lseek(out, 0, SEEK_END);
  if (end < 0) return Fail("");
  DataCopyResult r = CopySpan(in, 0, out, static_cast<std::uint64_t>(end), size, 0, progress);
  if (r.ok && ::lseek(out, 0, SEEK_END) != end + static_cast<off_t>(size)) {
    r.ok = false;
    r.error = "書き込めません";
  }
  return r;
}

DataCopyResult CopyRange(int in, std::uint64_t from, std::uint64_t length, int out, const ByteProgress& progress) {
  if (length == 0) return DataCopyResult{true, false, {}};
  return CopySpan(in, from, out, 0, length, 0, progress);
}

bool CopyAttributes(int fd, const struct stat& st) {
  // The owner only where we may (root copying another's files); a failure is no error.
  if (::geteuid() == 0) (void)::fchown(fd, st.st_uid, st.st_gid);
  const bool mode_ok = ::fchmod(fd, st.st_mode & 07777) == 0;
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  const bool time_ok = ::futimens(fd, times) == 0;
  return mode_ok && time_ok;
}

}  // namespace haruvi::fileops
