// Folder statistics: how many files lie below a folder and how many bytes they hold.
// Pure and thread-safe, so the window can run it off its own thread and drop a stale walk.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace haruvi::fileops {

struct FolderTotals {
  std::uint64_t files = 0;  // entries that are not folders, at any depth
  std::uint64_t bytes = 0;  // their sizes (symbolic links count their own size)
  std::uint64_t unreadable_folders = 0;
  // The first kMaxNamedUnreadable of them, each with why it could not be read.
  struct Unreadable {
    std::string path;
    int error = 0;  // errno
  };
  std::vector<Unreadable> unreadable;
  static constexpr std::size_t kMaxNamedUnreadable = 100;
  bool cancelled = false;
};

struct WalkOptions {
  const std::atomic<bool>* cancel = nullptr;  // checked between folders
  std::vector<dev_t> skip_devices;            // folders on these devices are not entered
};

// Counts every file below `folder`. Symbolic links are never followed, so link loops
// cannot trap the walk; folders that cannot be opened are counted and skipped.
FolderTotals WalkFolderTotals(const std::string& folder, const WalkOptions& options = {});

// Wildcard match of a file name ("*" any run, "?" one byte) without regard to ASCII case.
// "*.*" matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);

// The folder search of the status bar: finds every folder below `folder` breadth first,
// then fills `list` with every non-folder entry matching `mask` ("*.*" when empty), folder
// by folder in that order, and returns their total size (64-bit). A path that is not a
// folder returns 0 and leaves `list` untouched.
std::int64_t FindFiles(const std::string& folder, std::string_view mask,
                       std::vector<std::string>& list);

// Every entry below `folder` that is not a folder, breadth first and folder by folder in
// the order found (the order FindFiles lists them in), in one pass, each with its kind as
// the directory entry gives it (a stat only where the file system does not say), so a
// tree grep costs no stat per file. Symbolic links are reported as links and never
// followed; folders that cannot be opened are reported as such.
struct TreeEntry {
  enum Kind { File, Link, Other, UnreadableFolder };
  std::string path;
  Kind kind = File;
};
void WalkTree(const std::string& folder, const std::function<void(TreeEntry&& entry)>& visit,
              const std::atomic<bool>* cancel = nullptr);

}  // namespace haruvi::fileops
