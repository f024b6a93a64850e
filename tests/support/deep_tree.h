// Test helpers for trees deeper than any path may be long: made and removed through
// folder descriptors, level by level, never by a path.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace haruvi::test {

// Makes `depth` nested folders "d" below `root` and writes `text` into a file "f.txt" in
// every folder whose level (1 = the first "d") is a multiple of `every`. False on failure.
inline bool MakeDeepChain(const std::string& root, int depth, int every, std::string_view text) {
  int dir = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (int level = 1; dir >= 0 && level <= depth; ++level) {
    if (::mkdirat(dir, "d", 0700) != 0) break;
    const int next = ::openat(dir, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(dir);
    dir = next;
    if (dir >= 0 && level % every == 0) {
      const int f = ::openat(dir, "f.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
      const bool written = f >= 0 && ::write(f, text.data(), text.size()) == static_cast<ssize_t>(text.size());
      if (f >= 0) ::close(f);
      if (!written) break;
    }
    if (level == depth) {
      ::close(dir);
      return true;
    }
  }
  if (dir >= 0) ::close(dir);
  return false;
}

// Removes a chain of single folders named `name` below `root` (each holding files at
// most), from the deepest up, through "..".
inline void RemoveDeepChain(const std::string& root, std::string_view name = "d") {
  const std::string n(name);
  int dir = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int depth = 0;
  for (int next; dir >= 0 && (next = ::openat(dir, n.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) >= 0; ++depth) {
    ::close(dir);
    dir = next;
  }
  for (; dir >= 0 && depth >= 0; --depth) {
    // Everything here but the folder below, which is empty by now.
    const int listing = ::dup(dir);
    if (DIR* d = listing < 0 ? nullptr : ::fdopendir(listing)) {
      while (dirent* e = ::readdir(d)) {
        const std::string entry = e->d_name;
        if (entry != "." && entry != "..") ::unlinkat(dir, entry.c_str(), entry == n ? AT_REMOVEDIR : 0);
      }
      ::closedir(d);
    }
    if (depth == 0) break;
    const int up = ::openat(dir, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(dir);
    dir = up;
  }
  if (dir >= 0) ::close(dir);
}

}  // namespace haruvi::test
