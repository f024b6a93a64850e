// "info": the information line the viewer shows for each file after loading it, with
// the default read settings, one line per file in UTF-8.
#include <iostream>

#include "tools/tool_command.h"
#include "tools/tool_io.h"
#include "viewer/file_display.h"

namespace haruvi::tool {
namespace {

int RunInfo(const Args& args);
const Command kInfo{"info", "info FILE...", "print the viewer's information line for each file", &RunInfo};

int RunInfo(const Args& args) {
  if (args.empty()) return UsageError(kInfo, "no file given");
  int rc = kExitOk;
  for (const std::string& path : args) {
    viewer::DisplaySettings only_the_line;
    only_the_line.info_only = true;
    const viewer::FileDisplay shown = viewer::ShowFile(path, only_the_line);
    if (!shown.exists) {
      PrintError(path + ": no such file");
      rc = kExitNoMatch;
      continue;
    }
    std::cout << shown.info_line << '\n';
  }
  return rc;
}

const bool registered = RegisterCommand(kInfo);

}  // namespace
}  // namespace haruvi::tool
