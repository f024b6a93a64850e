// The fast form of a deterministic automaton: one row of 256 entries per state, indexed
// by the next byte. A lead byte leads to a shared trail row for the double-byte codes that
// start with it, so a match walks bytes with one table look-up each and still never starts
// or ends inside a double-byte character. Results equal the sorted-move walk.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "regex/dfa.h"

namespace haruvi::regex {

class ByteTable {
 public:
  static constexpr std::size_t kMaxBytes = 64u << 20;

  // nullptr when the table would be larger than kMaxBytes (the sorted walk is used then).
  static std::unique_ptr<ByteTable> Build(const TRE_DFA& dfa);

  // States 0..StateCount()-1 are the automaton's; entries >= StateCount() in a state's row
  // name a trail row; -1 is no move.
  int StateCount() const { return states_; }
  std::int32_t Entry(int row, unsigned char b) const {
    return rows_[static_cast<std::size_t>(row) * 256 + b];
  }
  // The move for a lead byte of trail row `row` standing alone (last byte of the text).
  std::int32_t Lone(int trail_row) const { return lone_[static_cast<std::size_t>(trail_row - states_)]; }

 private:
  int states_ = 0;
  std::vector<std::int32_t> rows_;
  std::vector<std::int32_t> lone_;
};

}  // namespace haruvi::regex
