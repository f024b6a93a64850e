// The fast grep automaton: one byte table that finds, in a single pass over the raw
// file bytes, every line on which a match starts. Its states are the sets of pattern
// states alive at the current byte (a new attempt starts at every character), so each
// byte costs one look-up; CR, LF and CR LF end lines, a zero byte counts as a space, and
// a lead byte always pairs with its trail byte, so no match starts or ends inside a
// double-byte character. Built only for patterns whose matches cannot run past a line
// end, and only within a size budget; otherwise grep walks the pattern automaton itself.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "regex/byte_table.h"
#include "search/byte_scan.h"
#include "regex/dfa.h"

namespace haruvi::search {

class LineAutomaton {
 public:
  static constexpr std::size_t kMaxStates = 8192;
  static constexpr std::size_t kMaxWork = 40u << 20;  // pattern-state steps while building

  // nullptr when a match may span lines or the table would be too large.
  static std::unique_ptr<LineAutomaton> Build(const regex::TRE_DFA& dfa, const regex::ByteTable& table);

  // Every line matches (the pattern matches the line feed before a line by itself).
  bool AllLines() const { return all_lines_; }
  // The state at a line end after a report: no attempt is alive.
  std::uint32_t Idle() const { return 0; }
  // States at or above this are signals: Matched() or LeadBeforeLineEnd().
  std::uint32_t FirstSignal() const { return static_cast<std::uint32_t>(kinds_.size()); }
  std::uint32_t Matched() const { return FirstSignal(); }
  std::uint32_t LeadBeforeLineEnd() const { return FirstSignal() + 1; }
  const std::uint32_t* Table() const { return table_.data(); }
  // After LeadBeforeLineEnd from pending state `s`: the state once the lead byte has
  // been taken alone (or Matched()); the line end is then read from that state.
  std::uint32_t LoneLead(std::uint32_t s) const { return lone_[s]; }

  // In Idle() most bytes usually change nothing; SkipIdle jumps from the character start
  // `p` to the next character start whose byte may change the state (or near the window
  // end, stopping before a lead byte whose trail byte is still to be read).
  bool CanSkip() const { return skip_ != nullptr; }

  // True when no state tells one user-area code (0xF040-0xF9FC) from another: which of
  // them a line holds cannot change what matches (the grep of UTF-8 lines relies on it).
  bool TreatsUserAreaAlike() const;
  std::size_t SkipIdle(const char* d, std::size_t p, std::size_t n) const;

 private:
  bool all_lines_ = false;
  std::vector<std::uint8_t> kinds_;  // per state: 0 boundary, 1 pending lead byte
  std::vector<std::uint32_t> table_;
  std::vector<std::uint32_t> lone_;
  std::unique_ptr<ByteSet> skip_;  // bytes that may leave Idle()
};

}  // namespace haruvi::search
