// haruvi-tool copy, move, trash, split and merge: the same engine on the command line,
// conflicts failing with exit 1 unless --replace or --skip, odd names passed whole.
#include <gtest/gtest.h>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::test {
namespace {

namespace fs = std::filesystem;

TEST(FileopsTool, CopyMoveAndConflicts) {
  TempDir dir;
  const std::string odd = "sp ace $(x) 'q\"\n\xff*.txt";
  auto f = dir.Write(odd, "odd");
  dir.Write("dst/keep.txt", "old");
  auto keep = dir.Write("keep.txt", "new");
  fs::create_directories(dir / "dst");
  ProcessResult r = RunTool({"copy", f.string(), keep.string(), (dir / "dst").string()});
  EXPECT_EQ(r.exit_code, 1);  // keep.txt is there already
  EXPECT_NE(r.err.find("--replace"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir / "dst" / odd), "odd");
  EXPECT_EQ(ReadFile(dir / "dst/keep.txt"), "old");
  r = RunTool({"copy", "--skip", keep.string(), (dir / "dst").string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(ReadFile(dir / "dst/keep.txt"), "old");
  r = RunTool({"copy", "--replace", keep.string(), (dir / "dst").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir / "dst/keep.txt"), "new");
  r = RunTool({"move", f.string(), (dir / "moved").string()});
  EXPECT_EQ(r.exit_code, 1);  // a missing folder is not made unasked
  EXPECT_TRUE(fs::exists(f));
  fs::create_directories(dir / "moved");
  r = RunTool({"move", f.string(), (dir / "moved").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(fs::exists(f));
  EXPECT_EQ(ReadFile(dir / "moved" / odd), "odd");
  EXPECT_EQ(RunTool({"copy", keep.string()}).exit_code, 2);
  EXPECT_EQ(RunTool({"copy", "--skip", "--replace", keep.string(), dir.path().string()}).exit_code, 2);
}

TEST(FileopsTool, SplitMergeAndTrash) {
  TempDir dir;
  std::string data;
  for (int i = 0; i < 2500; ++i) data += static_cast<char>(i * 31);
  auto f = dir.Write("data.zip", data);
  ProcessResult r = RunTool({"split", f.string(), "1000"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, (dir / "data.001").string() + "\n" + (dir / "data.002").string() + "\n" +
                       (dir / "data.003").string() + "\n" + (dir / "data.bat").string() + "\n");
  r = RunTool({"merge", (dir / "back.zip").string(), (dir / "data.001").string(), (dir / "data.002").string(),
               (dir / "data.003").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir / "back.zip"), data);
  EXPECT_EQ(RunTool({"merge", (dir / "data.001").string(), (dir / "data.001").string()}).exit_code, 1);
  EXPECT_EQ(RunTool({"split", f.string(), "0"}).exit_code, 2);
  EXPECT_EQ(RunTool({"split", f.string(), "2"}).exit_code, 1);  // 1251 pieces
  // The trash of a home of our own.
  const ProcessResult t = RunProcess(HARUVI_TOOL_PATH, {"trash", f.string()}, {},
                                     {"XDG_DATA_HOME=" + (dir / "data").string()});
  EXPECT_EQ(t.exit_code, 0) << t.err;
  EXPECT_FALSE(fs::exists(f));
  EXPECT_EQ(ReadFile(dir / "data/Trash/files/data.zip"), data);
  EXPECT_TRUE(fs::exists(dir / "data/Trash/info/data.zip.trashinfo"));
}

}  // namespace
}  // namespace haruvi::test
