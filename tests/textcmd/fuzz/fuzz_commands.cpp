// libFuzzer target: every text command with any answers on any text. The first byte picks
// the command, answers follow separated by 0x01 up to a 0x02, the rest is the text. A
// command refuses bad answers or runs; it never crashes, and a refusal leaves no output.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "textcmd/command_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace haruvi::textcmd;
  if (size < 1) return 0;
  const std::vector<TextCommand>& all = TextCommands();
  const TextCommand& command = all[data[0] % all.size()];
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t split = rest.find('\x02');
  const std::string answers_part = split == std::string::npos ? std::string() : rest.substr(0, split);
  const std::string text = split == std::string::npos ? rest : rest.substr(split + 1);
  std::vector<std::string> answers;
  for (std::size_t at = 0; split != std::string::npos && at <= answers_part.size();) {
    const std::size_t end = answers_part.find('\x01', at);
    answers.push_back(answers_part.substr(at, end == std::string::npos ? std::string::npos : end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  const std::vector<std::string_view> lines = SplitLines(text);
  CommandInput in;
  in.bytes = text;
  in.lines = lines;
  const CommandRun run = RunTextCommand(command, answers, in);
  if (run.status == CommandRun::Status::kDone) {
    (void)run.output.PaneText();
  } else if (run.message.empty()) {
    std::abort();  // a refusal or failure always says why
  }
  return 0;
}
