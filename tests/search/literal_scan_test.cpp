// The literal finder and the literal scanner on large mapped files: the probe filter
// (AVX2 and portable, with the first and last bytes or tuned probes) finds what a plain
// search finds, in every sub-range, and a mapped file's hits at block edges, on trail
// bytes and at its very end are decided as the reference scanner decides them.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "search/grep.h"
#include "search/literal_scan.h"
#include "support/temp_dir.h"
#include "../regex/test_seed.h"

namespace haruvi::search {
namespace {

using Lines = std::vector<std::pair<std::int64_t, std::string>>;

std::string RandomBytes(std::mt19937& rng, std::size_t n) {
  static const char bytes[] = {'a', 'b', '\n', '\x83', '\x41', '\x95', '\xB6', '\x8E', '\x9A', '\x81', '\x5B', 'h'};
  std::string t(n, 'a');
  for (char& c : t) c = bytes[std::uniform_int_distribution<std::size_t>(0, std::size(bytes) - 1)(rng)];
  return t;
}

TEST(LiteralFinder, FindsWhatAPlainSearchFindsInEveryRange) {
  std::mt19937 rng(test::Seed(17));
  int hits = 0;
  for (int round = 0; round < 300; ++round) {
    const std::string text = RandomBytes(rng, std::uniform_int_distribution<std::size_t>(0, 200)(rng));
    std::string needle = RandomBytes(rng, std::uniform_int_distribution<std::size_t>(1, 6)(rng));
    if (round % 2 && text.size() > 8) {  // often one the text holds, so that hits are many
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size() - 8)(rng);
      needle = text.substr(at, std::uniform_int_distribution<std::size_t>(1, 8)(rng));
    }
    LiteralFinder first_last(needle), tuned(needle);
    tuned.Tune(text.data(), text.data() + text.size());
    EXPECT_LT(tuned.Probe1(), needle.size());
    EXPECT_LE(tuned.Probe1(), tuned.Probe2());
    EXPECT_LT(tuned.Probe2(), needle.size());
    if (needle.size() > 1) {
      EXPECT_LT(tuned.Probe1(), tuned.Probe2());
    }
    for (std::size_t b = 0; b <= text.size(); b += 1 + b / 16) {
      for (std::size_t e = b; e <= text.size(); e += 1 + (e - b) / 8) {
        const std::string_view range(text.data() + b, e - b);
        const std::size_t want = range.find(needle);
        const char* want_at = want == std::string_view::npos ? text.data() + e : text.data() + b + want;
        hits += want != std::string_view::npos;
        for (const LiteralFinder* f : {&first_last, &tuned}) {
          ASSERT_EQ(f->Find(text.data() + b, text.data() + e), want_at) << needle << " in [" << b << ", " << e << ")";
          ASSERT_EQ(f->FindPortable(text.data() + b, text.data() + e), want_at);
        }
      }
    }
  }
  EXPECT_GT(hits, 1000);
}

TEST(LiteralFinder, TunedProbesAreTheRarestDistinctBytes) {
  const std::string text = std::string(1000, 'a') + std::string(100, 'b') + "c";
  LiteralFinder f("aabca");
  f.Tune(text.data(), text.data() + text.size());
  EXPECT_EQ(f.Probe1(), 2u);  // b
  EXPECT_EQ(f.Probe2(), 3u);  // c
  LiteralFinder same("aaaab");  // one rare byte: the other probe is another byte value
  same.Tune(text.data(), text.data() + text.size());
  EXPECT_EQ(same.Probe2(), 4u);
  EXPECT_NE(same.Probe1(), 4u);
}

Lines GrepWith(const std::filesystem::path& file, std::string_view pattern, TGrep::Scanner scanner,
               std::size_t block, std::uint64_t map_from) {
  TGrep g;
  g.SetRegExp(pattern);
  g.ForceScanner(scanner);
  g.SetBlockSize(block);
  g.SetMapFrom(map_from);
  Lines out;
  g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { out.emplace_back(li.LineNo, li.Line); };
  g.GrepFile(file);
  return out;
}

// Large enough for the probes to be tuned on a sample; the literal sits across every
// kind of edge: mapped block edges, a lead byte before it (a hit on a trail byte), the
// file's last bytes with and without a closing line feed.
TEST(LiteralScan, LargeMappedFilesAgreeWithTheReferenceScanner) {
  std::mt19937 rng(test::Seed(23));
  test::TempDir dir;
  const std::string lit = "\x95\xB6\x8E\x9A\x83\x52\x81\x5B\x83\x68";  // 文字コード
  for (int round = 0; round < 6; ++round) {
    std::string text = RandomBytes(rng, 300 * 1024 + static_cast<std::size_t>(round) * 4093);
    for (int k = 0; k < 200; ++k) {
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, text.size() - lit.size() - 1)(rng);
      const std::string put = k % 3 == 0 ? "\x83" + lit : lit;  // a lead byte before: a trail-byte start
      text.replace(at, put.size(), put);
    }
    for (std::size_t edge = 4096; edge < text.size(); edge += 3 * 4096 + 1)  // straddling
      text.replace(edge - 3, lit.size(), lit);
    text.replace(text.size() - lit.size(), lit.size(), lit);  // at the very end, no line feed
    if (round % 2) text.resize(text.size() / 4096 * 4096);    // a whole number of pages
    if (round == 4) text += "\n";
    const auto file = dir.Write("big.txt", text);
    const Lines want = GrepWith(file, lit, TGrep::Scanner::Automaton, TTxtFile::kBlockSize, TTxtFile::kMapFrom);
    EXPECT_FALSE(want.empty());
    for (std::size_t block : {std::size_t{4096}, std::size_t{5000}, TTxtFile::kBlockSize})
      for (std::uint64_t map_from : {std::uint64_t{1}, std::uint64_t{1} << 40})
        ASSERT_EQ(GrepWith(file, lit, TGrep::Scanner::Nothing, block, map_from), want)
            << "round " << round << " block " << block << " mapped " << (map_from == 1);
  }
}

}  // namespace
}  // namespace haruvi::search
