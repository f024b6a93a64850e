// The grammar, classes (positive as alternations, negated as the complement within the
// dot's set) and the final leaf partition.
#include "regex/parser.h"

#include "regex/regex_error.h"

namespace haruvi::regex {

void TREParser::Fail(const char* message) const { throw ERegExpParser(message, scanner_.Position()); }

void TREParser::Run() {
  tree_.Clear();
  Advance();
  tree_.SetRoot(Regex());
  if (token_.kind != tkEnd) Fail(msg::kExtraChars);
  tree_.MakeLeavesDisjoint();
}

int TREParser::Regex() {
  int node = Term();
  while (token_.kind == tkUnion) {
    Advance();
    node = tree_.MakeInternalNode(nkUnion, node, Term());
  }
  return node;
}

int TREParser::Term() {
  auto ends_term = [this] {
    return token_.kind == tkUnion || token_.kind == tkGroupClose || token_.kind == tkEnd;
  };
  if (ends_term()) return tree_.MakeInternalNode(nkEmpty, -1, -1);
  int node = Factor();
  while (!ends_term()) node = tree_.MakeInternalNode(nkConcat, node, Factor());
  return node;
}

int TREParser::Factor() {
  int node = Primary();
  switch (token_.kind) {
    case tkStar:
      Advance();
      return tree_.MakeInternalNode(nkClosure, node, -1);
    case tkPlus:
      Advance();
      return tree_.MakeInternalNode(nkConcat, node, tree_.MakeInternalNode(nkClosure, node, -1));
    case tkQuestion:
      Advance();
      return tree_.MakeInternalNode(nkUnion, node, tree_.MakeInternalNode(nkEmpty, -1, -1));
    default:
      return node;
  }
}

int TREParser::Primary() {
  int node = -1;
  switch (token_.kind) {
    case tkChar:
      node = tree_.MakeLeaf(token_.code, token_.code);
      Advance();
      return node;
    case tkGroupOpen:
      if (++depth_ > kMaxNesting) Fail(msg::kTooComplex);
      Advance();
      node = Regex();
      if (token_.kind != tkGroupClose) Fail(msg::kNeedRightParen);
      --depth_;
      Advance();
      return node;
    case tkClassOpen:
    case tkNegClassOpen: {
      bool negated = token_.kind == tkNegClassOpen;
      Advance();
      return CharClass(negated);
    }
    case tkDot:
      Advance();
      return tree_.MakeAnyCharsNode();
    case tkLineHead:
      Advance();
      return tree_.MakeLHeadNode('^');
    case tkLineTail:
      Advance();
      return tree_.MakeLTailNode('$');
    default:
      Fail(msg::kNeedPrimary);
  }
}

int TREParser::CharClass(bool negated) {
  std::vector<std::pair<int, int>> items;
  while (token_.kind == tkChar || token_.kind == tkRange) {
    int hi = token_.kind == tkRange ? token_.code2 : token_.code;
    items.emplace_back(token_.code, hi);
    Advance();
  }
  // The class reader only yields characters, ranges and the closing bracket.
  if (items.empty()) Fail(msg::kBadClass);
  Advance();  // past "]"
  if (negated) {
    // Complement within the dot's set: cut every item out of the remaining ranges.
    std::vector<std::pair<int, int>> rest{{0x01, 0x09}, {0x0B, 0x0C}, {0x0E, 0xFCFC}};
    for (auto [lo, hi] : items) {
      std::vector<std::pair<int, int>> kept, added;
      for (auto q : rest) {
        if (q.first <= hi && lo <= q.second) {
          if (q.first <= lo - 1) added.emplace_back(q.first, lo - 1);
          if (hi + 1 <= q.second) added.emplace_back(hi + 1, q.second);
        } else {
          kept.push_back(q);
        }
      }
      kept.insert(kept.end(), added.begin(), added.end());
      rest.swap(kept);
    }
    items.swap(rest);
    // Nothing left: the class matches nothing. The code 0 never matches any text.
    if (items.empty()) return tree_.MakeLeaf(0, 0);
  }
  int node = -1;
  for (auto [lo, hi] : items) {
    int leaf = tree_.MakeLeaf(static_cast<Code>(lo), static_cast<Code>(hi));
    node = node < 0 ? leaf : tree_.MakeInternalNode(nkUnion, node, leaf);
  }
  return node;
}

}  // namespace haruvi::regex
