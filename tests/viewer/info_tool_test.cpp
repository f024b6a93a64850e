// haruvi-tool info: the information line for scripts.
#include <gtest/gtest.h>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::test {
namespace {

TEST(InfoTool, OneLinePerFileWithKindAndCode) {
  TempDir dir;
  auto bmp = dir.Write("p.bmp", "BM\x01\x02\r\nrest");
  auto text = dir.Write("t.txt", "\x93\xfa\x96\x7b\x8c\xea\r\n");
  auto r = RunTool({"info", bmp.string(), text.string()});
  EXPECT_EQ(r.exit_code, 0);
  auto nl = r.out.find('\n');
  ASSERT_NE(nl, std::string::npos);
  EXPECT_TRUE(r.out.substr(0, nl).starts_with("p.bmp   "));
  EXPECT_NE(r.out.find("    [ﾋﾞｯﾄﾏｯﾌﾟ]  "), std::string::npos);
  EXPECT_NE(r.out.find(dir.path().string() + "/      ｼﾌﾄJIS\n"), std::string::npos);
}

TEST(InfoTool, MissingFilesAndNoArguments) {
  auto r = RunTool({"info", "/no/such"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("/no/such"), std::string::npos);
  EXPECT_EQ(RunTool({"info"}).exit_code, 2);
}

}  // namespace
}  // namespace haruvi::test
