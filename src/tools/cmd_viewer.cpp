// "info": the information line the viewer shows for each file after loading it, with
// the default read settings, one line per file in UTF-8. "hexdump": the pane's
// hexadecimal renderings of a file, as the window puts them into the pane.
#include <iostream>

#include "tools/tool_command.h"
#include "tools/tool_io.h"
#include "viewer/file_display.h"
#include "viewer/hex_dump.h"

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

int RunHexdump(const Args& args);
const Command kHexdump{"hexdump", "hexdump [--below] FILE",
                       "the file in hexadecimal as the pane shows it (--below: digit lines under each line)",
                       &RunHexdump};

int RunHexdump(const Args& args) {
  const bool below = !args.empty() && args[0] == "--below";
  if (args.size() != (below ? 2u : 1u)) return UsageError(kHexdump, "one file wanted");
  const std::string& path = args.back();
  auto bytes = ReadInput(path);
  if (!bytes) return kExitNoMatch;
  viewer::DisplaySettings only_the_line;
  only_the_line.info_only = true;
  const std::string info = viewer::ShowFile(path, only_the_line).info_line;
  const viewer::HexDump dump = below ? viewer::DumpUnderLines(*bytes, info) : viewer::DumpBytes(*bytes, info);
  return WriteOutput(dump.text) ? kExitOk : kExitNoMatch;
}

const bool registered_hexdump = RegisterCommand(kHexdump);

}  // namespace
}  // namespace haruvi::tool
