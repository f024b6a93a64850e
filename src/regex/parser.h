// Recursive-descent parser of the pattern language: regex := term {"|" term},
// term := factor {factor}, factor := primary [postfix], primary := char | group | class |
// dot | anchor. Builds a TREParseTree; errors are ERegExpParser with the scanner position.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "regex/parse_tree.h"
#include "regex/scanner.h"

namespace haruvi::regex {

class TREParser {
 public:
  // Groups nested deeper than this are refused as too complex instead of risking the stack.
  static constexpr int kMaxNesting = 400;

  explicit TREParser(std::string_view pattern) : pattern_(pattern), scanner_(pattern_) {}
  void Run();  // parses; raises ERegExpParser
  TREParseTree& Tree() { return tree_; }
  const TREParseTree& Tree() const { return tree_; }

 private:
  void Advance() { token_ = scanner_.NextToken(); }
  [[noreturn]] void Fail(const char* message) const;
  int Regex();
  int Term();
  int Factor();
  int Primary();
  int CharClass(bool negated);

  std::string pattern_;
  TREScanner scanner_;
  TREParseTree tree_;
  Token token_;
  int depth_ = 0;
};

}  // namespace haruvi::regex
