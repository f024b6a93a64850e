#include "platform/temp_beside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace haruvi::platform {
namespace {

constexpr char kMarker[] = ".haruvi-tmp-";
constexpr std::size_t kRandom = 6;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The marked name without its random part: the target's name and the marker, or, when
// that would pass the 255-byte limit on a name, the marker alone (a hidden name).
std::string Stem(const std::string& target) {
  const std::string name = NameOf(target);
  const std::string prefix = target.substr(0, target.size() - name.size());  // the folder and its "/"
  if (name.size() + sizeof kMarker - 1 + kRandom <= 255) return prefix + name + kMarker;
  return prefix + kMarker;
}

std::string RandomLetters() {
  static thread_local std::mt19937 rng{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string s;
  for (std::size_t i = 0; i < kRandom; ++i) s.push_back(kLetters[rng() % (sizeof kLetters - 1)]);
  return s;
}

}  // namespace

NewFileBeside::NewFileBeside(const std::string& target) : target_(target) {
#ifdef O_TMPFILE
  fd_ = ::open(FolderOf(target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ >= 0) {
    unnamed_ = true;
    return;
  }
#endif
  // No unnamed files here: a named one, marked as ours.
  for (int tries = 0; tries < 100 && fd_ < 0; ++tries) {
    name_ = Stem(target) + RandomLetters();
    fd_ = ::open(name_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) name_.clear();
}

NewFileBeside::~NewFileBeside() {
  if (fd_ >= 0) ::close(fd_);
  if (!name_.empty()) ::unlink(name_.c_str());
}

bool NewFileBeside::Close() {
  if (fd_ < 0) return false;
  if (unnamed_) {
    // The whole file gets its name in one step.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    for (int tries = 0; tries < 100; ++tries) {
      std::string name = Stem(target_) + RandomLetters();
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
          (errno == ENOENT && ::linkat(fd_, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0)) {  // no /proc
        name_ = std::move(name);
        break;
      }
      if (errno != EEXIST) break;
    }
  }
  const int saved = errno;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (name_.empty()) {
    errno = saved;
    return false;
  }
  return closed;
}

bool NewFileBeside::CloseAsTarget() {
  if (fd_ < 0) return false;
  if (!unnamed_) {
    errno = ENOTSUP;
    return false;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  bool linked = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0;
  if (!linked && errno == ENOENT) linked = ::linkat(fd_, "", AT_FDCWD, target_.c_str(), AT_EMPTY_PATH) == 0;  // no /proc
  const int saved = errno;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!linked) {
    errno = saved;
    return false;
  }
  return closed;
}

bool IsTemporaryOf(const std::string& name, const std::string& target_name) {
  for (const std::string& stem : {Stem(target_name), std::string(kMarker)}) {
    if (name.size() == stem.size() + kRandom && name.compare(0, stem.size(), stem) == 0) return true;
  }
  return false;
}

}  // namespace haruvi::platform
