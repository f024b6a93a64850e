// "grep" and "gsub": the grep engine and TAWKStr.GSub on the command line. grep writes
// the grep report (search/grep_report.h) the pane would hold; gsub reads and writes in
// pieces. Patterns and templates arrive in UTF-8 and are converted to Shift_JIS (CP932)
// unless --raw is given.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <thread>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/piece_io.h"
#include "encoding/utf8_sjis.h"
#include "fileops/folder_walk.h"
#include "regex/awk_str.h"
#include "regex/regex_error.h"
#include "search/file_grep.h"
#include "search/grep.h"
#include "search/grep_report.h"
#include "search/unicode_copy.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

int RunGrep(const Args& args);

// The report goes out in blocks that stay in the cache: a bigger block only costs fresh
// pages (a 1 MB block grown by doubling touches twice that).
constexpr std::size_t kOutBlock = 64 * 1024;

// The tool maps big files (the window never does). A file cut short by another program
// while it is read is caught by the mapping's guard and reported as "PATH: the file
// changed while being read" (the usage exit code for a named file, a problem line in a
// tree's report), never a crash.
std::uint64_t MapBigFiles() { return search::TTxtFile::kMapFrom; }

int RunGSub(const Args& args);
const Command kGrep{"grep", "grep [-n] [-H] [-r [-j N]] [--fuzzy] [--raw] [--out sjis|utf8] PATTERN PATH...",
                    "list the lines of the files (with -r, of the folders' trees) that match PATTERN "
                    "(exit 1 when none do); UTF-8 and UTF-16 files are searched by character; the report "
                    "is UTF-8 on a terminal, else Shift_JIS, unless --out says",
                    &RunGrep, true};
const Command kGSub{"gsub", "gsub [--fuzzy] [--raw] PATTERN TEMPLATE [FILE]",
                    "replace every match (& = the match) in the whole input (exit 1 when none)", &RunGSub, true};

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

// "-j N" or "-jN": the worker count of a tree grep, taken out of the arguments.
std::optional<int> TakeJobs(Args& args, bool& bad) {
  std::optional<int> jobs;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    std::string value;
    if (args[i] == "-j" && i + 1 < args.size()) {
      value = args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    } else if (args[i].rfind("-j", 0) == 0 && args[i].size() > 2) {
      value = args[i].substr(2);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      continue;
    }
    const bool digits = !value.empty() && value.size() < 5 &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoi(value) < 1) bad = true;
    else jobs = std::stoi(value);
    --i;
  }
  return jobs;
}

// "--out sjis|utf8", taken out of the arguments: true for UTF-8; nullopt when not given.
std::optional<bool> TakeOut(Args& args, bool& bad) {
  std::optional<bool> utf8;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    if (args[i] != "--out") continue;
    if (i + 1 >= args.size() || (args[i + 1] != "sjis" && args[i + 1] != "utf8")) {
      bad = true;
      return utf8;
    }
    utf8 = args[i + 1] == "utf8";
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return utf8;
}

// grep -r: every path a folder's tree (or the file itself), walked in one pass without
// following links below it; the files grepped by `jobs` workers while the walk goes on,
// each file's report whole and in walk order. Files that cannot be read are reported and
// passed over.
int RunTreeGrep(const std::string& pattern, const std::vector<std::string>& paths, bool fuzzy, bool headers,
                bool numbers, bool utf8, int jobs) {
  search::FileFeed files;
  std::atomic<bool> trouble{false};
  std::mutex errors;  // the walk's messages and the grep's are never mixed up
  auto say = [&errors](const std::string& message) {
    std::lock_guard lock(errors);
    PrintError(message);
  };
  auto walk = [&] {
    for (const std::string& p : paths) {
      struct stat st {};
      if (::stat(p.c_str(), &st) != 0) {
        say(p + ": " + std::strerror(errno));
        trouble = true;
      } else if (S_ISDIR(st.st_mode)) {
        // Links below are passed over; devices and FIFOs go on to be reported in their place.
        fileops::WalkTree(p, [&](fileops::TreeEntry&& e) {
          if (e.kind == fileops::TreeEntry::UnreadableFolder) {
            say("grep: " + e.path + ": " + std::strerror(EACCES));
            trouble = true;
          } else if (e.kind != fileops::TreeEntry::Link) {
            files.Add(std::move(e.path));
          }
        });
      } else {
        files.Add(p);
      }
    }
  };
  encoding::ChunkWriter out(&WriteOutput, kOutBlock);
  search::FileGrepOptions o;
  o.report = {.file_headers = headers, .line_numbers = numbers, .utf8 = utf8};
  o.fuzzy = fuzzy;
  o.threads = jobs;
  o.line_limit = encoding::kMaxHeldBytes;
  o.map_from = MapBigFiles();
  search::FileGrepResult r;
  try {
    search::TGrep probe;  // a bad pattern is reported before the walk starts
    probe.SetUseFuzzyCharDic(fuzzy);
    probe.SetRegExp(pattern);
  } catch (const regex::ERegExpParser& e) {
    PrintPatternError(e);
    return kExitUsage;
  }
  // The walk feeds the workers as it goes, on this thread, which then greps too; the
  // feed is closed however the walk ends.
  r = search::GrepFiles(
      pattern, files, o, [&out](std::string_view text) { out.Append(text); },
      [&out, &say](const std::string& path, const std::string& message) {
        out.Flush();  // the lines before it are out first
        say("grep: " + path + ": " + message);
      },
      nullptr,
      [&] {
        try {
          walk();
        } catch (...) {
          say("grep: the folder walk failed");
          trouble = true;
        }
        files.Close();
      });
  if (!out.Flush()) return kExitUsage;
  if (trouble || r.problems > 0) return kExitUsage;
  return r.matches > 0 ? kExitOk : kExitNoMatch;
}

int RunGrep(const Args& given) {
  Args args = given;
  bool bad_jobs = false;
  const std::optional<int> jobs = TakeJobs(args, bad_jobs);
  if (bad_jobs) return UsageError(kGrep, "-j needs a worker count of 1 or more");
  bool bad_out = false;
  const std::optional<bool> out_utf8 = TakeOut(args, bad_out);
  if (bad_out) return UsageError(kGrep, "--out takes sjis or utf8");
  const bool utf8 = out_utf8.value_or(::isatty(STDOUT_FILENO) == 1);
  auto parsed = ParseArgs(kGrep, args, {"-n", "-H", "-r", "--fuzzy", "--raw"});
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

  if (parsed->Has("-r")) {
    const int workers = jobs.value_or(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    return RunTreeGrep(*pattern, std::vector<std::string>(rest.begin() + 1, rest.end()), fuzzy, headers, numbers,
                       utf8, workers);
  }
  if (jobs) return UsageError(kGrep, "-j goes with -r");
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
  encoding::ChunkWriter out(&WriteOutput, kOutBlock);
  grep.SetLineLimit(encoding::kMaxHeldBytes);
  grep.SetMapFrom(MapBigFiles());
  search::GrepPrinter printer({.file_headers = headers, .line_numbers = numbers, .utf8 = utf8},
                              [&out](std::string_view line) { out.Append(line); });
  grep.OnMatch = printer.Handler();
  for (std::size_t i = 1; i < rest.size(); ++i) {
    try {
      search::UnicodeCopy copy;
      std::string trouble;
      const bool other_code = copy.Make(rest[i], &trouble, [&grep] { return grep.CanGrepUtf8(); }, grep.Storage());
      if (other_code && copy.Direct()) {
        printer.BeginUtf8File(rest[i]);
        grep.GrepUtf8File(rest[i]);
      } else if (other_code) {
        printer.BeginFile(rest[i], copy.StandIns());
        if (!trouble.empty()) {
          out.Flush();
          PrintError("grep: " + rest[i] + ": " + trouble);
          return kExitUsage;
        }
        grep.GrepFile(copy.Path());
      } else {
        printer.BeginFile(rest[i]);
        grep.GrepFile(rest[i], copy.Opened());
      }
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
