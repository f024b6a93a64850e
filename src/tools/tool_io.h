// Byte input and output of haruvi-tool: whole files or standard input in, raw bytes out.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace haruvi::tool {

// Opens a named input: a regular file only, read up to the size it has now (a FIFO,
// socket or device could block or never end: "PATH: not a regular file"). Returns the
// descriptor with *st filled, or -1 after "haruvi-tool: PATH: reason" on standard error.
int OpenInputFile(const std::string& path, struct stat* st);

// An input to be read in pieces: standard input when `path` is empty or "-", else a named
// file as OpenInputFile allows, read up to the size it had. Closes what it opened.
class InputDescriptor {
 public:
  InputDescriptor() = default;
  InputDescriptor(const InputDescriptor&) = delete;
  InputDescriptor& operator=(const InputDescriptor&) = delete;
  ~InputDescriptor();
  // False after the reason was printed.
  bool Open(std::string_view path);
  int fd() const { return fd_; }
  std::uint64_t limit() const { return limit_; }
  // "PATH: reason" for the last read error (errno), printed.
  void PrintReadError() const;

 private:
  int fd_ = -1;
  bool owned_ = false;
  std::uint64_t limit_ = UINT64_MAX;
  std::string name_;
};

// The whole content of `path` (as OpenInputFile allows), or of standard input, a stream,
// when `path` is empty or "-". On failure prints the reason and returns nullopt.
std::optional<std::string> ReadInput(std::string_view path);
// The size of the last input read or opened (for an out-of-memory message).
std::uint64_t LastInputSize();
// Writes bytes to standard output unchanged; false (with a message) on a write error.
bool WriteOutput(std::string_view bytes);
// "haruvi-tool: message" on standard error, control characters escaped on a terminal.
void PrintError(std::string_view message);
// Text holding names as it may go to `fd`: on a terminal every control character (C0,
// DEL and the UTF-8 C1 codes) becomes \xNN, so a file name cannot move the cursor or
// change the terminal; to a file or a pipe the bytes go as they are.
std::string ForTerminal(int fd, std::string_view text);

}  // namespace haruvi::tool
