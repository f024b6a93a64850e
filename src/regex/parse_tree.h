// The parse tree of one pattern: inner nodes and shared leaves (character ranges), with
// the rewrite that makes all leaves disjoint so automaton moves carry disjoint labels.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "regex/sjis_char.h"

namespace haruvi::regex {

enum NodeKind : std::uint8_t {
  nkLeaf = 0,
  nkLineHead = 1,
  nkLineTail = 2,
  nkConcat = 3,
  nkUnion = 4,
  nkClosure = 5,
  nkEmpty = 6,
};

struct ParseNode {
  NodeKind kind = nkEmpty;
  int left = -1;   // child node ids (inner nodes)
  int right = -1;
  Code lo = 0;     // range (leaves and anchors)
  Code hi = 0;
};

class TREParseTree {
 public:
  int MakeInternalNode(NodeKind kind, int left, int right);
  // The leaf with exactly lo-hi, created if there is none yet.
  int MakeLeaf(Code lo, Code hi);
  // A leaf only when lo <= hi, else -1.
  int MakeRangeLeaf(int lo, int hi);
  int MakeLHeadNode(Code c);
  int MakeLTailNode(Code c);
  // Every character but the end mark, line feed and carriage return, up to 0xFCFC.
  virtual int MakeAnyCharsNode();
  virtual ~TREParseTree() = default;
  // Splits overlapping leaves until no two overlap; the set of characters each node
  // matches is unchanged.
  void MakeLeavesDisjoint();
  void Clear();

  int Root() const { return root_; }
  void SetRoot(int id) { root_ = id; }
  const ParseNode& Node(int id) const { return nodes_[static_cast<std::size_t>(id)]; }

  // One-line dump for tests and diagnostics: leaves as [lo-hi] in hex, inner nodes as
  // cat(..), or(..), star(..), () for empty, ^ and $ for anchors.
  std::string Dump() const;

 private:
  int NewNode(const ParseNode& n);
  // Turns the leaf `id` into the alternation left|right in place.
  void ConvertLeafToUnion(int id, int left, int right);
  bool SplitPair(int a, int b);

  std::vector<ParseNode> nodes_;
  std::vector<int> leaves_;  // leaf ids in creation order
  std::map<std::pair<Code, Code>, int> leaf_index_;
  int root_ = -1;
};

}  // namespace haruvi::regex
