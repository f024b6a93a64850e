// The deterministic automaton by subset construction, with each state's moves sorted by
// label so a character's move is found by walking the list, and the plain-literal test
// that lets grep compare characters directly. Construction is bounded: past the state or
// memory budget the pattern is refused as too complex.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "regex/nfa.h"

namespace haruvi::regex {

// A set of nondeterministic states, one bit per state.
class TRE_NFAStateSet {
 public:
  explicit TRE_NFAStateSet(std::size_t state_count) : words_(state_count / 64 + 1, 0) {}
  void Include(int s) { words_[static_cast<std::size_t>(s) / 64] |= std::uint64_t{1} << (s % 64); }
  bool Has(int s) const { return (words_[static_cast<std::size_t>(s) / 64] >> (s % 64)) & 1; }
  bool operator==(const TRE_NFAStateSet& o) const { return words_ == o.words_; }
  const std::vector<std::uint64_t>& Words() const { return words_; }
  std::size_t Hash() const;

 private:
  std::vector<std::uint64_t> words_;
};

struct DfaMove {
  Code lo;
  Code hi;
  int target;
};

struct DfaState {
  bool accepting = false;
  std::vector<DfaMove> moves;  // sorted by lo; labels are disjoint
};

class TRE_DFA {
 public:
  static constexpr std::size_t kMaxStates = 10000;
  static constexpr std::size_t kMaxSetBytes = 48u << 20;  // all state sets together
  static constexpr std::size_t kMaxLiteralChars = 16383;

  // Raises ERegExpParser (too complex) when the budget is exceeded.
  explicit TRE_DFA(const TRE_NFA& nfa);

  const std::vector<DfaState>& States() const { return states_; }
  int Initial() const { return 0; }
  bool AnchoredHead() const { return anchored_head_; }
  bool AnchoredTail() const { return anchored_tail_; }
  Code LineHeadCode() const { return line_head_; }
  Code LineTailCode() const { return line_tail_; }
  bool IsLiteral() const { return literal_; }
  const std::string& Literal() const { return literal_text_; }
  const std::vector<Code>& LiteralCodes() const { return literal_codes_; }

  // The move of state s for code c, walking the sorted list; -1 if none.
  int FindMove(int s, Code c) const {
    for (const DfaMove& m : states_[static_cast<std::size_t>(s)].moves) {
      if (c < m.lo) return -1;
      if (c <= m.hi) return m.target;
    }
    return -1;
  }

 private:
  void Construct(const TRE_NFA& nfa);
  void DetectLiteral();

  std::vector<DfaState> states_;
  bool anchored_head_ = false;
  bool anchored_tail_ = false;
  Code line_head_ = 0, line_tail_ = 0;
  bool literal_ = false;
  std::string literal_text_;
  std::vector<Code> literal_codes_;
};

}  // namespace haruvi::regex
