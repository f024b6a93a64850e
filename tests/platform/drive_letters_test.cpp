// Drive letters for mounted file systems: "/" is C, the rest in path order, pseudo file
// systems none, and a path belongs to its longest mount point.
#include "platform/drive_letters.h"

#include <gtest/gtest.h>

namespace haruvi::platform {
namespace {

TEST(DriveLetters, RootFirstThenPathOrderAndLongestPrefixWins) {
  const std::vector<Mount> mounts = {{"/media/usb", "vfat", false}, {"/proc", "proc", true},
                                     {"/", "ext4", false},          {"/home", "ext4", false},
                                     {"/home", "ext4", false}};
  const auto drives = LetterDrives(mounts);
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].letter, 'C');
  EXPECT_EQ(drives[0].root, "/");
  EXPECT_EQ(drives[1].root, "/home");
  EXPECT_EQ(drives[2].letter, 'E');
  EXPECT_EQ(RootOfLetter(drives, 'd'), "/home");
  EXPECT_EQ(RootOfLetter(drives, 'Z'), std::nullopt);
  EXPECT_EQ(LetterOfPath(drives, "/home/u/x"), 'D');
  EXPECT_EQ(LetterOfPath(drives, "/homes"), 'C');  // not under /home
  EXPECT_EQ(LetterOfPath(drives, "/media/usb"), 'E');
  std::vector<Mount> many;
  for (int i = 0; i < 40; ++i) many.push_back({"/m" + std::to_string(100 + i), "ext4", false});
  EXPECT_EQ(LetterDrives(many).size(), 24u);  // C to Z
}

}  // namespace
}  // namespace haruvi::platform
