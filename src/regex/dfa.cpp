// Subset construction, move sorting and plain-literal detection.
#include "regex/dfa.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "regex/regex_error.h"

namespace haruvi::regex {

std::size_t TRE_NFAStateSet::Hash() const {
  std::uint64_t h = 0x9E3779B97F4A7C15ull;
  for (std::uint64_t w : words_) h = (h ^ w) * 0x100000001B3ull + (h >> 29);
  return static_cast<std::size_t>(h);
}

namespace {

struct SetHash {
  std::size_t operator()(const TRE_NFAStateSet* s) const { return s->Hash(); }
};
struct SetEq {
  bool operator()(const TRE_NFAStateSet* a, const TRE_NFAStateSet* b) const { return *a == *b; }
};

// Adds every state reachable through empty moves (depth first).
void Close(const TRE_NFA& nfa, TRE_NFAStateSet& set, std::vector<int>& stack) {
  stack.clear();
  const auto& words = set.Words();
  for (std::size_t w = 0; w < words.size(); ++w)
    for (std::uint64_t bits = words[w]; bits; bits &= bits - 1)
      stack.push_back(static_cast<int>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits))));
  while (!stack.empty()) {
    int s = stack.back();
    stack.pop_back();
    for (int t : nfa.States()[static_cast<std::size_t>(s)].empty) {
      if (!set.Has(t)) {
        set.Include(t);
        stack.push_back(t);
      }
    }
  }
}

}  // namespace

TRE_DFA::TRE_DFA(const TRE_NFA& nfa)
    : anchored_head_(nfa.AnchoredHead()), anchored_tail_(nfa.AnchoredTail()),
      line_head_(nfa.LineHeadCode()), line_tail_(nfa.LineTailCode()) {
  Construct(nfa);
  for (DfaState& s : states_)
    std::stable_sort(s.moves.begin(), s.moves.end(),
                     [](const DfaMove& a, const DfaMove& b) { return a.lo < b.lo; });
  DetectLiteral();
}

void TRE_DFA::Construct(const TRE_NFA& nfa) {
  const std::size_t n = nfa.States().size();
  const std::size_t set_bytes = (n / 64 + 1) * 8;
  std::vector<std::unique_ptr<TRE_NFAStateSet>> sets;
  std::unordered_map<const TRE_NFAStateSet*, int, SetHash, SetEq> index;
  std::vector<int> stack;

  auto find_or_add = [&](std::unique_ptr<TRE_NFAStateSet> set) -> int {
    auto it = index.find(set.get());
    if (it != index.end()) return it->second;
    if (states_.size() >= kMaxStates || (sets.size() + 1) * set_bytes > kMaxSetBytes)
      throw ERegExpParser(msg::kTooComplex, 0);
    DfaState st;
    st.accepting = set->Has(nfa.Final());
    states_.push_back(std::move(st));
    int id = static_cast<int>(states_.size() - 1);
    index.emplace(set.get(), id);
    sets.push_back(std::move(set));
    return id;
  };

  auto start = std::make_unique<TRE_NFAStateSet>(n);
  start->Include(nfa.Initial());
  Close(nfa, *start, stack);
  find_or_add(std::move(start));

  // Unmarked states are exactly those at or after `next`, so the list order is kept.
  struct Labelled {
    Code lo, hi;
    int target;
  };
  std::vector<Labelled> moves_here;
  std::vector<std::pair<std::uint32_t, std::unique_ptr<TRE_NFAStateSet>>> by_label;
  std::unordered_map<std::uint32_t, std::size_t> label_slot;
  std::vector<std::uint32_t> cuts;
  for (std::size_t next = 0; next < states_.size(); ++next) {
    moves_here.clear();
    const TRE_NFAStateSet& cur = *sets[next];
    const auto& words = cur.Words();
    for (std::size_t w = 0; w < words.size(); ++w) {
      for (std::uint64_t bits = words[w]; bits; bits &= bits - 1) {
        int s = static_cast<int>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(bits)));
        const auto& moves = nfa.States()[static_cast<std::size_t>(s)].moves;
        for (auto m = moves.rbegin(); m != moves.rend(); ++m) moves_here.push_back({m->lo, m->hi, m->target});
      }
    }
    // Labels are disjoint after the leaf partition, except for "^" and "$" that stand for
    // themselves (or anchor moves on a code a class also holds): such labels are cut into
    // pieces at every label edge, so that each piece has one target set.
    cuts.clear();
    for (const Labelled& m : moves_here) {
      cuts.push_back(m.lo);
      cuts.push_back(std::uint32_t{m.hi} + 1);
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    by_label.clear();
    label_slot.clear();
    for (const Labelled& m : moves_here) {
      auto piece = std::lower_bound(cuts.begin(), cuts.end(), std::uint32_t{m.lo});
      for (; piece + 1 != cuts.end() && *(piece + 1) <= std::uint32_t{m.hi} + 1; ++piece) {
        std::uint32_t label = *piece << 16 | (*(piece + 1) - 1);
        auto [it, fresh] = label_slot.emplace(label, by_label.size());
        if (fresh) by_label.emplace_back(label, std::make_unique<TRE_NFAStateSet>(n));
        by_label[it->second].second->Include(m.target);
      }
    }
    std::vector<DfaMove> moves;
    for (auto& [label, set] : by_label) {
      Close(nfa, *set, stack);
      int target = find_or_add(std::move(set));
      moves.push_back({static_cast<Code>(label >> 16), static_cast<Code>(label & 0xFFFF), target});
    }
    // New moves go to the head of the list.
    std::reverse(moves.begin(), moves.end());
    states_[next].moves = std::move(moves);
  }
}

void TRE_DFA::DetectLiteral() {
  literal_ = false;
  literal_text_.clear();
  literal_codes_.clear();
  std::vector<bool> seen(states_.size(), false);
  int s = Initial();
  for (;;) {
    const DfaState& st = states_[static_cast<std::size_t>(s)];
    // A dead end that does not accept matches nothing: not a literal.
    if (st.moves.empty()) {
      if (!st.accepting) return;
      break;
    }
    if (st.moves.size() > 1 || st.moves[0].lo != st.moves[0].hi || st.accepting) return;
    // A cycle of single moves never ends in a literal.
    if (seen[static_cast<std::size_t>(s)] || literal_codes_.size() >= kMaxLiteralChars) {
      literal_text_.clear();
      literal_codes_.clear();
      return;
    }
    seen[static_cast<std::size_t>(s)] = true;
    literal_codes_.push_back(st.moves[0].lo);
    AppendCode(literal_text_, st.moves[0].lo);
    s = st.moves[0].target;
  }
  literal_ = true;
}

}  // namespace haruvi::regex
