// Exceptions of the grep engine: the end of a file's data (internal), a file that cannot
// be opened or read (with the system's message), and the user's stop request.
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

class EGrepCancel : public std::runtime_error {
 public:
  EGrepCancel() : std::runtime_error("CancelRequest") {}
};

}  // namespace haruvi::search
