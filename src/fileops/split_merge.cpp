#include "fileops/split_merge.h"

#include "fileops/flush.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "fileops/copy_data.h"
#include "fileops/fs_util.h"
#include "fileops/save_file.h"

namespace haruvi::fileops {
namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa {}, sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// A regular file opened without blocking on a FIFO or a device.
int OpenRegular(const std::string& path, struct stat* st) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  if (::fstat(fd, st) != 0 || !S_ISREG(st->st_mode)) {
    ::close(fd);
    errno = EINVAL;
    return -2;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string OpenError(const std::string& path, int rc) {
  return path + ": " + (rc == -2 ? std::string("通常のファイルではありません") : SystemReason());
}

}  // namespace

std::string WithExtension(const std::string& file, const std::string& ext) {
  const std::size_t slash = file.find_last_of('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t dot = file.find_last_of('.');
  if (dot == std::string::npos || dot <= start) return file + ext;
  return file.substr(0, dot) + ext;
}

std::string PieceName(const std::string& file, std::uint64_t n) {
  const std::string digits = "000" + std::to_string(n);
  return WithExtension(file, "." + digits.substr(digits.size() - 3));
}

std::uint64_t PieceCount(std::uint64_t file_size, std::uint64_t piece_size) {
  return piece_size == 0 ? 1 : file_size / piece_size + 1;
}

std::optional<std::uint64_t> ParsePieceSize(const std::string& text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t v = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (v == 0) return std::nullopt;
  return v;
}

std::uint64_t PreviewCount(std::uint64_t file_size, const std::string& size_text) {
  const std::optional<std::uint64_t> size = ParsePieceSize(size_text);
  return PieceCount(file_size, size ? *size : 1);
}

std::string SplitRefusal(const std::string& file, std::uint64_t file_size, std::uint64_t piece_size) {
  const std::uint64_t count = PieceCount(file_size, piece_size);
  if (count > kMaxPieces) return std::to_string(count) + "個のﾌｧｲﾙに分割できません。";
  if (SameFile(WithExtension(file, ".bat"), file)) return file + " はバッチ ファイルと同じ名前のため分割できません。";
  for (std::uint64_t i = 1; i <= count; ++i)
    if (SameFile(PieceName(file, i), file)) return file + " は分割ファイルと同じ名前のため分割できません。";
  return {};
}

std::vector<std::string> SplitBatchLines(const std::string& file, std::uint64_t count) {
  const std::string name = NameOf(file);
  std::vector<std::string> lines;
  for (std::uint64_t i = 1; i <= count; ++i) {
    const std::string piece = NameOf(PieceName(file, i));
    lines.push_back(i == 1 ? "COPY /B " + piece + " " + name : "COPY /B " + name + "+" + piece + " " + name);
  }
  return lines;
}

SplitOutcome SplitFile(const std::string& file, std::uint64_t piece_size, const PieceProgress& progress) {
  SplitOutcome out;
  struct stat st {};
  const int in = OpenRegular(file, &st);
  if (in < 0) {
    out.error = OpenError(file, in);
    return out;
  }
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  out.error = piece_size == 0 ? "分割するサイズが正しくありません" : SplitRefusal(file, size, piece_size);
  if (!out.error.empty()) {
    ::close(in);
    return out;
  }
  const std::uint64_t count = PieceCount(size, piece_size);
  for (std::uint64_t i = 1; i <= count; ++i) {
    if (progress && !progress(i, count)) {
      out.cancelled = true;
      break;
    }
    const std::string piece = PieceName(file, i);
    const int fd = ::open(piece.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
      out.error = piece + ": " + SystemReason();
      break;
    }
    const std::uint64_t from = (i - 1) * piece_size;
    const std::uint64_t len = from >= size ? 0 : std::min(piece_size, size - from);
    const DataCopyResult r = CopyRange(in, from, len, fd);
    const bool closed = ::close(fd) == 0;
    if (!r.ok || !closed) {
      out.error = piece + ": " + (r.ok ? SystemReason() : r.error);
      ::unlink(piece.c_str());  // a short piece would join into a wrong file
      break;
    }
    out.pieces.push_back(piece);
  }
  ::close(in);
  if (out.cancelled) return out;
  const std::string batch = WithExtension(file, ".bat");
  const SaveResult saved = SaveFile(batch, Joined(SplitBatchLines(file, out.pieces.size())), false);
  if (saved.ok) out.batch = batch;
  else if (out.error.empty()) out.error = batch + ": " + saved.error;
  out.ok = out.error.empty();
  return out;
}

std::vector<std::string> MergeBatchLines(const std::string& folder, const std::vector<std::string>& entries,
                                         const std::string& target_name) {
  std::vector<std::string> lines;
  const std::string target = folder + target_name;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    lines.push_back(i == 0 ? "COPY /B " + folder + entries[i] + " " + target
                           : "COPY /B " + target + "+" + folder + entries[i] + " " + target);
  }
  return lines;
}

std::string MergeRefusal(const std::string& target, const std::vector<std::string>& sources) {
  for (const std::string& s : sources)
    if (SameFile(s, target)) return target + " は結合するファイルの一つのため結合先にできません。";
  if (SameFile(WithExtension(target, ".bat"), target)) return target + " はバッチ ファイルと同じ名前です。";
  for (const std::string& s : sources)
    if (SameFile(s, WithExtension(target, ".bat"))) return NameOf(s) + " はバッチ ファイルと同じ名前です。";
  return {};
}

MergeOutcome WriteMergeBatch(const std::string& folder, const std::vector<std::string>& entries,
                             const std::string& target_name) {
  MergeOutcome out;
  const std::string batch = WithExtension(folder + target_name, ".bat");
  const std::string bak = WithExtension(folder + target_name, ".bak");
  struct stat st {};
  // An older batch file is kept as NAME.bak (replacing an older one) before the new one.
  if (::lstat(batch.c_str(), &st) == 0 && ::rename(batch.c_str(), bak.c_str()) != 0) {
    out.error = batch + ": " + SystemReason();
    return out;
  }
  const SaveResult saved = SaveFile(batch, Joined(MergeBatchLines(folder, entries, target_name)), false);
  out.ok = saved.ok;
  if (!saved.ok) out.error = batch + ": " + saved.error;
  return out;
}

MergeOutcome MergeFiles(const std::string& target, const std::vector<std::string>& sources) {
  MergeOutcome out;
  out.error = MergeRefusal(target, sources);
  if (!out.error.empty()) return out;
  // Created 0666 so the umask gives it the mode any new file of the user gets.
  std::string temp;
  int fd = -1;
  for (int n = 0; fd < 0 && n < 100; ++n) {
    temp = JoinPath(ParentOf(target), ".haruvi-merge-" + std::to_string(::getpid()) + "-" + std::to_string(n));
    fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    out.error = target + ": " + SystemReason();
    return out;
  }
  bool ok = true;
  for (const std::string& s : sources) {
    struct stat st {};
    const int in = OpenRegular(s, &st);
    if (in < 0) {
      out.error = OpenError(s, in);
      ok = false;
      break;
    }
    const DataCopyResult r = AppendFileData(in, fd, static_cast<std::uint64_t>(st.st_size));
    ::close(in);
    if (!r.ok) {
      out.error = s + ": " + r.error;
      ok = false;
      break;
    }
  }
  // Flushed only when it is to replace a file of that name (see flush.h): a new name
  // gives nothing up, the pieces stay.
  struct stat existing {};
  if (ok && ::lstat(target.c_str(), &existing) == 0 && !FlushFile(fd)) {
    out.error = target + ": " + SystemReason();
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    out.error = target + ": " + SystemReason();
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    out.error = target + ": " + SystemReason();
    ok = false;
  }
  if (!ok) ::unlink(temp.c_str());
  out.ok = ok;
  return out;
}

}  // namespace haruvi::fileops
