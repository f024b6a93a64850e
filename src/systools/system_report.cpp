// Gathering and writing the system report; the drive-usage figures.
#include "systools/system_report.h"

#include <pwd.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/text_format.h"

extern char** environ;

namespace haruvi::systools {
namespace {

std::string ReadSmall(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

std::string OsReleaseValue(const std::string& text, const std::string& key) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.starts_with(key + "=")) continue;
    std::string v = Trim(line.substr(key.size() + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return v;
  }
  return "";
}

std::string ProcValue(const std::string& text, const std::string& key) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos || Trim(line.substr(0, colon)) != key) continue;
    return Trim(line.substr(colon + 1));
  }
  return "";
}

SystemFacts GatherSystemFacts() {
  SystemFacts f;
  f.system_folder = "/usr";
  f.library_folder = "/usr/lib";
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd)) f.current_folder = cwd;
  if (const passwd* pw = ::getpwuid(::getuid())) {
    std::string gecos = pw->pw_gecos ? pw->pw_gecos : "";
    gecos = gecos.substr(0, gecos.find(','));
    f.owner = gecos.empty() ? pw->pw_name : gecos;
  }
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0) f.computer = host;
  std::string os = ReadSmall("/etc/os-release");
  if (os.empty()) os = ReadSmall("/usr/lib/os-release");
  f.product_id = OsReleaseValue(os, "ID");
  f.product_name = OsReleaseValue(os, "PRETTY_NAME");
  f.version_number = OsReleaseValue(os, "VERSION_ID");
  utsname u {};
  if (::uname(&u) == 0) {
    f.product_type = std::string(u.sysname) + " " + u.machine;
    f.version = u.release;
    f.sub_version = u.version;
  }
  f.root_folder = "/";
  f.programs_folder = "/usr/bin";
  f.common_folder = "/usr/share";
  const std::string cpu = ReadSmall("/proc/cpuinfo");
  f.cpu_vendor = ProcValue(cpu, "vendor_id");
  f.cpu_model = ProcValue(cpu, "model name");
  const std::string mem = ProcValue(ReadSmall("/proc/meminfo"), "MemTotal");
  if (!mem.empty()) {
    // "16318468 kB" as the report's other numbers: with separators.
    try {
      f.memory = platform::FormatThousands(static_cast<std::uint64_t>(std::stoull(mem))) + " KB";
    } catch (...) {
      f.memory = mem;
    }
  }
  for (char** e = environ; e && *e; ++e) f.environment.emplace_back(*e);
  const std::time_t now = std::time(nullptr);
  std::tm tm {};
  ::localtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y/%m/%d", &tm);
  f.date = buf;
  std::strftime(buf, sizeof buf, "%H:%M:%S", &tm);
  f.time = buf;
  const std::string up = ReadSmall("/proc/uptime");
  try {
    if (!up.empty()) f.uptime_ms = static_cast<std::uint64_t>(std::stod(up) * 1000.0);
  } catch (...) {
  }
  return f;
}

std::string UptimeLine(std::uint64_t ms) {
  return "起動時間 = " + std::to_string(ms / 3600000) + " 時間  " + std::to_string(ms / 60000 % 60) + " 分  " +
         std::to_string(ms / 1000 % 60) + " 秒";
}

std::vector<std::string> ReportLines(const SystemFacts& f) {
  std::vector<std::string> lines = {"Windowsﾃﾞｨﾚｸﾄﾘ = " + f.system_folder, "Systemﾃﾞｨﾚｸﾄﾘ = " + f.library_folder,
                                    "ｶﾚﾝﾄﾃﾞｨﾚｸﾄﾘ = " + f.current_folder};
  const std::pair<const char*, const std::string*> kValues[] = {
      {"ﾕｰｻﾞｰ名 = ", &f.owner},
      {"会社名 = ", &f.organization},
      {"ｺﾝﾋﾟｭｰﾀｰ名 = ", &f.computer},
      {"ﾌﾟﾛﾀﾞｸﾄID = ", &f.product_id},
      {"ﾌﾟﾛﾀﾞｸﾄ名 = ", &f.product_name},
      {"ﾌﾟﾛﾀﾞｸﾄﾀｲﾌﾟ = ", &f.product_type},
      {"ﾊﾞｰｼﾞｮﾝ = ", &f.version},
      {"ﾊﾞｰｼﾞｮﾝﾅﾝﾊﾞｰ = ", &f.version_number},
      {"ｻﾌﾞﾊﾞｰｼﾞｮﾝﾅﾝﾊﾞｰ = ", &f.sub_version},
      {"ｼｽﾃﾑﾙｰﾄﾃﾞｨﾚｸﾄﾘ = ", &f.root_folder},
      {"ﾌﾟﾛｸﾞﾗﾑファイルﾃﾞｨﾚｸﾄﾘ = ", &f.programs_folder},
      {"ｺﾓﾝファイルﾃﾞｨﾚｸﾄﾘ = ", &f.common_folder},
      {"ﾌﾟﾛﾀﾞｸﾄｷｰ = ", &f.product_key},
      {"Plusﾊﾞｰｼﾞｮﾝﾅﾝﾊﾞｰ = ", &f.plus_version},
      {"CPﾍﾞﾝﾀﾞｰ = ", &f.cpu_vendor},
      // Processor and memory have no registry line of their own; they follow the vendor.
      {"CPU = ", &f.cpu_model},
      {"ﾒﾓﾘ = ", &f.memory},
  };
  for (const auto& [label, value] : kValues)
    if (!value->empty()) lines.push_back(label + *value);
  for (const std::string& e : f.environment) lines.push_back("環境変数 = " + e);
  lines.push_back("日付 = " + f.date);
  lines.push_back("時間 = " + f.time);
  lines.push_back(UptimeLine(f.uptime_ms));
  return lines;
}

bool ReadDriveUsage(const std::string& folder, DriveUsage& out) {
  struct statvfs v {};
  if (::statvfs(folder.c_str(), &v) != 0 || v.f_blocks == 0 || v.f_frsize == 0) return false;
  out.bytes_per_sector = 512;
  out.sectors_per_cluster = v.f_frsize >= 512 ? v.f_frsize / 512 : 1;
  out.total_clusters = v.f_blocks;
  out.free_clusters = v.f_bavail;
  out.total = static_cast<std::uint64_t>(v.f_blocks) * v.f_frsize;
  out.free = static_cast<std::uint64_t>(v.f_bavail) * v.f_frsize;
  return true;
}

std::string ByteText(std::uint64_t bytes) { return platform::FormatThousands(bytes) + " byte"; }

std::string ClusterLine(const DriveUsage& u) {
  return "ｾｸﾀ = " + std::to_string(u.sectors_per_cluster) + " ﾊﾞｲﾄ = " + std::to_string(u.bytes_per_sector) +
         " ｸﾗｽﾀ = " + std::to_string(u.total_clusters) + " ﾌﾘｰｸﾗｽﾀ = " + std::to_string(u.free_clusters);
}

}  // namespace haruvi::systools
