// The matching procedures: longest match from a state, match at a line head, search
// not starting at a line head, and the anchored and simple procedures.
#include "regex/match_core.h"

#include <algorithm>

namespace haruvi::regex {

namespace {

// Walks the sorted move lists of the automaton.
struct SortedWalk {
  const TRE_DFA& dfa;
  bool Accepting(int s) const { return dfa.States()[static_cast<std::size_t>(s)].accepting; }
  int Move(int s, Code c) const { return dfa.FindMove(s, c); }
  int Step(int s, std::string_view t, std::size_t p, std::size_t& next) const {
    CharAt c = ReadChar(t, p);
    next = c.next;
    return dfa.FindMove(s, c.code);
  }
  // The initial state cannot leave on this byte (so a search may skip the position).
  bool CannotStart(unsigned char) const { return false; }
};

// Walks the byte table: one look-up per byte, two for a double-byte character.
struct TableWalk {
  const TRE_DFA& dfa;
  const ByteTable& table;
  bool Accepting(int s) const { return dfa.States()[static_cast<std::size_t>(s)].accepting; }
  int Move(int s, Code c) const { return dfa.FindMove(s, c); }
  int Step(int s, std::string_view t, std::size_t p, std::size_t& next) const {
    std::int32_t e = table.Entry(s, static_cast<unsigned char>(t[p]));
    if (e < table.StateCount()) {
      next = p + 1;
      return e;
    }
    if (p + 1 < t.size()) {
      next = p + 2;
      return table.Entry(e, static_cast<unsigned char>(t[p + 1]));
    }
    next = p + 1;
    return table.Lone(e);
  }
  bool CannotStart(unsigned char b) const { return table.Entry(dfa.Initial(), b) < 0; }
};

}  // namespace

void TMatchCORE::SetRegExp(std::string_view pattern) {
  try {
    TRegularExpression::SetRegExp(pattern);
  } catch (...) {
    anchored_procedure_ = false;
    throw;
  }
  anchored_procedure_ = AnchoredHead() || AnchoredTail();
}

template <class F> auto TMatchCORE::WithWalker(F&& f) const {
  const TRE_DFA& dfa = CurrentDFA();
  const ByteTable* table = CurrentTable();
  if (table && !reference_walk_) return f(TableWalk{dfa, *table});
  return f(SortedWalk{dfa});
}

template <class W>
std::size_t TMatchCORE::Longest(const W& w, int s, std::string_view t, std::size_t p, WalkMemo* memo) const {
  if (s < 0) return npos;
  std::size_t result = npos;
  std::uint64_t checkpoint = memo ? WalkMemo::FirstCheckpoint(p) : UINT64_MAX;
  WalkTrail trail;
  std::size_t end = npos;
  bool joined = false;
  for (;;) {
    if (w.Accepting(s)) result = p;
    if (p >= checkpoint) {
      std::int64_t known;
      if (memo->Find(s, p, known)) {
        end = known >= 0 ? static_cast<std::size_t>(known) : result;
        joined = true;
        break;
      }
      trail.emplace_back(s, p);
      checkpoint = WalkMemo::NextCheckpoint(p);
    }
    if (p >= t.size()) break;  // the end mark is never matched
    std::size_t next;
    int ns = w.Step(s, t, p, next);
    if (ns < 0) break;
    s = ns;
    p = next;
  }
  if (!joined) {
    // p is at the character without a move (or at the end): "$" may end the match there.
    const TRE_DFA& dfa = CurrentDFA();
    if (dfa.AnchoredTail() && w.Move(s, dfa.LineTailCode()) >= 0 &&
        (p >= t.size() || IsLineSeparator(static_cast<unsigned char>(t[p]))))
      end = p;
    else
      end = result;
  }
  for (auto [state, at] : trail)
    memo->Store(state, at, end != npos && end >= at ? static_cast<std::int64_t>(end) : -1);
  return end;
}

template <class W>
std::size_t TMatchCORE::AtLineHead(const W& w, std::string_view t, std::size_t p, WalkMemo* memo) const {
  const TRE_DFA& dfa = CurrentDFA();
  if (!dfa.AnchoredHead()) return Longest(w, dfa.Initial(), t, p, memo);
  std::size_t m1 = Longest(w, w.Move(dfa.Initial(), dfa.LineHeadCode()), t, p, memo);
  if (m1 == npos) return npos;
  std::size_t m2 = Longest(w, dfa.Initial(), t, p, memo);
  return (m2 != npos && m2 >= m1) ? m2 : m1;
}

template <class W>
MatchRange TMatchCORE::SearchFromWith(const W& w, std::string_view t, std::size_t start, WalkMemo* memo) const {
  const TRE_DFA& dfa = CurrentDFA();
  const int init = dfa.Initial();
  // Positions where nothing can begin are skipped a character at a time, unless the
  // initial state accepts (every position matches) or "$" may match right here.
  const bool may_skip = !w.Accepting(init) && w.Move(init, dfa.LineTailCode()) < 0;
  const bool head = dfa.AnchoredHead();
  std::size_t p = start;
  while (p < t.size()) {
    auto b = static_cast<unsigned char>(t[p]);
    if (may_skip && w.CannotStart(b) && !(head && b == '\n')) {
      p = ReadChar(t, p).next;
      continue;
    }
    std::size_t e = Longest(w, init, t, p, memo);
    if (e != npos) return {true, p, e};
    if (head && b == '\n') {
      e = AtLineHead(w, t, p + 1, memo);
      if (e != npos) return {true, p + 1, e};
    }
    p = ReadChar(t, p).next;
  }
  if (dfa.AnchoredTail() && w.Move(init, dfa.LineTailCode()) >= 0) return {true, t.size(), t.size()};
  return {};
}

template <class W>
MatchRange TMatchCORE::SearchWith(const W& w, std::string_view t, std::size_t start, WalkMemo* memo) const {
  if (anchored_procedure_) {
    std::size_t e = AtLineHead(w, t, start, memo);
    if (e != npos) return {true, start, e};
    return SearchFromWith(w, t, start, memo);
  }
  // Simple procedure: leftmost start, longest end.
  const int init = CurrentDFA().Initial();
  if (w.Accepting(init) && start >= t.size()) return {true, start, start};
  std::size_t p = start;
  const bool may_skip = !w.Accepting(init);
  while (p < t.size()) {
    if (may_skip && w.CannotStart(static_cast<unsigned char>(t[p]))) {
      p = ReadChar(t, p).next;
      continue;
    }
    std::size_t e = Longest(w, init, t, p, memo);
    if (e != npos) return {true, p, e};
    p = ReadChar(t, p).next;
  }
  return {};
}

MatchRange TMatchCORE::Search(std::string_view text, std::size_t start, WalkMemo& memo) const {
  start = std::min(start, text.size());
  WalkMemo* m = walk_memo_ ? &memo : nullptr;
  return WithWalker([&](const auto& w) { return SearchWith(w, text, start, m); });
}

MatchRange TMatchCORE::SearchFrom(std::string_view text, std::size_t start, WalkMemo& memo) const {
  start = std::min(start, text.size());
  WalkMemo* m = walk_memo_ ? &memo : nullptr;
  return WithWalker([&](const auto& w) { return SearchFromWith(w, text, start, m); });
}

MatchRange TMatchCORE::Search(std::string_view text, std::size_t start) const {
  WalkMemo memo;
  return Search(text, start, memo);
}

MatchRange TMatchCORE::SearchFrom(std::string_view text, std::size_t start) const {
  WalkMemo memo;
  return SearchFrom(text, start, memo);
}

}  // namespace haruvi::regex
