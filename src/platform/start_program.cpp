#include "platform/start_program.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace haruvi::platform {

bool StartDetached(const std::vector<std::string>& argv, const std::string& folder, std::string* error) {
  auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (argv.empty() || argv.front().empty()) return fail("no program");
  // Everything the child needs is made before the fork: after it, only calls that are
  // safe in a copy of a threaded process.
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  // The grandchild's exec closes the pipe's writing end; a failed exec writes errno.
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return fail(std::strerror(errno));
  const pid_t child = ::fork();
  if (child < 0) {
    const int e = errno;
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    return fail(std::strerror(e));
  }
  if (child == 0) {
    ::close(pipe_fds[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    int e = 0;
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) e = errno;
    if (e == 0) {
      ::execvp(args[0], args.data());
      e = errno;
    }
    ssize_t ignored = ::write(pipe_fds[1], &e, sizeof e);
    (void)ignored;
    ::_exit(127);
  }
  ::close(pipe_fds[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int e = 0;
  ssize_t n;
  while ((n = ::read(pipe_fds[0], &e, sizeof e)) < 0 && errno == EINTR) {
  }
  ::close(pipe_fds[0]);
  if (n == static_cast<ssize_t>(sizeof e)) return fail(std::strerror(e));
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return fail("could not start");
  return true;
}

}  // namespace haruvi::platform
