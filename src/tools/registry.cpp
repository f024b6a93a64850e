// The table of subcommands. The program and its module of heavier commands each link a
// copy: each fills its own table from its cmd_*.cpp files at start-up.
#include "tools/tool_command.h"

#include <iostream>

namespace haruvi::tool {

std::vector<Command>& MutableCommands() {
  static std::vector<Command> commands;
  return commands;
}

bool RegisterCommand(const Command& command) {
  MutableCommands().push_back(command);
  return true;
}

const std::vector<Command>& Commands() { return MutableCommands(); }

int UsageError(const Command& command, std::string_view message) {
  std::cerr << "haruvi-tool: " << message << "\nusage: haruvi-tool " << command.synopsis << '\n';
  return kExitUsage;
}

}  // namespace haruvi::tool
