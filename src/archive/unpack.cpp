// Safe unpacking; see unpack.h. Every file is created by descriptor below the staging
// folder with O_NOFOLLOW on each step, so a link made by an earlier entry can never be
// written through, whatever libarchive would have allowed.
#include "archive/unpack.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <map>
#include <set>

#include "archive/reader.h"
#include "archive/safe_paths.h"
#include "platform/write_all.h"

namespace haruvi::archive {
namespace {

constexpr std::size_t kMaxDepth = 256;

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

std::string Joined(const std::vector<std::string>& parts) {
  std::string s;
  for (const std::string& p : parts) s += (s.empty() ? "" : "/") + p;
  return s;
}

bool IsTargetItself(std::string_view name);

// One unpacking run: the staging folder and what was made in it.
class Unpacker {
 public:
  Unpacker(const UnpackOptions& options, std::uint64_t archive_size, const LinkView& links, UnpackResult* result)
      : opt_(options), archive_size_(archive_size), links_(links), r_(*result) {}

  // False after a failure that ends the whole run (code and detail set).
  bool Entry(Reader& reader, const archive::Entry& e) {
    const int stage = links_.stage;
    if (++entries_ > opt_.max_entries) return Fail(kErrCommand, "more entries than an unpacking takes",
                                                   "書庫の項目が多すぎるため展開を中止しました。");
    std::vector<std::string> parts;
    if (e.raw_name.empty()) return Refuse(e, Refusal::kUnreadableName);
    // "./" (GNU tar's first entry of `tar czf x.tgz .`) is the target folder: nothing to
    // make for a folder, and a file cannot take its place.
    if (IsTargetItself(e.name)) return e.kind == EntryKind::kFolder ? true : Refuse(e, Refusal::kTargetItself);
    if (!SplitInsideName(e.name, &parts)) return Refuse(e, Refusal::kOutside);
    if (opt_.ignore_folders) {
      if (e.kind == EntryKind::kFolder) return true;
      parts = {parts.back()};
    }
    if (parts.size() > kMaxDepth) return Refuse(e, Refusal::kTooDeep);
    switch (e.kind) {
      case EntryKind::kDevice:
      case EntryKind::kFifo:
      case EntryKind::kSocket: return Refuse(e, Refusal::kDevice);
      case EntryKind::kFolder: {
        Fd fd(OpenFolderPath(stage, parts, parts.size(), true));
        return fd.get() >= 0 ? true : Refuse(e, errno == ENOENT ? Refusal::kCannotWrite : Refusal::kThroughLink);
      }
      case EntryKind::kSymlink: {
        if (opt_.ignore_folders || !links_.StaysInside({parts.begin(), parts.end() - 1}, e.link))
          return Refuse(e, Refusal::kOutside);
        Fd dir(OpenFolderPath(stage, parts, parts.size() - 1, true));
        if (dir.get() < 0) return Refuse(e, Refusal::kThroughLink);
        const std::string leaf = FreeNameIn(dir.get(), parts.back());
        if (symlinkat(e.link.c_str(), dir.get(), leaf.c_str()) != 0) return Refuse(e, Refusal::kCannotWrite);
        Kept(e, parts, leaf);
        return true;
      }
      case EntryKind::kHardlink: {
        std::vector<std::string> target;
        if (!SplitInsideName(e.link, &target) || target.size() > kMaxDepth) return Refuse(e, Refusal::kOutside);
        if (opt_.ignore_folders) target = {target.back()};
        const auto made = files_.find(Joined(target));
        if (made == files_.end()) return Refuse(e, Refusal::kLinkTarget);
        target = made->second;
        Fd from(OpenFolderPath(stage, target, target.size() - 1, false));
        Fd dir(OpenFolderPath(stage, parts, parts.size() - 1, true));
        if (from.get() < 0 || dir.get() < 0) return Refuse(e, Refusal::kThroughLink);
        const std::string leaf = FreeNameIn(dir.get(), parts.back());
        if (linkat(from.get(), target.back().c_str(), dir.get(), leaf.c_str(), 0) != 0)
          return Refuse(e, Refusal::kCannotWrite);
        Made(e, parts, leaf);
        return true;
      }
      case EntryKind::kFile: break;
    }
    Fd dir(OpenFolderPath(stage, parts, parts.size() - 1, true));
    if (dir.get() < 0) return Refuse(e, errno == ENOENT ? Refusal::kCannotWrite : Refusal::kThroughLink);
    const std::string leaf = FreeNameIn(dir.get(), parts.back());
    Fd out(openat(dir.get(), leaf.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (out.get() < 0) return Refuse(e, Refusal::kCannotWrite);
    std::string error;
    bool write_failed = false, over = false, cancelled = false;
    const bool read = reader.ReadData(
        [&](std::string_view piece) {
          if (opt_.cancel && opt_.cancel->load()) return !(cancelled = true);
          r_.bytes += piece.size();
          if (r_.bytes > opt_.max_total ||
              (r_.bytes > opt_.ratio_floor && r_.bytes / (archive_size_ ? archive_size_ : 1) >= opt_.max_ratio))
            return !(over = true);
          if (!platform::WriteAll(out.get(), piece)) return !(write_failed = true);
          return true;
        },
        &error);
    if (cancelled || (!read && reader.Cancelled())) return Fail(kErrUserCancel, "cancelled", "展開を中止しました。");
    if (over)
      return Fail(kErrWrite, "the archive unpacks to more than the limit allows (an archive bomb?)",
                  "展開後の大きさが上限を超えるため展開を中止しました。");
    if (write_failed)
      return errno == ENOSPC ? Fail(kErrDiskSpace, "no space left on the device", "ディスクの空きが足りません。")
                             : Fail(kErrWrite, "cannot write a file", "書き込みエラーが生じました。");
    if (!read) {
      // The file's data is damaged: it goes, the files read whole before it stay.
      out.Close();
      unlinkat(dir.get(), leaf.c_str(), 0);
      return Damaged(kErrRead, error, "書庫のデータが壊れています: " + error);
    }
    fchmod(out.get(), (e.mode & 0777 & ~022u) | 0600);
    if (e.mtime > 0) {
      const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(e.mtime), 0}};
      futimens(out.get(), times);
    }
    Made(e, parts, leaf);
    return true;
  }

  bool Fail(int code, const std::string& detail, const std::string& detail_ja) {
    r_.code = code;
    r_.detail = detail;
    r_.detail_ja = detail_ja;
    return false;
  }
  // The archive cannot be read on from here; what was unpacked so far is kept.
  bool Damaged(int code, const std::string& detail, const std::string& detail_ja) {
    r_.damaged = true;
    return Fail(code, detail, detail_ja);
  }
  // The files made, by their paths below the target.
  const std::vector<std::string>& Written() const { return written_; }

 private:
  bool Refuse(const archive::Entry& e, Refusal why) {
    const int error = why == Refusal::kCannotWrite || why == Refusal::kThroughLink ? errno : 0;
    r_.refused.push_back({NameCodec::ToPane(e.raw_name.empty() ? std::string("?") : e.name), why, error});
    return true;
  }
  // The entry named `parts` was made under `leaf`, reported when that is another name:
  // an entry whose disk name an earlier one took (two stored names that convert to one,
  // an entry stored twice, two files flattened into one folder) is written beside it as
  // "NAME (2)" (FreeNameIn), never over it.
  void Kept(const archive::Entry& e, const std::vector<std::string>& parts, const std::string& leaf) {
    if (leaf == parts.back()) return;
    std::vector<std::string> given(parts.begin(), parts.end() - 1);
    given.push_back(leaf);
    r_.renamed.push_back({NameCodec::ToPane(e.name), NameCodec::ToPane(Joined(given))});
  }
  // A file made under `leaf` for the entry named `parts`: a later hard link to that name
  // reaches this one.
  void Made(const archive::Entry& e, const std::vector<std::string>& parts, const std::string& leaf) {
    Kept(e, parts, leaf);
    std::vector<std::string> where(parts.begin(), parts.end() - 1);
    where.push_back(leaf);
    written_.push_back(Joined(where));
    files_[Joined(parts)] = std::move(where);
  }

  const UnpackOptions& opt_;
  std::uint64_t archive_size_;
  const LinkView& links_;
  UnpackResult& r_;
  std::uint64_t entries_ = 0;
  // Regular files made so far by entry name, with the path each was written to: what a
  // hard link may name.
  std::map<std::string, std::vector<std::string>> files_;
  std::vector<std::string> written_;
};

// A name whose every part is "." or empty: the folder it is unpacked into.
bool IsTargetItself(std::string_view name) {
  if (name.empty() || name.front() == '/') return false;
  std::size_t i = 0;
  while (i <= name.size()) {
    std::size_t j = name.find('/', i);
    if (j == std::string_view::npos) j = name.size();
    const std::string_view part = name.substr(i, j - i);
    if (!part.empty() && part != ".") return false;
    i = j + 1;
  }
  return true;
}

// Whether `path` or a folder it lies in is one of `kept`.
bool Within(const std::string& path, const std::set<std::string>& kept) {
  for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1))
    if (kept.count(path.substr(0, slash))) return true;
  return kept.count(path) > 0;
}

std::string MakeStaging(int target) {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = ".haruvi-unpack-" + std::to_string(rd() % 1000000000u);
    if (mkdirat(target, name.c_str(), 0700) == 0) return name;
    if (errno != EEXIST) break;
  }
  return {};
}

}  // namespace

const char* RefusalText(Refusal r) {
  switch (r) {
    case Refusal::kUnreadableName: return "the name cannot be read";
    case Refusal::kOutside: return "it would be written outside the folder";
    case Refusal::kDevice: return "devices, FIFOs and sockets are not unpacked";
    case Refusal::kLinkTarget: return "a hard link to nothing unpacked before";
    case Refusal::kThroughLink: return "its folder is a link or a file";
    case Refusal::kCannotWrite: return "cannot be created";
    case Refusal::kTooDeep: return "too many folder levels";
    case Refusal::kTargetItself: return "a file cannot take the place of the folder it is unpacked into";
  }
  return "";
}

const char* RefusalTextJa(Refusal r) {
  switch (r) {
    case Refusal::kUnreadableName: return "名前を読めません";
    case Refusal::kOutside: return "展開先フォルダーの外を指しています";
    case Refusal::kDevice: return "デバイスなどの特殊ファイルは展開しません";
    case Refusal::kLinkTarget: return "リンク先が書庫内にありません";
    case Refusal::kThroughLink: return "フォルダーの位置にリンクかファイルがあります";
    case Refusal::kCannotWrite: return "作成できません";
    case Refusal::kTooDeep: return "フォルダーの階層が深すぎます";
    case Refusal::kTargetItself: return "展開先フォルダーそのものの名前です";
  }
  return "";
}

UnpackResult Unpack(const std::string& archive_path, const std::string& folder, const UnpackOptions& options) {
  UnpackResult result;
  Reader reader;
  std::string error;
  if (!reader.Open(archive_path, &error, ReadControl{options.decode_ahead, options.cancel, options.progress})) {
    const bool cancelled = reader.Cancelled();
    result.code = cancelled ? kErrUserCancel : kErrNotArchive;
    result.detail = error;
    result.detail_ja = cancelled ? "展開を中止しました。" : "書庫を開けません: " + error;
    return result;
  }
  struct stat st {};
  stat(archive_path.c_str(), &st);
  Fd target(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (target.get() < 0) {
    result.code = kErrMakeDirectory;
    result.detail = folder + ": not a folder that can be opened";
    result.detail_ja = "展開先フォルダーを開けません。";
    return result;
  }
  const std::string staging = MakeStaging(target.get());
  if (staging.empty()) {
    result.code = kErrMakeDirectory;
    result.detail = folder + ": cannot create a folder there";
    result.detail_ja = "展開先フォルダーに書き込めません。";
    return result;
  }
  bool ok = true;
  {
    Fd stage(openat(target.get(), staging.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    const LinkView links{stage.get(), target.get(), options.overwrite};
    Unpacker unpacker(options, static_cast<std::uint64_t>(st.st_size), links, &result);
    if (stage.get() < 0) ok = unpacker.Fail(kErrMakeDirectory, "cannot open the staging folder", "作業フォルダーを開けません。");
    Entry e;
    while (ok) {
      const int got = reader.Next(&e, &error);
      if (got == 0) break;
      if (got < 0) {
        ok = reader.Cancelled() ? unpacker.Fail(kErrUserCancel, "cancelled", "展開を中止しました。")
                                : unpacker.Damaged(kErrBrokenHeader, error, "書庫のヘッダが壊れています: " + error);
        break;
      }
      ok = unpacker.Entry(reader, e);
    }
    if (ok || result.damaged) {
      MergeInto(stage.get(), target.get(), options.overwrite, "", &result.kept);
      const std::set<std::string> kept(result.kept.begin(), result.kept.end());
      for (const std::string& path : unpacker.Written())
        if (!Within(path, kept)) result.written.push_back(NameCodec::ToPane(path));
      result.files = result.written.size();
    }
  }
  RemoveTree(target.get(), staging);
  if (ok && (!result.kept.empty() || !result.renamed.empty()) && result.code == kOk) result.code = kErrAlreadyExists;
  return result;
}

}  // namespace haruvi::archive
