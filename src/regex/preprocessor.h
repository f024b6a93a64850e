// Dictionary expansion before parsing: each run of ordinary characters is rewritten so
// that a word of a dictionary group becomes "(w1|w2|...)" of all words of its group.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regex/char_dict.h"

namespace haruvi::regex {

class TREPreProcessor {
 public:
  using DictList = std::vector<std::shared_ptr<const TREDictionary>>;

  void SetPattern(std::string_view pattern) { pattern_ = pattern; }
  // The processed pattern: synonyms first, then fuzzy characters, each only when its
  // flag is on. Scanner errors of the pattern propagate.
  std::string Expand() const;

  bool UseFuzzyCharDic = false;
  bool UseSynonymDic = false;
  DictList SynonymDicList;
  DictList FuzzyCharDicList;

 private:
  static std::string ExpandWith(std::string_view pattern, const DictList& dicts);
  std::string pattern_;
};

}  // namespace haruvi::regex
