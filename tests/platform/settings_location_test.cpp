// Where the settings file is looked for.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/settings_location.h"
#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

// Sets or clears environment variables for one test and restores them after.
class EnvGuard {
 public:
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
  }
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else ::unsetenv(it->first.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(SettingsLocation, EnvironmentNamesTheFileOutright) {
  EnvGuard env;
  env.Set("HARUVI_INI", "/somewhere/else.ini");
  EXPECT_EQ(SettingsFilePath("/usr/bin/haruvi"), "/somewhere/else.ini");
}

TEST(SettingsLocation, BesideAWritableExecutableNamedLikeIt) {
  EnvGuard env;
  env.Set("HARUVI_INI", nullptr);
  test::TempDir dir;
  EXPECT_EQ(SettingsFilePath(dir / "haruvi"), dir / "haruvi.ini");
  EXPECT_EQ(SettingsFilePath(dir / "HARUV.EXE"), dir / "HARUV.ini");
}

TEST(SettingsLocation, ConfigFolderWhenTheProgramFolderIsReadOnly) {
  if (::geteuid() == 0) GTEST_SKIP() << "root can write everywhere";
  EnvGuard env;
  env.Set("HARUVI_INI", nullptr);
  test::TempDir dir;
  std::filesystem::create_directories(dir / "bin");
  ::chmod((dir / "bin").c_str(), 0555);
  env.Set("XDG_CONFIG_HOME", (dir / "cfg").c_str());
  EXPECT_EQ(SettingsFilePath(dir / "bin/haruvi"), dir / "cfg/haruvi/haruvi.ini");
  env.Set("XDG_CONFIG_HOME", nullptr);
  env.Set("HOME", dir.path().c_str());
  EXPECT_EQ(SettingsFilePath(dir / "bin/haruvi"), dir / ".config/haruvi/haruvi.ini");
}

TEST(SettingsLocation, ConfigFolderWhenTheProgramFolderDoesNotExist) {
  EnvGuard env;
  env.Set("HARUVI_INI", nullptr);
  test::TempDir dir;
  env.Set("XDG_CONFIG_HOME", (dir / "cfg").c_str());
  EXPECT_EQ(SettingsFilePath(dir / "gone/haruvi"), dir / "cfg/haruvi/haruvi.ini");
  env.Set("XDG_CONFIG_HOME", "relative/is/ignored");
  env.Set("HOME", dir.path().c_str());
  EXPECT_EQ(SettingsFilePath(dir / "gone/haruvi"), dir / ".config/haruvi/haruvi.ini");
}

TEST(SettingsLocation, AnInstalledProgramUsesTheConfigFolderEvenWhenItsFolderIsWritable) {
  EnvGuard env;
  env.Set("HARUVI_INI", nullptr);
  test::TempDir dir;
  std::filesystem::create_directories(dir / "usr/bin");
  std::filesystem::create_directories(dir / "usr/share/haruvi");
  env.Set("XDG_CONFIG_HOME", (dir / "cfg").c_str());
  EXPECT_EQ(SettingsFilePath(dir / "usr/bin/haruvi"), dir / "cfg/haruvi/haruvi.ini");
  // The same test tells where the window starts: home when installed, else its own folder.
  EXPECT_TRUE(IsInstalledProgram(dir / "usr/bin"));
  EXPECT_FALSE(IsInstalledProgram(dir / "usr"));
  EXPECT_FALSE(IsInstalledProgram({}));
  dir.Write("usr/bin/haruvi.ini", "[Form]\r\n");  // one the user put there is kept
  EXPECT_EQ(SettingsFilePath(dir / "usr/bin/haruvi"), dir / "usr/bin/haruvi.ini");
}

TEST(SettingsLocation, ExecutablePathIsThisTest) {
  EXPECT_EQ(ExecutablePath().filename(), "platform_tests");
}

}  // namespace
}  // namespace haruvi::platform
