#include "fileops/trash.h"

#include "fileops/flush.h"
#include "fileops/fs_util.h"
#include "platform/write_all.h"
#include "platform/system_error.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace haruvi::fileops {
namespace {

std::string Reason() { return platform::SystemErrorText(errno); }

// A folder made with mode 0700 if missing; false if it is there but not a real folder.
bool EnsureFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  if (errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  return true;
}

bool EnsureTrash(const std::string& trash) {
  return EnsureFolder(trash) && EnsureFolder(trash + "/files") && EnsureFolder(trash + "/info");
}

// The top folder of the file system holding `path`: the highest ancestor on its device.
std::string TopDir(const std::string& abs_path, dev_t dev) {
  std::string top = ParentOf(abs_path);
  while (top != "/") {
    const std::string up = ParentOf(top);
    struct stat st {};
    if (::stat(up.c_str(), &st) != 0 || st.st_dev != dev) break;
    top = up;
  }
  return top;
}

std::string Absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  if (!::getcwd(cwd, sizeof cwd)) return path;
  return std::string(cwd) + "/" + path;
}

// The name in the trash: the item's own, shortened (its extension kept, never inside a
// UTF-8 character) when the info file's name or a number added would pass 255 bytes.
std::string FittingName(const std::string& name) {
  constexpr std::size_t kRoom = 255 - (sizeof ".trashinfo" - 1) - 6;  // ".NNNN" and a spare
  if (name.size() <= kRoom) return name;
  const std::size_t dot = name.find_last_of('.');
  const std::string ext = dot != std::string::npos && dot > 0 && name.size() - dot <= 16 ? name.substr(dot) : "";
  std::size_t cut = kRoom - ext.size();
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut) + ext;
}

// A name free in both files/ and info/, taken by creating its info file exclusively.
int ClaimInfoFile(const std::string& trash, const std::string& item_name, std::string* name) {
  const std::string base = FittingName(item_name);
  for (int n = 1; n < 10000; ++n) {
    std::string candidate = base;
    if (n > 1) {
      const std::size_t dot = base.find_last_of('.');
      candidate = (dot == std::string::npos || dot == 0)
                      ? base + "." + std::to_string(n)
                      : base.substr(0, dot) + "." + std::to_string(n) + base.substr(dot);
    }
    struct stat st {};
    if (::lstat((trash + "/files/" + candidate).c_str(), &st) == 0) continue;
    const int fd = ::open((trash + "/info/" + candidate + ".trashinfo").c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      *name = candidate;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

TrashPlace UserTrashPlace() {
  TrashPlace place;
  place.uid = ::getuid();
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') {
    place.data_home = xdg;
  } else {
    const char* home = std::getenv("HOME");
    std::string h = home && *home ? home : "";
    if (h.empty()) {
      if (const passwd* pw = ::getpwuid(place.uid)) h = pw->pw_dir;
    }
    place.data_home = h + "/.local/share";
  }
  return place;
}

void SyncTrash(const std::string& folder) { FlushFileSystem(folder); }

std::string PercentEncodePath(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : path) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '_' || c == '.' || c == '~' || c == '/';
    if (keep) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

TrashSession::TrashSession(TrashPlace place) : place_(std::move(place)) {
  // The home trash's file system: that of its nearest existing folder when it is not made yet.
  std::string probe = place_.data_home;
  struct stat home_st {};
  while (::stat(probe.c_str(), &home_st) != 0 && probe != "/" && probe != ".") probe = ParentOf(probe);
  home_dev_ = home_st.st_dev;
}

// The trash for entries on `dev` (the home trash on its own file system, else that file
// system's), made once and remembered; `path` is an entry there, to find its top folder.
const TrashSession::Where& TrashSession::For(dev_t dev, const std::string& path) {
  auto known = where_.find(dev);
  if (known != where_.end()) return known->second;
  Where w;
  if (dev == home_dev_) {
    w.trash = place_.data_home + "/Trash";
    std::error_code ec;
    std::filesystem::create_directories(place_.data_home, ec);
    if (!EnsureTrash(w.trash)) w.error = "ごみ箱フォルダーを作れません: " + Reason();
  } else {
    w.top = TopDir(path, dev);
    const std::string uid = std::to_string(place_.uid);
    struct stat shared {};
    const std::string admin = w.top == "/" ? "/.Trash" : w.top + "/.Trash";
    // $topdir/.Trash counts only as a real, sticky folder (no link someone planted).
    if (::lstat(admin.c_str(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX) &&
        EnsureTrash(admin + "/" + uid)) {
      w.trash = admin + "/" + uid;
    } else {
      w.trash = (w.top == "/" ? "" : w.top) + "/.Trash-" + uid;
      if (!EnsureTrash(w.trash)) w.error = "ごみ箱フォルダーを作れません: " + Reason();
    }
    struct stat trash_st {};
    if (w.error.empty() && (::stat(w.trash.c_str(), &trash_st) != 0 || trash_st.st_dev != dev))
      w.error = "このファイル システムにはごみ箱がありません";
  }
  if (w.error.empty()) used_.insert(w.trash);
  return where_.emplace(dev, std::move(w)).first->second;
}

void TrashSession::Sync() const {
  for (const std::string& t : used_) SyncTrash(t);
}

TrashResult TrashSession::Move(const std::string& path_in) {
  TrashResult r;
  std::string path = Absolute(path_in);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  auto fail = [&](const std::string& what) {
    r.error = path_in + ": " + what;
    return r;
  };
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return fail(Reason());
  if (path == "/") return fail("ルートフォルダーはごみ箱に移動できません");
  const Where& where = For(st.st_dev, path);
  if (!where.error.empty()) return fail(where.error);
  const std::string& trash = where.trash;
  // Absolute in the home trash; relative to its top folder in a file system's own.
  std::string info_path = path;
  if (!where.top.empty()) {
    if (where.top != "/" && path.compare(0, where.top.size() + 1, where.top + "/") != 0)
      return fail("このファイル システムにはごみ箱がありません");
    info_path = where.top == "/" ? path.substr(1) : path.substr(where.top.size() + 1);
  }
  // Never the trash itself or a folder that holds it.
  if (trash.compare(0, path.size(), path) == 0 && (trash.size() == path.size() || trash[path.size()] == '/'))
    return fail("ごみ箱はごみ箱に移動できません");

  std::string name;
  const int fd = ClaimInfoFile(trash, NameOf(path), &name);
  if (fd < 0) return fail("ごみ箱の情報ファイルを作れません: " + Reason());
  const std::string info_file = trash + "/info/" + name + ".trashinfo";
  std::time_t now = place_.now ? place_.now : std::time(nullptr);
  std::tm local {};
  ::localtime_r(&now, &local);
  char date[32];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  const std::string text =
      "[Trash Info]\nPath=" + PercentEncodePath(info_path) + "\nDeletionDate=" + date + "\n";
  const bool written = platform::WriteAll(fd, text) && (!place_.sync_each || FlushFile(fd));
  const int saved = errno;
  ::close(fd);
  if (!written) {
    ::unlink(info_file.c_str());
    errno = saved;
    return fail("ごみ箱の情報ファイルを書けません: " + Reason());
  }
  const std::string target = trash + "/files/" + name;
  if (!RenameNoReplace(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str())) {
    const std::string why = Reason();
    ::unlink(info_file.c_str());
    return fail(why);
  }
  r.ok = true;
  r.trashed_as = target;
  r.info_file = info_file;
  return r;
}

TrashResult MoveToTrash(const std::string& path, const TrashPlace& place) { return TrashSession(place).Move(path); }

}  // namespace haruvi::fileops
