#include "fileops/shfop.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "fileops/fs_util.h"
#include "fileops/trash.h"
#include "fileops/tree_ops.h"
#include "platform/system_error.h"

namespace haruvi::fileops {
namespace {

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Letters(const std::string& name, const struct stat& st) {
  std::string a;
  if (!(st.st_mode & S_IWUSR)) a += 'R';
  if (!name.empty() && name[0] == '.') a += 'H';
  if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode)) a += 'S';
  if (S_ISREG(st.st_mode)) a += 'A';
  return a;
}

}  // namespace

std::string ApplyRenameMask(const std::string& mask, const std::string& name) {
  std::string out;
  std::size_t n = 0;
  for (std::size_t m = 0; m < mask.size(); ++m) {
    const char c = mask[m];
    if (c == '?') {
      if (n < name.size() && name[n] != '.') out += name[n++];
    } else if (c == '*') {
      // Up to the name's last "." when the pattern goes on with one, else to the end.
      std::size_t stop = name.size();
      if (m + 1 < mask.size() && mask[m + 1] == '.') {
        const std::size_t dot = name.find_last_of('.');
        stop = (dot == std::string::npos || dot < n) ? name.size() : dot;
      }
      out += name.substr(n, stop - n);
      n = stop;
    } else if (c == '.') {
      // The pattern's dot stands at the name's next dot.
      out += c;
      const std::size_t dot = name.find('.', n);
      n = dot == std::string::npos ? name.size() : dot + 1;
    } else {
      // Any other character takes the place of one of the name's.
      out += c;
      if (n < name.size() && name[n] != '.') ++n;
    }
  }
  while (!out.empty() && out.back() == '.') out.pop_back();
  return out;
}

std::string FreeName(const std::string& path) {
  const std::string folder = ParentOf(path);
  const std::string name = NameOf(path);
  const std::size_t dot = name.find_last_of('.');
  const bool ext = dot != std::string::npos && dot > 0;
  const std::string stem = ext ? name.substr(0, dot) : name;
  const std::string tail = ext ? name.substr(dot) : "";
  for (int n = 2;; ++n) {
    const std::string candidate = JoinPath(folder, stem + " (" + std::to_string(n) + ")" + tail);
    struct stat st {};
    if (::lstat(candidate.c_str(), &st) != 0) return candidate;
  }
}

std::vector<std::string> TSHFOP::ExpandSources() {
  std::vector<std::string> sources;
  for (const std::string& line : FromFFList) {
    if (line.empty()) continue;
    // A name that exists is itself, even with "*" or "?" in it (Linux allows them).
    struct stat st {};
    if (!HasWildcard(NameOf(line)) || ::lstat(line.c_str(), &st) == 0) {
      sources.push_back(line);
      continue;
    }
    // The pattern stands for the matching entries of its folder, in name order.
    const std::string folder = ParentOf(line);
    const std::string pattern = NameOf(line);
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
      while (dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        if (::fnmatch(pattern.c_str(), n.c_str(), 0) == 0) names.push_back(n);
      }
      ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
      const std::string p = JoinPath(folder, n);
      if (Options.Has(FILESONLY) && IsFolder(p)) continue;
      sources.push_back(p);
    }
  }
  return sources;
}

void TSHFOP::AddFile(const std::string& path, const struct stat& st) {
  FileListEntry e;
  e.path = path;
  if (GetFileList) e.info = FileInfo{NameOf(path), Letters(NameOf(path), st), st};
  file_list_.push_back(std::move(e));
  if (S_ISREG(st.st_mode)) total_bytes_ += static_cast<std::uint64_t>(st.st_size);
}

// Every file below a source, depth first; links are files here, never entered.
void TSHFOP::Resolve(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return;
  if (!S_ISDIR(st.st_mode)) {
    AddFile(path, st);
    return;
  }
  std::vector<std::string> names;
  if (DIR* d = ::opendir(path.c_str())) {
    while (dirent* e = ::readdir(d)) {
      const std::string n = e->d_name;
      if (n != "." && n != "..") names.push_back(n);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& n : names) Resolve(JoinPath(path, n));
}

bool TSHFOP::Execute(FileOpUi* ui) {
  if (OperationF != wDELETE && ToFolder.empty()) return false;
  file_list_.clear();
  problems_.clear();
  total_bytes_ = 0;
  if (FromFFList.empty()) return false;
  const std::vector<std::string> sources = ExpandSources();
  for (const std::string& s : sources) Resolve(s);
  if (ui) {
    // The counts are known before the first question: the progress says them at once.
    ProgressInfo counted;
    counted.files_total = file_list_.size();
    counted.bytes_total = total_bytes_;
    ui->Progress(counted);
  }

  // A rename pattern "*.ext" takes the whole old name before the extension: "?*.ext".
  if (OperationF == wRENAME) {
    const std::string name = NameOf(ToFolder);
    if (name.size() > 1 && name[0] == '*' && name.find('.') == 1) {
      ToFolder.insert(ToFolder.size() - name.size(), "?");
    }
  }

  bool exec = true;
  if (OnPrepared) OnPrepared(*this, exec);

  if ((OperationF == wCOPY || OperationF == wMOVE) && !Options.Has(MULTIDESTFILES) && !IsFolder(ToFolder)) {
    if (!Options.Has(NOCONFIRMMKDIR)) {
      if (!ui || !ui->AskCreateFolder(ToFolder)) return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(ToFolder, ec);
    if (ec || !IsFolder(ToFolder))
      throw FileOpError(ec ? "ディレクトリを作成することができません: " + platform::SystemErrorText(ec.value())
                           : "ディレクトリを作成することができません");
  }
  if (!exec) {
    aborted_ = true;
    return false;
  }
  aborted_ = false;
  const bool ok = RunOperation(sources, ui);
  return ok && !aborted_;
}

bool TSHFOP::RunOperation(const std::vector<std::string>& sources, FileOpUi* ui) {
  if (sources.empty()) {
    problems_.push_back({FromFFList.front(), "ファイルが見つかりません"});
    return false;
  }
  ProgressInfo totals;
  totals.files_total = file_list_.size();
  totals.bytes_total = total_bytes_;
  TreeOps ops(ui, Options, problems_, totals);
  std::vector<std::string> targets;
  if (Options.Has(MULTIDESTFILES) && OperationF != wDELETE) {
    // Names may hold any byte but "/" and NUL, a line feed too: the targets come as a list.
    targets = ToFiles.empty() ? std::vector<std::string>{ToFolder} : ToFiles;
    if (targets.size() != sources.size()) {
      problems_.push_back({ToFolder, "コピー先の数がコピー元の数と合いません"});
      return false;
    }
  }
  TrashSession trash([&] {
    TrashPlace p = UserTrashPlace();
    if (!trash_data_home.empty()) p.data_home = trash_data_home;
    p.sync_each = false;  // one flush per trash at the end
    return p;
  }());
  bool ok = true;
  for (std::size_t i = 0; i < sources.size() && !ops.cancelled(); ++i) {
    const std::string& s = sources[i];
    std::string target = targets.empty() ? JoinPath(ToFolder, NameOf(s)) : targets[i];
    switch (OperationF) {
      case wCOPY: ok = ops.Copy(s, target) && ok; break;
      case wMOVE: ok = ops.Move(s, target) && ok; break;
      case wDELETE:
        if (Options.Has(ALLOWUNDO)) {
          std::uint64_t files = 0, bytes = 0;
          CountEntry(s, &files, &bytes);
          const TrashResult t = trash.Move(s);
          if (t.ok) {
            ops.Done(s, files, bytes);
          } else {
            ok = false;
            problems_.push_back({s, t.error});
          }
          if (ui && ui->Cancelled()) aborted_ = true;
        } else {
          ok = ops.Delete(s) && ok;
        }
        break;
      case wRENAME: {
        const std::string name = HasWildcard(NameOf(ToFolder)) ? ApplyRenameMask(NameOf(ToFolder), NameOf(s))
                                                                : NameOf(ToFolder);
        const std::string folder = ToFolder.find('/') != std::string::npos ? ParentOf(ToFolder) : ParentOf(s);
        if (name.empty() || name == "." || name == "..") {
          problems_.push_back({s, "その名前は使えません"});
          ok = false;
          break;
        }
        ok = ops.Rename(s, JoinPath(folder, name)) && ok;
        break;
      }
    }
    if (aborted_) break;
  }
  // Copies and moves flushed what needed it as they went (fileops/flush.h).
  trash.Sync();
  if (ops.cancelled()) aborted_ = true;
  return ok;
}

}  // namespace haruvi::fileops
