// Building the line automaton from the pattern's byte table. A state is a set of
// pattern states (attempts alive) plus either "just after a CR" (so that the LF of a
// CR LF pair is skipped) or "after a lead byte" (of a class of lead bytes that behave
// alike). Matching attempts never outlive a line end because Build refuses patterns
// whose matches can contain a line feed other than the first or the last character.
#include "search/line_automaton.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>

#include "encoding/sjis_char.h"

namespace haruvi::search {

using regex::ByteTable;
using encoding::IsLeadByte;
using regex::TRE_DFA;

namespace {

bool MayCrossLines(const TRE_DFA& dfa) {
  const auto& st = dfa.States();
  std::vector<bool> seen(st.size(), false);
  std::vector<int> work;
  for (const auto& m : st[static_cast<std::size_t>(dfa.Initial())].moves) work.push_back(m.target);
  while (!work.empty()) {
    int q = work.back();
    work.pop_back();
    if (seen[static_cast<std::size_t>(q)]) continue;
    seen[static_cast<std::size_t>(q)] = true;
    int x = dfa.FindMove(q, '\n');
    if (x >= 0 && !st[static_cast<std::size_t>(x)].moves.empty()) return true;
    for (const auto& m : st[static_cast<std::size_t>(q)].moves) work.push_back(m.target);
  }
  return false;
}


}  // namespace

std::unique_ptr<LineAutomaton> LineAutomaton::Build(const TRE_DFA& dfa, const ByteTable& bt) {
  auto la = std::unique_ptr<LineAutomaton>(new LineAutomaton());
  const auto& st = dfa.States();
  const int init = dfa.Initial();
  const int n = bt.StateCount();
  auto accepting = [&](int q) { return q >= 0 && st[static_cast<std::size_t>(q)].accepting; };

  const int after_lf = bt.Entry(init, '\n');
  if (accepting(after_lf)) {
    la->all_lines_ = true;
    return la;
  }
  if (MayCrossLines(dfa)) return nullptr;

  // Lead bytes that behave alike in every pattern state share their pending states.
  std::vector<int> lead_class(256, -1), class_rep;
  {
    std::map<std::vector<std::int32_t>, int> seen;
    for (int l = 0; l < 256; ++l) {
      if (!IsLeadByte(static_cast<unsigned char>(l))) continue;
      std::vector<std::int32_t> sig(static_cast<std::size_t>(n));
      for (int q = 0; q < n; ++q) sig[static_cast<std::size_t>(q)] = bt.Entry(q, static_cast<unsigned char>(l));
      auto [it, fresh] = seen.emplace(std::move(sig), static_cast<int>(class_rep.size()));
      if (fresh) class_rep.push_back(l);
      lead_class[static_cast<std::size_t>(l)] = it->second;
    }
  }

  // Single bytes (and, per lead class, trail bytes) that every pattern state treats
  // alike form one class, so a row is computed once per class, not per byte. Zero reads
  // as a space; line ends are handled apart.
  std::vector<int> byte_class(256, -1), byte_rep;
  {
    std::map<std::vector<std::int32_t>, int> seen;
    for (int b = 0; b < 256; ++b) {
      const auto bb = static_cast<unsigned char>(b == 0 ? ' ' : b);
      if (b == '\n' || b == '\r' || IsLeadByte(bb)) continue;
      std::vector<std::int32_t> sig(static_cast<std::size_t>(n));
      for (int q = 0; q < n; ++q) sig[static_cast<std::size_t>(q)] = bt.Entry(q, bb);
      auto [it, fresh] = seen.emplace(std::move(sig), static_cast<int>(byte_rep.size()));
      if (fresh) byte_rep.push_back(bb);
      byte_class[static_cast<std::size_t>(b)] = it->second;
    }
  }
  std::vector<std::vector<int>> trail_class(class_rep.size(), std::vector<int>(256, -1));
  std::vector<std::vector<int>> trail_rep(class_rep.size());
  for (std::size_t c = 0; c < class_rep.size(); ++c) {
    const auto lead = static_cast<unsigned char>(class_rep[c]);
    // Trail bytes only differ through the distinct trail rows this lead byte reaches.
    std::vector<std::int32_t> rows_of_lead;
    for (int q = 0; q < n; ++q) {
      std::int32_t e = bt.Entry(q, lead);
      if (e >= n) rows_of_lead.push_back(e);
    }
    std::sort(rows_of_lead.begin(), rows_of_lead.end());
    rows_of_lead.erase(std::unique(rows_of_lead.begin(), rows_of_lead.end()), rows_of_lead.end());
    std::map<std::vector<std::int32_t>, int> seen;
    for (int t = 0; t < 256; ++t) {
      if (t == '\n' || t == '\r') continue;
      const auto tt = static_cast<unsigned char>(t == 0 ? ' ' : t);
      std::vector<std::int32_t> sig;
      sig.reserve(rows_of_lead.size());
      for (std::int32_t r : rows_of_lead) sig.push_back(bt.Entry(r, tt));
      auto [it, fresh] = seen.emplace(std::move(sig), static_cast<int>(trail_rep[c].size()));
      if (fresh) trail_rep[c].push_back(tt);
      trail_class[c][static_cast<std::size_t>(t)] = it->second;
    }
  }

  // Sets of pattern states, interned.
  std::vector<std::vector<int>> sets;
  std::map<std::vector<int>, int> set_index;
  auto intern = [&](std::vector<int> s) {
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    auto [it, fresh] = set_index.emplace(s, static_cast<int>(sets.size()));
    if (fresh) sets.push_back(std::move(s));
    return it->second;
  };

  // States: (set, 0 = boundary, 1 = boundary just after CR, 2 + class = pending lead).
  std::map<std::pair<int, int>, std::uint32_t> state_index;
  std::vector<std::pair<int, int>> states;
  bool too_big = false;
  auto state = [&](int set, int kind) -> std::uint32_t {
    auto [it, fresh] = state_index.emplace(std::make_pair(set, kind), static_cast<std::uint32_t>(states.size()));
    if (fresh) {
      states.emplace_back(set, kind);
      if (states.size() > kMaxStates) too_big = true;
    }
    return it->second;
  };
  const int empty_set = intern({});
  state(empty_set, 0);  // Idle() == 0
  const int lf_set = intern(after_lf >= 0 ? std::vector<int>{after_lf} : std::vector<int>{});

  // Rows are filled once all states are known; signals get their final ids afterwards.
  constexpr std::uint32_t kMatch = 0xFFFFFFF0u, kLeadEnd = 0xFFFFFFF1u;
  std::vector<std::vector<std::uint32_t>> rows;
  std::vector<std::uint32_t> lone;
  std::vector<int> next;
  std::size_t work = 0;
  auto step_set = [&](const std::vector<int>& from, auto&& move) -> std::uint32_t {
    work += from.size() + 1;
    if (work > kMaxWork) too_big = true;
    next.clear();
    for (int q : from) {
      int t = move(q);
      if (t >= 0) next.push_back(t);
    }
    int t = move(init);  // a new attempt starts at every character
    if (t >= 0) next.push_back(t);
    for (int q : next)
      if (accepting(q)) return kMatch;
    return state(intern(next), 0);
  };

  for (std::size_t i = 0; i < states.size() && !too_big; ++i) {
    const auto [set_id, kind] = states[i];
    const std::vector<int> cur = sets[static_cast<std::size_t>(set_id)];
    std::vector<std::uint32_t> row(256);
    std::uint32_t lone_next = 0;
    if (kind <= 1) {
      bool lf_accepts = false;
      for (int q : cur) lf_accepts = lf_accepts || accepting(bt.Entry(q, '\n'));
      std::vector<std::uint32_t> by_class(byte_rep.size());
      for (std::size_t c = 0; c < byte_rep.size(); ++c) {
        const auto bb = static_cast<unsigned char>(byte_rep[c]);
        by_class[c] = step_set(cur, [&](int q) { return bt.Entry(q, bb); });
      }
      for (int b = 0; b < 256; ++b) {
        const auto bb = static_cast<unsigned char>(b == 0 ? ' ' : b);
        if (b == '\n') {
          row[b] = kind == 1 ? state(set_id, 0) : lf_accepts ? kMatch : state(lf_set, 0);
        } else if (b == '\r') {
          row[b] = lf_accepts ? kMatch : state(lf_set, 1);
        } else if (IsLeadByte(bb)) {
          row[b] = state(set_id, 2 + lead_class[bb]);
        } else {
          row[b] = by_class[static_cast<std::size_t>(byte_class[static_cast<std::size_t>(b)])];
        }
      }
    } else {
      const auto lc = static_cast<std::size_t>(kind - 2);
      const auto lead = static_cast<unsigned char>(class_rep[lc]);
      auto trail_row = [&](int q) { return bt.Entry(q, lead); };
      std::vector<std::uint32_t> by_class(trail_rep[lc].size());
      for (std::size_t c = 0; c < trail_rep[lc].size(); ++c) {
        const auto tt = static_cast<unsigned char>(trail_rep[lc][c]);
        by_class[c] = step_set(cur, [&](int q) {
          std::int32_t e = trail_row(q);
          return e >= n ? bt.Entry(e, tt) : -1;
        });
      }
      for (int t = 0; t < 256; ++t) {
        row[t] = (t == '\n' || t == '\r') ? kLeadEnd
                                          : by_class[static_cast<std::size_t>(trail_class[lc][static_cast<std::size_t>(t)])];
      }
      lone_next = step_set(cur, [&](int q) {
        std::int32_t e = trail_row(q);
        return e >= n ? bt.Lone(e) : -1;
      });
    }
    rows.push_back(std::move(row));
    lone.push_back(lone_next);
  }
  if (too_big) return nullptr;

  const auto count = static_cast<std::uint32_t>(states.size());
  auto fix = [&](std::uint32_t v) { return v == kMatch ? count : v == kLeadEnd ? count + 1 : v; };
  la->kinds_.resize(count);
  la->table_.resize(static_cast<std::size_t>(count) * 256);
  la->lone_.resize(count);
  for (std::uint32_t s = 0; s < count; ++s) {
    la->kinds_[s] = states[s].second >= 2 ? 1 : 0;
    for (int b = 0; b < 256; ++b) la->table_[static_cast<std::size_t>(s) * 256 + static_cast<std::size_t>(b)] = fix(rows[s][static_cast<std::size_t>(b)]);
    la->lone_[s] = fix(lone[s]);
  }

  // Bytes after which Idle() is still idle: its own moves, and for a lead byte every
  // trail byte (and the lead alone). Just after a CR is idle as well when a line feed
  // starts nothing (the LF of the pair is then skipped or not, to the same effect).
  constexpr std::uint32_t kNone = 0xFFFFFFFFu;  // never a state nor a signal
  const std::uint32_t after_cr_idle = lf_set == empty_set ? state_index.at({empty_set, 1}) : kNone;
  auto idle = [&](std::uint32_t v) { return v == 0 || v == after_cr_idle; };
  std::array<bool, 256> wakes{};
  int quiet = 0;
  for (int b = 0; b < 256; ++b) {
    std::uint32_t v = la->table_[static_cast<std::size_t>(b)];
    bool stays = idle(v);
    if (!stays && v < count && la->kinds_[v] == 1) {
      stays = idle(la->lone_[v]);
      for (int t = 0; t < 256 && stays; ++t) {
        if (t == '\n' || t == '\r') continue;
        stays = idle(la->table_[static_cast<std::size_t>(v) * 256 + static_cast<std::size_t>(t)]);
      }
    }
    wakes[static_cast<std::size_t>(b)] = !stays;
    quiet += stays ? 1 : 0;
  }
  if (quiet >= 128) la->skip_ = std::make_unique<ByteSet>(wakes);
  return la;
}

std::size_t LineAutomaton::SkipIdle(const char* d, std::size_t p, std::size_t n) const {
  // A lead byte takes any next byte but CR and LF as its trail (even 00 or "0"), so only
  // line ends are sure character starts; for others the run of lead-range bytes before
  // them tells: an even run after a character start means a character start.
  auto lead_run = [d](std::size_t from, std::size_t to) {
    std::size_t k = 0;
    while (to > from && IsLeadByte(static_cast<unsigned char>(d[to - 1]))) {
      --to;
      ++k;
    }
    return k;
  };
  for (;;) {
    const char* c = skip_->Find(d + p, d + n);
    if (c == d + n) return lead_run(p, n) % 2 ? n - 1 : n;
    const auto ci = static_cast<std::size_t>(c - d);
    const auto b = static_cast<unsigned char>(*c);
    if (b == '\n' || b == '\r' || lead_run(p, ci) % 2 == 0) return ci;
    p = ci + 1;  // a trail byte: the next byte starts a character
  }
}

bool LineAutomaton::TreatsUserAreaAlike() const {
  const std::uint32_t signal = FirstSignal();
  const auto at = [&](std::uint32_t s, unsigned byte) { return table_[static_cast<std::size_t>(s) << 8 | byte]; };
  for (std::uint32_t s = 0; s < signal; ++s) {
    if (kinds_[s] != 0) continue;  // a pending lead byte: no code starts here
    const std::uint32_t lead = at(s, 0xF0);
    for (unsigned b = 0xF1; b <= 0xF9; ++b)
      if (at(s, b) != lead) return false;
    if (lead >= signal) continue;
    const std::uint32_t first = at(lead, 0x40);
    for (unsigned t = 0x41; t <= 0xFC; ++t)
      if (t != 0x7F && at(lead, t) != first) return false;
  }
  return true;
}

}  // namespace haruvi::search
