#include "fileops/tree_ops.h"

#include "platform/temp_beside.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "fileops/copy_data.h"
#include "fileops/flush.h"
#include "fileops/fs_util.h"

namespace haruvi::fileops {
namespace {

struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
};

// The names in a folder, opened without following a link.
bool ListFolder(const std::string& path, std::vector<std::string>* names) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return false;
  }
  errno = 0;
  while (dirent* e = ::readdir(dir)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names->push_back(n);
  }
  const int err = errno;
  ::closedir(dir);
  errno = err;
  return err == 0;
}

EntryFacts Facts(const std::string& path, const struct stat& st) {
  EntryFacts f;
  f.path = path;
  f.size = static_cast<std::uint64_t>(st.st_size);
  f.mtime = st.st_mtim.tv_sec;
  f.folder = S_ISDIR(st.st_mode);
  return f;
}

std::string RealOrSelf(const std::string& path) {
  std::unique_ptr<char, decltype(&::free)> r(::realpath(path.c_str(), nullptr), &::free);
  return r ? std::string(r.get()) : path;
}

}  // namespace

void CountEntry(const std::string& path, std::uint64_t* files, std::uint64_t* bytes) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return;
  if (!S_ISDIR(st.st_mode)) {
    ++*files;
    if (S_ISREG(st.st_mode)) *bytes += static_cast<std::uint64_t>(st.st_size);
    return;
  }
  std::vector<std::string> names;
  ListFolder(path, &names);
  for (const std::string& n : names) CountEntry(JoinPath(path, n), files, bytes);
}

TreeOps::TreeOps(FileOpUi* ui, TfFlagsOptions options, std::vector<Problem>& problems, ProgressInfo totals)
    : ui_(ui), options_(options), problems_(problems), progress_(std::move(totals)) {}

bool TreeOps::Poll() {
  if (!cancelled_ && ui_ && ui_->Cancelled()) cancelled_ = true;
  return !cancelled_;
}

bool TreeOps::Fail(const std::string& path, const std::string& reason) {
  problems_.push_back({path, reason});
  return false;
}

void TreeOps::Tick(const std::string& path) {
  progress_.current = path;
  if (ui_) ui_->Progress(progress_);
}

void TreeOps::Done(const std::string& path, std::uint64_t files, std::uint64_t bytes) {
  progress_.files_done += files;
  progress_.bytes_done += bytes;
  Tick(path);
}

std::string TreeOps::TempName(const std::string& target) {
  return JoinPath(ParentOf(target),
                  ".haruvi-" + std::to_string(::getpid()) + "-" + std::to_string(++temp_counter_) + ".part");
}

bool TreeOps::InsideItself(const std::string& source, const std::string& target) {
  const std::string s = RealOrSelf(source);
  const std::string t = JoinPath(RealOrSelf(ParentOf(target)), NameOf(target));
  return t == s || (t.size() > s.size() && t.compare(0, s.size(), s) == 0 && (s == "/" || t[s.size()] == '/'));
}

std::optional<bool> TreeOps::Settle(const std::string& source, const struct stat& st, std::string& target,
                                    bool* replace) {
  *replace = false;
  struct stat tst {};
  if (::lstat(target.c_str(), &tst) != 0) return std::nullopt;
  if (tst.st_dev == st.st_dev && tst.st_ino == st.st_ino) {
    if (!options_.Has(RENAMEONCOLLISION)) return Fail(source, "コピー元とコピー先が同じです");
    target = FreeName(target);
    return std::nullopt;
  }
  ConflictAnswer answer;
  if (options_.Has(NOCONFIRMATION)) answer.choice = ConflictChoice::Replace;
  else if (options_.Has(RENAMEONCOLLISION)) answer.choice = ConflictChoice::Rename;
  else if (for_all_) answer = *for_all_;
  else if (ui_) answer = ui_->AskConflict(Conflict{Facts(source, st), Facts(target, tst)});
  else return Fail(target, "同じ名前のファイルがあります");
  if (answer.apply_to_all) for_all_ = answer;
  switch (answer.choice) {
    case ConflictChoice::Replace: *replace = true; return std::nullopt;
    case ConflictChoice::Rename: target = FreeName(target); return std::nullopt;
    case ConflictChoice::Skip: {
      std::uint64_t files = 0, bytes = 0;
      CountEntry(source, &files, &bytes);
      Done(source, files, bytes);
      return true;
    }
    case ConflictChoice::Cancel: cancelled_ = true; return false;
  }
  return false;
}

// ---------------------------------------------------------------- copy

bool TreeOps::Copy(const std::string& source, const std::string& target) {
  struct stat st {};
  if (::lstat(source.c_str(), &st) != 0) return Fail(source, SystemReason());
  return CopyEntry(source, st, target, Decision::Ask, false);
}

bool TreeOps::CopyEntry(const std::string& source, const struct stat& st, std::string target, Decision decision,
                        bool sync_each) {
  if (!Poll()) return false;
  if (S_ISDIR(st.st_mode) && InsideItself(source, target))
    return Fail(source, "フォルダーをそれ自身の中にコピーすることはできません");
  bool replace = decision == Decision::Replace;
  if (!replace) {
    if (std::optional<bool> settled = Settle(source, st, target, &replace)) return *settled;
  }
  struct stat tst {};
  const bool exists = replace && ::lstat(target.c_str(), &tst) == 0;
  if (S_ISDIR(st.st_mode)) {
    if (exists && !S_ISDIR(tst.st_mode)) return Fail(target, "同じ名前のファイルがあるためフォルダーを置き換えられません");
    return CopyFolder(source, st, target, exists, sync_each);
  }
  if (exists && S_ISDIR(tst.st_mode)) return Fail(target, "同じ名前のフォルダーがあるためファイルを置き換えられません");
  if (S_ISREG(st.st_mode)) return CopyRegular(source, st, target, exists, sync_each || exists);
  if (S_ISLNK(st.st_mode)) return CopyLink(source, target, exists);
  Done(source, 1, 0);
  return Fail(source, "特殊ファイル (FIFO、ソケット、デバイス) はコピーしません");
}

bool TreeOps::CopyRegular(const std::string& source, const struct stat& st, const std::string& target, bool replace,
                          bool sync_each) {
  Tick(source);
  // Non-blocking and never through a link: a FIFO put in the file's place cannot hang us.
  Fd in(::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (in.fd < 0) return Fail(source, SystemReason());
  struct stat now {};
  if (::fstat(in.fd, &now) != 0 || !S_ISREG(now.st_mode)) return Fail(source, "通常のファイルではなくなりました");
  ::fcntl(in.fd, F_SETFL, ::fcntl(in.fd, F_GETFL) & ~O_NONBLOCK);
  // The copy is unnamed until whole: a copy killed half way leaves nothing in the target.
  platform::NewFileBeside out(target);
  if (out.Fd() < 0) return Fail(target, SystemReason());
  const std::uint64_t base = progress_.bytes_done;
  const DataCopyResult r = CopyFileData(in.fd, out.Fd(), now, [&](std::uint64_t done) {
    progress_.bytes_done = base + done;
    Tick(source);
    return Poll();
  });
  // Modes and times as far as the target's file system keeps them (a FAT stick keeps
  // few): the bytes are what must not fail.
  bool ok = r.ok;
  if (ok) CopyAttributes(out.Fd(), now);
  std::string why = r.error;
  if (ok && sync_each && !FlushFile(out.Fd())) {
    ok = false;
    why = SystemReason();
  }
  // A new name is given to the whole file in one step; a file replaced needs a marked
  // name first, then a rename over the old one.
  bool placed_already = false;
  if (ok && !replace) {
    placed_already = out.CloseAsTarget();
    if (!placed_already && errno != ENOTSUP) {
      ok = false;
      why = SystemReason();
    }
  }
  if (ok && !placed_already && !out.Close()) {
    ok = false;
    why = SystemReason();
  }
  if (ok && !placed_already) {
    const bool placed = replace ? ::rename(out.Name().c_str(), target.c_str()) == 0
                                : RenameNoReplace(AT_FDCWD, out.Name().c_str(), AT_FDCWD, target.c_str());
    if (placed) out.Taken();
    else {
      ok = false;
      why = SystemReason();
    }
  }
  if (!ok) {
    progress_.bytes_done = base;
    if (r.cancelled) return false;
    return Fail(source, why);
  }
  progress_.bytes_done = base + static_cast<std::uint64_t>(st.st_size);
  Done(source, 1, 0);
  return true;
}

bool TreeOps::CopyLink(const std::string& source, const std::string& target, bool replace) {
  std::string to(PATH_MAX, '\0');
  const ssize_t n = ::readlink(source.c_str(), to.data(), to.size());
  if (n < 0) return Fail(source, SystemReason());
  to.resize(static_cast<std::size_t>(n));
  const std::string temp = TempName(target);
  if (::symlink(to.c_str(), temp.c_str()) != 0) return Fail(target, SystemReason());
  const bool placed = replace ? ::rename(temp.c_str(), target.c_str()) == 0
                              : RenameNoReplace(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str());
  if (!placed) {
    const std::string why = SystemReason();
    ::unlink(temp.c_str());
    return Fail(target, why);
  }
  Done(source, 1, 0);
  return true;
}

bool TreeOps::CopyFolder(const std::string& source, const struct stat& st, const std::string& target, bool exists,
                         bool sync_each) {
  Tick(source);
  std::vector<std::string> names;
  if (!ListFolder(source, &names)) return Fail(source, SystemReason());
  // Made owner-writable first, so its entries can be written whatever its own mode.
  if (!exists && ::mkdir(target.c_str(), 0700) != 0) return Fail(target, SystemReason());
  bool ok = true;
  for (const std::string& n : names) {
    if (!Poll()) return false;
    const std::string from = JoinPath(source, n);
    struct stat cst {};
    if (::lstat(from.c_str(), &cst) != 0) {
      ok = Fail(from, SystemReason());
      continue;
    }
    ok = CopyEntry(from, cst, JoinPath(target, n), Decision::Ask, sync_each) && ok;
    if (cancelled_) return false;
  }
  if (!exists) {
    Fd fd(::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (fd.fd >= 0) {
      CopyAttributes(fd.fd, st);
      if (sync_each) FlushFile(fd.fd);
    }
  }
  return ok;
}

// ---------------------------------------------------------------- move

bool TreeOps::Move(const std::string& source, const std::string& target_in) {
  if (!Poll()) return false;
  std::string target = target_in;
  struct stat st {};
  if (::lstat(source.c_str(), &st) != 0) return Fail(source, SystemReason());
  if (S_ISDIR(st.st_mode) && InsideItself(source, target))
    return Fail(source, "フォルダーをそれ自身の中に移動することはできません");
  bool replace = false;
  if (std::optional<bool> settled = Settle(source, st, target, &replace)) return *settled;
  std::uint64_t files = 0, bytes = 0;
  CountEntry(source, &files, &bytes);
  struct stat tst {};
  const bool exists = replace && ::lstat(target.c_str(), &tst) == 0;
  if (exists && S_ISDIR(st.st_mode) && S_ISDIR(tst.st_mode)) {
    // Folder onto folder: its entries go in one by one, then the emptied source goes.
    std::vector<std::string> names;
    if (!ListFolder(source, &names)) return Fail(source, SystemReason());
    bool ok = true;
    for (const std::string& n : names) ok = Move(JoinPath(source, n), JoinPath(target, n)) && ok;
    if (ok && ::rmdir(source.c_str()) != 0) return Fail(source, SystemReason());
    return ok;
  }
  if (exists && S_ISDIR(st.st_mode) != S_ISDIR(tst.st_mode))
    return Fail(target, "種類の異なる項目は置き換えられません");
  Tick(source);
  const bool renamed = replace ? ::rename(source.c_str(), target.c_str()) == 0
                               : RenameNoReplace(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str());
  if (renamed) {
    Done(source, files, bytes);
    return true;
  }
  if (errno != EXDEV) return Fail(source, SystemReason());
  return MoveAcross(source, st, target, replace);
}

// Another file system: copy and flush everything, check the copy, only then delete.
bool TreeOps::MoveAcross(const std::string& source, const struct stat& st, const std::string& target, bool replace) {
  const std::size_t problems_before = problems_.size();
  // One flush of the whole file system below, before anything of the source goes.
  const bool copied = CopyEntry(source, st, target, replace ? Decision::Replace : Decision::Ask, false);
  if (!copied || cancelled_ || problems_.size() != problems_before) {
    if (!cancelled_) Fail(source, "すべてはコピーできなかったため移動元を残しました");
    return false;
  }
  if (!FlushFileSystem(ParentOf(target))) return Fail(source, "コピーを書き出せなかったため移動元を残しました");
  if (!Verify(source, target)) return Fail(source, "コピーの確認に失敗したため移動元を残しました");
  const std::size_t slash = source.find_last_of('/');
  const std::string parent = ParentOf(source);
  Fd dir(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd < 0) return Fail(source, SystemReason());
  count_deletes_ = false;  // the copy counted these files already
  const bool deleted = DeleteAt(dir.fd, slash == std::string::npos ? source : source.substr(slash + 1), source);
  count_deletes_ = true;
  return deleted;
}

bool TreeOps::Verify(const std::string& source, const std::string& target) {
  struct stat s {}, t {};
  if (::lstat(source.c_str(), &s) != 0 || ::lstat(target.c_str(), &t) != 0) return false;
  if ((s.st_mode & S_IFMT) != (t.st_mode & S_IFMT)) return false;
  if (S_ISREG(s.st_mode)) return s.st_size == t.st_size;
  if (!S_ISDIR(s.st_mode)) return true;
  std::vector<std::string> names;
  if (!ListFolder(source, &names)) return false;
  for (const std::string& n : names)
    if (!Verify(JoinPath(source, n), JoinPath(target, n))) return false;
  return true;
}

// ---------------------------------------------------------------- delete and rename

bool TreeOps::Delete(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p == "/") return Fail(p, "ルートフォルダーは削除できません");
  Fd dir(::open(ParentOf(p).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.fd < 0) return Fail(p, SystemReason());
  return DeleteAt(dir.fd, NameOf(p), p);
}

// Below `dir` by descriptor: a link inside the tree is removed as a link, never entered.
bool TreeOps::DeleteAt(int dir, const std::string& name, const std::string& shown) {
  if (!Poll()) return false;
  struct stat st {};
  if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return Fail(shown, SystemReason());
  if (!S_ISDIR(st.st_mode)) {
    Tick(shown);
    if (::unlinkat(dir, name.c_str(), 0) != 0) return Fail(shown, SystemReason());
    if (count_deletes_) Done(shown, 1, S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0);
    return true;
  }
  const int fd = ::openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return Fail(shown, SystemReason());
  DIR* d = ::fdopendir(fd);
  if (!d) {
    ::close(fd);
    return Fail(shown, SystemReason());
  }
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  bool ok = true;
  for (const std::string& n : names) {
    ok = DeleteAt(::dirfd(d), n, JoinPath(shown, n)) && ok;
    if (cancelled_) break;
  }
  ::closedir(d);
  if (!ok || cancelled_) return false;
  if (::unlinkat(dir, name.c_str(), AT_REMOVEDIR) != 0) return Fail(shown, SystemReason());
  return true;
}

bool TreeOps::Rename(const std::string& source, const std::string& target_in) {
  std::string target = target_in;
  struct stat st {};
  if (::lstat(source.c_str(), &st) != 0) return Fail(source, SystemReason());
  if (source == target) return true;
  bool replace = false;
  if (std::optional<bool> settled = Settle(source, st, target, &replace)) return *settled;
  struct stat tst {};
  if (replace && ::lstat(target.c_str(), &tst) == 0 && (S_ISDIR(st.st_mode) || S_ISDIR(tst.st_mode)))
    return Fail(target, "フォルダーは名前の変更で置き換えられません");
  const bool ok = replace ? ::rename(source.c_str(), target.c_str()) == 0
                          : RenameNoReplace(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str());
  if (!ok) return Fail(source, SystemReason());
  Done(source, 1, 0);
  return true;
}

}  // namespace haruvi::fileops
