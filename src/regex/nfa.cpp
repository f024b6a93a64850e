// Tree to automaton. The walk keeps its own stack: a pattern of many characters is a
// long chain of concatenations, too deep for recursion.
#include "regex/nfa.h"

#include <algorithm>
#include <stdexcept>

#include "regex/regex_error.h"

namespace haruvi::regex {

int TRE_NFA::AddState() {
  if (states_.size() >= kMaxStates) throw ERegExpParser(msg::kTooComplex, 0);
  states_.emplace_back();
  return static_cast<int>(states_.size() - 1);
}

void TRE_NFA::Build(const TREParseTree& tree) {
  states_.clear();
  anchored_head_ = anchored_tail_ = false;
  AddState();
  AddState();
  GenerateStateList(tree, tree.Root(), Initial(), Final());
}

void TRE_NFA::GenerateStateList(const TREParseTree& tree, int root, int from, int to) {
  struct Job { int node, a, b; };
  std::vector<Job> jobs{{root, from, to}};
  auto add_move = [this](int a, int lo, int hi, int b) {
    // Text never holds the code 0 (end mark) nor codes above kMaxTextCode, so those parts
    // of a range can never be taken and must not collide with the pseudo-characters.
    lo = std::max(lo, 1);
    hi = std::min(hi, static_cast<int>(kMaxTextCode));
    if (lo <= hi) states_[static_cast<std::size_t>(a)].moves.push_back({static_cast<Code>(lo), static_cast<Code>(hi), b});
  };
  auto add_pseudo = [this](int a, Code c, int b) {
    states_[static_cast<std::size_t>(a)].moves.push_back({c, c, b});
  };
  while (!jobs.empty()) {
    Job j = jobs.back();
    jobs.pop_back();
    if (j.node < 0) throw std::logic_error("This cannot happen in TRE_NFA.GenerateStateList");
    const ParseNode& n = tree.Node(j.node);
    switch (n.kind) {
      case nkLeaf:
        add_move(j.a, n.lo, n.hi, j.b);
        break;
      case nkLineHead:
        if (j.a == Initial()) {
          add_pseudo(j.a, line_head_, j.b);
          anchored_head_ = true;
        } else {
          add_move(j.a, '^', '^', j.b);
        }
        break;
      case nkLineTail:
        if (j.b == Final()) {
          add_pseudo(j.a, line_tail_, j.b);
          anchored_tail_ = true;
        } else {
          add_move(j.a, '$', '$', j.b);
        }
        break;
      case nkConcat: {
        int c = AddState();
        jobs.push_back({n.right, c, j.b});
        jobs.push_back({n.left, j.a, c});
        break;
      }
      case nkUnion:
        jobs.push_back({n.right, j.a, j.b});
        jobs.push_back({n.left, j.a, j.b});
        break;
      case nkClosure: {
        int c = AddState();
        int d = AddState();
        states_[static_cast<std::size_t>(j.a)].empty.push_back(c);
        states_[static_cast<std::size_t>(d)].empty.push_back(c);
        states_[static_cast<std::size_t>(c)].empty.push_back(j.b);
        jobs.push_back({n.left, c, d});
        break;
      }
      case nkEmpty:
        states_[static_cast<std::size_t>(j.a)].empty.push_back(j.b);
        break;
      default:
        throw std::logic_error("This cannot happen in TRE_NFA.GenerateStateList");
    }
  }
}

}  // namespace haruvi::regex
