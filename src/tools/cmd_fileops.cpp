// "dirstat": the folder status of the status bar on the command line: how many files lie
// below a folder and how many bytes they hold (links are counted, never followed).
#include <iostream>

#include "fileops/folder_walk.h"
#include "platform/mounts.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

int RunDirstat(const Args& args);
const Command kDirstat{"dirstat", "dirstat FOLDER...",
                       "count the files below each folder and their bytes", &RunDirstat};

int RunDirstat(const Args& args) {
  if (args.empty()) return UsageError(kDirstat, "no folder given");
  fileops::WalkOptions options;
  options.skip_devices = platform::PseudoDevices();
  int rc = kExitOk;
  for (const std::string& folder : args) {
    fileops::FolderTotals t = fileops::WalkFolderTotals(folder, options);
    if (t.files == 0 && t.unreadable_folders > 0) {
      PrintError(folder + ": cannot open the folder");
      rc = kExitNoMatch;
      continue;
    }
    std::cout << t.files << '\t' << t.bytes << '\t' << folder << '\n';
  }
  return rc;
}

const bool registered = RegisterCommand(kDirstat);

}  // namespace
}  // namespace haruvi::tool
