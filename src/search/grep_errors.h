// Exceptions of the grep engine: the end of a file's data (internal), a file that cannot
// be opened or read (with the system's message), the user's stop request, and a line
// longer than the window may grow.
#pragma once

#include <stdexcept>
#include <string>

namespace haruvi::search {

class EEndOfFile : public std::runtime_error {
 public:
  EEndOfFile() : std::runtime_error("End Of File") {}
};

class EFileNotFound : public std::runtime_error {
 public:
  explicit EFileNotFound(const std::string& system_message) : std::runtime_error(system_message) {}
};

class ELineTooLong : public std::runtime_error {
 public:
  explicit ELineTooLong(const std::string& message) : std::runtime_error(message) {}
};

class EGrepCancel : public std::runtime_error {
 public:
  EGrepCancel() : std::runtime_error("CancelRequest") {}
};

}  // namespace haruvi::search
