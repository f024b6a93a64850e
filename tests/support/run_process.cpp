#include "support/run_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace haruvi::test {

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, const std::vector<std::string>& extra_env,
                         const std::string& folder) {
  ProcessResult result;
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (::pipe2(in_pipe, O_CLOEXEC) || ::pipe2(out_pipe, O_CLOEXEC) || ::pipe2(err_pipe, O_CLOEXEC))
    return result;
  pid_t pid = ::fork();
  if (pid < 0) return result;
  if (pid == 0) {
    ::dup2(in_pipe[0], 0);
    ::dup2(out_pipe[1], 1);
    ::dup2(err_pipe[1], 2);
    for (const std::string& e : extra_env) ::putenv(const_cast<char*>(e.c_str()));
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(in_pipe[0]);
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);
  ::signal(SIGPIPE, SIG_IGN);
  ::fcntl(in_pipe[1], F_SETFL, O_NONBLOCK);

  size_t written = 0;
  int in_fd = in_pipe[1];
  if (input.empty()) {
    ::close(in_fd);
    in_fd = -1;
  }
  bool out_open = true, err_open = true;
  char buf[65536];
  while (out_open || err_open) {
    pollfd fds[3];
    int n = 0;
    int out_i = -1, err_i = -1, in_i = -1;
    if (out_open) { fds[n] = {out_pipe[0], POLLIN, 0}; out_i = n++; }
    if (err_open) { fds[n] = {err_pipe[0], POLLIN, 0}; err_i = n++; }
    if (in_fd >= 0) { fds[n] = {in_fd, POLLOUT, 0}; in_i = n++; }
    if (::poll(fds, static_cast<nfds_t>(n), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (in_i >= 0 && fds[in_i].revents) {
      ssize_t w = ::write(in_fd, input.data() + written, input.size() - written);
      if (w > 0) written += static_cast<size_t>(w);
      if (w < 0 && errno != EAGAIN) written = input.size();
      if (written >= input.size()) { ::close(in_fd); in_fd = -1; }
    }
    auto drain = [&](int idx, int fd, std::string& to, bool& open) {
      if (idx < 0 || !fds[idx].revents) return;
      ssize_t r = ::read(fd, buf, sizeof buf);
      if (r > 0) to.append(buf, static_cast<size_t>(r));
      else if (r == 0 || errno != EINTR) open = false;
    };
    drain(out_i, out_pipe[0], result.out, out_open);
    drain(err_i, err_pipe[0], result.err, err_open);
  }
  if (in_fd >= 0) ::close(in_fd);
  ::close(out_pipe[0]);
  ::close(err_pipe[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ProcessResult RunTool(const std::vector<std::string>& args, const std::string& input) {
  return RunProcess(HARUVI_TOOL_PATH, args, input);
}

ToolPeak RunToolOnFiles(const std::vector<std::string>& args, const std::string& input,
                        const std::string& output) {
  std::vector<std::string> all = {HARUVI_TOOL_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  ToolPeak result;
  const pid_t pid = ::fork();
  if (pid < 0) return result;
  if (pid == 0) {
    if (!input.empty()) {
      const int in = ::open(input.c_str(), O_RDONLY);
      if (in < 0 || ::dup2(in, STDIN_FILENO) < 0) ::_exit(127);
    }
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || ::dup2(out, STDOUT_FILENO) < 0) ::_exit(127);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage {};
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {}
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.peak_kb = usage.ru_maxrss;
  return result;
}

std::string ToolPath() { return HARUVI_TOOL_PATH; }

}  // namespace haruvi::test
