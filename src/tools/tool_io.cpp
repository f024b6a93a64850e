#include "tools/tool_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

namespace haruvi::tool {
namespace {

std::optional<std::string> ReadFd(int fd, std::string_view name) {
  std::string data;
  char buf[1 << 16];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      PrintError(std::string(name) + ": " + std::strerror(errno));
      return std::nullopt;
    }
    data.append(buf, static_cast<size_t>(n));
  }
  return data;
}

}  // namespace

void PrintError(std::string_view message) {
  std::cerr << "haruvi-tool: " << message << '\n';
}

std::optional<std::string> ReadInput(std::string_view path) {
  if (path.empty() || path == "-") return ReadFd(STDIN_FILENO, "standard input");
  std::string p(path);
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    PrintError(p + ": " + std::strerror(errno));
    return std::nullopt;
  }
  auto data = ReadFd(fd, p);
  ::close(fd);
  return data;
}

bool WriteOutput(std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(STDOUT_FILENO, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      PrintError(std::string("standard output: ") + std::strerror(errno));
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace haruvi::tool
