// TGrep: the grep component. It compiles its pattern with the line feed as both the
// line-head and line-tail code (so "^" and "$" are moves on line feeds) and scans files
// block by block, reporting each line on which a match starts once, in file order, to
// its OnMatch sink. A plain literal is searched directly; other patterns run on the
// line automaton, or on the pattern automaton itself when that cannot be built.
//
//   TGrep grep;
//   grep.SetUseFuzzyCharDic(true);
//   grep.SetRegExp(pattern);                     // may throw regex::ERegExpParser
//   grep.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { pane.push_back(li.Line); };
//   grep.Cancel = false;                         // once per grep command
//   for (auto& f : files) grep.GrepFile(f);      // EFileNotFound, EGrepCancel
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/regular_expression.h"
#include "search/grep_errors.h"
#include "search/line_automaton.h"
#include "search/txt_file.h"

namespace haruvi::search {

class TGrep;
using TGrepOnMatch = std::function<void(TGrep& sender, RE_LineInfo_t& line_info)>;

class TGrep : public regex::TRegularExpression {
 public:
  enum class Scanner { Nothing, Literal, LineAutomaton, Automaton };

  TGrep();

  void SetRegExp(std::string_view pattern) override;
  regex::Code LineHeadCode() const override { return '\n'; }
  regex::Code LineTailCode() const override { return '\n'; }

  // Scans one file and calls OnMatch for every matching line; nothing without OnMatch.
  // Raises EFileNotFound (system message), EGrepCancel and ELineTooLong. A file the caller
  // has opened already may be handed over in `opened` (UnicodeCopy::Opened).
  void GrepFile(const std::string& path, OpenedFile* opened = nullptr);

  TGrepOnMatch OnMatch;
  // The stop request. It is seen at block reads and reported lines and stays set until
  // the caller clears it, so a stop between two files is not lost.
  std::atomic<bool> Cancel{false};
  // Runs at every block read and reported line (the window processes its events there).
  std::function<void()> OnIdle;

  Scanner CurrentScanner() const { return scanner_; }
  // True when GrepUtf8File may be used: a UTF-8 file is then searched as it is. A plain
  // literal whose characters all have UTF-8 forms is found in the UTF-8 bytes (every hit
  // of well-formed UTF-8 starts on a character). A pattern of the line automaton that
  // treats all user-area codes alike looks for the UTF-8 forms of the characters every
  // match needs, if any; only the lines that hold them (else every line) are put into
  // Shift_JIS, each alone (with one stand-in for every character without a code), for
  // the automaton.
  // Worked out at the first call: the conversion's tables cost more than most greps.
  bool CanGrepUtf8();
  // GrepFile for a UTF-8 file (CanGrepUtf8): the lines reported are the file's UTF-8.
  void GrepUtf8File(const std::string& path);
  // Tests: run a given scanner (Automaton always works; the others only when chosen or
  // applicable) and use small blocks.
  void ForceScanner(Scanner s) { forced_ = s; }
  void SetBlockSize(std::size_t bytes) { block_size_ = bytes; }
  // Files of at least this size are mapped rather than read (TTxtFile::kMapFrom; see
  // there who may map). By default nothing is.
  void SetMapFrom(std::uint64_t bytes) { map_from_ = bytes; }
  // The storage lent to each file in turn, for UnicodeCopy::Make to read a beginning into.
  TxtBuffer* Storage() { return &buffer_; }
  // Bounds the memory a file's longest line may take (TTxtFile::SetMaxWindow); 0, the
  // default, leaves it unbounded.
  void SetLineLimit(std::size_t bytes) { line_limit_ = bytes; }
  void SetUseWalkMemo(bool on) { walk_memo_ = on; }
  // The line automaton runs only on lines that hold a character every match needs (on by
  // default; tests compare both ways).
  void SetUsePrefilter(bool on) { prefilter_ = on; }

 private:
  void ScanLiteral(TTxtFile& f);
  void ScanLines(TTxtFile& f, const LineAutomaton& la);
  // With `utf8`, `required` are UTF-8 forms and each candidate line is put into Shift_JIS
  // before the automaton reads it.
  void ScanCandidateLines(TTxtFile& f, const LineAutomaton& la, const std::vector<std::string>& required,
                          bool utf8 = false);
  // Every line, or with `utf8` every line of a UTF-8 file that the automaton matches once
  // put into Shift_JIS.
  void ScanAllLines(TTxtFile& f, const LineAutomaton* utf8 = nullptr);
  bool Utf8LineMatches(const LineAutomaton& la, std::string_view line);
  // For a UTF-8 file and a line-automaton pattern: whether the required characters' UTF-8
  // forms can be looked for (kYes), every line must be tried (kEvery), or no line can
  // match at all (kNever).
  enum class Utf8Lines { kUnknown, kNo, kYes, kEvery, kNever };
  Utf8Lines Utf8LinesKnown();
  void ScanAutomaton(TTxtFile& f);

  Scanner scanner_ = Scanner::Nothing;
  Scanner forced_ = Scanner::Nothing;
  std::unique_ptr<LineAutomaton> line_automaton_;
  std::vector<std::string> required_;  // RequiredCharacters of a line-automaton pattern
  std::string literal_;
  std::string literal_utf8_;  // literal_ in UTF-8, empty when it has none
  bool literal_utf8_known_ = false;
  Utf8Lines utf8_lines_ = Utf8Lines::kUnknown;
  std::vector<std::string> required_utf8_;  // the UTF-8 forms of required_ (kYes)
  std::string line_sjis_;  // a candidate UTF-8 line in Shift_JIS
  bool utf8_file_ = false;    // the file being scanned is UTF-8
  std::size_t block_size_ = TTxtFile::kBlockSize;
  std::size_t line_limit_ = 0;
  std::uint64_t map_from_ = TTxtFile::kNeverMap;
  TxtBuffer buffer_;  // lent to each file in turn
  bool walk_memo_ = true;
  bool prefilter_ = true;
};

}  // namespace haruvi::search
