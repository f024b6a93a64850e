// The desktop's trash, written the freedesktop way so the desktop can list and restore
// what we put there: the info file NAME.trashinfo (Path= percent-encoded, DeletionDate=)
// is made first, then the entry is renamed into files/. A file on another file system
// goes to that file system's own trash ($topdir/.Trash/$uid or $topdir/.Trash-$uid), never
// copied across. Pure POSIX, no Qt.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <string>
#include <map>
#include <set>
#include <string_view>

namespace haruvi::fileops {

struct TrashPlace {
  std::string data_home;  // $XDG_DATA_HOME, else ~/.local/share
  uid_t uid = 0;
  std::time_t now = 0;    // the deletion date; 0 means the clock's time
  // Flush each info file before its entry moves. A caller trashing many entries may
  // flush once at the end instead (SyncTrash): an entry is never lost either way, only
  // its restore record could be, should the machine stop in between.
  bool sync_each = true;
};

// The place of the running user (environment and password database).
TrashPlace UserTrashPlace();

struct TrashResult {
  bool ok = false;
  std::string trashed_as;  // the entry's path below files/
  std::string info_file;   // its .trashinfo
  std::string error;       // "PATH: reason" when not ok
};

TrashResult MoveToTrash(const std::string& path, const TrashPlace& place);

// Many entries into the trash: each trash folder is found and made once.
class TrashSession {
 public:
  explicit TrashSession(TrashPlace place);
  TrashResult Move(const std::string& path);
  // Flushes every trash used (after entries moved without sync_each).
  void Sync() const;

 private:
  struct Where {
    std::string trash;
    std::string top;    // the file system's top folder; empty for the home trash
    std::string error;  // why there is no trash for that file system
  };
  const Where& For(dev_t dev, const std::string& path);

  TrashPlace place_;
  dev_t home_dev_ = 0;
  std::map<dev_t, Where> where_;
  std::set<std::string> used_;
};
// Flushes the file system holding a trash's folder to disk.
void SyncTrash(const std::string& folder);

// "Path=" encoding: every byte but the unreserved ones and "/" as %XX.
std::string PercentEncodePath(std::string_view path);

}  // namespace haruvi::fileops
