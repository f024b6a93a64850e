// GSub over a text read in pieces. A window is cut where the whole text's search cannot
// see past: after a line feed when no match can take one (no walk crosses it), or, for a
// pattern whose automaton has no loop, on a character boundary that leaves room for the
// longest walk after it. Searches then run on the window exactly as on the whole text.
#include <algorithm>
#include <optional>
#include <vector>

#include "encoding/piece_io.h"
#include "regex/awk_str.h"
#include "regex/scanner.h"

namespace haruvi::regex {
namespace {

// A move on a line feed, alone or as the trail of a lead byte (a walk reads a lead byte
// before a line feed as one character with it).
bool TakesLineFeed(const DfaMove& m) {
  if (m.lo <= '\n' && '\n' <= m.hi) return true;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
    const unsigned code = lead << 8 | '\n';
    if (m.lo <= code && code <= m.hi) return true;
  }
  return false;
}

// The most moves a walk can make from any state, or 0 when the automaton has a loop.
std::size_t LongestWalk(const TRE_DFA& dfa) {
  const auto& states = dfa.States();
  std::vector<int> depth(states.size(), -1);  // -1 unseen, -2 on the path, else known
  bool loop = false;
  // Iterative depth-first search: a pattern may have thousands of states.
  for (std::size_t root = 0; root < states.size() && !loop; ++root) {
    if (depth[root] != -1) continue;
    std::vector<std::pair<std::size_t, std::size_t>> stack{{root, 0}};
    depth[root] = -2;
    while (!stack.empty() && !loop) {
      auto& [s, next] = stack.back();
      if (next < states[s].moves.size()) {
        const auto t = static_cast<std::size_t>(states[s].moves[next++].target);
        if (depth[t] == -2) loop = true;
        else if (depth[t] == -1) {
          depth[t] = -2;
          stack.emplace_back(t, 0);
        }
        continue;
      }
      int best = 0;
      for (const DfaMove& m : states[s].moves) best = std::max(best, depth[static_cast<std::size_t>(m.target)] + 1);
      depth[s] = best;
      stack.pop_back();
    }
  }
  if (loop) return 0;
  return static_cast<std::size_t>(*std::max_element(depth.begin(), depth.end()));
}

// True when the character before `pos` is a line feed alone, not the trail of a lead
// byte: lead bytes before it pair up from the window's start, a character boundary.
bool LineFeedCharBefore(std::string_view held, std::size_t pos) {
  if (pos == 0 || held[pos - 1] != '\n') return false;
  std::size_t leads = 0;
  while (leads + 1 < pos && IsLeadByte(static_cast<unsigned char>(held[pos - 2 - leads]))) ++leads;
  return leads % 2 == 0;
}

}  // namespace

std::size_t TAWKStr::GSubPiece(std::string_view templ, std::string_view held, bool last, std::string& out,
                               PieceState& state) const {
  if (!state.analysed) {
    state.analysed = true;
    const TRE_DFA& dfa = CurrentDFA();
    state.crosses_lf = false;
    for (const DfaState& s : dfa.States())
      for (const DfaMove& m : s.moves) state.crosses_lf = state.crosses_lf || TakesLineFeed(m);
    // A walk reads two bytes a move at most; "$" looks at the byte after it.
    if (const std::size_t moves = LongestWalk(dfa)) state.reach = 2 * moves + 8;
  }
  if (last && !state.started && held.empty()) {
    // The empty text: GSub's own rule (one replacement when the pattern matches nothing).
    std::string subject;
    state.count += GSub(templ, subject);
    out.append(subject);
    return 0;
  }
  state.started = true;
  // The cut: matches and searches that start before it are the whole text's.
  std::size_t cut = held.size();
  if (!last) {
    cut = 0;
    if (!state.crosses_lf) {
      const std::size_t lf = held.rfind('\n');
      if (lf != std::string_view::npos) cut = lf + 1;
    }
    if (state.reach && held.size() > state.reach)
      cut = std::max(cut, encoding::SjisBoundaryBefore(held.substr(0, held.size() - state.reach)));
    if (cut == 0) {
      if (held.size() > encoding::kMaxHeldBytes)
        throw encoding::PieceLimitError(state.crosses_lf ? "a text longer than " + std::string(encoding::kMaxHeldText) +
                                                               " for a pattern that may match line ends"
                                                         : "a line longer than " + std::string(encoding::kMaxHeldText));
      return 0;
    }
  }
  std::optional<Template> t;
  WalkMemo memo;
  std::size_t rest = 0;
  bool head = state.line_head;
  while (rest < cut) {
    const MatchRange m = head ? Search(held, rest, memo) : SearchFrom(held, rest, memo);
    if (!m.found || (m.start >= cut && !last)) break;
    if (!t) t = PrepareTemplate(templ);
    out.append(held.substr(rest, m.start - rest));
    AppendExpanded(out, *t, held.substr(m.start, m.end - m.start));
    rest = m.end;
    if (m.start == m.end && rest < held.size()) {
      // An empty match copies one character and steps past it; a CR LF pair is one unit.
      std::size_t step = ReadChar(held, rest).next - rest;
      if (LineSeparator == mcls_CRLF && held[rest] == '\r' && rest + 1 < held.size() && held[rest + 1] == '\n')
        step = 2;
      out.append(held.substr(rest, step));
      rest += step;
    }
    ++state.count;
    head = held[rest - 1] == '\n';
  }
  if (rest < cut) {
    // No match before the cut: the whole text's search goes on through it, and a line
    // starts there if a line feed that is a character of its own ends there.
    out.append(held.substr(rest, cut - rest));
    state.line_head = LineFeedCharBefore(held, cut);
    return cut;
  }
  if (rest > 0) state.line_head = held[rest - 1] == '\n';  // after a match, as GSub goes on
  return rest;
}

}  // namespace haruvi::regex
