#include "platform/long_path.h"

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>

namespace haruvi::platform {
namespace {

// Opens the folders of `path` up to its last part that leaves the rest shorter than
// PATH_MAX, each relative to the one before; *rest is where the rest begins. AT_FDCWD
// when the path is short enough as it is; -1 on failure.
int OpenLeadingFolders(const std::string& path, std::size_t* rest) {
  *rest = 0;
  int dir = AT_FDCWD;
  while (path.size() - *rest >= PATH_MAX) {
    const std::size_t cut = path.rfind('/', *rest + PATH_MAX - 1);
    if (cut == std::string::npos || cut < *rest) {  // one name longer than any folder takes
      if (dir != AT_FDCWD) ::close(dir);
      errno = ENAMETOOLONG;
      return -1;
    }
    const std::string piece = cut == 0 ? "/" : path.substr(*rest, cut - *rest);
    const int next = ::openat(dir, piece.empty() ? "." : piece.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int err = errno;
    if (dir != AT_FDCWD) ::close(dir);
    if (next < 0) {
      errno = err;
      return -1;
    }
    dir = next;
    *rest = cut + 1;
  }
  return dir;
}

}  // namespace

int OpenLongPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags);
  if (fd >= 0 || errno != ENAMETOOLONG) return fd;
  std::size_t rest = 0;
  const int dir = OpenLeadingFolders(path, &rest);
  if (dir < 0) return -1;
  const int opened = ::openat(dir, path.c_str() + rest, flags);
  const int err = errno;
  if (dir != AT_FDCWD) ::close(dir);
  errno = err;
  return opened;
}

bool LstatLongPath(const std::string& path, struct stat* st) {
  if (::lstat(path.c_str(), st) == 0) return true;
  if (errno != ENAMETOOLONG) return false;
  std::size_t rest = 0;
  const int dir = OpenLeadingFolders(path, &rest);
  if (dir < 0) return false;
  const bool ok = ::fstatat(dir, path.c_str() + rest, st, AT_SYMLINK_NOFOLLOW) == 0;
  const int err = errno;
  if (dir != AT_FDCWD) ::close(dir);
  errno = err;
  return ok;
}

}  // namespace haruvi::platform
