// Where the settings file lives: $HARUVI_INI when set; else beside the executable,
// named like it with ".ini", when that folder is writable; else the same name in
// $XDG_CONFIG_HOME/haruvi/ (by default ~/.config/haruvi/).
#pragma once

#include <filesystem>

namespace haruvi::platform {

// The running program's own path (from /proc/self/exe); empty when unknown.
std::filesystem::path ExecutablePath();

// A program in a bin folder beside share/haruvi: installed, not run from its build tree.
// An installed program starts in the user's home folder, not in its own.
bool IsInstalledProgram(const std::filesystem::path& program_folder);

// The settings file for a program at `executable`.
std::filesystem::path SettingsFilePath(const std::filesystem::path& executable);

// The settings file of the window program "haruvi", wherever the caller runs from:
// the command-line tool and the window share one settings file.
std::filesystem::path SettingsFilePath();

// The help pages of the program in `program_folder`: "help" beside it in a build tree,
// "../share/haruvi/help" once installed. Empty when neither is there.
std::filesystem::path HelpFolder(const std::filesystem::path& program_folder);

}  // namespace haruvi::platform
