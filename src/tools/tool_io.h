// Byte input and output of haruvi-tool: whole files or standard input in, raw bytes out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace haruvi::tool {

// The whole content of `path`, or of standard input when `path` is empty or "-".
// On failure prints "haruvi-tool: PATH: reason" to standard error and returns nullopt.
std::optional<std::string> ReadInput(std::string_view path);
// Writes bytes to standard output unchanged; false (with a message) on a write error.
bool WriteOutput(std::string_view bytes);
// "haruvi-tool: message" on standard error.
void PrintError(std::string_view message);

}  // namespace haruvi::tool
