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

CommandOutput CommandOutput::OfViews(std::vector<std::string_view> views) {
  CommandOutput o;
  o.kind_ = Kind::kViews;
  o.views_ = std::move(views);
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
  std::string out;
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

using Views = std::vector<std::string_view>;
using A = std::span<const Answer>;
using I = const CommandInput&;
using C = const CancelCheck&;

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
CommandOutput HtmlThen(I in, C cancelled, bool tabs, bool leading, bool empty) {
  HtmlResult html = StripHtml(in.lines, cancelled);
  CommandOutput out;
  if (!tabs && !leading && !empty) {
    out = CommandOutput::OfText(std::move(html.text));
  } else {
    Views views = SplitLines(html.text);
    Lines a, b;
    if (tabs) {
      a = DeleteAllTabs(views);
      views = a.Views();
    }
    if (leading) {
      b = TrimLeadingSpaces(views);
      views = b.Views();
    }
    if (empty) views = DeleteEmptyLines(views);
    // The views point into `html.text`, `a` or `b`: the lines are copied out before they go.
    Lines kept;
    for (auto l : views) kept.Add(l);
    out = CommandOutput::OfLines(std::move(kept));
  }
  out.cancelled = html.cancelled;
  return out;
}

CommandOutput Csv(I in, std::size_t group, std::string_view quote, std::string_view sep) {
  return CommandOutput::OfLines(linecsv(in.lines, quote, sep, group));
}

std::vector<TextCommand> BuildTable() {
  using O = CommandOutput;
  return {
      {"sort-asc", {}, "", false, [](A, I in, C) { return O::OfViews(SortLines(in.lines, SortOrder::kAscending)); }},
      {"sort-desc", {}, "", false, [](A, I in, C) { return O::OfViews(SortLines(in.lines, SortOrder::kDescending)); }},
      {"number", {WholeNumber("LAYOUT(1-4)", 1, 4, "the layout")}, "", false,
       [](A a, I in, C) { return O::OfLines(linenumber(in.lines, static_cast<int>(a[0].number))); }},
      {"serial", {Text("FORMAT"), AnyNumber("FIRST", "the first number")}, "", false,
       [](A a, I in, C) { return O::OfLines(AddSerialNumbers(in.lines, a[0].text, a[1].number, 0, SIZE_MAX)); }},
      {"serial-lines",
       {Text("FORMAT"), AnyNumber("FIRST", "the first number"), Line(), WholeNumber("TO", 1, INT32_MAX, "the line")},
       "", false,
       [](A a, I in, C) {
         return O::OfLines(AddSerialNumbers(in.lines, a[0].text, a[1].number, Size(a[2]) - 1, Size(a[3]) - 1));
       }},
      {"reverse", {}, "", false, [](A, I in, C) { return O::OfLines(ReverseLines(in.lines)); }},
      {"dup-line", {Line()}, "", false, [](A a, I in, C) { return O::OfLines(DuplicateLine(in.lines, Size(a[0]) - 1)); }},
      {"del-line", {Line()}, "", false, [](A a, I in, C) { return O::OfViews(DeleteLine(in.lines, Size(a[0]) - 1)); }},
      {"trim-left", {}, "", false, [](A, I in, C) { return O::OfLines(TrimLeadingSpaces(in.lines)); }},
      {"trim-right", {}, "", false, [](A, I in, C) { return O::OfLines(TrimTrailingSpaces(in.lines)); }},
      {"del-spaces", {}, "", false, [](A, I in, C) { return O::OfText(DeleteAllSpaces(JoinLines(in.lines))); }},
      {"del-fullwidth-spaces", {}, "", false,
       [](A, I in, C) { return O::OfText(DeleteAllFullWidthSpaces(JoinLines(in.lines))); }},
      {"del-tabs", {}, "", false, [](A, I in, C) { return O::OfLines(DeleteAllTabs(in.lines)); }},
      {"del-leading-tabs", {}, "", false, [](A, I in, C) { return O::OfLines(DeleteLeadingTabs(in.lines)); }},
      {"tab-to", {Text("TEXT")}, "", false, [](A a, I in, C) { return O::OfLines(tabreplace(in.lines, a[0].text)); }},
      {"fullwidth-space-to-spaces", {}, "", false,
       [](A, I in, C) { return O::OfLines(FullWidthSpacesToSpaces(in.lines)); }},
      {"del-line-ends", {}, "", false, [](A, I in, C) { return O::OfText(RemoveLineEnds(JoinLines(in.lines))); }},
      {"del-line-ends-range",
       {WholeNumber("START", 0, INT32_MAX, "the start"), WholeNumber("LENGTH", 0, INT32_MAX, "the length")}, "", false,
       [](A a, I in, C) { return O::OfText(RemoveLineEnds(JoinLines(in.lines), Size(a[0]), Size(a[1]))); }},
      {"del-empty", {}, "", false, [](A, I in, C) { return O::OfViews(DeleteEmptyLines(in.lines)); }},
      {"del-repeated", {}, "", false, [](A, I in, C) { return O::OfViews(DeleteRepeatedLines(in.lines)); }},
      {"del-same-key", {AnyNumber("N", "the key column")}, "", false,
       [](A a, I in, C) { return O::OfViews(DeleteSameKeyLines(in.lines, a[0].number)); }},
      {"line-end-detect", {}, "", true,
       [](A, I in, C) { return O::OfBytes(std::to_string(DetectLineEnd(in.bytes)) + "\n"); }},
      {"line-end", {LineEnd("FROM"), LineEnd("TO")}, "(none|crlf|cr|lf)", true,
       [](A a, I in, C) {
         return O::OfBytes(crconvert(in.bytes, static_cast<TLineEnd>(a[0].number), static_cast<TLineEnd>(a[1].number)));
       }},
      {"line-end-auto", {}, "", true, [](A, I in, C) { return O::OfBytes(crauto(in.bytes)); }},
      {"html", {}, "", false, [](A, I in, C c) { return HtmlThen(in, c, false, false, false); }},
      {"html-all", {}, "", false, [](A, I in, C c) { return HtmlThen(in, c, true, true, true); }},
      {"html-tabs", {}, "", false, [](A, I in, C c) { return HtmlThen(in, c, true, false, true); }},
      {"html-empty", {}, "", false, [](A, I in, C c) { return HtmlThen(in, c, false, false, true); }},
      {"tex", {}, "", false, [](A, I in, C) { return O::OfText(StripTex(JoinLines(in.lines))); }},
      {"break", {Column("COLUMN")}, "", false, [](A a, I in, C) { return O::OfLines(BreakAtColumn(in.lines, Size(a[0]))); }},
      {"break-insert", {Column("COLUMN"), Text("TEXT")}, "", false,
       [](A a, I in, C) { return O::OfLines(BreakAtColumn(in.lines, Size(a[0]), a[1].text)); }},
      {"insert", {Column("COLUMN"), Text("TEXT")}, "", false,
       [](A a, I in, C) { return O::OfLines(InsertAtColumn(in.lines, Size(a[0]), a[1].text)); }},
      {"del-columns", {Column("START"), Column("COUNT", 0)}, "", false,
       [](A a, I in, C) { return O::OfLines(DeleteColumns(in.lines, Size(a[0]), Size(a[1]))); }},
      {"extract-columns", {Column("START"), Column("COUNT", 0)}, "", false,
       [](A a, I in, C) { return O::OfLines(ExtractColumns(in.lines, Size(a[0]), Size(a[1]))); }},
      {"csv", {GroupSize(), Text("QUOTE"), Text("SEPARATOR")}, "", false,
       [](A a, I in, C) { return Csv(in, Size(a[0]), a[1].text, a[2].text); }},
      {"csv-hex", {GroupSize(), HexSeparator()}, "", false,
       [](A a, I in, C) {
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
