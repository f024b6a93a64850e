#include "fileops/folder_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>

#include "platform/long_path.h"

namespace haruvi::fileops {
namespace {

bool IsDotOrDotDot(const char* n) {
  return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

// Opens a folder without following a final symbolic link.
DIR* OpenFolder(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return nullptr;
  DIR* d = ::fdopendir(fd);
  if (!d) ::close(fd);
  return d;
}


char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

namespace {

// What one folder holds: its files are counted at once, its sub-folders kept by name.
struct Level {
  std::vector<std::string> subfolders;
  std::size_t next = 0;
};

// The path of the folder the walk stands in (`below` true: of the sub-folder it tried to
// enter last), made from the names the levels are at; only asked for when one cannot be
// read.
std::string PathOf(const std::string& folder, const std::vector<Level>& stack, bool below) {
  std::string path = folder;
  const std::size_t levels = below ? stack.size() : stack.size() - 1;
  for (std::size_t k = 0; k < levels; ++k) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    path.append(stack[k].subfolders[stack[k].next - 1]);
  }
  return path;
}

void CountUnreadable(FolderTotals& totals, const std::string& folder, const std::vector<Level>& stack, bool below,
                     int error) {
  ++totals.unreadable_folders;
  if (totals.unreadable.size() < FolderTotals::kMaxNamedUnreadable)
    totals.unreadable.push_back({PathOf(folder, stack, below), error});
}

// Counts the files of the open folder `fd` and lists its sub-folders. False when the walk
// was cancelled inside a big folder; *error is set (and nothing listed) when the folder
// cannot be read.
bool ScanFolder(int fd, const WalkOptions& options, FolderTotals& totals, Level& level, int* error) {
  struct stat dst {};
  if (!options.skip_devices.empty() && ::fstat(fd, &dst) == 0 &&
      std::binary_search(options.skip_devices.begin(), options.skip_devices.end(), dst.st_dev))
    return true;  // not entered
  const int own = ::dup(fd);  // the listing consumes its descriptor; `fd` stays ours
  DIR* d = own < 0 ? nullptr : ::fdopendir(own);
  if (!d) {
    *error = errno;
    if (own >= 0) ::close(own);
    return true;
  }
  unsigned entries = 0;
  while (dirent* e = ::readdir(d)) {
    // A folder of a million files must not hold a cancelled walk for long.
    if ((++entries & 4095) == 0 && options.cancel && options.cancel->load(std::memory_order_relaxed)) {
      ::closedir(d);
      return false;
    }
    if (IsDotOrDotDot(e->d_name)) continue;
    if (e->d_type == DT_DIR) {
      level.subfolders.emplace_back(e->d_name);
      continue;
    }
    struct stat st {};
    if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      level.subfolders.emplace_back(e->d_name);
      continue;
    }
    ++totals.files;
    totals.bytes += static_cast<std::uint64_t>(st.st_size);
  }
  ::closedir(d);
  return true;
}

}  // namespace

// Depth first with one folder open at a time, each opened relative to its parent and left
// through "..": no path is ever built, so any depth works (paths beyond the system's limit
// included) and a deep tree holds no more than one descriptor.
FolderTotals WalkFolderTotals(const std::string& folder, const WalkOptions& options) {
  FolderTotals totals;
  // The folder the user chose is opened whatever link leads to it; below it, never.
  int cur = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::vector<Level> stack(1);
  if (cur < 0) {
    CountUnreadable(totals, folder, stack, false, errno);
    return totals;
  }
  int error = 0;
  if (!ScanFolder(cur, options, totals, stack.back(), &error)) {
    ::close(cur);
    totals.cancelled = true;
    return totals;
  }
  if (error) CountUnreadable(totals, folder, stack, false, error);
  while (!stack.empty()) {
    if (options.cancel && options.cancel->load(std::memory_order_relaxed)) {
      totals.cancelled = true;
      break;
    }
    Level& level = stack.back();
    if (level.next < level.subfolders.size()) {
      const std::string& name = level.subfolders[level.next++];
      const int child = ::openat(cur, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (child < 0) {
        CountUnreadable(totals, folder, stack, true, errno);
        continue;
      }
      ::close(cur);
      cur = child;
      stack.emplace_back();
      error = 0;
      if (!ScanFolder(cur, options, totals, stack.back(), &error)) {
        totals.cancelled = true;
        break;
      }
      if (error) CountUnreadable(totals, folder, stack, false, error);
      continue;
    }
    stack.pop_back();
    if (stack.empty()) break;
    const int parent = ::openat(cur, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::close(cur);
    cur = parent;
    if (cur < 0) break;  // the way back is gone (the tree moved meanwhile): what was counted stands
  }
  if (cur >= 0) ::close(cur);
  return totals;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*.*" || mask == "*") return true;
  // Iterative wildcard match with one back-tracking point.
  size_t n = 0, m = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    // A "*" is a wildcard even where the name holds a "*" itself (a legal name byte here).
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      mark = n;
    } else if (m < mask.size() && (mask[m] == '?' || Lower(mask[m]) == Lower(name[n]))) {
      ++n;
      ++m;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::int64_t FindFiles(const std::string& folder, std::string_view mask,
                       std::vector<std::string>& list) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return 0;
  list.clear();
  if (!mask.empty() && (mask.front() == '/' || mask.front() == '\\')) mask.remove_prefix(1);
  if (mask.empty()) mask = "*.*";
  std::string root = folder;
  if (root.back() != '/') root.push_back('/');

  // Folder pass, breadth first.
  std::deque<std::string> queue{root};
  list.push_back(root);
  while (!queue.empty()) {
    if (DIR* d = OpenFolder(queue.front())) {
      while (dirent* e = ::readdir(d)) {
        if (IsDotOrDotDot(e->d_name)) continue;
        bool is_dir = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
          struct stat est {};
          is_dir = ::fstatat(::dirfd(d), e->d_name, &est, AT_SYMLINK_NOFOLLOW) == 0 &&
                   S_ISDIR(est.st_mode);
        }
        if (!is_dir) continue;
        std::string sub = queue.front() + e->d_name + "/";
        list.push_back(sub);
        queue.push_back(sub);
      }
      ::closedir(d);
    }
    queue.pop_front();
  }

  // File pass, folder by folder in the order found.
  std::vector<std::string> folders;
  folders.swap(list);
  std::int64_t total = 0;
  for (const std::string& dir : folders) {
    DIR* d = OpenFolder(dir);
    if (!d) continue;
    while (dirent* e = ::readdir(d)) {
      if (IsDotOrDotDot(e->d_name) || !MatchesMask(e->d_name, mask)) continue;
      struct stat est {};
      if (::fstatat(::dirfd(d), e->d_name, &est, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (S_ISDIR(est.st_mode)) continue;
      list.push_back(dir + e->d_name);
      total += static_cast<std::int64_t>(est.st_size);
    }
    ::closedir(d);
  }
  return total;
}

namespace {

// An open folder whose sub-folders wait in the walk's queue: it stays open until the last
// of them is opened relative to it.
struct OpenFolderFd {
  explicit OpenFolderFd(int f) : fd(f) {}
  ~OpenFolderFd() { ::close(fd); }
  OpenFolderFd(const OpenFolderFd&) = delete;
  OpenFolderFd& operator=(const OpenFolderFd&) = delete;
  int fd;
};

struct Queued {
  std::string path;                       // ends with '/'
  std::shared_ptr<OpenFolderFd> parent;   // none: opened by its path
  std::string name;                       // in the parent
};

// How many folders with sub-folders still to open may stay open; past it a sub-folder
// is opened by its path (a wide tree is shallow, so that costs little).
constexpr long kMaxOpenParents = 256;

}  // namespace

// Breadth first. A sub-folder is opened relative to its open parent, never by its path,
// so a tree of any depth is walked in time linear in its entries (a path past the
// system's limit included); only wide levels fall back to paths, which are short there.
void WalkTree(const std::string& folder, const std::function<void(TreeEntry&&)>& visit,
              const std::atomic<bool>* cancel) {
  std::string root = folder;
  if (root.empty() || root.back() != '/') root.push_back('/');
  std::deque<Queued> queue;
  queue.push_back({root, nullptr, {}});
  long open_parents = 0;
  while (!queue.empty()) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return;
    Queued dir = std::move(queue.front());
    queue.pop_front();
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    const int fd = dir.parent ? ::openat(dir.parent->fd, dir.name.c_str(), flags)
                              : platform::OpenLongPath(dir.path, flags);
    if (dir.parent && dir.parent.use_count() == 1) --open_parents;  // its last sub-folder
    dir.parent.reset();
    DIR* d = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!d) {
      if (fd >= 0) ::close(fd);
      visit({dir.path, TreeEntry::UnreadableFolder});
      continue;
    }
    std::shared_ptr<OpenFolderFd> self;  // made when the first sub-folder is queued
    while (dirent* e = ::readdir(d)) {
      if (IsDotOrDotDot(e->d_name)) continue;
      unsigned char type = e->d_type;
      if (type == DT_UNKNOWN) {
        struct stat st {};
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
        type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : S_ISREG(st.st_mode) ? DT_REG : DT_FIFO;
      }
      if (type == DT_DIR) {
        if (!self && open_parents < kMaxOpenParents) {
          const int own = ::fcntl(::dirfd(d), F_DUPFD_CLOEXEC, 0);
          if (own >= 0) {
            self = std::make_shared<OpenFolderFd>(own);
            ++open_parents;
          }
        }
        queue.push_back({dir.path + e->d_name + "/", self, e->d_name});
        continue;
      }
      visit({dir.path + e->d_name, type == DT_REG ? TreeEntry::File : type == DT_LNK ? TreeEntry::Link : TreeEntry::Other});
    }
    ::closedir(d);
  }
}

}  // namespace haruvi::fileops
