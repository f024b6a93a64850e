// The modules of haruvi-tool's commands that need big libraries (ICU for the text
// commands' sort; libarchive and libgcab for the archive commands): each is loaded only
// when one of its commands runs, so that every other command starts without them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/tool_command.h"

namespace haruvi::tool {

// The modules' file names, beside the program in the build and in lib/haruvi installed,
// and the command each holds.
struct ModuleOf {
  const char* command;
  const char* file;
};
inline constexpr ModuleOf kModules[] = {{"text", "haruvi-tool-text.so"}, {"archive", "haruvi-tool-archive.so"}};

// What the module exports (C names, looked up with dlsym).
extern "C" {
using MoreCommandsFn = const Command* (*)(std::size_t* count);
using MoreLastInputSizeFn = std::uint64_t (*)();
}
inline constexpr const char* kMoreCommandsSymbol = "haruvi_tool_more_commands";
inline constexpr const char* kMoreLastInputSizeSymbol = "haruvi_tool_more_last_input_size";

struct MoreCommands {
  std::vector<Command> commands;  // empty when the module could not be loaded
  MoreLastInputSizeFn last_input_size = nullptr;
  std::string error;  // why it could not be loaded
};

// Loads the module `file` once (later calls give the same answer).
const MoreCommands& LoadMoreCommands(const char* file);

}  // namespace haruvi::tool
