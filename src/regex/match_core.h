// TMatchCORE: leftmost-longest search of a compiled pattern in a text held in memory,
// with line anchors. The procedures walk either the byte table (fast) or the sorted
// move lists (reference); both give the same results.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "regex/regular_expression.h"
#include "regex/walk_memo.h"

namespace haruvi::regex {

enum TMatchCORE_LineSeparator { mcls_CRLF = 0, mcls_LF = 1 };

struct MatchRange {
  bool found = false;
  std::size_t start = 0;  // byte offsets into the text; end is exclusive
  std::size_t end = 0;
};

class TMatchCORE : public TRegularExpression {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  TMatchCORE_LineSeparator LineSeparator = mcls_CRLF;

  // Chooses the procedure for Search: anchored when the pattern has "^" or "$" anchors.
  void SetRegExp(std::string_view pattern) override;

  // The chosen procedure from `start` (which counts as a line head).
  MatchRange Search(std::string_view text, std::size_t start = 0) const;
  // Search that does not take `start` as a line head.
  MatchRange SearchFrom(std::string_view text, std::size_t start) const;
  // The same, sharing `memo` between calls on one unchanged text (GSub's loop).
  MatchRange Search(std::string_view text, std::size_t start, WalkMemo& memo) const;
  MatchRange SearchFrom(std::string_view text, std::size_t start, WalkMemo& memo) const;
  // True for the byte that ends a line for "$": CR or LF by LineSeparator.
  bool IsLineSeparator(unsigned char b) const { return b == (LineSeparator == mcls_CRLF ? '\r' : '\n'); }

  // Tests compare the two walks; the product always uses the table when there is one.
  void SetUseReferenceWalk(bool on) { reference_walk_ = on; }
  // Tests compare results with and without the walk memo.
  void SetUseWalkMemo(bool on) { walk_memo_ = on; }

 private:
  template <class W>
  MatchRange SearchWith(const W& w, std::string_view text, std::size_t start, WalkMemo* memo) const;
  template <class W>
  MatchRange SearchFromWith(const W& w, std::string_view text, std::size_t start, WalkMemo* memo) const;
  template <class W>
  std::size_t Longest(const W& w, int s, std::string_view text, std::size_t p, WalkMemo* memo) const;
  template <class W>
  std::size_t AtLineHead(const W& w, std::string_view text, std::size_t p, WalkMemo* memo) const;
  template <class F> auto WithWalker(F&& f) const;

  bool anchored_procedure_ = false;
  bool reference_walk_ = false;
  bool walk_memo_ = true;
};

}  // namespace haruvi::regex
