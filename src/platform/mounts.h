// Mounted file systems as the program's "drives": which are real, which mount point holds
// a path (its drive root), and whether a drive is ready (reports a size above 0).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace haruvi::platform {

struct Mount {
  std::string path;     // mount point, UTF-8
  std::string fs_type;  // "ext4", "proc", ...
  bool pseudo = false;  // a kernel or runtime file system that holds no user files
};

// Parses the text of /proc/self/mountinfo (octal escapes in paths decoded).
std::vector<Mount> ParseMountInfo(const std::string& text);
// Every mount of this process, in mountinfo order.
std::vector<Mount> ReadMounts();
// Real file systems only, "/" first and then by path; each mount point once.
std::vector<Mount> RealMounts();
// True for file-system types that hold no user files (proc, sysfs, cgroup, ...), and
// for any mount below /proc, /sys, /dev or /run.
bool IsPseudoFileSystem(const std::string& fs_type, const std::string& mount_point);

// The mount point that holds `path` (longest mount-point prefix), "/" when none matches.
std::string DriveRoot(const std::string& path, const std::vector<Mount>& mounts);
std::string DriveRoot(const std::string& path);

struct DriveSpace {
  std::uint64_t size = 0;
  std::uint64_t free = 0;
};
// statvfs of `path`; size 0 when the file system cannot be asked.
DriveSpace DriveSpaceOf(const std::string& path);

// Device numbers of the pseudo file systems currently mounted, so a walk can skip them.
std::vector<dev_t> PseudoDevices();

}  // namespace haruvi::platform
