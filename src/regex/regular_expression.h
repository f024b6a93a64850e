// TRegularExpression: the pattern property, its dictionary expansion and compilation to
// an automaton, with a cache of the 30 most recent processed patterns (entry 0 is the
// empty pattern). Descendants choose the line-head and line-tail codes.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/byte_table.h"
#include "regex/dfa.h"
#include "regex/preprocessor.h"

namespace haruvi::regex {

struct CompiledPattern {
  std::unique_ptr<TRE_DFA> dfa;
  std::unique_ptr<ByteTable> table;  // null when too large: the sorted walk is used
};

class TRegularExpression {
 public:
  static constexpr std::size_t kCacheSize = 30;
  inline static constexpr Code kLineHeadCode = 0xFFFD;
  inline static constexpr Code kLineTailCode = 0xFFFE;

  TRegularExpression();
  virtual ~TRegularExpression() = default;
  TRegularExpression(const TRegularExpression&) = delete;
  TRegularExpression& operator=(const TRegularExpression&) = delete;

  // Compiles (or picks from the cache) the pattern. On a pattern error the empty pattern
  // becomes current, RegExp() becomes empty and ERegExpParser propagates.
  virtual void SetRegExp(std::string_view pattern);
  const std::string& RegExp() const { return regexp_; }

  bool UseFuzzyCharDic() const { return pre_.UseFuzzyCharDic; }
  // Recompiles the current pattern with the new expansion.
  void SetUseFuzzyCharDic(bool on);
  TREPreProcessor& PreProcessor() { return pre_; }

  const TRE_DFA& CurrentDFA() const { return *cache_[current_].compiled->dfa; }
  const ByteTable* CurrentTable() const { return cache_[current_].compiled->table.get(); }
  bool IsLiteral() const { return CurrentDFA().IsLiteral(); }
  const std::string& Literal() const { return CurrentDFA().Literal(); }
  bool AnchoredHead() const { return CurrentDFA().AnchoredHead(); }
  bool AnchoredTail() const { return CurrentDFA().AnchoredTail(); }

  // Cache inspection: processed pattern texts in cache order, and the current index.
  std::vector<std::string> CachedPatterns() const;
  std::size_t CurrentEntry() const { return current_; }

  virtual Code LineHeadCode() const { return kLineHeadCode; }
  virtual Code LineTailCode() const { return kLineTailCode; }

 protected:
  // Compiles a processed pattern with this component's line codes.
  virtual std::shared_ptr<const CompiledPattern> Compile(const std::string& processed) const;

 private:
  struct Entry {
    std::string processed;
    std::shared_ptr<const CompiledPattern> compiled;
  };
  std::vector<Entry> cache_;
  std::size_t current_ = 0;
  std::string regexp_;
  TREPreProcessor pre_;
};

// Parses and builds the automaton of a processed pattern (no cache, no expansion).
std::shared_ptr<const CompiledPattern> CompilePattern(const std::string& processed, Code line_head,
                                                      Code line_tail);

}  // namespace haruvi::regex
