// Random test texts made of pieces: mostly common ones, now and then a rare one (the
// characters that end matches), so that automaton walks are long and mostly fail.
#pragma once

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace haruvi::test {

inline std::string MostlyCommon(std::mt19937& rng, std::size_t length, const std::vector<const char*>& common,
                                const std::vector<const char*>& rare) {
  std::string s;
  while (s.size() < length) {
    const auto& from = std::uniform_int_distribution<int>(0, 150)(rng) == 0 ? rare : common;
    s += from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
  }
  return s;
}

}  // namespace haruvi::test
