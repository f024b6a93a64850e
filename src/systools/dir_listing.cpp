// The internal "dir" listing: reading a folder, filtering, sorting and writing its lines.
#include "systools/dir_listing.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <ctime>
#include <vector>

#include "platform/text_format.h"

namespace haruvi::systools {
namespace {

struct Entry {
  std::string name;
  bool dir = false;
  bool link = false;
  bool readonly = false, hidden = false, system = false, archive = false;
  std::uint64_t size = 0;
  std::time_t mtime = 0, atime = 0;
};

bool Has(const Entry& e, char letter) {
  switch (letter) {
    case 'D': return e.dir;
    case 'R': return e.readonly;
    case 'H': return e.hidden;
    case 'S': return e.system;
    case 'A': return e.archive;
  }
  return false;
}

// Attribute letters as the information line reads them (docs/PLATFORM.md).
Entry Describe(const std::string& folder, const std::string& name) {
  Entry e;
  e.name = name;
  const std::string path = folder + (folder.ends_with('/') ? "" : "/") + name;
  struct stat st {};
  struct stat lst {};
  const bool have_l = ::lstat(path.c_str(), &lst) == 0;
  e.link = have_l && S_ISLNK(lst.st_mode);
  // A link shows what it points to; a dangling one its own entry.
  if (::stat(path.c_str(), &st) != 0) st = lst;
  e.dir = S_ISDIR(st.st_mode);
  e.readonly = (st.st_mode & S_IWUSR) == 0;
  e.hidden = !name.empty() && name[0] == '.' && name != "." && name != "..";
  e.system = !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
  e.archive = S_ISREG(st.st_mode);
  e.size = e.dir ? 0 : static_cast<std::uint64_t>(st.st_size);
  e.mtime = st.st_mtime;
  e.atime = st.st_atime;
  return e;
}

bool Shown(const Entry& e, const DirRequest& r) {
  if (e.name == "." || e.name == "..") return r.attributes.empty() || (r.attributes.size() == 1 && r.attributes[0].letter == 'D' && !r.attributes[0].negated);
  if (r.attributes.empty()) return r.any_attributes || (!e.hidden && !e.system);
  for (const AttrTest& t : r.attributes)
    if (Has(e, t.letter) == t.negated) return false;
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Extension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return (dot == std::string::npos || dot == 0) ? std::string() : Lower(name.substr(dot + 1));
}

void Sort(std::vector<Entry>& v, const std::vector<SortKey>& keys) {
  // By name first, so entries the keys call equal come in name order, not the disk's.
  std::sort(v.begin(), v.end(), [](const Entry& a, const Entry& b) { return Lower(a.name) < Lower(b.name); });
  std::stable_sort(v.begin(), v.end(), [&](const Entry& a, const Entry& b) {
    // "." and ".." always lead, as the old listing has them.
    const bool da = a.name == "." || a.name == "..", db = b.name == "." || b.name == "..";
    if (da != db) return da;
    if (da) return a.name.size() < b.name.size();
    for (const SortKey& k : keys) {
      int c = 0;
      switch (k.letter) {
        case 'N': c = Lower(a.name).compare(Lower(b.name)); break;
        case 'E': c = Extension(a.name).compare(Extension(b.name)); break;
        case 'S': c = a.size < b.size ? -1 : a.size > b.size ? 1 : 0; break;
        case 'D': c = a.mtime < b.mtime ? -1 : a.mtime > b.mtime ? 1 : 0; break;
        case 'A': c = a.atime < b.atime ? -1 : a.atime > b.atime ? 1 : 0; break;
        case 'G': c = a.dir == b.dir ? 0 : (a.dir ? -1 : 1); break;
      }
      if (c != 0) return k.reversed ? c > 0 : c < 0;
    }
    return false;
  });
}

std::string Stamp(std::time_t t) {
  std::tm tm {};
  ::localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y/%m/%d  %H:%M", &tm);
  return buf;
}

std::string Pad(std::string s, size_t width, bool right) {
  if (s.size() >= width) return s;
  return right ? std::string(width - s.size(), ' ') + s : s + std::string(width - s.size(), ' ');
}

std::string Join(const std::string& folder, const std::string& name) {
  return folder + (folder.ends_with('/') ? "" : "/") + name;
}

struct Totals {
  std::uint64_t files = 0, dirs = 0, bytes = 0;
};

class Lister {
 public:
  Lister(const DirRequest& r, std::string pattern, const std::atomic<bool>* stop)
      : r_(r), pattern_(std::move(pattern)), stop_(stop) {}

  bool Stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

  // Lists one folder, then (with /S) its subfolders; false when stopped.
  bool Folder(const std::string& folder, DirListing& out, Totals& all, bool top) {
    if (Stopped()) return false;
    DIR* d = ::opendir(folder.c_str());
    if (!d) {
      if (top) out.error = "ディレクトリを読めません: " + folder;
      return true;
    }
    std::vector<Entry> entries;
    std::vector<std::string> subfolders;
    while (dirent* de = ::readdir(d)) {
      if (Stopped()) break;
      const std::string name = de->d_name;
      if (name == "." || name == "..") {
        if (folder == "/" || r_.form == DirForm::Bare || !pattern_.empty()) continue;
      } else if (!pattern_.empty() && ::fnmatch(pattern_.c_str(), name.c_str(), FNM_PERIOD) != 0) {
        // With /S a pattern applies in every subfolder, so a folder it leaves out is still walked.
        if (r_.subfolders) {
          const Entry e = Describe(folder, name);
          if (e.dir && !e.link) subfolders.push_back(name);
        }
        continue;
      }
      Entry e = Describe(folder, name);
      if (r_.subfolders && e.dir && !e.link && name != "." && name != "..") subfolders.push_back(name);
      if (Shown(e, r_)) entries.push_back(std::move(e));
    }
    ::closedir(d);
    if (Stopped()) return false;
    Sort(entries, r_.sort.empty() ? std::vector<SortKey>{{'N', false}} : r_.sort);
    Write(folder, entries, out, all);
    if (!r_.subfolders) return true;
    std::sort(subfolders.begin(), subfolders.end());
    for (const std::string& s : subfolders)
      if (!Folder(Join(folder, s), out, all, false)) return false;
    return true;
  }

 private:
  std::string Name(const Entry& e) const { return r_.lower ? Lower(e.name) : e.name; }

  void Write(const std::string& folder, const std::vector<Entry>& entries, DirListing& out, Totals& all) {
    Totals here;
    for (const Entry& e : entries) {
      if (e.dir) ++here.dirs;
      else {
        ++here.files;
        here.bytes += e.size;
      }
    }
    all.files += here.files;
    all.dirs += here.dirs;
    all.bytes += here.bytes;
    std::string& t = out.text;
    if (r_.form == DirForm::Bare) {
      for (const Entry& e : entries) t += (r_.subfolders ? Join(folder, Name(e)) : Name(e)) + "\n";
      return;
    }
    if (entries.empty() && r_.subfolders) return;  // a subfolder with nothing to show stays out
    t += " " + folder + " のディレクトリ\n\n";
    if (r_.form == DirForm::Wide) {
      size_t width = 0;
      for (const Entry& e : entries) width = std::max(width, Name(e).size() + (e.dir ? 2 : 0));
      width += 2;
      const size_t per_line = std::max<size_t>(1, 79 / std::max<size_t>(width, 1));
      size_t col = 0;
      for (const Entry& e : entries) {
        const std::string n = e.dir ? "[" + Name(e) + "]" : Name(e);
        t += ++col == per_line ? n + "\n" : Pad(n, width, false);
        if (col == per_line) col = 0;
      }
      if (col != 0) t += "\n";
    } else {
      for (const Entry& e : entries) {
        std::string line = Stamp(e.mtime) + "    " +
                           (e.dir ? std::string("<DIR>         ") : Pad(platform::FormatThousands(e.size), 14, true));
        if (r_.form == DirForm::Verbose) {
          std::string attrs;
          attrs += e.readonly ? 'R' : '-';
          attrs += e.hidden ? 'H' : '-';
          attrs += e.system ? 'S' : '-';
          attrs += e.archive ? 'A' : '-';
          line += " " + attrs + "  " + Stamp(e.atime);
        }
        t += line + " " + Name(e) + "\n";
      }
    }
    t += Pad(std::to_string(here.files), 16, true) + " 個のファイル" +
         Pad(platform::FormatThousands(here.bytes), 18, true) + " バイト\n";
    if (!r_.subfolders) t += Pad(std::to_string(here.dirs), 16, true) + " 個のディレクトリ";
    else t += "\n";
  }

  const DirRequest& r_;
  std::string pattern_;
  const std::atomic<bool>* stop_;
};

}  // namespace

DirListing ListDirectory(const DirRequest& request, const std::atomic<bool>* stop) {
  DirListing out;
  if (!request.error.empty()) {
    out.error = "スイッチが無効です - " + request.error;
    return out;
  }
  std::string folder = request.path.empty() ? std::string(".") : request.path;
  std::string pattern;
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    // "folder/pattern": the last part names the entries to show.
    const size_t slash = folder.rfind('/');
    pattern = slash == std::string::npos ? folder : folder.substr(slash + 1);
    folder = slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : folder.substr(0, slash));
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      out.error = "ファイルが見つかりません: " + request.path;
      return out;
    }
    if (pattern.find_first_of("*?[") == std::string::npos && ::access(Join(folder, pattern).c_str(), F_OK) != 0) {
      out.error = "ファイルが見つかりません: " + request.path;
      return out;
    }
  }
  Lister lister(request, pattern, stop);
  Totals all;
  const bool done = lister.Folder(folder, out, all, true);
  out.stopped = !done;
  if (!out.error.empty() || request.form == DirForm::Bare) return out;
  if (request.subfolders) {
    out.text += "     ファイルの総数:\n" + Pad(std::to_string(all.files), 16, true) + " 個のファイル" +
                Pad(platform::FormatThousands(all.bytes), 18, true) + " バイト\n" +
                Pad(std::to_string(all.dirs), 16, true) + " 個のディレクトリ";
  }
  struct statvfs vfs {};
  std::uint64_t free_bytes = 0;
  if (::statvfs(folder.c_str(), &vfs) == 0) free_bytes = static_cast<std::uint64_t>(vfs.f_bavail) * vfs.f_frsize;
  out.text += Pad(platform::FormatThousands(free_bytes), 16, true) + " バイトの空き領域\n";
  return out;
}

}  // namespace haruvi::systools
