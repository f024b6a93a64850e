// Mounted file systems as drives: parsing, pseudo file systems, the drive root of a path.
#include <gtest/gtest.h>

#include "platform/mounts.h"

namespace haruvi::platform {
namespace {

constexpr const char* kMountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "23 22 0:5 / /proc rw,nosuid - proc proc rw\n"
    "24 22 0:6 / /sys rw - sysfs sysfs rw\n"
    "25 22 0:7 / /dev rw - devtmpfs udev rw\n"
    "26 22 0:8 / /run rw - tmpfs tmpfs rw\n"
    "27 26 0:9 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "28 22 8:2 / /home rw shared:2 master:1 - ext4 /dev/sda2 rw\n"
    "29 22 8:3 / /media/My\\040Disk rw - vfat /dev/sdb1 rw\n"
    "30 22 0:10 / /tmp rw - tmpfs tmpfs rw\n"
    "31 22 0:11 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
    "garbage line\n";

TEST(Mounts, ParsesFieldsAndDecodesEscapedBlanks) {
  auto mounts = ParseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 10u);
  EXPECT_EQ(mounts[0].path, "/");
  EXPECT_EQ(mounts[0].fs_type, "ext4");
  EXPECT_EQ(mounts[6].path, "/home");  // optional fields before "-" are skipped
  EXPECT_EQ(mounts[6].fs_type, "ext4");
  EXPECT_EQ(mounts[7].path, "/media/My Disk");
}

TEST(Mounts, PseudoFileSystemsAreNotDrives) {
  auto mounts = ParseMountInfo(kMountInfo);
  std::vector<std::string> real;
  for (const Mount& m : mounts)
    if (!m.pseudo) real.push_back(m.path);
  EXPECT_EQ(real, (std::vector<std::string>{"/", "/home", "/media/My Disk", "/tmp"}));
}

TEST(Mounts, DriveRootIsTheLongestMountPointPrefix) {
  auto mounts = ParseMountInfo(kMountInfo);
  EXPECT_EQ(DriveRoot("/home/user/docs", mounts), "/home");
  EXPECT_EQ(DriveRoot("/home", mounts), "/home");
  EXPECT_EQ(DriveRoot("/homework/x", mounts), "/");  // a name prefix is not a folder prefix
  EXPECT_EQ(DriveRoot("/media/My Disk/a", mounts), "/media/My Disk");
  EXPECT_EQ(DriveRoot("/usr/bin", mounts), "/");
}

TEST(Mounts, ThisMachineHasARootDriveThatIsReady) {
  auto real = RealMounts();
  ASSERT_FALSE(real.empty());
  EXPECT_EQ(real.front().path, "/");
  EXPECT_GT(DriveSpaceOf("/").size, 0u);
  EXPECT_EQ(DriveSpaceOf("/no/such/folder").size, 0u);
}

}  // namespace
}  // namespace haruvi::platform
