// The module of haruvi-tool's commands that need the big libraries (ICU for the text
// commands' sort, the archive libraries): loaded only when one of them runs, so that
// every other command starts without loading those libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/tool_command.h"

namespace haruvi::tool {

// The module's file name, beside the program in the build and in lib/haruvi installed.
inline constexpr const char* kMoreModuleName = "haruvi-tool-more.so";

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

// Loads the module once (later calls give the same answer).
const MoreCommands& LoadMoreCommands();

}  // namespace haruvi::tool
