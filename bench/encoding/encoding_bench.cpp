// In-memory speed of the encoding library: the pane codec on visible lines (what one
// paint decodes), detection of texts scanned whole, and the conversions without I/O.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "encoding/char_code.h"
#include "encoding/codings.h"
#include "encoding/jis_convert.h"
#include "encoding/pane_codec.h"
#include "encoding/width.h"

namespace {

using namespace haruvi::encoding;

// Shift_JIS text like the corpus: kanji and kana runs, ASCII words, half-width kana.
std::string JapaneseText(size_t size) {
  std::mt19937 rng(5);
  std::string s;
  while (s.size() < size) {
    switch (rng() % 4) {
      case 0: s += "word 123 "; break;
      case 1: s += "\xB6\xC5\xDE"; break;
      case 2: s += "\r\n"; break;
      default:
        for (int k = 0; k < 6; ++k) {
          const unsigned trail = 0x40 + rng() % 0xBC;
          s += static_cast<char>(0x88 + rng() % 8);
          s += static_cast<char>(trail == 0x7F ? 0x80 : trail);
        }
    }
  }
  s.resize(size);
  return s;
}

void BM_PaneDecodeVisibleLines(benchmark::State& state) {
  const auto& codec = PaneCodec::For(CodePage::Cp932);
  const std::string page = JapaneseText(60 * 100);  // sixty lines of a hundred bytes
  for (auto _ : state) benchmark::DoNotOptimize(codec.Decode(page));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_PaneDecodeVisibleLines);

void BM_PaneEncode(benchmark::State& state) {
  const auto& codec = PaneCodec::For(CodePage::Cp932);
  const std::string page = JapaneseText(60 * 100);
  const std::u16string text = codec.Decode(page);
  for (auto _ : state) benchmark::DoNotOptimize(codec.Encode(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_PaneEncode);

void BM_DetectAscii(benchmark::State& state) {
  std::string text;
  while (text.size() < (8u << 20)) text += "The quick brown fox jumps over the lazy dog 0123456789.\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(DetectCharCode(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DetectAscii);

void BM_DetectEucOrSjis(benchmark::State& state) {
  std::string text;
  while (text.size() < (8u << 20)) text += "\xA4\xA2\xA4\xA4 abc \xB4\xC1\xBB\xD5 12\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(DetectCharCode(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DetectEucOrSjis);

template <std::string (*Convert)(std::string_view)>
void BM_Convert(benchmark::State& state) {
  const std::string text = JapaneseText(8u << 20);
  for (auto _ : state) benchmark::DoNotOptimize(Convert(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Convert<SjisToEuc>)->Name("BM_SjisToEuc");
BENCHMARK(BM_Convert<SjisToJis>)->Name("BM_SjisToJis");
BENCHMARK(BM_Convert<Base64Encode>)->Name("BM_Base64Encode");
BENCHMARK(BM_Convert<HankakuToZenkaku>)->Name("BM_HankakuToZenkaku");
BENCHMARK(BM_Convert<ZenkakuToHankaku>)->Name("BM_ZenkakuToHankaku");

}  // namespace

BENCHMARK_MAIN();
