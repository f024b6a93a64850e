// "text": the text commands of the pane on a file. The commands, their answers and their
// refusals are the textcmd table's; this file reads the input, splits it into lines the way
// the pane splits them, and writes the result with CR LF after every line.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/line_scan.h"
#include "encoding/piece_io.h"
#include "textcmd/command_table.h"
#include "textcmd/lines.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

namespace tc = haruvi::textcmd;

int RunText(const Args& args);
const Command kText{"text", "text CMD [ARGS...] [FILE]  (\"text list\" lists CMD)",
                    "run a text command of the pane (sort, number, trim, html, columns, csv ...)",
                    &RunText};

// Output in blocks, so a result is never copied whole once more just to be written.
class Writer {
 public:
  bool Line(std::string_view line) {
    if (line.size() >= kBlock) {  // a long line goes out as it is, not through the block
      if (!Flush() || !WriteOutput(line)) return false;
      line = {};
    }
    buf_.append(line);
    buf_.append("\r\n");
    return buf_.size() < kBlock || Flush();
  }
  bool Raw(std::string_view bytes) { return Flush() && WriteOutput(bytes); }
  bool Flush() {
    bool ok = WriteOutput(buf_);
    buf_.clear();
    return ok;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  std::string buf_;
};

// The input bytes, held once: a regular file is mapped rather than read, which saves a
// copy of a 100 MB text; a stream is read into a buffer that grows in place.
bool OpenInput(const std::string& path, encoding::WholeInput& data) {
  if (path.empty() || path == "-") {
    if (data.ReadFrom(STDIN_FILENO)) return true;
    if (errno == ENOMEM) throw std::bad_alloc();
    PrintError(std::string("standard input: ") + std::strerror(errno));
    return false;
  }
  struct stat st {};
  const int fd = OpenInputFile(path, &st);
  if (fd < 0) return false;
  const auto size = static_cast<std::size_t>(st.st_size);
  bool ok = data.Map(fd, size) || data.ReadFrom(fd, size);
  if (!ok) {
    if (errno == ENOMEM) throw std::bad_alloc();
    PrintError(path + ": " + std::strerror(errno));
  }
  ::close(fd);
  return ok;
}

int FileChanged(const std::string& path) {
  PrintError(path + ": " + encoding::kFileChangedWhileRead);
  return kExitNoMatch;
}

int ListSubs() {
  std::string out = "usage: haruvi-tool text CMD [ARGS...] [FILE]\ncommands:\n";
  for (const tc::TextCommand& c : tc::TextCommands()) {
    out.append("  ").append(c.name);
    if (std::string usage = c.Usage(); !usage.empty()) out.append(" ").append(usage);
    out.append("\n");
  }
  return WriteOutput(out) ? kExitOk : kExitNoMatch;
}

bool Write(const tc::CommandOutput& o) {
  Writer w;
  if (o.kind() == tc::CommandOutput::Kind::kBytes) return w.Raw(o.Bytes());
  return o.ForEachLine([&](std::string_view line) { return w.Line(line); }) && w.Flush();
}

int RunText(const Args& args) {
  if (args.empty()) return UsageError(kText, "missing text command (see: haruvi-tool text list)");
  if (args[0] == "list") return ListSubs();
  const tc::TextCommand* command = tc::FindTextCommand(args[0]);
  if (!command) return UsageError(kText, "unknown text command \"" + args[0] + "\"");
  const std::size_t count = command->params.size();
  if (args.size() < 1 + count || args.size() > 2 + count) {
    std::string usage = "usage: text ";
    usage.append(command->name);
    if (std::string params = command->Usage(); !params.empty()) usage.append(" ").append(params);
    return UsageError(kText, usage.append(" [FILE]"));
  }
  // The input is read before the answers are checked: a missing file is reported first.
  std::string path = args.size() > 1 + count ? args.back() : "";
  encoding::WholeInput data;
  if (!OpenInput(path, data)) return kExitNoMatch;
  tc::CommandInput in;
  in.bytes = data.Bytes();
  // The lines are walked from the text, never listed: a text of short lines costs a
  // fraction of a byte a line here.
  const tc::LineIndex lines(command->on_bytes ? std::string_view() : encoding::UpToFirstNul(in.bytes));
  in.lines = lines;
  tc::CommandRun run = tc::RunTextCommand(*command, std::span(args).subspan(1, count), in);
  // A file cut short under its mapping read as zeros past the cut: nothing made of
  // those bytes goes out.
  if (data.Changed()) return FileChanged(path);
  switch (run.status) {
    case tc::CommandRun::Status::kRefused:
      return UsageError(kText, run.message);
    case tc::CommandRun::Status::kFailed:
      PrintError(std::string("text ").append(command->name).append(": ").append(run.message));
      return kExitNoMatch;
    case tc::CommandRun::Status::kDone:
      break;
  }
  const bool written = Write(run.output);
  if (data.Changed()) return FileChanged(path);  // the output still read the mapping
  return written ? kExitOk : kExitNoMatch;
}

const bool registered = RegisterCommand(kText);

}  // namespace
}  // namespace haruvi::tool
