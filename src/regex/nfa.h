// The nondeterministic automaton built from a parse tree in one pass: states with
// labelled moves (character ranges) and empty moves, plus the anchor flags found while
// building. Anchors become moves on the owner's line-head and line-tail codes.
#pragma once

#include <cstdint>
#include <vector>

#include "regex/parse_tree.h"

namespace haruvi::regex {

struct NfaMove {
  Code lo;
  Code hi;
  int target;
};

struct NfaState {
  std::vector<NfaMove> moves;  // in insertion order; walked newest first
  std::vector<int> empty;      // targets of empty moves, in insertion order
};

class TRE_NFA {
 public:
  // More states than this is refused as too complex ("+" copies its operand, so nested
  // repeats grow the automaton geometrically).
  static constexpr std::size_t kMaxStates = 200000;

  TRE_NFA(Code line_head, Code line_tail) : line_head_(line_head), line_tail_(line_tail) {}
  // Builds states 0 (initial) and 1 (final) and everything between for the tree's root.
  void Build(const TREParseTree& tree);

  const std::vector<NfaState>& States() const { return states_; }
  int Initial() const { return 0; }
  int Final() const { return 1; }
  bool AnchoredHead() const { return anchored_head_; }
  bool AnchoredTail() const { return anchored_tail_; }
  Code LineHeadCode() const { return line_head_; }
  Code LineTailCode() const { return line_tail_; }

 private:
  int AddState();
  void GenerateStateList(const TREParseTree& tree, int node, int from, int to);

  std::vector<NfaState> states_;
  Code line_head_, line_tail_;
  bool anchored_head_ = false;
  bool anchored_tail_ = false;
};

}  // namespace haruvi::regex
