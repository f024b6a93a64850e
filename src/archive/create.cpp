// Creating archives; see create.h. The inputs are gathered first (so nothing is
// written when none can be packed), then one sink per format writes the temporary file.
#include "archive/create.h"

#include <archive.h>
#include <archive_entry.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <set>

#include "archive/archive_sinks.h"
#include "archive/name_codec.h"
#include "archive/reader.h"
#include "encoding/display_name.h"

namespace haruvi::archive {
namespace {

constexpr std::size_t kMaxDepth = 256;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return out;
}

bool EndsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The stored form of a name as given: no leading "/" or "./", no empty or "." parts;
// false for a ".." part.
bool StoredName(std::string_view given, std::string* stored) {
  stored->clear();
  std::size_t i = 0;
  while (i <= given.size()) {
    std::size_t j = given.find('/', i);
    if (j == std::string_view::npos) j = given.size();
    const std::string_view part = given.substr(i, j - i);
    if (part == "..") return false;
    if (!part.empty() && part != ".") {
      if (!stored->empty()) stored->push_back('/');
      stored->append(part);
    }
    i = j + 1;
  }
  return !stored->empty();
}

class Gatherer {
 public:
  Gatherer(const std::string& base, bool base_names, dev_t skip_dev, ino_t skip_ino, CreateResult* result)
      : base_(base), base_names_(base_names), skip_dev_(skip_dev), skip_ino_(skip_ino), r_(*result) {}

  void Add(const std::string& given) {
    std::string stored;
    if (base_names_ && given.front() == '/') {
      std::string trimmed = given;
      while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
      const std::string name = trimmed.substr(trimmed.rfind('/') + 1);
      if (name.empty() || name == "." || name == "..") {
        r_.skipped.push_back({given, "no name to store it under"});
        return;
      }
      Walk(trimmed, name, 0);
      return;
    }
    if (!StoredName(given, &stored)) {
      r_.skipped.push_back({given, "a name with \"..\" would unpack outside its folder"});
      return;
    }
    const std::string path = (given.front() == '/' || base_.empty()) ? given : base_ + "/" + given;
    Walk(path, stored, 0);
  }
  std::vector<Item>& items() { return items_; }

 private:
  void Walk(const std::string& path, const std::string& stored, std::size_t depth) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) {
      r_.skipped.push_back({stored, std::strerror(errno)});
      return;
    }
    if (st.st_dev == skip_dev_ && st.st_ino == skip_ino_) return;  // the archive itself
    if (!seen_.insert(stored).second) return;
    if (S_ISREG(st.st_mode) || S_ISLNK(st.st_mode)) {
      items_.push_back({path, stored, st});
      return;
    }
    if (!S_ISDIR(st.st_mode)) {
      r_.skipped.push_back({stored, "not a regular file, folder or link"});
      return;
    }
    items_.push_back({path, stored, st});
    if (depth >= kMaxDepth) {
      r_.skipped.push_back({stored, "too many folder levels"});
      return;
    }
    DIR* d = opendir(path.c_str());
    if (!d) {
      r_.skipped.push_back({stored, std::strerror(errno)});
      return;
    }
    std::vector<std::string> names;
    while (const dirent* e = readdir(d)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) Walk(path + "/" + n, stored + "/" + n, depth + 1);
  }

  std::string base_;
  bool base_names_;
  dev_t skip_dev_;
  ino_t skip_ino_;
  CreateResult& r_;
  std::vector<Item> items_;
  std::set<std::string> seen_;
};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Entries of the old archive that the new files do not replace, into the sink.
bool CarryOver(const std::string& archive_path, const std::set<std::string>& replaced, Sink& sink,
               CreateResult* r) {
  Reader reader;
  std::string error;
  if (!reader.Open(archive_path, &error)) {
    r->code = kErrNotArchive;
    r->detail = archive_path + ": " + error;
    r->detail_ja = "既存の書庫を読めません。";
    return false;
  }
  Entry e;
  for (;;) {
    const int got = reader.Next(&e, &error);
    if (got == 0) return true;
    std::string data;
    if (got < 0 || !reader.ReadData([&](std::string_view piece) { data.append(piece); return true; }, &error)) {
      r->code = kErrBrokenHeader;
      r->detail = archive_path + ": " + error;
      r->detail_ja = "既存の書庫が壊れています。";
      return false;
    }
    std::string stored;
    if (!StoredName(e.name, &stored) || replaced.count(stored)) continue;
    if (!sink.AddCarried(e, stored, data, &error)) {
      r->skipped.push_back({stored, error});
      continue;
    }
  }
}

}  // namespace

bool ParseCreateFormat(std::string_view word, CreateFormat* format) {
  static const std::pair<const char*, CreateFormat> kWords[] = {
      {"lzh", CreateFormat::kLzh}, {"zip", CreateFormat::kZip}, {"tar", CreateFormat::kTar},
      {"tgz", CreateFormat::kTgz}, {"bz2", CreateFormat::kBz2}, {"cab", CreateFormat::kCab}};
  for (const auto& [w, f] : kWords)
    if (Lower(word) == w) {
      *format = f;
      return true;
    }
  return false;
}

bool FormatForName(std::string_view archive_path, CreateFormat* format) {
  const std::string name = Lower(archive_path);
  if (EndsWith(name, ".lzh")) *format = CreateFormat::kLzh;
  else if (EndsWith(name, ".zip")) *format = CreateFormat::kZip;
  else if (EndsWith(name, ".tar")) *format = CreateFormat::kTar;
  else if (EndsWith(name, ".tgz") || EndsWith(name, ".gz")) *format = CreateFormat::kTgz;
  else if (EndsWith(name, ".bz2")) *format = CreateFormat::kBz2;
  else if (EndsWith(name, ".cab")) *format = CreateFormat::kCab;
  else return false;
  return true;
}

CreateResult CreateArchive(CreateFormat format, const std::string& archive_path, const std::vector<std::string>& files,
                           const std::string& base, const CreateOptions& options) {
  CreateResult r;
  if (archive_path.empty()) {
    r.code = kErrNoArchiveName;
    r.detail = "no archive name";
    r.detail_ja = "書庫のファイル名が指定されていません。";
    return r;
  }
  struct stat old {};
  const bool exists = stat(archive_path.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    r.code = kErrOpenFile;
    r.detail = archive_path + ": exists and is not a regular file";
    r.detail_ja = "同じ名前のファイル以外のものがあります。";
    return r;
  }
  Gatherer gather(base, options.base_names, exists ? old.st_dev : 0, exists ? old.st_ino : 0, &r);
  for (const std::string& f : files)
    if (!f.empty()) gather.Add(f);
  if (gather.items().empty() && !(options.update && exists)) {
    r.code = kErrNoFile;
    r.detail = "nothing to pack";
    r.detail_ja = "圧縮するファイルがありません。";
    return r;
  }
  std::unique_ptr<Sink> sink = MakeSink(format, &r);
  if (!sink) return r;
  for (const Item& item : gather.items()) sink->raw_names = sink->raw_names || !encoding::IsValidUtf8(item.stored);

  // The new archive goes under a temporary name in the same folder, so the final rename
  // replaces the old one in one step.
  const std::string folder = FolderOf(archive_path);
  const std::size_t slash = archive_path.rfind('/');
  std::string temp = folder + "/." + archive_path.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    r.code = kErrTempFile;
    r.detail = folder + ": cannot create a file there: " + std::strerror(errno);
    r.detail_ja = "作業ファイルが作成できません。";
    return r;
  }
  bool ok = sink->Open(fd, temp, &r);
  if (ok && options.update && exists) {
    std::set<std::string> replaced;
    for (const Item& item : gather.items()) replaced.insert(item.stored);
    ok = CarryOver(archive_path, replaced, *sink, &r);
  }
  for (const Item& item : gather.items()) {
    if (!ok) break;
    if (options.cancel && options.cancel->load()) {
      r.code = kErrUserCancel;
      r.detail = "cancelled";
      r.detail_ja = "ユーザーによって処理を中断されました。";
      ok = false;
      break;
    }
    std::string error;
    const int added = sink->Add(item, &error);
    if (added > 0) {
      r.added.push_back(item.stored);
      r.bytes += S_ISREG(item.st.st_mode) ? static_cast<std::uint64_t>(item.st.st_size) : 0;
    } else if (added == 0) {
      r.skipped.push_back({item.stored, error});
    } else {
      r.code = kErrWrite;
      r.detail = error;
      r.detail_ja = "書き込みエラーが生じました。";
      ok = false;
    }
  }
  std::string error;
  if (ok && !sink->Finish(&error)) {
    r.code = kErrWrite;
    r.detail = error;
    r.detail_ja = "書き込みエラーが生じました。";
    ok = false;
  }
  ok = ok && fsync(fd) == 0;
  close(fd);
  if (ok) fchmodat(AT_FDCWD, temp.c_str(), exists ? (old.st_mode & 07777) : 0644, 0);
  if (!ok || rename(temp.c_str(), archive_path.c_str()) != 0) {
    unlink(temp.c_str());
    if (r.code == kOk) {
      r.code = kErrWrite;
      r.detail = archive_path + ": cannot write the archive";
      r.detail_ja = "書き込みエラーが生じました。";
    }
    r.added.clear();
  }
  return r;
}

}  // namespace haruvi::archive
