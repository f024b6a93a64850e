#include "fileops/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "platform/temp_beside.h"
#include "platform/write_all.h"
#include "platform/system_error.h"

namespace haruvi::fileops {
namespace {

using platform::WriteAll;

// Copies every byte of the open file `in` (from its start) to the open file `out`.
bool CopyBytes(int in, int out) {
  if (::lseek(in, 0, SEEK_SET) != 0) return false;
  char buf[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buf, sizeof buf);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (!WriteAll(out, std::string_view(buf, static_cast<std::size_t>(n)))) return false;
  }
}

// A copy of `from`'s bytes, whole and flushed, in `copy` (named once whole).
bool CopyBeside(const std::string& from, platform::NewFileBeside& copy) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const bool ok = copy.Fd() >= 0 && CopyBytes(in, copy.Fd()) && ::fsync(copy.Fd()) == 0;
  const int saved = errno;
  ::close(in);
  errno = saved;
  return ok && copy.Close();
}

// A copy of `from`'s bytes at `to` (written whole, then renamed into place).
bool CopyTo(const std::string& from, const std::string& to) {
  platform::NewFileBeside copy(to);
  if (!CopyBeside(from, copy)) return false;
  if (::rename(copy.Name().c_str(), to.c_str()) != 0) return false;
  copy.Taken();
  return true;
}

// Writes `bytes` over the open file from its start and cuts it to their length.
bool Overwrite(int fd, std::string_view bytes) {
  return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
         ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

SaveResult Failed(const std::string& what) {
  SaveResult r;
  r.error = what + ": " + platform::SystemErrorText(errno);
  return r;
}

// A file with several names: every name must see the new text, so it is written over the
// file itself, but only with the old text kept whole elsewhere (the backup, else a copy
// of our own) and room for the new text reserved first; a failure puts the old text back.
SaveResult WriteInPlace(const std::string& target, const std::string& real, const struct stat& old,
                        std::string_view bytes, const std::string& kept_in) {
  std::optional<platform::NewFileBeside> own;  // only when no backup keeps the old text
  std::string old_text = kept_in;
  if (old_text.empty()) {
    own.emplace(real);
    if (!CopyBeside(real, *own)) return Failed(target);
    old_text = own->Name();
  }
  const int fd = ::open(real.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return Failed(target);
  if (bytes.size() > static_cast<std::size_t>(old.st_size)) {
    const int e = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
    if (e != 0 && e != EOPNOTSUPP && e != EINVAL) {  // no room: nothing was touched
      ::close(fd);
      errno = e;
      return Failed(target);
    }
  }
  if (Overwrite(fd, bytes)) {
    if (::close(fd) != 0) return Failed(target);
    SaveResult done;
    done.ok = true;
    return done;
  }
  SaveResult failed = Failed(target);
  // The old text back from where it was kept; if even that fails, the copy stays.
  const int in = ::open(old_text.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat kept {};
  const bool restored = in >= 0 && ::fstat(in, &kept) == 0 && ::lseek(fd, 0, SEEK_SET) == 0 && CopyBytes(in, fd) &&
                        ::ftruncate(fd, kept.st_size) == 0 && ::fsync(fd) == 0;
  if (in >= 0) ::close(in);
  ::close(fd);
  if (!restored) {
    if (own) own->Taken();
    failed.error += " (the old text is kept in " + old_text + ")";
  }
  return failed;
}

}  // namespace

std::string BackupName(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::size_t dot = target.rfind('.');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (has_extension ? target.substr(0, dot) : target) + ".$$$";
}

SaveResult SaveFile(const std::string& target, std::string_view bytes, bool backup) {
  SaveResult r;
  // A link is written through: the file it points to gets the text, the link stays.
  std::error_code ec;
  std::string real = target;
  if (std::filesystem::is_symlink(target, ec)) {
    const auto resolved = std::filesystem::weakly_canonical(target, ec);
    if (!ec) real = resolved.string();
  }
  struct stat old {};
  const bool exists = ::stat(real.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    errno = EINVAL;
    return Failed(target + " is not a regular file");
  }
  // A read-only file stays as it is: the rename below would replace it whatever its
  // mode, since only the folder's permission counts for that. A file no one may write
  // counts as read-only even for the superuser, as its attribute letter says.
  if (exists && (::access(real.c_str(), W_OK) != 0 || (old.st_mode & 0222) == 0)) {
    errno = EACCES;
    return Failed(target);
  }

  // 1. The new text, whole, beside the target (unnamed until it is whole).
  platform::NewFileBeside fresh(real);
  if (fresh.Fd() < 0) return Failed(target);
  bool ok = WriteAll(fresh.Fd(), bytes) && ::fsync(fresh.Fd()) == 0;
  if (ok) {
    mode_t mode = 0666;
    if (exists) {
      mode = old.st_mode & 07777;
      (void)::fchown(fresh.Fd(), old.st_uid, old.st_gid);  // kept where allowed
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode &= ~mask;
    }
    ok = ::fchmod(fresh.Fd(), mode) == 0;
  }
  if (!ok || !fresh.Close()) return Failed(target);

  // 2. The old text as the backup. A backup that cannot be made stops the save: the user
  // asked for the old text to be kept. A file whose own name is its backup name has no
  // backup (it would be itself).
  const std::string backup_name = BackupName(target);
  if (backup && exists && backup_name != target && backup_name != real) {
    ::unlink(backup_name.c_str());
    // A second name for the old file costs nothing and keeps its bytes when the target's
    // name moves on; where that cannot be, a copy.
    r.backup_made = (old.st_nlink == 1 && ::link(real.c_str(), backup_name.c_str()) == 0) || CopyTo(real, backup_name);
    if (!r.backup_made) {
      SaveResult f = Failed(backup_name);
      f.backup_failed = true;
      return f;
    }
  }

  // 3. Into place: renamed over the target, or, for a file with several names, written in.
  if (exists && old.st_nlink > 1) {
    SaveResult in_place = WriteInPlace(target, real, old, bytes, r.backup_made ? backup_name : std::string());
    in_place.backup_made = r.backup_made;
    return in_place;
  }
  if (::rename(fresh.Name().c_str(), real.c_str()) != 0) {
    SaveResult f = Failed(target);
    f.backup_made = r.backup_made;
    return f;
  }
  fresh.Taken();
  r.ok = true;
  return r;
}

}  // namespace haruvi::fileops
