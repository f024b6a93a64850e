// The text-command table: every command found by name with its answers wired to the right
// arguments, refusals that never reach the text, and the chained HTML items with a stop.
#include "textcmd/command_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <random>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "encoding/line_scan.h"
#include "sjis_text.h"
#include "textcmd/answers.h"

namespace haruvi::textcmd {
namespace {

using test::Sj;
using Status = CommandRun::Status;

struct Row {
  std::string name;
  std::vector<std::string> answers;
  std::string in, out;  // the command's input (bytes or text to split), the pane's new text
};

CommandRun RunByName(const std::string& name, const std::vector<std::string>& answers,
               std::string_view text, const CancelCheck& cancelled = {}) {
  const TextCommand* command = FindTextCommand(name);
  if (!command) {
    ADD_FAILURE() << "no command " << name;
    return {};
  }
  const std::vector<std::string_view> lines = SplitLines(text);
  CommandInput in;
  in.bytes = text;
  in.lines = lines;
  // A result that views input lines points into `text`, the caller's, not into `lines`.
  return RunTextCommand(*command, answers, in, cancelled);
}

// The answers differ in kind or order for most commands, so a swapped or shifted answer
// shows: the line number counted from 1, start before count, quote before separator.
TEST(CommandTable, EveryCommandRunsByNameWithItsAnswersInOrder) {
  const Row rows[] = {
      {"sort-asc", {}, "b\nA\na", "A\r\na\r\nb\r\n"},
      {"sort-desc", {}, "b\nA\na", "b\r\na\r\nA\r\n"},
      {"number", {"4"}, "x\ny", "x,1\r\ny,2\r\n"},
      {"serial", {"No.00", "9"}, "x\ny", "No.09 x\r\nNo.10 y\r\n"},
      {"serial-lines", {"#", "1", "2", "3"}, "x\ny\nz\nw", "x\r\n#1 y\r\n#2 z\r\nw\r\n"},
      {"reverse", {}, Sj("あいu"), Sj("uいあ") + "\r\n"},
      {"dup-line", {"1"}, "a\nb", "a\r\na\r\nb\r\n"},
      {"del-line", {"2"}, "a\nb\nc", "a\r\nc\r\n"},
      {"trim-left", {}, Sj("  　x "), "x \r\n"},
      {"trim-right", {}, Sj("x 　 "), "x\r\n"},
      {"del-spaces", {}, "a b\nc d", "ab\r\ncd\r\n"},
      {"del-fullwidth-spaces", {}, Sj("あ　い"), Sj("あい") + "\r\n"},
      {"del-tabs", {}, "\ta\tb", "ab\r\n"},
      {"del-leading-tabs", {}, "\t\ta\tb", "a\tb\r\n"},
      {"tab-to", {"--"}, "a\tb\t", "a--b--\r\n"},
      {"fullwidth-space-to-spaces", {}, Sj("　x"), "  x\r\n"},
      {"del-line-ends", {}, "a\nb", "ab\r\n"},
      {"del-line-ends-range", {"1", "3"}, "a\nb\nc", "ab\r\nc\r\n"},
      {"del-empty", {}, "a\n\nb", "a\r\nb\r\n"},
      {"del-repeated", {}, "a\na\nb", "a\r\nb\r\n"},
      {"del-same-key", {"3"}, "ab1\nab2\nac3", "ab1\r\nac3\r\n"},
      {"line-end-detect", {}, "a\rb", "2\n"},
      {"line-end", {"cr", "lf"}, "a\rb\r", "a\nb\n"},
      {"line-end-auto", {}, "a\nb", "a\r\nb"},
      {"html", {}, "<title>T</title>x", "T\r\n\r\nx\r\n"},
      {"html-all", {}, "<p>\t  x<br><br>y", "x\r\ny\r\n"},
      {"html-tabs", {}, "<p>\t  x<br><br>y", "  x\r\ny\r\n"},
      {"html-empty", {}, "<p>\t  x<br><br>y", "\t  x\r\ny\r\n"},
      {"tex", {}, "\\vspace{1cm}x % c", "x \r\n"},
      {"break", {"2"}, "abcde", "ab\r\ncd\r\ne\r\n"},
      {"break-insert", {"2", "|"}, "abcde", "ab|\r\ncd|\r\ne\r\n"},
      {"insert", {"2", "|"}, "abc", "a|bc\r\n"},
      {"del-columns", {"2", "3"}, "abcde", "ae\r\n"},
      {"extract-columns", {"2", "3"}, "abcde", "bcd\r\n"},
      {"csv", {"2", "'", ";"}, "a\nb\nc", "'a';'b'\r\n'c'\r\n"},
      {"csv-hex", {"2", "2C"}, "a\nb\nc", "a,b\r\nc\r\n"},
  };
  std::set<std::string> covered;
  for (const Row& r : rows) {
    CommandRun run = RunByName(r.name, r.answers, r.in);
    EXPECT_EQ(run.status, Status::kDone) << r.name << ": " << run.message;
    EXPECT_EQ(run.output.PaneText(), r.out) << r.name;
    covered.insert(r.name);
  }
  for (const TextCommand& c : TextCommands()) {
    EXPECT_TRUE(covered.count(std::string(c.name))) << c.name << " has no row";
    EXPECT_EQ(FindTextCommand(c.name), &c);
  }
  EXPECT_EQ(covered.size(), TextCommands().size()) << "names are not unique";
  EXPECT_EQ(FindTextCommand("list"), nullptr);
  EXPECT_EQ(FindTextCommand("sort"), nullptr);
}

TEST(CommandTable, UsageNamesTheAnswersInOrder) {
  EXPECT_EQ(FindTextCommand("sort-asc")->Usage(), "");
  EXPECT_EQ(FindTextCommand("number")->Usage(), "LAYOUT(1-4)");
  EXPECT_EQ(FindTextCommand("line-end")->Usage(), "FROM TO (none|crlf|cr|lf)");
  EXPECT_EQ(FindTextCommand("csv")->Usage(), "N QUOTE SEPARATOR");
  EXPECT_EQ(FindTextCommand("csv-hex")->Usage(), "N HEX(01-FF)");
}

// Each check's message, word for word; with two bad answers the first one is reported.
TEST(CommandTable, BadAnswersAreRefusedWithTheCheckMessage) {
  const struct {
    std::string name;
    std::vector<std::string> answers;
    std::string message;
  } rows[] = {
      {"number", {"5"}, "the layout must be a whole number from 1 to 4, not \"5\""},
      {"number", {""}, "the layout must be a whole number from 1 to 4, not \"\""},
      {"serial", {"X0", "one"}, "the first number must be a whole number, not \"one\""},
      {"dup-line", {"0"}, "the line must be a whole number from 1 to 2147483647, not \"0\""},
      {"del-line-ends-range", {"0", "-1"}, "the length must be a whole number from 0 to 2147483647, not \"-1\""},
      {"del-same-key", {"x"}, "the key column must be a whole number, not \"x\""},
      {"line-end", {"crlf", "xx"}, "a line end is none, crlf, cr or lf, not \"xx\""},
      {"line-end", {"CRLF", "lf"}, "a line end is none, crlf, cr or lf, not \"CRLF\""},
      {"break", {"65354"}, "the column must be a whole number from 1 to 65353, not \"65354\""},
      {"insert", {"99999999999999999999", "X"},
       "the column must be a whole number from 1 to 65353, not \"99999999999999999999\""},
      {"del-columns", {"1", "-1"}, "the column must be a whole number from 0 to 65353, not \"-1\""},
      {"del-columns", {"x", "y"}, "the column must be a whole number from 1 to 65353, not \"x\""},
      {"csv", {"0", "", ","}, std::string(kGroupSizeRefused)},
      {"csv-hex", {"1", "100"}, std::string(kHexSeparatorRefused)},
      {"csv-hex", {"1", "00"}, std::string(kHexSeparatorRefused)},
      {"csv-hex", {"x", "zz"}, std::string(kGroupSizeRefused)},
      {"sort-asc", {"1"}, "sort-asc takes 0 answers"},
      {"break", {}, "break takes 1 answer: COLUMN"},
  };
  for (const auto& r : rows) {
    CommandRun run = RunByName(r.name, r.answers, "a\nb");
    EXPECT_EQ(run.status, Status::kRefused) << r.name;
    EXPECT_EQ(run.message, r.message) << r.name;
    EXPECT_EQ(run.output.PaneText(), "") << r.name;
  }
}

// The run function is reached only with every answer taken, and gets the checked numbers.
TEST(CommandTable, ARefusalNeverReachesTheCommand) {
  TextCommand probe = *FindTextCommand("del-columns");
  std::vector<std::int64_t> seen;
  int runs = 0;
  probe.run = [&](std::span<const Answer> answers, const CommandInput&, const CancelCheck&) {
    ++runs;
    for (const Answer& a : answers) seen.push_back(a.number);
    return CommandOutput{};
  };
  const CommandInput in;
  EXPECT_EQ(RunTextCommand(probe, std::vector<std::string>{"3", "x"}, in).status, Status::kRefused);
  EXPECT_EQ(RunTextCommand(probe, std::vector<std::string>{"0", "1"}, in).status, Status::kRefused);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(RunTextCommand(probe, std::vector<std::string>{" 7 ", "+0"}, in).status, Status::kDone);
  EXPECT_EQ(seen, (std::vector<std::int64_t>{7, 0}));

  probe.run = [](std::span<const Answer>, const CommandInput&, const CancelCheck&) -> CommandOutput {
    throw std::bad_alloc();
  };
  CommandRun failed = RunTextCommand(probe, std::vector<std::string>{"1", "1"}, in);
  EXPECT_EQ(failed.status, Status::kFailed);
  EXPECT_FALSE(failed.message.empty());
}

// Line-end commands see the bytes, line commands the lines: the caller may fill only one.
TEST(CommandTable, CommandsReadTheFormTheyAreMarkedFor) {
  const std::vector<std::string_view> lines = {"ab"};
  CommandInput in;
  in.bytes = "x\ry\r";
  in.lines = lines;
  const TextCommand& auto_end = *FindTextCommand("line-end-auto");
  ASSERT_TRUE(auto_end.on_bytes);
  CommandRun run = RunTextCommand(auto_end, {}, in);
  EXPECT_EQ(run.output.kind(), CommandOutput::Kind::kBytes);
  EXPECT_EQ(run.output.Bytes(), "x\r\ny\r\n");
  const TextCommand& reverse = *FindTextCommand("reverse");
  ASSERT_FALSE(reverse.on_bytes);
  EXPECT_EQ(RunTextCommand(reverse, {}, in).output.PaneText(), "ba\r\n");
}

// A stop during the stripping keeps what was output, marks the end, and the chained
// empty-line deletion still runs on that.
TEST(CommandTable, HtmlItemsPassTheStopAndChainOnWhatWasDone) {
  int asked = 0;
  CommandRun run = RunByName("html-empty", {}, "<p>a&amp;\r\nb<br>c", [&] { return ++asked == 2; });
  ASSERT_EQ(run.status, Status::kDone);
  EXPECT_TRUE(run.output.cancelled);
  EXPECT_EQ(run.output.PaneText(), "a&amp;\r\n" + std::string(kCancelledLine) + "\r\n");
  run = RunByName("html-empty", {}, "<p>a&amp;\r\nb<br>c", [] { return false; });
  EXPECT_FALSE(run.output.cancelled);
  EXPECT_EQ(run.output.PaneText(), "a&b\r\nc\r\n");
}

// A writer that fails stops the walk over the lines, whatever form they are kept in.
TEST(CommandTable, LineWalkStopsWhenTheReceiverSaysSo) {
  for (const char* name : {"reverse", "del-empty", "del-spaces"}) {
    CommandRun run = RunByName(name, {}, "a\nb\nc");
    int seen = 0;
    EXPECT_FALSE(run.output.ForEachLine([&](std::string_view) { return ++seen < 2; })) << name;
    EXPECT_EQ(seen, 2) << name;
  }
}

// The window and the tool walk the text's lines rather than list them: every command gives
// the same text either way, and its result outlives the walk (only the text must stay).
TEST(CommandTable, WalkedLinesGiveWhatListedLinesGive) {
  std::mt19937 rng(43);
  static const std::string kBytes = "ab \t\r\n\n\r<>&;%\\{}\x81\x40\x82\xA0";
  for (int round = 0; round < 40; ++round) {
    std::string text(rng() % 300, ' ');
    for (char& c : text) c = kBytes[rng() % kBytes.size()];
    for (const TextCommand& command : TextCommands()) {
      if (command.on_bytes) continue;
      // The first of a few answers each check takes: numbers, a line end, a byte, text.
      std::vector<std::string> answers;
      for (const Parameter& p : command.params)
        for (const char* a : {"2", "crlf", "x"})
          if (!p.check || p.check(a).refusal.empty()) {
            answers.emplace_back(a);
            break;
          }
      const std::vector<std::string_view> listed = encoding::SplitLines(text);
      const CommandRun by_list = RunTextCommand(command, answers, CommandInput{text, listed});
      CommandRun by_walk;
      {
        const LineIndex walked(text);
        by_walk = RunTextCommand(command, answers, CommandInput{text, walked});
      }
      ASSERT_EQ(by_list.status, Status::kDone) << command.name << ": " << by_list.message;
      ASSERT_EQ(by_walk.status, Status::kDone) << command.name;
      EXPECT_EQ(by_walk.output.PaneText(), by_list.output.PaneText()) << command.name << " on " << text;
    }
  }
}

// A result for a text of LF or CR line ends is written with them at once; it must be
// what converting the CR LF result gives, CR LF that typed answers put inside lines and
// CRs next to line ends included.
TEST(CommandTable, ResultInTheTextsLineEndIsTheCrLfResultConverted) {
  std::mt19937 rng(7);
  static const std::string kBytes = "ab \t\r\n\n\r<>&";
  for (int round = 0; round < 30; ++round) {
    std::string text(rng() % 200, ' ');
    for (char& c : text) c = kBytes[rng() % kBytes.size()];
    const LineIndex lines(text);
    for (const TextCommand& command : TextCommands()) {
      std::vector<std::string> answers;
      for (const Parameter& p : command.params)
        answers.emplace_back(!p.check ? "\r\n\r" : p.check("2").refusal.empty() ? "2" : "crlf");
      for (std::string_view eol : {"\n", "\r"}) {
        CommandRun crlf = RunTextCommand(command, answers, CommandInput{text, lines});
        CommandRun own = RunTextCommand(command, answers, CommandInput{text, lines});
        ASSERT_EQ(crlf.status, Status::kDone) << command.name << ": " << crlf.message;
        std::string want = crlf.output.TakePaneText();
        for (std::size_t at = 0; (at = want.find("\r\n", at)) != std::string::npos; at += eol.size())
          want.replace(at, 2, eol);
        EXPECT_EQ(own.output.TakePaneText(eol), want) << command.name << " on " << text;
      }
    }
  }
}

}  // namespace
}  // namespace haruvi::textcmd
