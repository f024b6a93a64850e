// The module's two exported entries: its table of commands (filled by its cmd_*.cpp
// files when it was loaded) and the size of the last input its commands read.
#include <cstddef>
#include <cstdint>

#include "tools/tool_command.h"
#include "tools/tool_io.h"

extern "C" __attribute__((visibility("default"))) const haruvi::tool::Command* haruvi_tool_more_commands(
    std::size_t* count) {
  const auto& commands = haruvi::tool::Commands();
  *count = commands.size();
  return commands.data();
}

extern "C" __attribute__((visibility("default"))) std::uint64_t haruvi_tool_more_last_input_size() {
  return haruvi::tool::LastInputSize();
}
