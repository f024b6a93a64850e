// haruvi-tool: the program's cores on the command line, for scripts and tests.
#include <iostream>
#include <new>
#include <string>

#include "haruvi_version.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

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

namespace {

void PrintHelp(std::ostream& out) {
  out << "usage: haruvi-tool COMMAND [ARGS...]\n"
         "       haruvi-tool --help | --version\n\n"
         "Reads the named file (or standard input when no file or \"-\" is given) and\n"
         "writes bytes to standard output unchanged.\n\ncommands:\n";
  for (const Command& c : Commands()) {
    std::string syn(c.synopsis);
    out << "  " << syn;
    if (syn.size() < 34) out << std::string(34 - syn.size(), ' ');
    else out << "\n  " << std::string(34, ' ');
    out << c.summary << '\n';
  }
}

}  // namespace
}  // namespace haruvi::tool

int main(int argc, char** argv) {
  using namespace haruvi::tool;
  if (argc < 2) {
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  std::string first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    PrintHelp(std::cout);
    return kExitOk;
  }
  if (first == "--version") {
    std::cout << "haruvi-tool " << HARUVI_VERSION_STRING << '\n';
    return kExitOk;
  }
  for (const Command& c : Commands()) {
    if (c.name == first) {
      Args args(argv + 2, argv + argc);
      if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::cout << "usage: haruvi-tool " << c.synopsis << "\n  " << c.summary << '\n';
        return kExitOk;
      }
      try {
        return c.run(args);
      } catch (const std::bad_alloc&) {
        // Never an abort: say which command ran out of memory on how big an input.
        std::cerr << "haruvi-tool: " << c.name << ": out of memory (input of " << LastInputSize() << " bytes)\n";
        return kExitNoMatch;
      }
    }
  }
  std::cerr << "haruvi-tool: unknown command '" << first << "'\n";
  PrintHelp(std::cerr);
  return kExitUsage;
}
