// The report's labels in their order, empty facts left out, the uptime arithmetic and
// the drive figures.
#include <gtest/gtest.h>

#include "systools/system_report.h"

namespace haruvi::systools {
namespace {

TEST(SystemReport, LabelsComeInOrderAndEmptyFactsStayOut) {
  SystemFacts f;
  f.system_folder = "/usr";
  f.library_folder = "/usr/lib";
  f.current_folder = "/home/u";
  f.owner = "Haru";
  f.computer = "box";
  f.product_name = "Debian GNU/Linux 12";
  f.version = "6.1.0";
  f.cpu_vendor = "GenuineIntel";
  f.memory = "1,024 KB";
  f.environment = {"LANG=ja_JP.UTF-8", "HOME=/home/u"};
  f.date = "2026/12/07";
  f.time = "14:55:06";
  f.uptime_ms = 3723000;
  const std::vector<std::string> expected = {
      "Windowsﾃﾞｨﾚｸﾄﾘ = /usr", "Systemﾃﾞｨﾚｸﾄﾘ = /usr/lib", "ｶﾚﾝﾄﾃﾞｨﾚｸﾄﾘ = /home/u", "ﾕｰｻﾞｰ名 = Haru",
      "ｺﾝﾋﾟｭｰﾀｰ名 = box", "ﾌﾟﾛﾀﾞｸﾄ名 = Debian GNU/Linux 12", "ﾊﾞｰｼﾞｮﾝ = 6.1.0", "CPﾍﾞﾝﾀﾞｰ = GenuineIntel",
      "ﾒﾓﾘ = 1,024 KB", "環境変数 = LANG=ja_JP.UTF-8", "環境変数 = HOME=/home/u", "日付 = 2026/12/07",
      "時間 = 14:55:06", "起動時間 = 1 時間  2 分  3 秒"};
  EXPECT_EQ(ReportLines(f), expected);
}

TEST(SystemReport, GatheredFactsFillTheLinesThisMachineHas) {
  const SystemFacts f = GatherSystemFacts();
  EXPECT_FALSE(f.computer.empty());
  EXPECT_FALSE(f.version.empty());
  EXPECT_FALSE(f.environment.empty());
  EXPECT_GT(f.uptime_ms, 0u);
  EXPECT_EQ(f.date.size(), 10u);
}

TEST(SystemReport, UptimeSplitsIntoWholeHoursMinutesSeconds) {
  EXPECT_EQ(UptimeLine(0), "起動時間 = 0 時間  0 分  0 秒");
  EXPECT_EQ(UptimeLine(90061999), "起動時間 = 25 時間  1 分  1 秒");
}

TEST(SystemReport, OsReleaseAndProcValues) {
  const std::string os = "NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n";
  EXPECT_EQ(OsReleaseValue(os, "PRETTY_NAME"), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(OsReleaseValue(os, "ID"), "debian");
  EXPECT_EQ(OsReleaseValue(os, "NAM"), "");
  EXPECT_EQ(ProcValue("processor\t: 0\nvendor_id\t: AuthenticAMD\n", "vendor_id"), "AuthenticAMD");
}

TEST(DriveUsage, FiguresOfThisFolderAddUp) {
  DriveUsage u;
  ASSERT_TRUE(ReadDriveUsage("/", u));
  EXPECT_GT(u.total, 0u);
  EXPECT_LE(u.free, u.total);
  EXPECT_EQ(u.Used() + u.free, u.total);
  EXPECT_FALSE(ReadDriveUsage("/no/such/folder/here", u));
  EXPECT_EQ(ByteText(1234567), "1,234,567 byte");
  u.sectors_per_cluster = 8;
  u.bytes_per_sector = 512;
  u.total_clusters = 100;
  u.free_clusters = 0;
  EXPECT_EQ(ClusterLine(u), "ｾｸﾀ = 8 ﾊﾞｲﾄ = 512 ｸﾗｽﾀ = 100 ﾌﾘｰｸﾗｽﾀ = 0");
}

}  // namespace
}  // namespace haruvi::systools
