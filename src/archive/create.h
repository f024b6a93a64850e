// Creating archives: LZH through our own writer, ZIP and the tar family through
// libarchive, CAB through libgcab. The archive is written under a temporary name beside
// it and replaces an old one only when complete; folders are walked without following
// links, and FIFOs, devices and sockets are skipped (reading one could block forever).
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/result_codes.h"

namespace haruvi::archive {

enum class CreateFormat { kLzh, kZip, kTar, kTgz, kBz2, kCab };

// "lzh", "zip", "tar", "tgz", "bz2", "cab".
bool ParseCreateFormat(std::string_view word, CreateFormat* format);
// By the archive name's extension (".lzh", ".zip", ".tar", ".tgz"/".gz", ".bz2", ".cab",
// any case); false for anything else.
bool FormatForName(std::string_view archive_path, CreateFormat* format);

struct CreateOptions {
  // Keep the entries of an existing archive of that name that the new files do not
  // replace (LHA's "a"); otherwise the archive holds the given files only.
  bool update = false;
  // An absolute path is stored under its own name (a folder with what is below it),
  // as the archivers store files named with their folders; otherwise less its "/".
  bool base_names = false;
  const std::atomic<bool>* cancel = nullptr;
};

struct CreateResult {
  int code = kOk;
  std::string detail;     // English
  std::string detail_ja;  // Japanese
  std::vector<std::string> added;  // stored names, as given (bytes)
  std::vector<std::pair<std::string, std::string>> skipped;  // name, English reason
  std::uint64_t bytes = 0;
};

// Packs `files` (paths; relative ones against `base`, which may be empty for the
// current folder) into `archive_path`. Names are stored as given, less a leading "/" or
// "./"; a name with a ".." part is skipped.
CreateResult CreateArchive(CreateFormat format, const std::string& archive_path, const std::vector<std::string>& files,
                           const std::string& base, const CreateOptions& options = {});

}  // namespace haruvi::archive
