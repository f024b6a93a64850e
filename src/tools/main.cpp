// haruvi-tool: the program's cores on the command line, for scripts and tests.
#include <algorithm>
#include <iostream>
#include <new>
#include <string>

#include "haruvi_version.h"
#include "tools/more_module.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {

namespace {

// The program's own commands and then the modules', loaded when asked for: listing them
// all, or a command the program does not hold.
std::vector<Command> AllCommands() {
  std::vector<Command> all = Commands();
  for (const ModuleOf& m : kModules) {
    const MoreCommands& more = LoadMoreCommands(m.file);
    all.insert(all.end(), more.commands.begin(), more.commands.end());
  }
  return all;
}

const Command* Find(const std::vector<Command>& commands, std::string_view name) {
  for (const Command& c : commands)
    if (c.name == name) return &c;
  return nullptr;
}

int Run(const Command& c, const Args& args, std::uint64_t (*last_input_size)()) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << "usage: haruvi-tool " << c.synopsis << "\n  " << c.summary << '\n';
    return kExitOk;
  }
  Args operands = args;
  if (!c.own_options)
    if (auto end = std::find(operands.begin(), operands.end(), "--"); end != operands.end()) operands.erase(end);
  try {
    return c.run(operands);
  } catch (const std::bad_alloc&) {
    // Never an abort: say which command ran out of memory on how big an input.
    std::cerr << "haruvi-tool: " << c.name << ": out of memory (input of " << last_input_size() << " bytes)\n";
    return kExitNoMatch;
  }
}

void PrintHelp(std::ostream& out) {
  out << "usage: haruvi-tool COMMAND [ARGS...]\n"
         "       haruvi-tool --help | --version\n\n"
         "Reads the named file (or standard input when no file or \"-\" is given) and\n"
         "writes bytes to standard output unchanged.\n\ncommands:\n";
  for (const Command& c : AllCommands()) {
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
  const Args args(argv + 2, argv + argc);
  if (const Command* c = Find(Commands(), first)) return Run(*c, args, &LastInputSize);
  // The module that holds the command first; an unknown word is looked for in them all.
  std::vector<const char*> files;
  for (const ModuleOf& m : kModules)
    if (first == m.command) files.push_back(m.file);
  for (const ModuleOf& m : kModules)
    if (first != m.command) files.push_back(m.file);
  for (const char* file : files) {
    const MoreCommands& more = LoadMoreCommands(file);
    if (const Command* c = Find(more.commands, first)) return Run(*c, args, more.last_input_size);
    if (!more.error.empty()) std::cerr << "haruvi-tool: some commands are missing: " << more.error << '\n';
  }
  std::cerr << "haruvi-tool: unknown command '" << first << "'\n";
  PrintHelp(std::cerr);
  return kExitUsage;
}
