// Dictionaries of words to be treated as equal when "文字の同一視" is on, and the
// built-in character-equivalence dictionary (full/half width, kana, voiced forms).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "regex/sjis_char.h"

namespace haruvi::regex {

// An ordered list of groups; a group is an ordered list of words (Shift_JIS) that are
// equal to one another. Words are also kept as codes, with an index by first code so
// that expansion does not try every word at every position.
class TREDictionary {
 public:
  explicit TREDictionary(std::vector<std::vector<std::string>> groups);
  const std::vector<std::vector<std::string>>& Groups() const { return groups_; }
  const std::vector<Code>& WordCodes(std::size_t group, std::size_t word) const {
    return codes_[group][word];
  }
  // (group, word) pairs whose first code is `c`, in dictionary order.
  const std::vector<std::pair<std::size_t, std::size_t>>& StartingWith(Code c) const;

 private:
  std::vector<std::vector<std::string>> groups_;
  std::vector<std::vector<std::vector<Code>>> codes_;
  std::vector<std::vector<std::pair<std::size_t, std::size_t>>> by_first_;  // 65536 slots, lazily sized
};

// The built-in dictionary of 145 groups, made once per process.
std::shared_ptr<const TREDictionary> CharEquivalenceDictionary();

}  // namespace haruvi::regex
