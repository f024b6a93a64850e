// Split and merge: piece names and counts, the 3,000,000-byte example, empty last pieces,
// the batch files, the refusals, and merge(split(f)) giving f back byte for byte.
#include "fileops/split_merge.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

using test::ReadFile;
using test::TempDir;
namespace fs = std::filesystem;

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7919) >> 3);
  return s;
}

TEST(SplitMerge, NamesCountsAndSizes) {
  EXPECT_EQ(PieceName("/d/data.zip", 1), "/d/data.001");
  EXPECT_EQ(PieceName("/d/data.zip", 999), "/d/data.999");
  EXPECT_EQ(PieceName("/d/data.zip", 1000), "/d/data.000");
  EXPECT_EQ(PieceName("/d.x/noext", 12), "/d.x/noext.012");
  EXPECT_EQ(WithExtension("/d/data.zip", ".bat"), "/d/data.bat");
  EXPECT_EQ(WithExtension("/d/.profile", ".bat"), "/d/.profile.bat");
  EXPECT_EQ(PieceCount(3000000, 1457664), 3u);
  EXPECT_EQ(PieceCount(2000, 1000), 3u);
  EXPECT_EQ(PieceCount(0, 1000), 1u);
  EXPECT_EQ(PieceCount(999, 1000), 1u);
  EXPECT_EQ(ParsePieceSize("1457664"), 1457664u);
  EXPECT_FALSE(ParsePieceSize("0"));
  EXPECT_FALSE(ParsePieceSize("-5"));
  EXPECT_FALSE(ParsePieceSize("12k"));
  EXPECT_FALSE(ParsePieceSize(""));
  EXPECT_FALSE(ParsePieceSize("99999999999999999999999"));
  EXPECT_EQ(PreviewCount(3000, "abc"), 3001u);
}

TEST(SplitMerge, TheThreeMillionByteExample) {
  TempDir dir;
  const std::string data = Pattern(3000000);
  auto zip = dir.Write("data.zip", data);
  std::vector<std::uint64_t> seen;
  const SplitOutcome r = SplitFile(zip.string(), 1457664, [&](std::uint64_t i, std::uint64_t n) {
    seen.push_back(i);
    return n == 3;
  });
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(seen, (std::vector<std::uint64_t>{1, 2, 3}));
  EXPECT_EQ(fs::file_size(dir / "data.001"), 1457664u);
  EXPECT_EQ(fs::file_size(dir / "data.002"), 1457664u);
  EXPECT_EQ(fs::file_size(dir / "data.003"), 84672u);
  EXPECT_EQ(ReadFile(dir / "data.bat"),
            "COPY /B data.001 data.zip\r\nCOPY /B data.zip+data.002 data.zip\r\nCOPY /B data.zip+data.003 data.zip\r\n");
  // Joined again they are the file.
  const MergeOutcome m =
      MergeFiles((dir / "joined.zip").string(), {(dir / "data.001").string(), (dir / "data.002").string(),
                                                 (dir / "data.003").string()});
  ASSERT_TRUE(m.ok) << m.error;
  EXPECT_EQ(ReadFile(dir / "joined.zip"), data);
}

TEST(SplitMerge, EdgeSizesAndEmptyLastPiece) {
  TempDir dir;
  for (const std::size_t size : {0u, 1u, 1000u, 2000u, 2001u}) {
    auto f = dir.Write("f.bin", Pattern(size));
    const SplitOutcome r = SplitFile(f.string(), 1000);
    ASSERT_TRUE(r.ok) << size;
    ASSERT_EQ(r.pieces.size(), size / 1000 + 1) << size;
    EXPECT_EQ(fs::file_size(r.pieces.back()), size % 1000) << size;
    const MergeOutcome m = MergeFiles((dir / "back.bin").string(), r.pieces);
    ASSERT_TRUE(m.ok);
    EXPECT_EQ(ReadFile(dir / "back.bin"), Pattern(size)) << size;
  }
  // A piece larger than the file: one piece, the whole file.
  auto f = dir.Write("small.txt", "abc");
  const SplitOutcome one = SplitFile(f.string(), 1457664);
  ASSERT_EQ(one.pieces.size(), 1u);
  EXPECT_EQ(ReadFile(one.pieces[0]), "abc");
}

TEST(SplitMerge, RefusalsCollisionsAndCancel) {
  TempDir dir;
  auto f = dir.Write("big.dat", Pattern(5000));
  EXPECT_EQ(SplitRefusal(f.string(), 5000, 5), "1001個のﾌｧｲﾙに分割できません。");
  EXPECT_TRUE(SplitRefusal(f.string(), 4990, 5).empty());  // 999 pieces
  EXPECT_TRUE(SplitRefusal(f.string(), 4995, 5).empty());  // 1000 pieces: the last is numbered 000
  const SplitOutcome many = SplitFile(f.string(), 5);
  EXPECT_FALSE(many.ok);
  EXPECT_FALSE(fs::exists(dir / "big.001"));
  // A file whose batch file or first piece would be itself.
  auto bat = dir.Write("run.bat", "echo");
  EXPECT_FALSE(SplitFile(bat.string(), 2).ok);
  EXPECT_EQ(ReadFile(bat), "echo");
  auto piece = dir.Write("part.001", "abcdef");
  EXPECT_FALSE(SplitFile(piece.string(), 2).ok);
  EXPECT_EQ(ReadFile(piece), "abcdef");
  // Cancel: the pieces written stay, no batch file.
  const SplitOutcome stopped = SplitFile(f.string(), 1000, [](std::uint64_t i, std::uint64_t) { return i < 3; });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_EQ(stopped.pieces.size(), 2u);
  EXPECT_FALSE(fs::exists(dir / "big.bat"));
}

TEST(SplitMerge, MergeBatchTargetAndFailures) {
  TempDir dir;
  dir.Write("a.001", "one");
  dir.Write("a.002", "two");
  dir.Write("a.bat", "older batch");
  const std::string folder = dir.path().string() + "/";
  ASSERT_TRUE(WriteMergeBatch(folder, {"a.001", "a.002"}, "a.zip").ok);
  EXPECT_EQ(ReadFile(dir / "a.bat"), "COPY /B " + folder + "a.001 " + folder + "a.zip\r\nCOPY /B " + folder +
                                         "a.zip+" + folder + "a.002 " + folder + "a.zip\r\n");
  EXPECT_EQ(ReadFile(dir / "a.bak"), "older batch");
  // The target may not be one of its sources; a missing source leaves the old target.
  EXPECT_FALSE(MergeFiles((dir / "a.001").string(), {(dir / "a.001").string(), (dir / "a.002").string()}).ok);
  EXPECT_EQ(ReadFile(dir / "a.001"), "one");
  dir.Write("a.zip", "previous");
  const MergeOutcome m = MergeFiles((dir / "a.zip").string(), {(dir / "a.001").string(), (dir / "gone").string()});
  EXPECT_FALSE(m.ok);
  EXPECT_NE(m.error.find("gone"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "a.zip"), "previous");
  for (auto& e : fs::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".haruvi-"), std::string::npos);
}

}  // namespace
}  // namespace haruvi::fileops
