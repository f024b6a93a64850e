#include "shellview/listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/text_format.h"

namespace haruvi::shellview {
namespace {

bool IsDotOrDotDot(const char* n) {
  return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return u;
}

template <typename Keep>
bool List(const std::string& folder, std::vector<FileEntry>& out, Keep keep) {
  out.clear();
  DIR* d = ::opendir(folder.c_str());
  if (!d) return false;
  std::string base = WithTrailingSlash(folder);
  int dfd = ::dirfd(d);
  while (dirent* e = ::readdir(d)) {
    if (IsDotOrDotDot(e->d_name)) continue;
    FileEntry f;
    f.name = e->d_name;
    f.path = base + f.name;
    struct stat st {};
    if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
      f.is_link = S_ISLNK(st.st_mode);
      if (f.is_link) {
        // A link shows what it points to (size and date), as the information line does;
        // a dangling one keeps its own.
        struct stat target {};
        if (::fstatat(dfd, e->d_name, &target, 0) == 0) {
          st = target;
          f.is_dir = S_ISDIR(target.st_mode);
        }
      } else {
        f.is_dir = S_ISDIR(st.st_mode);
      }
      f.has_info = true;
      f.size = f.is_dir ? 0 : static_cast<std::uint64_t>(st.st_size);
      f.mtime = st.st_mtime;
    }
    if (keep(f)) out.push_back(std::move(f));
  }
  ::closedir(d);
  std::sort(out.begin(), out.end(),
            [](const FileEntry& a, const FileEntry& b) { return CompareItems(a, b) < 0; });
  return true;
}

}  // namespace

bool ListFolder(const std::string& folder, std::vector<FileEntry>& out) {
  return List(folder, out, [](const FileEntry&) { return true; });
}

bool ListSubfolders(const std::string& folder, std::vector<FileEntry>& out) {
  return List(folder, out, [](const FileEntry& f) { return f.is_dir; });
}

bool HasSubfolder(const std::string& folder) {
  DIR* d = ::opendir(folder.c_str());
  if (!d) return false;
  bool found = false;
  while (!found) {
    dirent* e = ::readdir(d);
    if (!e) break;
    if (IsDotOrDotDot(e->d_name)) continue;
    if (e->d_type == DT_DIR) {
      found = true;
    } else if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
      struct stat st {};
      found = ::fstatat(::dirfd(d), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
  }
  ::closedir(d);
  return found;
}

std::vector<std::string> ParseMask(std::string_view text) {
  std::vector<std::string> mask;
  std::string cur;
  auto flush = [&] {
    std::string_view v = cur;
    if (v.size() >= 1 && v.front() == '*') v.remove_prefix(1);
    if (!v.empty() && v.front() != '.') cur = "." + std::string(v);
    else cur = std::string(v);
    if (cur.size() > 1) mask.push_back(Upper(cur));
    cur.clear();
  };
  for (char c : text) {
    if (c == ';' || c == ',' || c == ' ' || c == '\t') flush();
    else cur.push_back(c);
  }
  flush();
  return mask;
}

bool MaskAccepts(const FileEntry& entry, const std::vector<std::string>& mask) {
  if (mask.empty() || entry.is_dir) return true;
  size_t dot = entry.name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string ext = Upper(std::string_view(entry.name).substr(dot));
  if (ext.size() < 2) return false;
  return std::find(mask.begin(), mask.end(), ext) != mask.end();
}

std::string SizeText(std::uint64_t size) { return platform::FormatThousands(size, 16); }

std::string TimeText(std::time_t t) {
  std::tm tm {};
  ::localtime_r(&t, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%y/%m/%d %H:%M", &tm);
  return buf;
}

int CompareItems(const FileEntry& a, const FileEntry& b) {
  if (a.is_dir != b.is_dir) return a.is_dir ? -1 : 1;
  int c = ::strcasecmp(a.name.c_str(), b.name.c_str());
  if (c != 0) return c < 0 ? -1 : 1;
  return a.name.compare(b.name) < 0 ? -1 : (a.name == b.name ? 0 : 1);
}

std::string ParentFolder(const std::string& path) {
  std::string p = path;
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  size_t slash = p.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return p.substr(0, slash);
}

std::string WithTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

bool IsProgramFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace haruvi::shellview
