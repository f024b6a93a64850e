// Find next on a 100 MB pane: the pane's byte search (search/text_find) stepping to a hit
// 50 MB away, down and up, with and without case and whole word, beside the plain library
// search (std::string_view::find, which knows nothing of Shift_JIS) on the same bytes in
// the same run. Reads CORPUS/text.sjis when HARUVI_CORPUS names the corpus folder, else
// makes 100 MB of Shift_JIS-like text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "search/text_find.h"

namespace {

const std::string& Text() {
  static const std::string text = [] {
    std::string t;
    if (const char* c = std::getenv("HARUVI_CORPUS")) {
      std::ifstream in(std::string(c) + "/text.sjis", std::ios::binary);
      t.assign(std::istreambuf_iterator<char>(in), {});
    }
    if (t.size() < (100u << 20)) {
      // Kanji, kana and ASCII lines; lead bytes in runs as real text has them.
      const std::string line = "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8 ABC abc 0123 \x83\x41\x83\x8B\x83\x74\x83\x40\r\n";
      t.clear();
      while (t.size() < (100u << 20)) t += line;
    }
    // The needle, once, 50 MB in (at a line start).
    const std::size_t at = t.find("\r\n", 50u << 20) + 2;
    t.insert(at, "Needle_word ");
    return t;
  }();
  return text;
}

void Ours(benchmark::State& state, haruvi::search::FindOptions o) {
  const std::string& t = Text();
  const std::size_t from = o.down ? 0 : t.size();
  for (auto _ : state) benchmark::DoNotOptimize(haruvi::search::FindInText("Needle_word", t, o, from, 0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (50 << 20));
}

void Library(benchmark::State& state) {
  const std::string_view t = Text();
  for (auto _ : state) benchmark::DoNotOptimize(t.find("Needle_word"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (50 << 20));
}

void LibraryUp(benchmark::State& state) {
  const std::string_view t = Text();
  for (auto _ : state) benchmark::DoNotOptimize(t.rfind("Needle_word"));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * (50 << 20));
}

BENCHMARK_CAPTURE(Ours, down_match_case, {true, false, true})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, down_any_case, {true, false, false})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, down_whole_word_any_case, {true, true, false})->Unit(benchmark::kMillisecond);
BENCHMARK(Library)->Name("peer_string_view_find_down")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, up_match_case, {false, false, true})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Ours, up_any_case, {false, false, false})->Unit(benchmark::kMillisecond);
BENCHMARK(LibraryUp)->Name("peer_string_view_rfind_up")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
