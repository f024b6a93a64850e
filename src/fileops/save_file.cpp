#include "fileops/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/write_all.h"

namespace haruvi::fileops {
namespace {

using platform::WriteAll;

// The template of a temporary beside `path`: its name plus six letters, or, when that
// would pass the file system's limit on a name (255 bytes), a short hidden name.
std::string TempBeside(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::size_t name_length = slash == std::string::npos ? path.size() : path.size() - slash - 1;
  if (name_length + 7 <= 255) return path + ".XXXXXX";
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".haruvi-XXXXXX";
}

// A copy of `from`'s bytes at `to` (written whole, then renamed into place).
bool CopyTo(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string tmp = TempBeside(to);
  const int out = ::mkstemp(tmp.data());
  bool ok = out >= 0;
  char buf[1 << 16];
  while (ok) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    ok = WriteAll(out, std::string_view(buf, static_cast<std::size_t>(n)));
  }
  ::close(in);
  if (out >= 0) {
    ok = ok && ::fsync(out) == 0;
    ok = ::close(out) == 0 && ok;
    ok = ok && ::rename(tmp.c_str(), to.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
  }
  return ok;
}

SaveResult Failed(const std::string& what) {
  SaveResult r;
  r.error = what + ": " + std::strerror(errno);
  return r;
}

}  // namespace

std::string BackupName(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::size_t dot = target.rfind('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (has_extension ? target.substr(0, dot) : target) + ".$$$";
}

SaveResult SaveFile(const std::string& target, std::string_view bytes, bool backup) {
  SaveResult r;
  // A link is written through: the file it points to gets the text, the link stays.
  std::error_code ec;
  std::string real = target;
  if (std::filesystem::is_symlink(target, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(target, ec);
    if (!ec) real = resolved.string();
  }
  struct stat old {};
  const bool exists = ::stat(real.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    errno = EINVAL;
    return Failed(target + " is not a regular file");
  }
  // A read-only file stays as it is: the rename below would replace it whatever its
  // mode, since only the folder's permission counts for that. A file no one may write
  // counts as read-only even for the superuser, as its attribute letter says.
  if (exists && (::access(real.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0)) {
    errno = EACCES;
    return Failed(target);
  }

  // 1. The new text, whole, beside the target.
  std::string tmp = TempBeside(real);
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) return Failed(target);
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  if (ok) {
    mode_t mode = 0666;
    if (exists) {
      mode = old.st_mode & 07777;
      (void)::fchown(fd, old.st_uid, old.st_gid);  // kept where allowed
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode &= ~mask;
    }
    ok = ::fchmod(fd, mode) == 0;
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) {
    SaveResult f = Failed(target);
    ::unlink(tmp.c_str());
    return f;
  }

  // 2. The old text as the backup, kept whatever happens next.
  if (backup && exists) {
    const std::string name = BackupName(target);
    ::unlink(name.c_str());
    // A second name for the old file costs nothing and keeps its bytes when the target's
    // name moves on; where that cannot be, a copy.
    r.backup_made = (old.st_nlink == 1 && ::link(real.c_str(), name.c_str()) == 0) || CopyTo(real, name);
  }

  // 3. Into place: renamed over the target, or, for a file with several names, copied in.
  if (exists && old.st_nlink > 1) {
    const int in = ::open(real.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    ok = in >= 0 && WriteAll(in, bytes) && ::fsync(in) == 0;
    if (in >= 0 && ::close(in) != 0) ok = false;
    const int saved_errno = errno;
    ::unlink(tmp.c_str());
    errno = saved_errno;
    if (!ok) return Failed(target);
  } else if (::rename(tmp.c_str(), real.c_str()) != 0) {
    SaveResult f = Failed(target);
    f.backup_made = r.backup_made;
    ::unlink(tmp.c_str());
    return f;
  }
  r.ok = true;
  return r;
}

}  // namespace haruvi::fileops
