// "cat": the tool's byte path on its own: input bytes to output, unchanged.
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

int RunCat(const Args& args);
const Command kCat{"cat", "cat [FILE]", "copy the input to standard output byte for byte", &RunCat};

int RunCat(const Args& args) {
  if (args.size() > 1) return UsageError(kCat, "too many arguments");
  auto data = ReadInput(args.empty() ? "" : args[0]);
  if (!data) return kExitNoMatch;
  return WriteOutput(*data) ? kExitOk : kExitNoMatch;
}

const bool registered = RegisterCommand(kCat);

}  // namespace
}  // namespace haruvi::tool
