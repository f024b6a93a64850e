// Node storage of the parse tree, the leaf partition and the dump used by tests.
#include "regex/parse_tree.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace haruvi::regex {

int TREParseTree::NewNode(const ParseNode& n) {
  nodes_.push_back(n);
  return static_cast<int>(nodes_.size() - 1);
}

int TREParseTree::MakeInternalNode(NodeKind kind, int left, int right) {
  ParseNode n;
  n.kind = kind;
  n.left = left;
  n.right = right;
  return NewNode(n);
}

int TREParseTree::MakeLeaf(Code lo, Code hi) {
  auto it = leaf_index_.find({lo, hi});
  if (it != leaf_index_.end()) return it->second;
  ParseNode n;
  n.kind = nkLeaf;
  n.lo = lo;
  n.hi = hi;
  int id = NewNode(n);
  leaves_.push_back(id);
  leaf_index_.emplace(std::make_pair(lo, hi), id);
  return id;
}

int TREParseTree::MakeRangeLeaf(int lo, int hi) {
  if (lo > hi || lo < 0 || hi > 0xFFFF) return -1;
  return MakeLeaf(static_cast<Code>(lo), static_cast<Code>(hi));
}

int TREParseTree::MakeLHeadNode(Code c) {
  ParseNode n;
  n.kind = nkLineHead;
  n.lo = n.hi = c;
  return NewNode(n);
}

int TREParseTree::MakeLTailNode(Code c) {
  ParseNode n;
  n.kind = nkLineTail;
  n.lo = n.hi = c;
  return NewNode(n);
}

int TREParseTree::MakeAnyCharsNode() {
  int a = MakeLeaf(0x01, 0x09);
  int b = MakeLeaf(0x0B, 0x0C);
  int c = MakeLeaf(0x0E, 0xFCFC);
  return MakeInternalNode(nkUnion, MakeInternalNode(nkUnion, a, b), c);
}

void TREParseTree::ConvertLeafToUnion(int id, int left, int right) {
  if (left < 0 || right < 0) throw std::logic_error("TREParseTree : 致命的エラー");
  ParseNode& n = nodes_[static_cast<std::size_t>(id)];
  leaf_index_.erase({n.lo, n.hi});
  leaves_.erase(std::find(leaves_.begin(), leaves_.end(), id));
  n.kind = nkUnion;
  n.left = left;
  n.right = right;
}

// Splits the pair (a, b) when their ranges overlap and differ; true when split.
bool TREParseTree::SplitPair(int a, int b) {
  if (Node(a).lo > Node(b).lo) std::swap(a, b);
  const int alo = Node(a).lo, ahi = Node(a).hi, blo = Node(b).lo, bhi = Node(b).hi;
  if (blo > ahi || (alo == blo && ahi == bhi)) return false;
  const int lo = blo, hi = std::min(ahi, bhi), far = std::max(ahi, bhi);
  if (alo < blo) {
    int before = MakeRangeLeaf(alo, lo - 1);
    int overlap = MakeRangeLeaf(lo, hi);
    if (ahi == bhi) {
      ConvertLeafToUnion(a, before, overlap);
    } else if (ahi > bhi) {
      int after = MakeRangeLeaf(hi + 1, far);
      ConvertLeafToUnion(a, MakeInternalNode(nkUnion, before, overlap), after);
    } else {
      int after = MakeRangeLeaf(hi + 1, far);
      ConvertLeafToUnion(a, before, overlap);
      ConvertLeafToUnion(b, overlap, after);
    }
  } else {
    // Same start: the longer one becomes overlap | after, the shorter is the overlap.
    int longer = ahi > bhi ? a : b;
    int shorter = longer == a ? b : a;
    int after = MakeRangeLeaf(hi + 1, far);
    ConvertLeafToUnion(longer, shorter, after);
  }
  return true;
}

void TREParseTree::MakeLeavesDisjoint() {
  std::size_t i = 0;
  while (i < leaves_.size()) {
    bool split = false;
    for (std::size_t j = i + 1; j < leaves_.size(); ++j) {
      if (SplitPair(leaves_[i], leaves_[j])) {
        split = true;
        break;
      }
    }
    if (!split) ++i;
  }
}

void TREParseTree::Clear() {
  nodes_.clear();
  leaves_.clear();
  leaf_index_.clear();
  root_ = -1;
}

std::string TREParseTree::Dump() const {
  if (root_ < 0) return "";
  // Iterative walk: patterns may nest deeply and concatenations form long chains.
  std::string out;
  struct Item { int id; int stage; };
  std::vector<Item> stack{{root_, 0}};
  char buf[32];
  while (!stack.empty()) {
    Item& it = stack.back();
    const ParseNode& n = Node(it.id);
    switch (n.kind) {
      case nkLeaf:
        if (n.lo == n.hi) std::snprintf(buf, sizeof buf, "[%X]", n.lo);
        else std::snprintf(buf, sizeof buf, "[%X-%X]", n.lo, n.hi);
        out += buf;
        stack.pop_back();
        continue;
      case nkLineHead: out += "^"; stack.pop_back(); continue;
      case nkLineTail: out += "$"; stack.pop_back(); continue;
      case nkEmpty: out += "()"; stack.pop_back(); continue;
      default: break;
    }
    const char* name = n.kind == nkConcat ? "cat(" : n.kind == nkUnion ? "or(" : "star(";
    if (it.stage == 0) {
      out += name;
      it.stage = 1;
      stack.push_back({n.left, 0});
    } else if (it.stage == 1 && n.kind != nkClosure) {
      out += ",";
      it.stage = 2;
      stack.push_back({n.right, 0});
    } else {
      out += ")";
      stack.pop_back();
    }
  }
  return out;
}

}  // namespace haruvi::regex
