// The one whole-write loop: every byte arrives in order however the descriptor cuts the
// writes (a full non-blocking pipe, a blocking one whose writes signals interrupt), and a
// failure comes back as false with errno.
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>

#include "platform/write_all.h"

namespace haruvi::platform {
namespace {

std::string Pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 7 + i / 251);
  return s;
}

// Reads `fd` to its end on a thread of its own, a little at a time so the writer keeps
// finding the pipe full.
class Drain {
 public:
  explicit Drain(int fd) : thread_([this, fd] {
    char buf[1000];
    for (;;) {
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got_.append(buf, static_cast<std::size_t>(n));
    }
  }) {}
  std::string Join() {
    thread_.join();
    return got_;
  }

 private:
  std::string got_;
  std::thread thread_;
};

struct Pipe {
  int r = -1, w = -1;
  Pipe() {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    r = fds[0];
    w = fds[1];
    ::fcntl(w, F_SETPIPE_SZ, 4096);  // the smallest pipe: many short writes
  }
  void CloseWrite() {
    if (w >= 0) ::close(w);
    w = -1;
  }
  ~Pipe() {
    CloseWrite();
    ::close(r);
  }
};

TEST(WriteAll, NonBlockingPipeWaitsForRoomAndLosesNothing) {
  Pipe pipe;
  ASSERT_EQ(::fcntl(pipe.w, F_SETFL, ::fcntl(pipe.w, F_GETFL) | O_NONBLOCK), 0);
  const std::string data = Pattern(1 << 20);
  Drain drain(pipe.r);
  EXPECT_TRUE(WriteAll(pipe.w, data));
  pipe.CloseWrite();
  EXPECT_EQ(drain.Join(), data);
}

void Ignore(int) {}

TEST(WriteAll, WritesInterruptedBySignalsGoOn) {
  // A handler without SA_RESTART: a blocked write returns EINTR, or the bytes it took.
  struct sigaction act {}, old {};
  act.sa_handler = Ignore;
  ASSERT_EQ(::sigaction(SIGUSR1, &act, &old), 0);
  Pipe pipe;
  const std::string data = Pattern(4 << 20);
  std::atomic<bool> done{false};
  bool ok = false;
  std::thread writer([&] {
    ok = WriteAll(pipe.w, data);
    done = true;
  });
  const pthread_t target = writer.native_handle();
  std::string got;
  char buf[512];
  while (got.size() < data.size()) {
    if (!done) ::pthread_kill(target, SIGUSR1);
    const ssize_t n = ::read(pipe.r, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got.append(buf, static_cast<std::size_t>(n));
  }
  writer.join();
  ::sigaction(SIGUSR1, &old, nullptr);
  EXPECT_TRUE(ok);
  EXPECT_EQ(got, data);
}

TEST(WriteAll, EmptyWritesNothingAndFailuresSayWhy) {
  Pipe pipe;
  const int closed = ::dup(pipe.w);
  ::close(closed);
  // Nothing to write is no call at all, even on a descriptor that is closed.
  EXPECT_TRUE(WriteAll(closed, ""));
  errno = 0;
  EXPECT_FALSE(WriteAll(closed, "x"));
  EXPECT_EQ(errno, EBADF);
  // A read-only descriptor refuses at once rather than spinning.
  errno = 0;
  EXPECT_FALSE(WriteAll(pipe.r, "x"));
  EXPECT_EQ(errno, EBADF);
}

}  // namespace
}  // namespace haruvi::platform
