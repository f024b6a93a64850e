// The program as a user starts it, headless: a picture is written and the settings are
// saved; a run whose settings cannot be written says so and fails; nothing waits.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "support/run_process.h"
#include "support/temp_dir.h"

namespace haruvi::app {
namespace {

test::ProcessResult Screenshot(const std::filesystem::path& ini, const std::filesystem::path& png,
                               const std::string& file = {}) {
  std::vector<std::string> args = {"--screenshot", png.string()};
  if (!file.empty()) args.push_back(file);
  return test::RunProcess(HARUVI_PROGRAM_PATH, args, {},
                          {"HARUVI_INI=" + ini.string(), "QT_QPA_PLATFORM=offscreen", "ASAN_OPTIONS=detect_leaks=0"});
}

TEST(Program, AScreenshotRunWritesThePictureAndTheSettings) {
  test::TempDir dir;
  auto file = dir.Write("a.txt", "\x93\xfa\x96\x7b\r\n");
  const auto r = Screenshot(dir / "h.ini", dir / "shot.png", file.string());
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_GT(std::filesystem::file_size(dir / "shot.png"), 1000u);
  EXPECT_NE(test::ReadFile(dir / "h.ini").find("[Form]\r\n"), std::string::npos);
}

TEST(Program, SettingsThatCannotBeWrittenFailTheRun) {
  test::TempDir dir;
  dir.Write("blocker", "a file where the settings folder should be");
  const auto r = Screenshot(dir / "blocker/h.ini", dir / "shot.png");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("settings could not be written"), std::string::npos) << r.err;
}

TEST(Program, AReadOnlySettingsFileIsLeftAloneAndSaidOnce) {
  test::TempDir dir;
  auto ini = dir.Write("h.ini", "[Form]\r\nWidth=700\r\n");
  ::chmod(ini.c_str(), 0444);
  const auto r = Screenshot(ini, dir / "shot.png");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(test::ReadFile(ini), "[Form]\r\nWidth=700\r\n");
  EXPECT_NE(r.err.find("書き込み禁止"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace haruvi::app

namespace haruvi::app {
namespace {

test::ProcessResult Start(const std::filesystem::path& ini, const std::vector<std::string>& files) {
  std::vector<std::string> args = {"--screenshot", (ini.parent_path() / "s.png").string()};
  args.insert(args.end(), files.begin(), files.end());
  return test::RunProcess(HARUVI_PROGRAM_PATH, args, {},
                          {"HARUVI_INI=" + ini.string(), "QT_QPA_PLATFORM=offscreen", "ASAN_OPTIONS=detect_leaks=0"});
}

// What a desktop hands over: a folder opens itself, several files open the first one.
TEST(Program, AFolderOrSeveralFilesFromADesktopOpenAsExpected) {
  test::TempDir dir;
  dir.Write("notes/a.txt", "a");
  dir.Write("notes/b.txt", "b");
  dir.Write("other/c.txt", "c");
  auto ran = Start(dir / "1.ini", {(dir / "other").string()});
  ASSERT_EQ(ran.exit_code, 0) << ran.err;
  EXPECT_NE(test::ReadFile(dir / "1.ini").find("Directory=" + (dir / "other").string()), std::string::npos);
  ran = Start(dir / "2.ini", {(dir / "notes/a.txt").string(), (dir / "notes/b.txt").string()});
  ASSERT_EQ(ran.exit_code, 0) << ran.err;
  EXPECT_NE(test::ReadFile(dir / "2.ini").find("Directory=" + (dir / "notes").string()), std::string::npos);
}

// Names given relative to the start folder stay the start folder's, though the window
// moves its working folder while it browses.
TEST(Program, RelativeNamesAreTheStartFoldersWhereverTheWindowBrowses) {
  test::TempDir dir;
  dir.Write("other/c.txt", "c");
  dir.Write("h.ini", "[Form]\r\nWidth=700\r\n");
  const auto r = test::RunProcess(HARUVI_PROGRAM_PATH, {"--screenshot", "s.png", "other/c.txt"}, {},
                                  {"HARUVI_INI=h.ini", "QT_QPA_PLATFORM=offscreen", "ASAN_OPTIONS=detect_leaks=0"},
                                  dir.path().string());
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(dir / "s.png"));
  EXPECT_FALSE(std::filesystem::exists(dir / "other/s.png"));
  const std::string ini = test::ReadFile(dir / "h.ini");
  EXPECT_NE(ini.find("Directory=" + (dir / "other").string()), std::string::npos) << ini;  // written back here
  EXPECT_FALSE(std::filesystem::exists(dir / "other/h.ini"));
}

}  // namespace
}  // namespace haruvi::app
