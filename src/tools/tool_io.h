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

// The whole content of `path` (as OpenInputFile allows), or of standard input, a stream,
// when `path` is empty or "-". On failure prints the reason and returns nullopt.
std::optional<std::string> ReadInput(std::string_view path);
// The size of the last input read or opened (for an out-of-memory message).
std::uint64_t LastInputSize();
// Writes bytes to standard output unchanged; false (with a message) on a write error.
bool WriteOutput(std::string_view bytes);
// "haruvi-tool: message" on standard error.
void PrintError(std::string_view message);

}  // namespace haruvi::tool
