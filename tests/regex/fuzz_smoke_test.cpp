// The fuzz targets' bodies on a few thousand pseudo-random patterns, templates and
// texts, so that every build (not only clang's libFuzzer) runs them briefly.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fuzz/fuzz_bodies.h"
#include "test_seed.h"

namespace haruvi::regex {
namespace {

std::vector<std::uint8_t> RandomBytes(std::mt19937& rng, std::size_t max_len) {
  // Mostly pattern syntax and Shift_JIS bytes, now and then anything.
  static const char kBias[] = "ab\\()[]^-$|*+?.xn\x83\x41\x95\x5C\x81&0\r\n";
  std::vector<std::uint8_t> out(std::uniform_int_distribution<std::size_t>(0, max_len)(rng));
  for (auto& b : out) {
    if (std::uniform_int_distribution<int>(0, 9)(rng) == 0)
      b = static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(rng));
    else
      b = static_cast<std::uint8_t>(kBias[std::uniform_int_distribution<std::size_t>(0, sizeof kBias - 2)(rng)]);
  }
  return out;
}

TEST(FuzzSmoke, ParserSurvivesRandomPatterns) {
  std::mt19937 rng(test::Seed(11));
  for (int i = 0; i < 3000; ++i) {
    auto bytes = RandomBytes(rng, 24);
    fuzz::FuzzParser(bytes.data(), bytes.size());
  }
}

TEST(FuzzSmoke, GSubWalksAgreeOnRandomInput) {
  std::mt19937 rng(test::Seed(12));
  for (int i = 0; i < 3000; ++i) {
    std::vector<std::uint8_t> in{static_cast<std::uint8_t>(i & 3)};
    for (int part = 0; part < 3; ++part) {
      auto bytes = RandomBytes(rng, part == 2 ? 40 : 10);
      for (auto& b : bytes)
        if (b == 0) b = 'z';
      in.insert(in.end(), bytes.begin(), bytes.end());
      if (part < 2) in.push_back(0);
    }
    fuzz::FuzzGSub(in.data(), in.size());
  }
}

}  // namespace
}  // namespace haruvi::regex
