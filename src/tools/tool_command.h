// Subcommands of haruvi-tool. Each subcommand lives in a cmd_*.cpp file of this folder
// and registers itself at start-up through RegisterCommand (see cmd_cat.cpp); main.cpp
// dispatches.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace haruvi::tool {

// Exit codes shared by every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitNoMatch = 1;  // "nothing found" answers (grep), or a failed action
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

struct Command {
  std::string_view name;
  std::string_view synopsis;  // "conv OP [FILE]"
  std::string_view summary;   // one line for --help
  int (*run)(const Args& args);
  // The command reads options of its own and ends them at "--" itself; for any other the
  // frame drops a first "--", so every command takes one before its operands.
  bool own_options = false;
};

// Adds a command to the table (call it from a namespace-scope initialiser).
bool RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

// Prints "haruvi-tool: <message>" and the command's synopsis to standard error; returns 2.
int UsageError(const Command& command, std::string_view message);

}  // namespace haruvi::tool
