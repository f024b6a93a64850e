// A registered application's command line, split once into the program and its
// arguments the way a Linux user writes them, so that it runs without a shell: blanks
// separate words, '...' keeps everything literally, "..." keeps blanks and takes \" and
// \\ as escapes, and a backslash outside quotes before a blank, a quote or a
// backslash keeps that character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace haruvi::platform {

struct CommandLine {
  std::vector<std::string> words;  // words[0] is the program
  std::string error;               // non-empty when the line cannot be split
};

CommandLine SplitCommandLine(std::string_view line);

}  // namespace haruvi::platform
