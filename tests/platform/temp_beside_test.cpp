// New files beside their targets: a file given the target's name in one step never
// replaces one that is there, and nothing of it is left when it is not placed.
#include "platform/temp_beside.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

std::size_t Entries(const std::filesystem::path& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(NewFileBeside, TheTargetsOwnNameComesInOneStepAndNeverOverAnotherFile) {
  test::TempDir dir;
  const std::string target = (dir / "new.txt").string();
  {
    NewFileBeside out(target);
    ASSERT_GE(out.Fd(), 0);
    ASSERT_EQ(::write(out.Fd(), "whole", 5), 5);
    ASSERT_TRUE(out.CloseAsTarget()) << errno;
  }
  EXPECT_EQ(test::ReadFile(target), "whole");
  EXPECT_EQ(Entries(dir.path()), 1u);
  {
    NewFileBeside again(target);
    ASSERT_GE(again.Fd(), 0);
    ASSERT_EQ(::write(again.Fd(), "other", 5), 5);
    EXPECT_FALSE(again.CloseAsTarget());
    EXPECT_EQ(errno, EEXIST);
  }
  EXPECT_EQ(test::ReadFile(target), "whole");
  EXPECT_EQ(Entries(dir.path()), 1u) << "nothing left of the one not placed";
}

}  // namespace
}  // namespace haruvi::platform
