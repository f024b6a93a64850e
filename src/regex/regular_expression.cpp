// Compilation pipeline and the cache of compiled patterns.
#include "regex/regular_expression.h"

#include "regex/parser.h"
#include "regex/regex_error.h"

namespace haruvi::regex {

std::shared_ptr<const CompiledPattern> CompilePattern(const std::string& processed, Code line_head,
                                                      Code line_tail) {
  auto out = std::make_shared<CompiledPattern>();
  try {
    TREParser parser(processed);
    parser.Run();
    TRE_NFA nfa(line_head, line_tail);
    nfa.Build(parser.Tree());
    out->dfa = std::make_unique<TRE_DFA>(nfa);
  } catch (const ERegExpParser& e) {
    // Budget errors are found after parsing: they point past the whole pattern.
    if (e.Position() == 0) throw ERegExpParser(e.what(), processed.size() + 1);
    throw;
  }
  out->table = ByteTable::Build(*out->dfa);
  return out;
}

TRegularExpression::TRegularExpression() {
  cache_.push_back({"", CompilePattern("", kLineHeadCode, kLineTailCode)});
}

std::shared_ptr<const CompiledPattern> TRegularExpression::Compile(const std::string& processed) const {
  return CompilePattern(processed, LineHeadCode(), LineTailCode());
}

void TRegularExpression::SetRegExp(std::string_view pattern) {
  try {
    pre_.SetPattern(pattern);
    std::string processed = pre_.Expand();
    std::size_t found = cache_.size();
    for (std::size_t i = 0; i < cache_.size(); ++i) {
      if (cache_[i].processed == processed) {
        found = i;
        break;
      }
    }
    if (found == cache_.size()) {
      auto compiled = Compile(processed);
      if (cache_.size() >= kCacheSize) cache_.pop_back();
      cache_.insert(cache_.begin() + 1, Entry{std::move(processed), std::move(compiled)});
      found = 1;
    }
    current_ = found;
    regexp_ = pattern;
  } catch (...) {
    current_ = 0;
    regexp_.clear();
    throw;
  }
}

void TRegularExpression::SetUseFuzzyCharDic(bool on) {
  pre_.UseFuzzyCharDic = on;
  SetRegExp(std::string(regexp_));
}

std::vector<std::string> TRegularExpression::CachedPatterns() const {
  std::vector<std::string> out;
  for (const Entry& e : cache_) out.push_back(e.processed);
  return out;
}

}  // namespace haruvi::regex
