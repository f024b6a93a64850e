// "grep" and "gsub": the grep engine and TAWKStr.GSub on the command line. grep writes
// the grep report (search/grep_report.h) the pane would hold; gsub reads and writes in
// pieces. Patterns and templates arrive in UTF-8 and are converted to Shift_JIS (CP932)
// unless --raw is given.
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/piece_io.h"
#include "encoding/utf8_sjis.h"
#include "regex/awk_str.h"
#include "regex/regex_error.h"
#include "search/grep.h"
#include "search/grep_report.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

int RunGrep(const Args& args);
int RunGSub(const Args& args);
const Command kGrep{"grep", "grep [-n] [-H] [--fuzzy] [--raw] PATTERN FILE...",
                    "list the lines of the files that match PATTERN (exit 1 when none do)", &RunGrep};
const Command kGSub{"gsub", "gsub [--fuzzy] [--raw] PATTERN TEMPLATE [FILE]",
                    "replace every match (& = the match) in the whole input (exit 1 when none)", &RunGSub};

void PrintPatternError(const regex::ERegExpParser& e) {
  PrintError(std::string(e.what()) + " (position " + std::to_string(e.Position()) + ")");
}

// Flags and operands of a command line; nullopt (after the usage message) on an unknown
// option. "--" ends the options.
struct Parsed {
  std::vector<std::string> flags;
  std::vector<std::string> operands;
  bool Has(std::string_view f) const { return std::find(flags.begin(), flags.end(), f) != flags.end(); }
};

std::optional<Parsed> ParseArgs(const Command& cmd, const Args& args, std::initializer_list<std::string_view> known) {
  Parsed p;
  bool options = true;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && a.size() > 1 && a[0] == '-') {
      if (std::find(known.begin(), known.end(), a) == known.end()) {
        UsageError(cmd, "unknown option " + a);
        return std::nullopt;
      }
      p.flags.push_back(a);
    } else {
      p.operands.push_back(a);
    }
  }
  return p;
}

int RunGrep(const Args& args) {
  auto parsed = ParseArgs(kGrep, args, {"-n", "-H", "--fuzzy", "--raw"});
  if (!parsed) return kExitUsage;
  const bool numbers = parsed->Has("-n"), headers = parsed->Has("-H");
  const bool fuzzy = parsed->Has("--fuzzy"), raw = parsed->Has("--raw");
  const std::vector<std::string>& rest = parsed->operands;
  if (rest.size() < 2) return UsageError(kGrep, "a pattern and at least one file are needed");
  std::optional<std::string> pattern = raw ? rest[0] : encoding::Utf8ToSjis(rest[0]);
  if (!pattern) {
    PrintError("the pattern has characters that Shift_JIS cannot hold");
    return kExitUsage;
  }

  search::TGrep grep;
  try {
    grep.SetUseFuzzyCharDic(fuzzy);
    grep.SetRegExp(*pattern);
  } catch (const regex::ERegExpParser& e) {
    PrintPatternError(e);
    return kExitUsage;
  }
  // The report in blocks of about a megabyte rather than a write per line; a line held
  // whole is at most kMaxHeldBytes long.
  encoding::ChunkWriter out(&WriteOutput);
  grep.SetLineLimit(encoding::kMaxHeldBytes);
  search::GrepPrinter printer({.file_headers = headers, .line_numbers = numbers},
                              [&out](std::string_view line) { out.Append(line); });
  grep.OnMatch = printer.Handler();
  for (std::size_t i = 1; i < rest.size(); ++i) {
    printer.BeginFile(rest[i]);
    try {
      grep.GrepFile(rest[i]);
    } catch (const search::EFileNotFound& e) {
      out.Flush();
      PrintError(rest[i] + ": " + e.what());
      return kExitUsage;
    } catch (const search::ELineTooLong&) {
      out.Flush();
      PrintError("grep: " + rest[i] + ": a line longer than " + std::string(encoding::kMaxHeldText));
      return kExitUsage;
    }
  }
  out.Flush();
  return printer.MatchCount() > 0 ? kExitOk : kExitNoMatch;
}

int RunGSub(const Args& args) {
  auto parsed = ParseArgs(kGSub, args, {"--fuzzy", "--raw"});
  if (!parsed) return kExitUsage;
  const bool fuzzy = parsed->Has("--fuzzy"), raw = parsed->Has("--raw");
  const std::vector<std::string>& rest = parsed->operands;
  if (rest.size() < 2 || rest.size() > 3) return UsageError(kGSub, "a pattern and a template are needed");
  std::optional<std::string> pattern = raw ? rest[0] : encoding::Utf8ToSjis(rest[0]);
  std::optional<std::string> templ = raw ? rest[1] : encoding::Utf8ToSjis(rest[1]);
  if (!pattern || !templ) {
    PrintError("the pattern or template has characters that Shift_JIS cannot hold");
    return kExitUsage;
  }
  InputDescriptor in;
  if (!in.Open(rest.size() == 3 ? rest[2] : "")) return kExitUsage;
  regex::TAWKStr awk;
  awk.LineSeparator = regex::mcls_CRLF;
  try {
    awk.SetUseFuzzyCharDic(fuzzy);
    awk.SetRegExp(*pattern);
  } catch (const regex::ERegExpParser& e) {
    PrintPatternError(e);
    return kExitUsage;
  }
  // In pieces: the input is read and the result written as the matches are decided.
  encoding::PieceReader reader(in.fd(), in.limit());
  encoding::ChunkWriter writer(&WriteOutput);
  regex::TAWKStr::PieceState state;
  std::string out;
  std::size_t want = encoding::kPieceBytes;
  try {
    for (;;) {
      if (!reader.Fill(want)) {
        in.PrintReadError();
        return kExitUsage;
      }
      const std::string_view held = reader.Held();
      const bool last = reader.AtEnd();
      out.clear();
      const std::size_t used = awk.GSubPiece(*templ, held, last, out, state);
      reader.Consume(used);
      if (!writer.Append(out)) return kExitUsage;
      if (last) break;
      // A line that is not yet whole: a window twice as long, up to just past the limit.
      want = used == 0 ? std::min(std::max(2 * held.size(), held.size() + encoding::kPieceBytes), encoding::kMaxHeldBytes + 1)
                       : encoding::kPieceBytes;
    }
  } catch (const regex::ERegExpParser& e) {
    writer.Flush();
    PrintPatternError(e);
    return kExitUsage;
  } catch (const encoding::PieceLimitError& e) {
    writer.Flush();
    PrintError(std::string("gsub: ") + e.what());
    return kExitUsage;
  }
  if (!writer.Flush()) return kExitUsage;
  return state.count > 0 ? kExitOk : kExitNoMatch;
}

const bool registered = RegisterCommand(kGrep) && RegisterCommand(kGSub);

}  // namespace
}  // namespace haruvi::tool
