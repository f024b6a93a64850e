// haruvi-tool's frame: help, version, argument errors and the byte path.
#include <gtest/gtest.h>

#include "haruvi_version.h"
#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::test {
namespace {

TEST(ToolFrame, HelpListsCommandsAndExitsZero) {
  auto r = RunTool({"--help"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find("usage: haruvi-tool COMMAND"), std::string::npos);
  EXPECT_NE(r.out.find("cat [FILE]"), std::string::npos);
}

TEST(ToolFrame, VersionComesFromTheBuild) {
  auto r = RunTool({"--version"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out, std::string("haruvi-tool ") + HARUVI_VERSION_STRING + "\n");
}

TEST(ToolFrame, UsageErrorsExitTwoWithAMessageOnStandardError) {
  auto none = RunTool({});
  EXPECT_EQ(none.exit_code, 2);
  EXPECT_NE(none.err.find("usage:"), std::string::npos);
  auto unknown = RunTool({"frobnicate"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_TRUE(unknown.out.empty());
  auto extra = RunTool({"cat", "a", "b"});
  EXPECT_EQ(extra.exit_code, 2);
  EXPECT_NE(extra.err.find("usage: haruvi-tool cat [FILE]"), std::string::npos);
}

TEST(ToolFrame, BytesPassThroughUnchangedFromFileAndStandardInput) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  bytes += "\r\n\x82\xA0\x1B$B";
  TempDir dir;
  auto p = dir.Write("in.bin", bytes);
  EXPECT_EQ(RunTool({"cat", p.string()}).out, bytes);
  EXPECT_EQ(RunTool({"cat"}, bytes).out, bytes);
  EXPECT_EQ(RunTool({"cat", "-"}, bytes).out, bytes);
}

TEST(ToolFrame, MissingFileIsAClearErrorNotAUsageError) {
  auto r = RunTool({"cat", "/no/such/file"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("/no/such/file: No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace haruvi::test
