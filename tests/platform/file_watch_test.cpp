// A watched file says when it is written to and when it is replaced, by its bytes (a
// Shift_JIS name too); nothing is reported for a file left alone or after Stop.
#include "platform/file_watch.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <cstdio>
#include <fstream>

#include "support/temp_dir.h"

namespace haruvi::platform {
namespace {

// Waits briefly for the watch to have something to say, then takes it.
unsigned Wait(FileWatch& w) {
  pollfd p{w.Descriptor(), POLLIN, 0};
  ::poll(&p, 1, 1000);
  return w.TakeEvents();
}

TEST(FileWatch, WritesAndReplacementsAreToldApart) {
  test::TempDir dir;
  const auto file = dir.Write("\x95\x5c\x8e\xa6.log", "one\n");  // 表示.log in Shift_JIS
  FileWatch w;
  ASSERT_GE(w.Descriptor(), 0);
  ASSERT_TRUE(w.Watch(file.string()));
  EXPECT_EQ(w.TakeEvents(), FileWatch::None);
  { std::ofstream(file, std::ios::app) << "two\n"; }
  EXPECT_EQ(Wait(w), unsigned(FileWatch::Written));
  const auto other = dir.Write("new.log", "fresh\n");
  ASSERT_EQ(std::rename(other.c_str(), file.c_str()), 0);  // an editor's save
  EXPECT_TRUE(Wait(w) & FileWatch::Replaced);
  // The name holds another file now: watched again, it is that file's writes that count.
  ASSERT_TRUE(w.Watch(file.string()));
  { std::ofstream(file, std::ios::app) << "three\n"; }
  EXPECT_EQ(Wait(w), unsigned(FileWatch::Written));
  w.Stop();
  { std::ofstream(file, std::ios::app) << "four\n"; }
  EXPECT_EQ(Wait(w), FileWatch::None);
  EXPECT_FALSE(w.Watch((dir / "missing").string()));
}

}  // namespace
}  // namespace haruvi::platform
