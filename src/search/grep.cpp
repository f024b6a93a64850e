// Scanner choice and the automaton scanner that walks the pattern automaton with the
// main and look-ahead cursors of TTxtFile (used when no faster scanner applies, and by
// tests as the reference for the others).
#include "search/grep.h"

#include "encoding/unicode_convert.h"
#include "encoding/utf8_standins.h"

#include "encoding/sjis_char.h"
#include "regex/char_dict.h"
#include "regex/walk_memo.h"
#include "search/required_code.h"

namespace haruvi::search {

using regex::Code;

TGrep::TGrep() { SetRegExp(""); }

namespace {

// A literal can be searched as raw bytes when no byte of it is changed or ended by the
// grep reading rules (line ends, zero read as space) and every code is a character that
// text can hold as exactly these bytes.
bool RawSearchable(const regex::TRE_DFA& dfa) {
  if (!dfa.IsLiteral() || dfa.LiteralCodes().empty()) return false;
  for (Code c : dfa.LiteralCodes()) {
    if (c > 0xFF ? !encoding::IsLeadByte(static_cast<unsigned char>(c >> 8)) : encoding::IsLeadByte(static_cast<unsigned char>(c)))
      return false;
  }
  for (char ch : dfa.Literal())
    if (ch == '\n' || ch == '\r' || ch == ' ' || ch == '\0') return false;
  return true;
}

}  // namespace

void TGrep::SetRegExp(std::string_view pattern) {
  scanner_ = Scanner::Nothing;
  line_automaton_.reset();
  required_.clear();
  literal_.clear();
  literal_utf8_.clear();
  literal_utf8_known_ = false;
  utf8_lines_ = Utf8Lines::kUnknown;
  required_utf8_.clear();
  // The dictionary takes a while to build: only a fuzzy grep asks for it.
  if (UseFuzzyCharDic() && PreProcessor().FuzzyCharDicList.empty())
    PreProcessor().FuzzyCharDicList.push_back(regex::CharEquivalenceDictionary());
  TRegularExpression::SetRegExp(pattern);  // on error the empty pattern is current
  const regex::TRE_DFA& dfa = CurrentDFA();
  if (dfa.IsLiteral() && dfa.LiteralCodes().empty()) return;  // matches no character
  if (RawSearchable(dfa)) {
    scanner_ = Scanner::Literal;
    literal_ = dfa.Literal();
    return;
  }
  if (const regex::ByteTable* table = CurrentTable()) line_automaton_ = LineAutomaton::Build(dfa, *table);
  if (line_automaton_ && !line_automaton_->AllLines()) required_ = RequiredCharacters(dfa);
  scanner_ = line_automaton_ ? Scanner::LineAutomaton : Scanner::Automaton;
}

bool TGrep::CanGrepUtf8() {
  if (scanner_ == Scanner::LineAutomaton) return Utf8LinesKnown() != Utf8Lines::kNo;
  if (scanner_ != Scanner::Literal) return false;
  if (!literal_utf8_known_) {
    std::size_t missing = 0;
    literal_utf8_ = encoding::SjisToUtf8(literal_, &missing);
    if (missing > 0) literal_utf8_.clear();
    literal_utf8_known_ = true;
  }
  return !literal_utf8_.empty();
}

TGrep::Utf8Lines TGrep::Utf8LinesKnown() {
  if (utf8_lines_ != Utf8Lines::kUnknown) return utf8_lines_;
  utf8_lines_ = Utf8Lines::kNo;
  if (!line_automaton_ || line_automaton_->AllLines() || !line_automaton_->TreatsUserAreaAlike())
    return utf8_lines_;
  if (required_.empty() || !prefilter_) return utf8_lines_ = Utf8Lines::kEvery;
  std::vector<std::string> forms;
  bool never = false;
  for (const std::string& r : required_) {
    encoding::Utf8Source source = encoding::Utf8SourceOf(r);
    if (source.kind == encoding::Utf8Source::kStandIns) return utf8_lines_;
    // A character no UTF-8 text turns into: no line of such a file can match.
    if (source.kind == encoding::Utf8Source::kNone) never = true;
    else forms.push_back(std::move(source.utf8));
  }
  required_utf8_ = std::move(forms);
  utf8_lines_ = never ? Utf8Lines::kNever : Utf8Lines::kYes;
  return utf8_lines_;
}

void TGrep::GrepFile(const std::string& path, OpenedFile* opened) {
  if (!OnMatch) return;
  TTxtFile f(path, Cancel, OnIdle, block_size_, &buffer_, map_from_, opened);
  f.SetMaxWindow(line_limit_);
  Scanner s = forced_ != Scanner::Nothing ? forced_ : scanner_;
  if (scanner_ == Scanner::Nothing) return;
  if (s == Scanner::Literal && scanner_ != Scanner::Literal) s = Scanner::Automaton;
  if (s == Scanner::LineAutomaton && !line_automaton_) s = Scanner::Automaton;
  switch (s) {
    case Scanner::Literal: ScanLiteral(f); break;
    case Scanner::LineAutomaton:
      if (line_automaton_->AllLines()) ScanAllLines(f);
      else if (prefilter_ && !required_.empty()) ScanCandidateLines(f, *line_automaton_, required_);
      else ScanLines(f, *line_automaton_);
      break;
    default: ScanAutomaton(f); break;
  }
  f.CheckMapped();
}

void TGrep::GrepUtf8File(const std::string& path) {
  if (!CanGrepUtf8()) return GrepFile(path);
  if (!OnMatch) return;
  TTxtFile f(path, Cancel, OnIdle, block_size_, &buffer_, map_from_);
  f.SetMaxWindow(line_limit_);
  if (scanner_ == Scanner::LineAutomaton) {
    if (utf8_lines_ == Utf8Lines::kYes) ScanCandidateLines(f, *line_automaton_, required_utf8_, true);
    else if (utf8_lines_ == Utf8Lines::kEvery) ScanAllLines(f, line_automaton_.get());
    f.CheckMapped();
    return;
  }
  utf8_file_ = true;
  try {
    ScanLiteral(f);
  } catch (...) {
    utf8_file_ = false;
    throw;
  }
  utf8_file_ = false;
  f.CheckMapped();
}

void TGrep::ScanAutomaton(TTxtFile& f) {
  const regex::TRE_DFA& dfa = CurrentDFA();
  const int init = dfa.Initial();
  const auto& states = dfa.States();
  // Look-ahead walks from successive characters may run far (past line ends); the memo
  // stops a walk where it joins an earlier one whose outcome is known.
  regex::WalkMemo memo;
  regex::WalkTrail trail;
  try {
    for (;;) {
      int s = dfa.FindMove(init, f.NextChar());
      std::uint64_t checkpoint = walk_memo_ ? regex::WalkMemo::FirstCheckpoint(f.AheadOffset()) : UINT64_MAX;
      trail.clear();
      bool found = false;
      while (s >= 0) {
        if (states[static_cast<std::size_t>(s)].accepting) {
          found = true;
          break;
        }
        const std::uint64_t at = f.AheadOffset();
        if (at >= checkpoint) {
          std::int64_t known;
          if (memo.Find(s, at, known)) {
            found = known != 0;
            break;
          }
          trail.emplace_back(s, at);
          checkpoint = regex::WalkMemo::NextCheckpoint(at);
        }
        Code c;
        try {
          c = f.NextCharAhead();
        } catch (const EEndOfFile&) {
          break;  // this attempt ran into the end; later characters may still match
        }
        s = dfa.FindMove(s, c);
      }
      for (auto [state, at] : trail) memo.Store(state, at, found ? 1 : 0);
      if (found) {
        RE_LineInfo_t info = f.ReadRestOfLine();
        OnMatch(*this, info);
      }
    }
  } catch (const EEndOfFile&) {
  }
}

}  // namespace haruvi::search
