// "info": the information line the viewer shows for each file after loading it, with
// the default read settings, one line per file in UTF-8. "hexdump": the pane's
// hexadecimal renderings of a file, as the window puts them into the pane.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>

#include "encoding/guarded_map.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"
#include "viewer/file_display.h"
#include "viewer/hex_dump.h"

namespace haruvi::tool {
namespace {

int RunInfo(const Args& args);
const Command kInfo{"info", "info FILE...", "print the viewer's information line for each file", &RunInfo};

// Why a file could not be shown: it is not there, or it is there but cannot be read.
std::string WhyNotShown(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno != EACCES) return errno == ENOENT ? "no such file" : std::strerror(errno);
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return "cannot be read";
  }
  return errno == EACCES ? "permission denied" : std::strerror(errno);
}

int RunInfo(const Args& args) {
  if (args.empty()) return UsageError(kInfo, "no file given");
  int rc = kExitOk;
  for (const std::string& path : args) {
    viewer::DisplaySettings only_the_line;
    only_the_line.info_only = true;
    const viewer::FileDisplay shown = viewer::ShowFile(path, only_the_line);
    if (!shown.exists) {
      PrintError(path + ": " + WhyNotShown(path));
      rc = kExitNoMatch;
      continue;
    }
    if (shown.changed_while_read) {
      PrintError(path + ": " + encoding::kFileChangedWhileRead);
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
                       &RunHexdump, true};

int RunHexdump(const Args& all) {
  Args args = all;
  const bool below = !args.empty() && args[0] == "--below";
  if (below) args.erase(args.begin());
  if (!args.empty() && args[0] == "--") args.erase(args.begin());
  if (args.size() != 1) return UsageError(kHexdump, "one file wanted");
  const std::string& path = args.back();
  viewer::DisplaySettings only_the_line;
  only_the_line.info_only = true;
  const auto changed = [&path] {
    PrintError(path + ": " + encoding::kFileChangedWhileRead);
    return kExitNoMatch;
  };
  if (below) {
    auto bytes = ReadInput(path);
    if (!bytes) return kExitNoMatch;
    const viewer::FileDisplay shown = viewer::ShowFile(path, only_the_line);
    if (shown.changed_while_read) return changed();
    return WriteOutput(viewer::DumpUnderLines(*bytes, shown.info_line).text) ? kExitOk : kExitNoMatch;
  }
  // Sixteen to a line needs no more than a piece of the file at a time.
  InputDescriptor in;
  if (!in.Open(path)) return kExitNoMatch;
  const viewer::FileDisplay shown = viewer::ShowFile(path, only_the_line);
  if (shown.changed_while_read) return changed();
  viewer::ByteDumper dumper(shown.info_line);
  std::string piece(1 << 20, '\0'), out;
  out.reserve(4 << 20);
  std::uint64_t left = in.limit();
  while (left > 0) {
    const ssize_t n = ::read(in.fd(), piece.data(), static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), left)));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      in.PrintReadError();
      return kExitNoMatch;
    }
    if (n == 0) {
      // Cut short since it was opened: the dump so far is not the whole file.
      if (in.limit() != UINT64_MAX) return changed();
      break;
    }
    left -= static_cast<std::uint64_t>(n);
    out.clear();
    dumper.Feed(std::string_view(piece.data(), static_cast<std::size_t>(n)), &out);
    if (!WriteOutput(out)) return kExitNoMatch;
  }
  out.clear();
  dumper.Finish(&out);
  return WriteOutput(out) ? kExitOk : kExitNoMatch;
}

const bool registered_hexdump = RegisterCommand(kHexdump);

}  // namespace
}  // namespace haruvi::tool
