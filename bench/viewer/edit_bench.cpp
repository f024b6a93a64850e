// The edit model at the size the pane must take: a 100 MB, 1,000,000-line Shift_JIS
// text. Entering edit (building the model from the loaded document), a keystroke with
// the 60 lines around it read back, 1,000 keystrokes and their undo, and a random line;
// beside them the peer from the same run: inserting 2 bytes mid-text into a std::string.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "viewer/edit_document.h"

namespace haruvi::viewer {
namespace {

// 49 two-byte characters and CR LF: 100 bytes a line, 1,000,000 lines.
const std::string& Text() {
  static const std::string text = [] {
    std::string t;
    t.reserve(100'000'000);
    for (int line = 0; line < 1'000'000; ++line) {
      for (int c = 0; c < 49; ++c) {
        t.push_back('\x82');
        t.push_back(static_cast<char>(0x9f + (line + c) % 83));  // hiragana
      }
      t += "\r\n";
    }
    return t;
  }();
  return text;
}

TextDocument Loaded(bool lone_lf = false) {
  TextDocument d;
  std::string text = Text();
  if (lone_lf) {
    // The same lines ending in LF alone: each line end becomes a piece of its own.
    std::size_t out = 0;
    for (char c : text)
      if (c != '\r') text[out++] = c;
    text.resize(out);
  }
  d.SetBytes(std::move(text));
  return d;
}

void ReadAround(const EditDocument& doc, std::size_t offset) {
  const std::size_t line = doc.LineOfOffset(offset);
  for (std::size_t i = line > 30 ? line - 30 : 0; i < line + 30; ++i) benchmark::DoNotOptimize(doc.Line(i));
}

void BM_EnterEdit(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TextDocument loaded = Loaded(state.range(0) != 0);
    state.ResumeTiming();
    auto doc = std::make_unique<EditDocument>(std::move(loaded));
    benchmark::DoNotOptimize(doc->LineCount());
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
}
// Argument 0: CR LF line ends (one piece); 1: LF line ends (two pieces a line).
BENCHMARK(BM_EnterEdit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Keystroke(benchmark::State& state) {
  EditDocument doc(Loaded(state.range(0) != 0));
  std::size_t at = doc.TextCrLfLength() / 2;
  for (auto _ : state) {
    doc.Insert(at, "\x82\xa0");
    at += 2;
    ReadAround(doc, at);
  }
}
BENCHMARK(BM_Keystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ThousandKeystrokes(benchmark::State& state) {
  EditDocument doc(Loaded());
  std::size_t at = doc.TextCrLfLength() / 2;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i, at += 2) {
      doc.Insert(at, "\x82\xa0");
      ReadAround(doc, at);
    }
  }
}
BENCHMARK(BM_ThousandKeystrokes)->Unit(benchmark::kMillisecond);

// Each keystroke its own undo step, the most undo can cost.
void BM_UndoThousandKeystrokes(benchmark::State& state) {
  EditDocument doc(Loaded());
  const std::size_t at = doc.TextCrLfLength() / 2;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < 1000; ++i) doc.Insert(at + 2 * static_cast<std::size_t>(i), "\x82\xa0");
    state.ResumeTiming();
    for (int i = 0; i < 1000; ++i) benchmark::DoNotOptimize(doc.Undo());
  }
}
BENCHMARK(BM_UndoThousandKeystrokes)->Unit(benchmark::kMillisecond);

void BM_RandomLine(benchmark::State& state) {
  EditDocument doc(Loaded());
  std::mt19937 rng(1);
  for (int i = 0; i < 1000; ++i) doc.Insert(rng() % doc.TextCrLfLength(), "\x82\xa0");  // a pieced text
  for (auto _ : state) benchmark::DoNotOptimize(doc.Line(rng() % doc.LineCount()));
}
BENCHMARK(BM_RandomLine)->Unit(benchmark::kMicrosecond);

// The peer: the whole text in one string, 2 bytes inserted in the middle.
void BM_PeerStringInsertMiddle(benchmark::State& state) {
  std::string text = Text();
  for (auto _ : state) {
    text.insert(text.size() / 2, "\x82\xa0");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_PeerStringInsertMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace haruvi::viewer

BENCHMARK_MAIN();
