// Descriptor-relative folder work for unpacking; see safe_paths.h.
#include "archive/safe_paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace haruvi::archive {
namespace {

std::vector<std::string> ListNames(int fd) {
  std::vector<std::string> names;
  const int dup_fd = dup(fd);
  if (dup_fd < 0) return names;
  DIR* d = fdopendir(dup_fd);
  if (!d) {
    close(dup_fd);
    return names;
  }
  rewinddir(d);
  while (const dirent* e = readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  return names;
}

int OpenRealFolder(int parent, const std::string& name) {
  return openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

bool SplitInsideName(std::string_view name, std::vector<std::string>* parts) {
  parts->clear();
  if (name.empty() || name.front() == '/' || name.find('\0') != std::string_view::npos) return false;
  std::size_t i = 0;
  while (i <= name.size()) {
    std::size_t j = name.find('/', i);
    if (j == std::string_view::npos) j = name.size();
    const std::string_view part = name.substr(i, j - i);
    if (part == "..") return false;
    if (!part.empty() && part != ".") parts->emplace_back(part);
    i = j + 1;
  }
  return !parts->empty();
}

bool LinkStaysInside(const std::vector<std::string>& parts, std::string_view target) {
  if (target.empty() || target.front() == '/' || target.find('\0') != std::string_view::npos) return false;
  // Depth of the folder that holds the link, then each step of the target.
  long depth = static_cast<long>(parts.size()) - 1;
  std::size_t i = 0;
  while (i <= target.size()) {
    std::size_t j = target.find('/', i);
    if (j == std::string_view::npos) j = target.size();
    const std::string_view part = target.substr(i, j - i);
    if (part == "..") {
      if (--depth < 0) return false;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    i = j + 1;
  }
  return true;
}

int OpenFolderPath(int root, const std::vector<std::string>& parts, std::size_t count, bool create) {
  int fd = fcntl(root, F_DUPFD_CLOEXEC, 0);
  for (std::size_t k = 0; fd >= 0 && k < count; ++k) {
    int next = OpenRealFolder(fd, parts[k]);
    if (next < 0 && errno == ENOENT && create) {
      if (mkdirat(fd, parts[k].c_str(), 0755) == 0 || errno == EEXIST) next = OpenRealFolder(fd, parts[k]);
    }
    const int saved = errno;
    close(fd);
    errno = saved;
    fd = next;
  }
  return fd;
}

void RemoveTree(int parent, const std::string& name) {
  const int fd = OpenRealFolder(parent, name);
  if (fd >= 0) {
    for (const std::string& n : ListNames(fd)) {
      if (unlinkat(fd, n.c_str(), 0) != 0 && (errno == EISDIR || errno == EPERM)) RemoveTree(fd, n);
    }
    close(fd);
    unlinkat(parent, name.c_str(), AT_REMOVEDIR);
  } else {
    unlinkat(parent, name.c_str(), 0);
  }
}

void MergeInto(int from, int to, bool overwrite, const std::string& prefix, std::vector<std::string>* kept) {
  for (const std::string& n : ListNames(from)) {
    if (renameat2(from, n.c_str(), to, n.c_str(), RENAME_NOREPLACE) == 0) continue;
    struct stat src {}, dst {};
    if (fstatat(from, n.c_str(), &src, AT_SYMLINK_NOFOLLOW) != 0 ||
        fstatat(to, n.c_str(), &dst, AT_SYMLINK_NOFOLLOW) != 0) {
      kept->push_back(prefix + n);
      continue;
    }
    if (S_ISDIR(src.st_mode) && S_ISDIR(dst.st_mode)) {
      const int a = OpenRealFolder(from, n);
      const int b = OpenRealFolder(to, n);
      if (a >= 0 && b >= 0) MergeInto(a, b, overwrite, prefix + n + "/", kept);
      else kept->push_back(prefix + n);
      if (a >= 0) close(a);
      if (b >= 0) close(b);
      continue;
    }
    // A file replaces a file (or a link) in one step, so the old one stays whole until
    // the new one is there; a folder is never replaced by a file or the other way.
    if (overwrite && !S_ISDIR(src.st_mode) && !S_ISDIR(dst.st_mode) &&
        renameat(from, n.c_str(), to, n.c_str()) == 0)
      continue;
    kept->push_back(prefix + n);
  }
}

}  // namespace haruvi::archive
