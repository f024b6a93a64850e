// The system report's lines and the drive-usage figures. The facts are gathered from
// the Linux counterparts of the old registry values (docs/PLATFORM.md); a fact this
// machine does not have is empty and its line is left out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace haruvi::systools {

struct SystemFacts {
  std::string system_folder, library_folder, current_folder;
  std::string owner, organization, computer, product_id, product_name, product_type, version, version_number,
      sub_version, root_folder, programs_folder, common_folder, product_key, plus_version, cpu_vendor;
  std::string cpu_model, memory;
  std::vector<std::string> environment;  // "NAME=value"
  std::string date, time;                // short formats: "2026/12/07", "14:55:06"
  std::uint64_t uptime_ms = 0;
};

// Reads os-release, uname, the password database, /proc and the environment.
SystemFacts GatherSystemFacts();
// Key "NAME" of an os-release text ("PRETTY_NAME=\"Debian\"" gives Debian).
std::string OsReleaseValue(const std::string& text, const std::string& key);
// The first "key : value" of a /proc text (cpuinfo, meminfo).
std::string ProcValue(const std::string& text, const std::string& key);

std::vector<std::string> ReportLines(const SystemFacts& f);
// "起動時間 = 1 時間  2 分  3 秒".
std::string UptimeLine(std::uint64_t ms);

struct DriveUsage {
  std::uint64_t bytes_per_sector = 0, sectors_per_cluster = 0, total_clusters = 0, free_clusters = 0;
  std::uint64_t total = 0, free = 0;  // bytes; free is what the user may write
  std::uint64_t Used() const { return total >= free ? total - free : 0; }
};
// statvfs of the folder's file system; false when it reports no blocks.
bool ReadDriveUsage(const std::string& folder, DriveUsage& out);
// "1,234,567 byte".
std::string ByteText(std::uint64_t bytes);
std::string ClusterLine(const DriveUsage& u);

}  // namespace haruvi::systools
