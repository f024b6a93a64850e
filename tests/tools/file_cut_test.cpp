// A file cut short by another program while a command reads it through a mapping: every
// command that maps says "PATH: the file changed while being read" and exits 1, and
// none ever ends by a signal (grep, which says the same with its code 2, has its own
// test beside its other tool tests). The tool is stopped while it reads, the file is cut, and
// the tool goes on; a try where it had not begun or had finished is made again later.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::test {
namespace {

struct Outcome {
  int exit_code = -1;
  std::string err;
};

// Runs the tool on a fresh copy of `source` at `path`, cutting the file to nothing
// `delay_ms` after the start.
Outcome RunAndCut(const std::vector<std::string>& command, const std::string& source, const std::string& path,
                  int delay_ms) {
  std::string line;
  for (const std::string& word : command) line += " '" + word + "'";
  const std::string script = "cp --sparse=always '" + source + "' '" + path + "'; '" + ToolPath() + "'" + line +
                             " >/dev/null 2>err & pid=$!; sleep " + std::to_string(delay_ms / 1000.0) +
                             "; kill -STOP $pid; truncate -s 0 '" + path + "'; kill -CONT $pid; wait $pid; "
                             "echo \"exit $?\"; cat err";
  const ProcessResult r = RunProcess("/bin/bash", {"-c", script}, {}, {}, std::string(path.substr(0, path.rfind('/'))));
  Outcome o;
  const std::size_t at = r.out.find("exit ");
  if (at != std::string::npos) o.exit_code = std::stoi(r.out.substr(at + 5));
  o.err = r.out.substr(r.out.find('\n', at) + 1);
  return o;
}

TEST(FileCut, EveryMappingCommandSaysSoAndNeverDiesOfASignal) {
  TempDir dir;
  // A text head and a long hole, read whole by the detection; a real text for the text
  // commands, which stop at a NUL.
  std::string head;
  while (head.size() < 8192) head += "plain text line, nothing more\n";
  dir.Write("sparse.src", head);
  ASSERT_EQ(::truncate((dir / "sparse.src").c_str(), 256 << 20), 0);
  std::string text;
  while (text.size() < (8u << 20)) text += "line " + std::to_string(text.size() % 9973) + " of a long text\n";
  dir.Write("text.src", text);
  const std::string path = (dir / "cut.txt").string();
  const std::string message = path + ": the file changed while being read";
  struct Case {
    std::vector<std::string> command;
    std::string source;
  };
  const std::vector<Case> cases = {{{"detect", path}, "sparse.src"},
                                   {{"info", path}, "sparse.src"},
                                   {{"hexdump", path}, "sparse.src"},
                                   {{"text", "sort-asc", path}, "text.src"}};
  for (const Case& c : cases) {
    bool said = false;
    for (int attempt = 0; attempt < 12 && !said; ++attempt) {
      const Outcome o = RunAndCut(c.command, (dir / c.source).string(), path, 20 + 40 * attempt);
      ASSERT_GE(o.exit_code, 0) << c.command[0];
      EXPECT_LT(o.exit_code, 128) << c.command[0] << ": ended by a signal\n" << o.err;
      said = o.err.find(message) != std::string::npos;
      EXPECT_EQ(o.exit_code, said ? 1 : 0) << c.command[0] << "\n" << o.err;
    }
    EXPECT_TRUE(said) << c.command[0];
  }
}

}  // namespace
}  // namespace haruvi::test
