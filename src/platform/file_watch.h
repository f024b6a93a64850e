// Telling when a file changes on disk: one file watched by its bytes through inotify, so
// a name that is not UTF-8 is watched as well. The caller polls the descriptor (a socket
// notifier in the window) and asks what happened; nothing blocks.
#pragma once

#include <string>

namespace haruvi::platform {

class FileWatch {
 public:
  FileWatch();
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // Watches `path` (and stops watching the one before); false when it cannot be watched.
  bool Watch(const std::string& path);
  void Stop();
  const std::string& Path() const { return path_; }
  // Readable when something happened; -1 when the system offers no watching.
  int Descriptor() const { return fd_; }

  enum Event : unsigned { None = 0, Written = 1, Replaced = 2 };
  // What happened since the last call (the events read and dropped): written to, or
  // replaced, moved away or deleted (the watch then ends; Watch again to go on).
  unsigned TakeEvents();

 private:
  int fd_ = -1;
  int wd_ = -1;
  std::string path_;
};

}  // namespace haruvi::platform
