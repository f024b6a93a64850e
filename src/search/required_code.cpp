// A character is required when the accepting states cannot be reached from the initial
// one without a move labelled with that character alone.
#include "search/required_code.h"

#include <algorithm>

#include "regex/sjis_char.h"

namespace haruvi::search {

using regex::Code;

namespace {

// Whether an accepting state is reachable without the moves labelled `without` alone (-1: none left out).
bool Reachable(const regex::TRE_DFA& dfa, int without) {
  const auto& st = dfa.States();
  std::vector<bool> seen(st.size(), false);
  std::vector<int> work{dfa.Initial()};
  seen[static_cast<std::size_t>(dfa.Initial())] = true;
  while (!work.empty()) {
    const int q = work.back();
    work.pop_back();
    if (st[static_cast<std::size_t>(q)].accepting) return true;
    for (const regex::DfaMove& m : st[static_cast<std::size_t>(q)].moves) {
      if (m.lo == m.hi && m.lo == without) continue;
      if (!seen[static_cast<std::size_t>(m.target)]) {
        seen[static_cast<std::size_t>(m.target)] = true;
        work.push_back(m.target);
      }
    }
  }
  return false;
}

bool Searchable(Code c) {
  if (c > regex::kMaxTextCode || c == '\n' || c == '\r' || c == ' ' || c == 0) return false;
  // A lead byte never takes a line end as its trail, and reads a zero trail as a space.
  const Code trail = c & 0xFF;
  return !(c > 0xFF && (trail == ' ' || trail == '\n' || trail == '\r'));
}

}  // namespace

std::vector<std::string> RequiredCharacters(const regex::TRE_DFA& dfa, std::size_t limit) {
  std::vector<Code> labels;
  for (const regex::DfaState& s : dfa.States())
    for (const regex::DfaMove& m : s.moves)
      if (m.lo == m.hi && Searchable(m.lo)) labels.push_back(m.lo);
  std::sort(labels.begin(), labels.end());
  labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
  if (labels.size() > limit) labels.resize(limit);
  std::vector<std::string> out;
  if (!Reachable(dfa, -1)) return out;  // no match at all: nothing to look for
  for (Code c : labels) {
    if (Reachable(dfa, c)) continue;
    std::string bytes;
    regex::AppendCode(bytes, c);
    out.push_back(std::move(bytes));
  }
  return out;
}

}  // namespace haruvi::search
