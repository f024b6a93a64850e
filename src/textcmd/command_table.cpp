// The commands, their answers' checks and the steps each one runs; see command_table.h.
#include "textcmd/command_table.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "textcmd/answers.h"
#include "textcmd/columns.h"
#include "textcmd/csv.h"
#include "textcmd/line_end.h"
#include "textcmd/line_ops.h"
#include "textcmd/sort_lines.h"
#include "textcmd/tex_strip.h"

namespace haruvi::textcmd {

CommandOutput CommandOutput::OfLines(Lines lines) {
  CommandOutput o;
  o.lines_ = std::move(lines);
  return o;
}

CommandOutput CommandOutput::OfKept(KeptLines kept) {
  CommandOutput o;
  o.kind_ = Kind::kKept;
  o.kept_ = std::move(kept);
  return o;
}

CommandOutput CommandOutput::OfSorted(SortedLines sorted) {
  CommandOutput o;
  o.kind_ = Kind::kSorted;
  o.sorted_ = std::move(sorted);
  return o;
}

CommandOutput CommandOutput::OfText(std::string text) {
  CommandOutput o;
  o.kind_ = Kind::kText;
  o.text_ = std::move(text);
  return o;
}

CommandOutput CommandOutput::OfBytes(std::string bytes) {
  CommandOutput o;
  o.kind_ = Kind::kBytes;
  o.text_ = std::move(bytes);
  return o;
}

std::string CommandOutput::PaneText() const {
  if (kind_ == Kind::kBytes) return text_;
  if (kind_ == Kind::kLines) return lines_.Joined();
  std::size_t size = 0;
  ForEachLine([&](std::string_view line) {
    size += line.size() + 2;
    return true;
  });
  std::string out;
  out.reserve(size);
  ForEachLine([&](std::string_view line) {
    out.append(line).append("\r\n");
    return true;
  });
  return out;
}

std::string CommandOutput::TakePaneText() {
  if (kind_ == Kind::kText || kind_ == Kind::kBytes) return std::move(text_);
  return PaneText();
}

namespace {

// Appends `bytes` with every CR LF written as `line_end`.
void AppendWithLineEnds(std::string& out, std::string_view bytes, std::string_view line_end) {
  for (std::size_t at; (at = bytes.find("\r\n")) != std::string_view::npos; bytes.remove_prefix(at + 2))
    out.append(bytes.substr(0, at)).append(line_end);
  out.append(bytes);
}

}  // namespace

std::string CommandOutput::TakePaneText(std::string_view line_end) {
  if (line_end == "\r\n") return TakePaneText();
  if (kind_ == Kind::kText || kind_ == Kind::kBytes) {
    // A line end of one byte for two: the text shrinks, so it is rewritten in place.
    std::string text = std::move(text_);
    std::size_t w = 0;
    for (std::size_t r = 0; r < text.size();) {
      if (text[r] == '\r' && r + 1 < text.size() && text[r + 1] == '\n') {
        for (char c : line_end) text[w++] = c;
        r += 2;
      } else {
        text[w++] = text[r++];
      }
    }
    text.resize(w);
    return text;
  }
  // Lines hold no CR LF of their own unless a typed answer brought one, and a CR LF
  // after each line is matched on its own in the CR LF text: line by line is the same.
  std::size_t size = 0;
  ForEachLine([&](std::string_view line) {
    size += line.size() + line_end.size();
    return true;
  });
  std::string out;
  out.reserve(size);
  ForEachLine([&](std::string_view line) {
    AppendWithLineEnds(out, line, line_end);
    out.append(line_end);
    return true;
  });
  return out;
}

std::string TextCommand::Usage() const {
  std::string usage;
  for (const Parameter& p : params) {
    if (!usage.empty()) usage.push_back(' ');
    usage.append(p.name);
  }
  if (!note.empty()) usage.append(usage.empty() ? "" : " ").append(note);
  return usage;
}

namespace {

// The three arguments every command's run takes, and what it hands back.
using Answers = std::span<const Answer>;
using Input = const CommandInput&;
using Cancel = const CancelCheck&;
using Out = CommandOutput;

Checked Refuse(std::string message) { return {0, std::move(message)}; }

// A whole number from `lo` to `hi`; `what` names it in the refusal.
Parameter WholeNumber(std::string_view name, std::int64_t lo, std::int64_t hi, std::string_view what) {
  return {name, [=](std::string_view s) {
            auto v = ParseInteger(s);
            if (!v || *v < lo || *v > hi)
              return Refuse(std::string(what) + " must be a whole number from " + std::to_string(lo) +
                            " to " + std::to_string(hi) + ", not \"" + std::string(s) + "\"");
            return Checked{*v, {}};
          }};
}

// Any whole number, negative ones included.
Parameter AnyNumber(std::string_view name, std::string_view what) {
  return {name, [=](std::string_view s) {
            auto v = ParseInteger(s);
            if (!v) return Refuse(std::string(what) + " must be a whole number, not \"" + std::string(s) + "\"");
            return Checked{*v, {}};
          }};
}

Parameter Column(std::string_view name, std::int64_t lo = 1) {
  return WholeNumber(name, lo, kMaxColumn, "the column");
}

Parameter Line() { return WholeNumber("LINE", 1, INT32_MAX, "the line"); }

Parameter Text(std::string_view name) { return {name, {}}; }

Parameter GroupSize() {
  return {"N", [](std::string_view s) {
            auto v = ParseInteger(s);
            if (!v || *v < 1) return Refuse(std::string(kGroupSizeRefused));
            return Checked{*v, {}};
          }};
}

Parameter LineEnd(std::string_view name) {
  return {name, [](std::string_view s) {
            if (s == "none") return Checked{kLineEndNone, {}};
            if (s == "crlf") return Checked{kLineEndCrLf, {}};
            if (s == "cr") return Checked{kLineEndCr, {}};
            if (s == "lf") return Checked{kLineEndLf, {}};
            return Refuse("a line end is none, crlf, cr or lf, not \"" + std::string(s) + "\"");
          }};
}

Parameter HexSeparator() {
  return {"HEX(01-FF)", [](std::string_view s) {
            auto sep = ParseHexSeparator(s);
            if (!sep) return Refuse(std::string(kHexSeparatorRefused));
            return Checked{static_cast<unsigned char>(*sep), {}};
          }};
}

std::size_t Size(const Answer& a) { return static_cast<std::size_t>(a.number); }

// The items of the HTML menu that go on after the stripping: TAB deletion, leading-space
// trim, then empty-line deletion, each when asked for. They run on a cancelled result
// too, as the menu items run them on whatever the stripping left in the pane.
struct AfterHtml {
  bool delete_tabs = false;
  bool trim_leading = false;
  bool delete_empty = false;
};

CommandOutput HtmlThen(Input in, Cancel cancelled, AfterHtml then) {
  HtmlResult html = StripHtml(in.lines, cancelled);
  CommandOutput out;
  if (!then.delete_tabs && !then.trim_leading && !then.delete_empty) {
    out = CommandOutput::OfText(std::move(html.text));
  } else {
    // Each step's lines are walked from the text before it: the stripped text's lines
    // hold no line end, and neither TAB deletion nor the trim makes one.
    std::string text = std::move(html.text);
    text.resize(encoding::UpToFirstNul(text).size());
    if (then.delete_tabs) text = DeleteAllTabs(LineIndex(text)).Joined("\n");
    if (then.trim_leading) text = TrimLeadingSpaces(LineIndex(text)).Joined("\n");
    const LineIndex index(text);
    Lines kept;
    if (then.delete_empty) {
      DeleteEmptyLines(index).ForEach([&](std::string_view l) {
        kept.Add(l);
        return true;
      });
    } else {
      for (std::string_view l : LineSpan(index)) kept.Add(l);
    }
    out = CommandOutput::OfLines(std::move(kept));
  }
  out.cancelled = html.cancelled;
  return out;
}

CommandOutput Csv(Input in, std::size_t group, std::string_view quote, std::string_view sep) {
  return CommandOutput::OfLines(linecsv(in.lines, quote, sep, group));
}

// One row per command, in menu order. A command reads the pane's lines unless it says
// `on_bytes`; `note` is said after its parameters in the usage.
std::vector<TextCommand> BuildTable() {
  return {
      {.name = "sort-asc",
       .run = [](Answers, Input in, Cancel) { return Out::OfSorted(SortLinesGrouped(in.lines, SortOrder::kAscending)); }},
      {.name = "sort-desc",
       .run = [](Answers, Input in, Cancel) { return Out::OfSorted(SortLinesGrouped(in.lines, SortOrder::kDescending)); }},
      {.name = "number",
       .params = {WholeNumber("LAYOUT(1-4)", 1, 4, "the layout")},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(linenumber(in.lines, static_cast<int>(a[0].number)));
       }},
      {.name = "serial",
       .params = {Text("FORMAT"), AnyNumber("FIRST", "the first number")},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(AddSerialNumbers(in.lines, a[0].text, a[1].number, 0, SIZE_MAX));
       }},
      {.name = "serial-lines",
       .params = {Text("FORMAT"), AnyNumber("FIRST", "the first number"), Line(),
                  WholeNumber("TO", 1, INT32_MAX, "the line")},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(AddSerialNumbers(in.lines, a[0].text, a[1].number, Size(a[2]) - 1, Size(a[3]) - 1));
       }},
      {.name = "reverse", .run = [](Answers, Input in, Cancel) { return Out::OfLines(ReverseLines(in.lines)); }},
      {.name = "dup-line",
       .params = {Line()},
       .run = [](Answers a, Input in, Cancel) { return Out::OfLines(DuplicateLine(in.lines, Size(a[0]) - 1)); }},
      {.name = "del-line",
       .params = {Line()},
       .run = [](Answers a, Input in, Cancel) { return Out::OfKept(DeleteLine(in.lines, Size(a[0]) - 1)); }},
      {.name = "trim-left",
       .run = [](Answers, Input in, Cancel) { return Out::OfLines(TrimLeadingSpaces(in.lines)); }},
      {.name = "trim-right",
       .run = [](Answers, Input in, Cancel) { return Out::OfLines(TrimTrailingSpaces(in.lines)); }},
      {.name = "del-spaces",
       .run = [](Answers, Input in, Cancel) { return Out::OfText(DeleteAllSpaces(JoinLines(in.lines))); }},
      {.name = "del-fullwidth-spaces",
       .run = [](Answers, Input in, Cancel) { return Out::OfText(DeleteAllFullWidthSpaces(JoinLines(in.lines))); }},
      {.name = "del-tabs", .run = [](Answers, Input in, Cancel) { return Out::OfLines(DeleteAllTabs(in.lines)); }},
      {.name = "del-leading-tabs",
       .run = [](Answers, Input in, Cancel) { return Out::OfLines(DeleteLeadingTabs(in.lines)); }},
      {.name = "tab-to",
       .params = {Text("TEXT")},
       .run = [](Answers a, Input in, Cancel) { return Out::OfLines(tabreplace(in.lines, a[0].text)); }},
      {.name = "fullwidth-space-to-spaces",
       .run = [](Answers, Input in, Cancel) { return Out::OfLines(FullWidthSpacesToSpaces(in.lines)); }},
      {.name = "del-line-ends",
       .run = [](Answers, Input in, Cancel) { return Out::OfText(RemoveLineEnds(JoinLines(in.lines))); }},
      {.name = "del-line-ends-range",
       .params = {WholeNumber("START", 0, INT32_MAX, "the start"), WholeNumber("LENGTH", 0, INT32_MAX, "the length")},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfText(RemoveLineEnds(JoinLines(in.lines), Size(a[0]), Size(a[1])));
       }},
      {.name = "del-empty", .run = [](Answers, Input in, Cancel) { return Out::OfKept(DeleteEmptyLines(in.lines)); }},
      {.name = "del-repeated",
       .run = [](Answers, Input in, Cancel) { return Out::OfKept(DeleteRepeatedLines(in.lines)); }},
      {.name = "del-same-key",
       .params = {AnyNumber("N", "the key column")},
       .run = [](Answers a, Input in, Cancel) { return Out::OfKept(DeleteSameKeyLines(in.lines, a[0].number)); }},
      {.name = "line-end-detect",
       .on_bytes = true,
       .run = [](Answers, Input in, Cancel) { return Out::OfBytes(std::to_string(DetectLineEnd(in.bytes)) + "\n"); }},
      {.name = "line-end",
       .params = {LineEnd("FROM"), LineEnd("TO")},
       .note = "(none|crlf|cr|lf)",
       .on_bytes = true,
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfBytes(
             crconvert(in.bytes, static_cast<TLineEnd>(a[0].number), static_cast<TLineEnd>(a[1].number)));
       }},
      {.name = "line-end-auto",
       .on_bytes = true,
       .run = [](Answers, Input in, Cancel) { return Out::OfBytes(crauto(in.bytes)); }},
      {.name = "html", .run = [](Answers, Input in, Cancel c) { return HtmlThen(in, c, {}); }},
      {.name = "html-all",
       .run = [](Answers, Input in, Cancel c) {
         return HtmlThen(in, c, {.delete_tabs = true, .trim_leading = true, .delete_empty = true});
       }},
      {.name = "html-tabs",
       .run = [](Answers, Input in, Cancel c) {
         return HtmlThen(in, c, {.delete_tabs = true, .delete_empty = true});
       }},
      {.name = "html-empty",
       .run = [](Answers, Input in, Cancel c) { return HtmlThen(in, c, {.delete_empty = true}); }},
      {.name = "tex", .run = [](Answers, Input in, Cancel) { return Out::OfText(StripTex(JoinLines(in.lines))); }},
      {.name = "break",
       .params = {Column("COLUMN")},
       .run = [](Answers a, Input in, Cancel) { return Out::OfLines(BreakAtColumn(in.lines, Size(a[0]))); }},
      {.name = "break-insert",
       .params = {Column("COLUMN"), Text("TEXT")},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(BreakAtColumn(in.lines, Size(a[0]), a[1].text));
       }},
      {.name = "insert",
       .params = {Column("COLUMN"), Text("TEXT")},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(InsertAtColumn(in.lines, Size(a[0]), a[1].text));
       }},
      {.name = "del-columns",
       .params = {Column("START"), Column("COUNT", 0)},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(DeleteColumns(in.lines, Size(a[0]), Size(a[1])));
       }},
      {.name = "extract-columns",
       .params = {Column("START"), Column("COUNT", 0)},
       .run = [](Answers a, Input in, Cancel) {
         return Out::OfLines(ExtractColumns(in.lines, Size(a[0]), Size(a[1])));
       }},
      {.name = "csv",
       .params = {GroupSize(), Text("QUOTE"), Text("SEPARATOR")},
       .run = [](Answers a, Input in, Cancel) { return Csv(in, Size(a[0]), a[1].text, a[2].text); }},
      {.name = "csv-hex",
       .params = {GroupSize(), HexSeparator()},
       .run = [](Answers a, Input in, Cancel) {
         const char sep = static_cast<char>(a[1].number);
         return Csv(in, Size(a[0]), "", std::string_view(&sep, 1));
       }},
  };
}

}  // namespace

const std::vector<TextCommand>& TextCommands() {
  static const std::vector<TextCommand> table = BuildTable();
  return table;
}

const TextCommand* FindTextCommand(std::string_view name) {
  for (const TextCommand& c : TextCommands())
    if (c.name == name) return &c;
  return nullptr;
}

CommandRun RunTextCommand(const TextCommand& command, std::span<const std::string> answers,
                          const CommandInput& in, const CancelCheck& cancelled) {
  CommandRun run;
  const std::size_t count = command.params.size();
  if (answers.size() != count) {
    run.status = CommandRun::Status::kRefused;
    run.message = std::string(command.name) + " takes " + std::to_string(count) +
                  (count == 1 ? " answer" : " answers");
    if (count > 0) run.message.append(": ").append(command.Usage());
    return run;
  }
  std::vector<Answer> checked;
  checked.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    Answer a{answers[i], 0};
    if (const auto& check = command.params[i].check) {
      Checked c = check(a.text);
      if (!c.refusal.empty()) {
        run.status = CommandRun::Status::kRefused;
        run.message = std::move(c.refusal);
        return run;
      }
      a.number = c.number;
    }
    checked.push_back(a);
  }
  try {
    run.output = command.run(checked, in, cancelled);
  } catch (const std::exception& e) {
    // Memory running out for a huge text, or the collator that cannot start: the caller
    // says so rather than the program ending.
    run.status = CommandRun::Status::kFailed;
    run.message = e.what();
  }
  return run;
}

}  // namespace haruvi::textcmd
