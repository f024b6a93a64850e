// "cat": the tool's byte path on its own: input bytes to output, unchanged, a block at a
// time, so an input of any size goes through in the memory of one block.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>

#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

int RunCat(const Args& args);
const Command kCat{"cat", "cat [FILE]", "copy the input to standard output byte for byte", &RunCat};

int RunCat(const Args& args) {
  if (args.size() > 1) return UsageError(kCat, "too many arguments");
  InputDescriptor in;
  if (!in.Open(args.empty() ? "" : args[0])) return kExitNoMatch;
  std::string block(1 << 20, '\0');
  // A named file is read up to the size it had when opened, as every command reads it.
  std::uint64_t left = in.limit();
  while (left > 0) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), left));
    const ssize_t n = ::read(in.fd(), block.data(), want);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      in.PrintReadError();
      return kExitNoMatch;
    }
    if (!WriteOutput(std::string_view(block.data(), static_cast<std::size_t>(n)))) return kExitNoMatch;
    left -= static_cast<std::uint64_t>(n);
  }
  return kExitOk;
}

const bool registered = RegisterCommand(kCat);

}  // namespace
}  // namespace haruvi::tool
