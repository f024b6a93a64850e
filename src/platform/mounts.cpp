#include "platform/mounts.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace haruvi::platform {
namespace {

// mountinfo escapes blanks, tabs, newlines and backslashes as \ooo.
std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3' && s[i + 2] >= '0' && s[i + 2] <= '7' &&
        s[i + 3] >= '0' && s[i + 3] <= '7') {
      out.push_back(static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

bool Under(const std::string& path, const std::string& prefix) {
  return path == prefix || (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
                            path[prefix.size()] == '/');
}

}  // namespace

bool IsPseudoFileSystem(const std::string& fs_type, const std::string& mount_point) {
  static const std::set<std::string> kPseudo = {
      "proc",     "sysfs",     "devtmpfs",   "devpts",     "cgroup",   "cgroup2",
      "securityfs", "debugfs", "tracefs",    "pstore",     "bpf",      "mqueue",
      "hugetlbfs", "configfs", "fusectl",    "binfmt_misc", "autofs",  "efivarfs",
      "rpc_pipefs", "nsfs",    "selinuxfs",  "squashfs",   "ramfs"};
  if (kPseudo.count(fs_type)) return true;
  for (const char* p : {"/proc", "/sys", "/dev", "/run"})
    if (Under(mount_point, p)) return true;
  return false;
}

std::vector<Mount> ParseMountInfo(const std::string& text) {
  std::vector<Mount> mounts;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    // id parent major:minor root mount-point options [optional...] - fstype source superopts
    std::istringstream fields(line);
    std::vector<std::string> f{std::istream_iterator<std::string>(fields), {}};
    auto dash = std::find(f.begin(), f.end(), "-");
    if (f.size() < 5 || dash == f.end() || dash + 1 == f.end()) continue;
    Mount m;
    m.path = Unescape(f[4]);
    m.fs_type = *(dash + 1);
    m.pseudo = IsPseudoFileSystem(m.fs_type, m.path);
    mounts.push_back(std::move(m));
  }
  return mounts;
}

std::vector<Mount> ReadMounts() {
  std::ifstream in("/proc/self/mountinfo");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto mounts = ParseMountInfo(text);
  if (mounts.empty()) mounts.push_back({"/", "unknown", false});
  return mounts;
}

std::vector<Mount> RealMounts() {
  std::vector<Mount> real;
  std::set<std::string> seen;
  for (Mount& m : ReadMounts())
    if (!m.pseudo && seen.insert(m.path).second) real.push_back(std::move(m));
  std::sort(real.begin(), real.end(), [](const Mount& a, const Mount& b) {
    if ((a.path == "/") != (b.path == "/")) return a.path == "/";
    return a.path < b.path;
  });
  return real;
}

std::string DriveRoot(const std::string& path, const std::vector<Mount>& mounts) {
  std::string best = "/";
  for (const Mount& m : mounts)
    if (Under(path, m.path) && m.path.size() > best.size()) best = m.path;
  return best;
}

std::string DriveRoot(const std::string& path) { return DriveRoot(path, ReadMounts()); }

DriveSpace DriveSpaceOf(const std::string& path) {
  struct statvfs fs {};
  if (::statvfs(path.c_str(), &fs) != 0) return {};
  return {static_cast<std::uint64_t>(fs.f_blocks) * fs.f_frsize,
          static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize};
}

std::vector<dev_t> PseudoDevices() {
  std::vector<dev_t> devs;
  for (const Mount& m : ReadMounts()) {
    if (!m.pseudo) continue;
    struct stat st {};
    if (::stat(m.path.c_str(), &st) == 0) devs.push_back(st.st_dev);
  }
  std::sort(devs.begin(), devs.end());
  devs.erase(std::unique(devs.begin(), devs.end()), devs.end());
  return devs;
}

}  // namespace haruvi::platform
