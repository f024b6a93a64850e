#include "tools/tool_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>

#include "platform/write_all.h"

namespace haruvi::tool {
namespace {

std::uint64_t last_input_size = 0;

// Reads to the end, or up to `limit` bytes for a file (what it had when opened).
std::optional<std::string> ReadFd(int fd, std::string_view name, std::uint64_t limit = UINT64_MAX) {
  std::string data;
  if (limit != UINT64_MAX) data.reserve(static_cast<size_t>(limit));
  char buf[1 << 16];
  while (data.size() < limit) {
    const size_t want = static_cast<size_t>(std::min<std::uint64_t>(sizeof buf, limit - data.size()));
    ssize_t n = ::read(fd, buf, want);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      PrintError(std::string(name) + ": " + std::strerror(errno));
      return std::nullopt;
    }
    data.append(buf, static_cast<size_t>(n));
    last_input_size = data.size();
  }
  return data;
}

}  // namespace

void PrintError(std::string_view message) {
  std::cerr << "haruvi-tool: " << ForTerminal(STDERR_FILENO, message) << '\n';
}

std::string ForTerminal(int fd, std::string_view text) {
  if (!::isatty(fd)) return std::string(text);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  const auto escape = [&](unsigned char c) {
    out.append("\\x");
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 15]);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (c < 0x20 || c == 0x7F) {
      escape(c);
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080-U+009F
      escape(c);
      escape(next);
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

int OpenInputFile(const std::string& path, struct stat* st) {
  // Without blocking: opening a FIFO nobody writes to would wait for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    PrintError(path + ": " + std::strerror(errno));
    return -1;
  }
  if (::fstat(fd, st) != 0) {
    PrintError(path + ": " + std::strerror(errno));
    ::close(fd);
    return -1;
  }
  if (S_ISDIR(st->st_mode)) {
    PrintError(path + ": " + std::strerror(EISDIR));
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st->st_mode)) {
    PrintError(path + ": not a regular file");
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  last_input_size = static_cast<std::uint64_t>(st->st_size);
  return fd;
}

std::optional<std::string> ReadInput(std::string_view path) {
  if (path.empty() || path == "-") return ReadFd(STDIN_FILENO, "standard input");
  std::string p(path);
  struct stat st {};
  const int fd = OpenInputFile(p, &st);
  if (fd < 0) return std::nullopt;
  auto data = ReadFd(fd, p, static_cast<std::uint64_t>(st.st_size));
  ::close(fd);
  return data;
}

std::uint64_t LastInputSize() { return last_input_size; }

InputDescriptor::~InputDescriptor() {
  if (owned_) ::close(fd_);
}

bool InputDescriptor::Open(std::string_view path) {
  if (path.empty() || path == "-") {
    fd_ = STDIN_FILENO;
    name_ = "standard input";
    return true;
  }
  name_ = std::string(path);
  struct stat st {};
  fd_ = OpenInputFile(name_, &st);
  if (fd_ < 0) return false;
  owned_ = true;
  limit_ = static_cast<std::uint64_t>(st.st_size);
  return true;
}

void InputDescriptor::PrintReadError() const { PrintError(name_ + ": " + std::strerror(errno)); }

bool WriteOutput(std::string_view bytes) {
  if (platform::WriteAll(STDOUT_FILENO, bytes)) return true;
  PrintError(std::string("standard output: ") + std::strerror(errno));
  return false;
}

}  // namespace haruvi::tool
