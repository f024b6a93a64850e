// Pattern compile time (dictionary on and off) and the guard against exploding automata.
#include <benchmark/benchmark.h>

#include <string>

#include "regex/awk_str.h"
#include "regex/regex_error.h"

namespace {

using haruvi::regex::TAWKStr;

// A 100-character pattern of kana, letters and a class, in Shift_JIS.
std::string Pattern100() {
  // "ファイルの文字コードを" repeated, with a class and letters to mix the work.
  const std::string piece = "\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC\x95\xB6\x8E\x9A[0-9]abc";
  std::string p;
  while (p.size() + piece.size() <= 100) p += piece;
  return p;
}

// 50 kana (100 bytes): every character expands to its group, voiced forms included.
std::string Kana100() {
  std::string p;
  for (unsigned c = 0x829F; p.size() < 100; c += 3) {  // ぁ, う, ぇ, ... through the syllabary
    p.push_back(static_cast<char>(c >> 8));
    p.push_back(static_cast<char>(c & 0xFF));
  }
  return p;
}

void BM_Compile(benchmark::State& state) {
  const std::string p = state.range(1) ? Kana100() : Pattern100();
  const bool fuzzy = state.range(0) != 0;
  for (auto _ : state) {
    TAWKStr awk;  // a fresh cache, so every round compiles
    awk.SetUseFuzzyCharDic(fuzzy);
    awk.SetRegExp(p);
    benchmark::DoNotOptimize(awk.CurrentDFA().States().size());
  }
  state.SetLabel(std::string(fuzzy ? "dictionary on, " : "dictionary off, ") + std::to_string(p.size()) + " bytes");
}
BENCHMARK(BM_Compile)->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1})->Unit(benchmark::kMillisecond);

void BM_ExplodingPattern(benchmark::State& state) {
  std::string p = "(a|b)*a";
  for (int i = 0; i < 24; ++i) p += "(a|b)";
  std::string text(10u << 20, 'a');
  for (std::size_t i = 0; i < text.size(); i += 7) text[i] = 'b';
  for (auto _ : state) {
    TAWKStr awk;
    try {
      awk.SetRegExp(p);
      benchmark::DoNotOptimize(awk.Match(text).position);
      state.SetLabel("compiled and matched");
    } catch (const haruvi::regex::ERegExpParser& e) {
      state.SetLabel(e.what());
    }
  }
}
BENCHMARK(BM_ExplodingPattern)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GSubText(benchmark::State& state) {
  std::string text;
  while (text.size() < (8u << 20)) text += "\x95\xB6\x8E\x9A 2024\x94\x4E 12\x8C\x8E abc \\section{x} % note\r\n";
  TAWKStr awk;
  awk.SetRegExp("[0-9]+");
  for (auto _ : state) {
    std::string s = text;
    benchmark::DoNotOptimize(awk.GSub("<&>", s));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_GSubText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
