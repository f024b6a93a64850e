// Time for TGrep to take a pattern: compile plus the choice and build of its scanner (the
// line automaton for regular expressions), with the dictionary off and on.
#include <benchmark/benchmark.h>

#include <string>

#include "search/grep.h"

namespace {

std::string Kana100() {
  std::string p;
  for (unsigned c = 0x829F; p.size() < 100; c += 3) {
    p.push_back(static_cast<char>(c >> 8));
    p.push_back(static_cast<char>(c & 0xFF));
  }
  return p;
}

void BM_GrepSetRegExp(benchmark::State& state) {
  const std::string patterns[] = {
      "[0-9]+\x94\x4E[0-9]+\x8C\x8E",                 // [0-9]+年[0-9]+月
      "\x95\xB6\x8E\x9A\x83\x52\x81\x5B\x83\x68",     // 文字コード
      Kana100(),
      "(error|warning|fatal)[^:]*: .*(file|line) [0-9]+",
  };
  const std::string& p = patterns[state.range(0)];
  const bool fuzzy = state.range(1) != 0;
  for (auto _ : state) {
    haruvi::search::TGrep grep;
    grep.SetUseFuzzyCharDic(fuzzy);
    grep.SetRegExp(p);
    benchmark::DoNotOptimize(grep.CurrentScanner());
  }
  haruvi::search::TGrep grep;
  grep.SetUseFuzzyCharDic(fuzzy);
  grep.SetRegExp(p);
  const char* names[] = {"nothing", "literal", "line automaton", "automaton"};
  state.SetLabel(std::string(fuzzy ? "dictionary on, " : "dictionary off, ") + std::to_string(p.size()) +
                 " bytes, " + names[static_cast<int>(grep.CurrentScanner())]);
}
BENCHMARK(BM_GrepSetRegExp)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
