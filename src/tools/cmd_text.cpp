// "text": the text commands of the pane on a file. The input is split into lines the way
// the pane splits them; the result is written with CR LF after every line.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "textcmd/answers.h"
#include "textcmd/columns.h"
#include "textcmd/csv.h"
#include "textcmd/html_strip.h"
#include "textcmd/line_end.h"
#include "textcmd/line_ops.h"
#include "textcmd/lines.h"
#include "textcmd/sort_lines.h"
#include "textcmd/tex_strip.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

namespace tc = haruvi::textcmd;
using Views = std::vector<std::string_view>;

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
  bool Raw(std::string_view bytes) {
    buf_.append(bytes);
    return Flush();
  }
  bool Flush() {
    bool ok = WriteOutput(buf_);
    buf_.clear();
    return ok;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  std::string buf_;
};

// The input bytes: a regular file is mapped rather than read, which saves a copy of a
// 100 MB text and the reallocations of reading it piecewise; anything else is read.
class InputBytes {
 public:
  InputBytes() = default;
  InputBytes(const InputBytes&) = delete;
  InputBytes& operator=(const InputBytes&) = delete;
  ~InputBytes() {
    if (map_) ::munmap(map_, size_);
  }

  bool Open(const std::string& path) {
    if (!path.empty() && path != "-") {
      int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      struct stat st {};
      if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        size_ = static_cast<std::size_t>(st.st_size);
        void* m = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        ::close(fd);
        if (m != MAP_FAILED) {
          map_ = m;
          return true;
        }
        size_ = 0;
      } else if (fd >= 0) {
        ::close(fd);
      }
    }
    auto data = ReadInput(path);
    if (!data) return false;
    read_ = std::move(*data);
    return true;
  }
  std::string_view Bytes() const {
    return map_ ? std::string_view(static_cast<const char*>(map_), size_) : std::string_view(read_);
  }

 private:
  void* map_ = nullptr;
  std::size_t size_ = 0;
  std::string read_;
};

// What a command hands back: lines it built, views of input lines, a whole text to be
// shown as the pane would split it, or bytes written as they are.
struct Output {
  tc::Lines lines;
  Views views;
  std::string text;
  enum Kind { kLines, kViews, kPaneText, kRaw } kind = kLines;
};

Output FromLines(tc::Lines l) {
  Output o;
  o.lines = std::move(l);
  return o;
}
Output FromViews(Views v) {
  Output o;
  o.views = std::move(v);
  o.kind = Output::kViews;
  return o;
}
Output FromText(std::string t, Output::Kind kind = Output::kPaneText) {
  Output o;
  o.text = std::move(t);
  o.kind = kind;
  return o;
}

// A parameter that is no good: the message goes to standard error with the usage.
struct Refusal {
  std::string message;
};

struct Input {
  std::string_view text;
  Views lines;
};

struct Sub {
  std::string_view name;
  std::string_view params;  // shown in the usage
  std::size_t count;        // number of parameters
  bool raw;                 // works on the bytes as read, not on lines
  std::function<Output(const Args&, const Input&)> run;
};

std::int64_t IntArg(const std::string& s, std::int64_t lo, std::int64_t hi, std::string_view what) {
  auto v = tc::ParseInteger(s);
  if (!v || *v < lo || *v > hi)
    throw Refusal{std::string(what) + " must be a whole number from " + std::to_string(lo) +
                  " to " + std::to_string(hi) + ", not \"" + s + "\""};
  return *v;
}

std::size_t ColumnArg(const std::string& s, std::int64_t lo = 1) {
  return static_cast<std::size_t>(IntArg(s, lo, tc::kMaxColumn, "the column"));
}

std::size_t GroupArg(const std::string& s) {
  auto v = tc::ParseInteger(s);
  if (!v || *v < 1) throw Refusal{std::string(tc::kGroupSizeRefused)};
  return static_cast<std::size_t>(*v);
}

tc::TLineEnd LineEndArg(const std::string& s) {
  if (s == "none") return tc::kLineEndNone;
  if (s == "crlf") return tc::kLineEndCrLf;
  if (s == "cr") return tc::kLineEndCr;
  if (s == "lf") return tc::kLineEndLf;
  throw Refusal{"a line end is none, crlf, cr or lf, not \"" + s + "\""};
}

// The items of the HTML menu that go on after the stripping: TAB deletion, leading-space
// trim, then empty-line deletion, each when asked for.
Output HtmlThen(const Input& in, bool tabs, bool leading, bool empty) {
  std::string text = tc::StripHtml(in.lines).text;
  Views views = tc::SplitLines(text);
  tc::Lines a, b;
  if (tabs) {
    a = tc::DeleteAllTabs(views);
    views = a.Views();
  }
  if (leading) {
    b = tc::TrimLeadingSpaces(views);
    views = b.Views();
  }
  if (empty) views = tc::DeleteEmptyLines(views);
  // The views point into `text`, `a` or `b`: the lines are copied out before they go.
  tc::Lines out;
  for (auto l : views) out.Add(l);
  return FromLines(std::move(out));
}

Output Csv(const Input& in, std::size_t group, std::string_view quote, std::string_view sep) {
  return FromLines(tc::linecsv(in.lines, quote, sep, group));
}

const std::vector<Sub>& Subs() {
  using A = const Args&;
  using I = const Input&;
  static const std::vector<Sub> subs = {
      {"sort-asc", "", 0, false, [](A, I in) { return FromViews(tc::SortLines(in.lines, tc::SortOrder::kAscending)); }},
      {"sort-desc", "", 0, false, [](A, I in) { return FromViews(tc::SortLines(in.lines, tc::SortOrder::kDescending)); }},
      {"number", "LAYOUT(1-4)", 1, false,
       [](A a, I in) { return FromLines(tc::linenumber(in.lines, static_cast<int>(IntArg(a[0], 1, 4, "the layout")))); }},
      {"serial", "FORMAT FIRST", 2, false,
       [](A a, I in) {
         auto first = tc::ParseInteger(a[1]);
         if (!first) throw Refusal{"the first number must be a whole number, not \"" + a[1] + "\""};
         return FromLines(tc::AddSerialNumbers(in.lines, a[0], *first, 0, SIZE_MAX));
       }},
      {"reverse", "", 0, false, [](A, I in) { return FromLines(tc::ReverseLines(in.lines)); }},
      {"dup-line", "LINE", 1, false,
       [](A a, I in) { return FromLines(tc::DuplicateLine(in.lines, static_cast<std::size_t>(IntArg(a[0], 1, INT32_MAX, "the line")) - 1)); }},
      {"del-line", "LINE", 1, false,
       [](A a, I in) { return FromViews(tc::DeleteLine(in.lines, static_cast<std::size_t>(IntArg(a[0], 1, INT32_MAX, "the line")) - 1)); }},
      {"trim-left", "", 0, false, [](A, I in) { return FromLines(tc::TrimLeadingSpaces(in.lines)); }},
      {"trim-right", "", 0, false, [](A, I in) { return FromLines(tc::TrimTrailingSpaces(in.lines)); }},
      {"del-spaces", "", 0, false, [](A, I in) { return FromText(tc::DeleteAllSpaces(tc::JoinLines(in.lines))); }},
      {"del-fullwidth-spaces", "", 0, false,
       [](A, I in) { return FromText(tc::DeleteAllFullWidthSpaces(tc::JoinLines(in.lines))); }},
      {"del-tabs", "", 0, false, [](A, I in) { return FromLines(tc::DeleteAllTabs(in.lines)); }},
      {"del-leading-tabs", "", 0, false, [](A, I in) { return FromLines(tc::DeleteLeadingTabs(in.lines)); }},
      {"tab-to", "TEXT", 1, false, [](A a, I in) { return FromLines(tc::tabreplace(in.lines, a[0])); }},
      {"fullwidth-space-to-spaces", "", 0, false, [](A, I in) { return FromLines(tc::FullWidthSpacesToSpaces(in.lines)); }},
      {"del-line-ends", "", 0, false, [](A, I in) { return FromText(tc::RemoveLineEnds(tc::JoinLines(in.lines))); }},
      {"del-line-ends-range", "START LENGTH", 2, false,
       [](A a, I in) {
         auto start = static_cast<std::size_t>(IntArg(a[0], 0, INT32_MAX, "the start"));
         auto length = static_cast<std::size_t>(IntArg(a[1], 0, INT32_MAX, "the length"));
         return FromText(tc::RemoveLineEnds(tc::JoinLines(in.lines), start, length));
       }},
      {"del-empty", "", 0, false, [](A, I in) { return FromViews(tc::DeleteEmptyLines(in.lines)); }},
      {"del-repeated", "", 0, false, [](A, I in) { return FromViews(tc::DeleteRepeatedLines(in.lines)); }},
      {"del-same-key", "N", 1, false,
       [](A a, I in) {
         auto n = tc::ParseInteger(a[0]);
         if (!n) throw Refusal{"the key column must be a whole number, not \"" + a[0] + "\""};
         return FromViews(tc::DeleteSameKeyLines(in.lines, *n));
       }},
      {"line-end-detect", "", 0, true,
       [](A, I in) { return FromText(std::to_string(tc::DetectLineEnd(in.text)) + "\n", Output::kRaw); }},
      {"line-end", "FROM TO (none|crlf|cr|lf)", 2, true,
       [](A a, I in) { return FromText(tc::crconvert(in.text, LineEndArg(a[0]), LineEndArg(a[1])), Output::kRaw); }},
      {"line-end-auto", "", 0, true,
       [](A, I in) {
         return FromText(tc::crauto(in.text), Output::kRaw);
       }},
      {"html", "", 0, false, [](A, I in) { return HtmlThen(in, false, false, false); }},
      {"html-all", "", 0, false,
       [](A, I in) { return HtmlThen(in, true, true, true); }},
      {"html-tabs", "", 0, false, [](A, I in) { return HtmlThen(in, true, false, true); }},
      {"html-empty", "", 0, false, [](A, I in) { return HtmlThen(in, false, false, true); }},
      {"tex", "", 0, false, [](A, I in) { return FromText(tc::StripTex(tc::JoinLines(in.lines))); }},
      {"break", "COLUMN", 1, false, [](A a, I in) { return FromLines(tc::BreakAtColumn(in.lines, ColumnArg(a[0]))); }},
      {"break-insert", "COLUMN TEXT", 2, false,
       [](A a, I in) { return FromLines(tc::BreakAtColumn(in.lines, ColumnArg(a[0]), a[1])); }},
      {"insert", "COLUMN TEXT", 2, false,
       [](A a, I in) { return FromLines(tc::InsertAtColumn(in.lines, ColumnArg(a[0]), a[1])); }},
      {"del-columns", "START COUNT", 2, false,
       [](A a, I in) { return FromLines(tc::DeleteColumns(in.lines, ColumnArg(a[0]), ColumnArg(a[1], 0))); }},
      {"extract-columns", "START COUNT", 2, false,
       [](A a, I in) { return FromLines(tc::ExtractColumns(in.lines, ColumnArg(a[0]), ColumnArg(a[1], 0))); }},
      {"csv", "N QUOTE SEPARATOR", 3, false, [](A a, I in) { return Csv(in, GroupArg(a[0]), a[1], a[2]); }},
      {"csv-hex", "N HEX(01-FF)", 2, false,
       [](A a, I in) {
         std::size_t group = GroupArg(a[0]);
         auto sep = tc::ParseHexSeparator(a[1]);
         if (!sep) throw Refusal{std::string(tc::kHexSeparatorRefused)};
         return Csv(in, group, "", std::string_view(&*sep, 1));
       }},
  };
  return subs;
}

int ListSubs() {
  std::string out = "usage: haruvi-tool text CMD [ARGS...] [FILE]\ncommands:\n";
  for (const Sub& s : Subs()) {
    out.append("  ").append(s.name);
    if (!s.params.empty()) out.append(" ").append(s.params);
    out.append("\n");
  }
  return WriteOutput(out) ? kExitOk : kExitNoMatch;
}

bool Write(const Output& o) {
  Writer w;
  switch (o.kind) {
    case Output::kLines:
      for (std::size_t i = 0; i < o.lines.size(); ++i)
        if (!w.Line(o.lines[i])) return false;
      break;
    case Output::kViews:
      for (auto l : o.views)
        if (!w.Line(l)) return false;
      break;
    case Output::kPaneText:
      for (auto l : tc::SplitLines(o.text))
        if (!w.Line(l)) return false;
      break;
    case Output::kRaw:
      return w.Raw(o.text);
  }
  return w.Flush();
}

int RunText(const Args& args) {
  if (args.empty()) return UsageError(kText, "missing text command (see: haruvi-tool text list)");
  if (args[0] == "list") return ListSubs();
  auto it = std::find_if(Subs().begin(), Subs().end(), [&](const Sub& s) { return s.name == args[0]; });
  if (it == Subs().end()) return UsageError(kText, "unknown text command \"" + args[0] + "\"");
  const Sub& sub = *it;
  if (args.size() < 1 + sub.count || args.size() > 2 + sub.count) {
    std::string usage = "usage: text ";
    usage.append(sub.name);
    if (!sub.params.empty()) usage.append(" ").append(sub.params);
    return UsageError(kText, usage.append(" [FILE]"));
  }
  Args params(args.begin() + 1, args.begin() + 1 + static_cast<std::ptrdiff_t>(sub.count));
  std::string path = args.size() > 1 + sub.count ? args.back() : "";
  InputBytes data;
  if (!data.Open(path)) return kExitNoMatch;
  Input in;
  in.text = data.Bytes();
  if (!sub.raw) in.lines = tc::SplitLines(in.text);
  try {
    Output out = sub.run(params, in);
    return Write(out) ? kExitOk : kExitNoMatch;
  } catch (const Refusal& r) {
    return UsageError(kText, r.message);
  } catch (const std::exception& e) {
    // Out of memory for a huge text, or a library that cannot start: say so, do not abort.
    PrintError(std::string("text ").append(sub.name).append(": ").append(e.what()));
    return kExitNoMatch;
  }
}

const bool registered = RegisterCommand(kText);

}  // namespace
}  // namespace haruvi::tool
