// Runs a program with arguments and standard input, capturing its output and exit code.
// Tests of haruvi-tool and of the window program's command line use it.
#pragma once

#include <string>
#include <vector>

namespace haruvi::test {

struct ProcessResult {
  int exit_code = -1;  // -1 when the program could not be run or was killed
  std::string out;
  std::string err;
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {},
                         const std::vector<std::string>& extra_env = {}, const std::string& folder = {});

// haruvi-tool run on files rather than strings, for inputs and outputs too big to hold:
// standard input from `input` (none when empty), standard output into `output` ("/dev/null"
// to drop it). The exit code (-1 when it did not run or was killed) and its peak memory.
struct ToolPeak {
  int exit_code = -1;
  long peak_kb = 0;
};
ToolPeak RunToolOnFiles(const std::vector<std::string>& args, const std::string& input,
                        const std::string& output);

// haruvi-tool from this build, and its path.
ProcessResult RunTool(const std::vector<std::string>& args, const std::string& input = {});
std::string ToolPath();

}  // namespace haruvi::test
