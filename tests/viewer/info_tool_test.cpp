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
  EXPECT_NE(r.out.find(dir.path().string() + "/          ｼﾌﾄJIS\n"), std::string::npos);
}

TEST(InfoTool, MissingFilesAndNoArguments) {
  auto r = RunTool({"info", "/no/such"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("/no/such"), std::string::npos);
  EXPECT_EQ(RunTool({"info"}).exit_code, 2);
}

TEST(HexdumpTool, PrintsWhatThePaneShows) {
  TempDir dir;
  auto f = dir.Write("m.bin", std::string("MZ", 2) + std::string(15, '\x01'));
  auto r = RunTool({"hexdump", f.string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("m.bin   "));  // the information line first
  EXPECT_NE(r.out.find("\r\n00000001 : 4D 5A 01 "), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("\r\n00000002 : 01 \r\n"));
  auto below = RunTool({"hexdump", "--below", dir.Write("ab.txt", "AB").string()});
  EXPECT_TRUE(below.out.ends_with("\r\n\r\nAB\r\n44\r\n12\r\n"));
  EXPECT_EQ(RunTool({"hexdump"}).exit_code, 2);
}

}  // namespace
}  // namespace haruvi::test
