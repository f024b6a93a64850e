#include "platform/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace haruvi::platform {

FileWatch::FileWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FileWatch::~FileWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileWatch::Watch(const std::string& path) {
  Stop();
  if (fd_ < 0 || path.empty()) return false;
  wd_ = ::inotify_add_watch(fd_, path.c_str(),
                            IN_MODIFY | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF);
  if (wd_ < 0) return false;
  path_ = path;
  return true;
}

void FileWatch::Stop() {
  if (wd_ >= 0 && fd_ >= 0) ::inotify_rm_watch(fd_, wd_);
  wd_ = -1;
  path_.clear();
  TakeEvents();  // whatever was queued belonged to the old file
}

unsigned FileWatch::TakeEvents() {
  unsigned out = None;
  if (fd_ < 0) return out;
  alignas(struct inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) break;  // EAGAIN: nothing more queued
    for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(struct inotify_event)) <= n;) {
      const auto* e = reinterpret_cast<const struct inotify_event*>(buffer + at);
      if (e->wd == wd_) {
        if (e->mask & (IN_MODIFY | IN_CLOSE_WRITE)) out |= Written;
        if (e->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) out |= Replaced;
      }
      at += static_cast<ssize_t>(sizeof(struct inotify_event) + e->len);
    }
  }
  if (out & Replaced) wd_ = -1;  // the system has ended that watch
  return out;
}

}  // namespace haruvi::platform
