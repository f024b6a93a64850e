#include "platform/settings_location.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace haruvi::platform {
namespace {

std::filesystem::path EnvPath(const char* name) {
  const char* v = std::getenv(name);
  if (!v || !*v) return {};
  return std::filesystem::path(v);
}

}  // namespace

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : p;
}

bool IsInstalledProgram(const std::filesystem::path& program_folder) {
  std::error_code ec;
  return !program_folder.empty() && std::filesystem::is_directory(program_folder / ".." / "share" / "haruvi", ec);
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& executable) {
  if (auto named = EnvPath("HARUVI_INI"); !named.empty()) return named;

  std::filesystem::path file_name = executable.stem();
  if (file_name.empty()) file_name = "haruvi";
  file_name += ".ini";

  std::filesystem::path dir = executable.parent_path();
  // An installed program (a bin folder beside share/haruvi) keeps its settings in the
  // user's configuration folder, whoever may write to the program's folder; a file
  // already put beside it is still used.
  std::error_code ec;
  const bool installed = IsInstalledProgram(dir);
  if (!dir.empty() && installed && std::filesystem::exists(dir / file_name, ec)) return dir / file_name;
  if (!dir.empty() && !installed && ::access(dir.c_str(), W_OK) == 0) return dir / file_name;

  std::filesystem::path config = EnvPath("XDG_CONFIG_HOME");
  if (config.empty() || !config.is_absolute()) {
    std::filesystem::path home = EnvPath("HOME");
    if (home.empty()) home = "/tmp";
    config = home / ".config";
  }
  return config / "haruvi" / file_name;
}

std::filesystem::path SettingsFilePath() {
  std::filesystem::path exe = ExecutablePath();
  std::filesystem::path dir = exe.empty() ? std::filesystem::current_path() : exe.parent_path();
  return SettingsFilePath(dir / "haruvi");
}

std::filesystem::path HelpFolder(const std::filesystem::path& program_folder) {
  std::error_code ec;
  for (const std::filesystem::path& candidate :
       {program_folder / "help", program_folder / ".." / "share" / "haruvi" / "help"}) {
    if (std::filesystem::is_regular_file(candidate / "index.html", ec))
      return std::filesystem::weakly_canonical(candidate, ec);
  }
  return {};
}

}  // namespace haruvi::platform
