// The table of text commands: each command's name, the answers it asks for with the check
// that refuses a bad one, and the function that runs it on the pane's lines or on a file's
// bytes. Whoever runs a command (the window, haruvi-tool) goes through this table, so a
// command reads its answers, refuses and chains its steps the same way everywhere.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "textcmd/html_strip.h"
#include "textcmd/lines.h"
#include "textcmd/sort_lines.h"

namespace haruvi::textcmd {

// An answer that passed its check: the text as typed and, for an argument that stands for
// a number (a column, a line end, a separator byte), that number.
struct Answer {
  std::string_view text;
  std::int64_t number = 0;
};

// What a check makes of an answer: its number, or the message that refuses it.
struct Checked {
  std::int64_t number = 0;
  std::string refusal;  // empty when the answer is taken
};

struct Parameter {
  std::string_view name;                               // in the usage: "COLUMN"
  std::function<Checked(std::string_view answer)> check;  // none: any text is taken
};

// The text a command works on. A line command reads `lines` (the text split the way the
// pane splits it); a command marked on_bytes reads `bytes`, the file as read, because it
// must see the line ends the lines no longer have. The caller fills what the command reads.
struct CommandInput {
  std::string_view bytes;
  LineSpan lines;
};

// What a command hands back, kept in the form it was built in so that a result of a
// million lines is not copied once more: lines it built, a selection or an order of the
// input lines (views of the input text, which must outlive the output), a whole text to be
// split as the pane splits it, or bytes to be written as they are.
class CommandOutput {
 public:
  enum class Kind { kLines, kKept, kSorted, kText, kBytes };

  CommandOutput() = default;
  static CommandOutput OfLines(Lines lines);
  static CommandOutput OfKept(KeptLines kept);
  static CommandOutput OfSorted(SortedLines sorted);
  static CommandOutput OfText(std::string text);
  static CommandOutput OfBytes(std::string bytes);

  Kind kind() const { return kind_; }
  // Every line of a line result, in order; stops early, returning false, when `line` does.
  // A kBytes result has no lines.
  template <class F>
  bool ForEachLine(F&& line) const;
  // The bytes of a kBytes result.
  std::string_view Bytes() const { return text_; }
  // The whole text of a kText result as built, for a caller that hands it to the pane as
  // it is: PaneText() splits it at a NUL byte, the pane does not.
  std::string_view Text() const { return text_; }
  // The pane's new whole text: every line followed by CR LF, or the bytes as they are.
  std::string PaneText() const;
  // What the pane takes, for a caller that keeps nothing else: a kText result whole (as
  // Text(), not cut at a NUL) and a kBytes one are moved out rather than copied; lines
  // are joined as PaneText() joins them. The output is left empty.
  std::string TakePaneText();
  // The same written with `line_end` (CR, LF or CR LF) in place of every CR LF, as the
  // pane keeps a text loaded with that line end: built so at once, never converted from
  // a CR LF copy.
  std::string TakePaneText(std::string_view line_end);

  // The user stopped the command: the result holds what was done, then kCancelledLine.
  bool cancelled = false;

 private:
  Kind kind_ = Kind::kLines;
  Lines lines_;
  KeptLines kept_;
  SortedLines sorted_;
  std::string text_;
};

struct TextCommand {
  using Run = std::function<CommandOutput(std::span<const Answer> answers, const CommandInput& in,
                                          const CancelCheck& cancelled)>;
  std::string_view name = {};
  std::vector<Parameter> params = {};
  std::string_view note = {};  // said after the parameter names in the usage: "(none|crlf|cr|lf)"
  bool on_bytes = false;       // reads CommandInput::bytes, not lines
  Run run = {};

  // The parameter names and the note: "FROM TO (none|crlf|cr|lf)"; empty for none.
  std::string Usage() const;
};

// Every command, in menu order.
const std::vector<TextCommand>& TextCommands();
// The command of that name, or nullptr.
const TextCommand* FindTextCommand(std::string_view name);

struct CommandRun {
  enum class Status { kDone, kRefused, kFailed };
  Status status = Status::kDone;
  // kRefused: the check's message (or the count of answers expected); kFailed: what went
  // wrong, such as memory running out for a huge text.
  std::string message;
  CommandOutput output;  // kDone only
};

// Checks the answers in order, the first refusal ending the call before the text is looked
// at; then runs the command. `cancelled` is asked by the commands that take long (the HTML
// stripping); the others ignore it. Nothing is thrown.
CommandRun RunTextCommand(const TextCommand& command, std::span<const std::string> answers,
                          const CommandInput& in, const CancelCheck& cancelled = {});

template <class F>
bool CommandOutput::ForEachLine(F&& line) const {
  switch (kind_) {
    case Kind::kLines:
      return lines_.ForEach(line);
    case Kind::kKept:
      return kept_.ForEach(line);
    case Kind::kSorted:
      return sorted_.ForEach(line);
    case Kind::kText:
      for (std::string_view l : encoding::LinesOf(encoding::UpToFirstNul(text_)))
        if (!line(l)) return false;
      return true;
    case Kind::kBytes:
      return true;
  }
  return true;
}

}  // namespace haruvi::textcmd
