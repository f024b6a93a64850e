// The direct binding to the LHA library that the LHA commands and the archive preview
// use: loaded once at start-up (a failure is silent), its version 0 when absent, and
// Unlha answering 32792 without calling anything then.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "archive/archiver_api.h"
#include "archive/archiver_library.h"

namespace haruvi::archive {

class LhaBinding {
 public:
  // Loads "UNLHA32" (held until the end of the program).
  void Load();
  bool Loaded() const { return lib_ != nullptr; }
  // The library's version; 0 when it is not loaded.
  std::uint32_t Version() const;
  // Runs a command line; *output gets the library's text up to its first NUL. The
  // command reports into `progress` and stops when its cancel is set, when given.
  int Unlha(void* window, const std::string& command, std::string* output, std::uint32_t size,
            HaruviProgress* progress = nullptr) const;
  // False when the library is not loaded.
  bool CheckArchive(const std::string& path, int mode) const;

 private:
  std::shared_ptr<ArchiverLibrary> lib_;
};

}  // namespace haruvi::archive
