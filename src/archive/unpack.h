// Unpacking an archive into a folder the user chose, safely: nothing is written outside
// it (names with "..", absolute names, devices, and links leading out are refused and
// reported), two entries of one disk name are both kept (the later one as "NAME (2)",
// reported), the total size and the expansion ratio are capped against archive bombs,
// and the entries are written into a staging folder inside the target and moved into
// place once the archive was read: a cancel or a failure of the disk leaves the target as
// it was, and a damaged archive gives the entries read whole before the damage, never a
// half-written one.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/result_codes.h"

namespace haruvi::archive {

enum class Refusal {
  kUnreadableName,  // the name does not read as the archive says it is written
  kOutside,         // absolute name, ".." part, or a link leading out
  kDevice,          // device, FIFO or socket
  kLinkTarget,      // a hard link to nothing unpacked before
  kThroughLink,     // its folder is a link or a file in the archive
  kCannotWrite,     // the system refused to create it
  kTooDeep,         // more folder levels than we walk
  kTargetItself,    // a file named as the target folder itself ("./")
};
// What the refusal means, in English for the tool and in Japanese for the window.
const char* RefusalText(Refusal r);
const char* RefusalTextJa(Refusal r);

struct UnpackOptions {
  bool overwrite = false;       // replace files of the same name in the target
  bool ignore_folders = false;  // every file straight into the target
  std::uint64_t max_total = std::uint64_t{64} << 30;   // bytes written at most
  std::uint64_t max_ratio = 1000;                      // written bytes per archive byte...
  std::uint64_t ratio_floor = std::uint64_t{256} << 20;  // ...checked past this much
  std::uint64_t max_entries = 2'000'000;
  const std::atomic<bool>* cancel = nullptr;
  std::atomic<std::uint64_t>* progress = nullptr;  // archive bytes read so far
  bool decode_ahead = true;  // see ReadControl
};

struct RefusedEntry {
  std::string name;  // as the pane shows it (CP932)
  Refusal why;
  int error = 0;  // the system's errno where it refused (a name too long, no permission...)
};

// An entry whose name (after conversion to a disk name) an earlier entry already took,
// unpacked beside it under a free name instead of over it.
struct RenamedEntry {
  std::string name;     // as the pane shows it (CP932)
  std::string kept_as;  // the name it was given, the same way
};

struct UnpackResult {
  int code = kOk;       // kOk or one of the result codes
  std::string detail;   // English detail of a failure
  std::string detail_ja;
  // The archive is damaged from some entry on (code and details say how); the entries
  // before it were unpacked all the same.
  bool damaged = false;
  std::vector<RefusedEntry> refused;
  std::vector<std::string> kept;  // names already in the target, left as they were
  std::vector<RenamedEntry> renamed;
  std::vector<std::string> written;  // the files now in the target, as the pane shows them
  std::uint64_t files = 0;  // files written into the target (those kept are not)
  std::uint64_t bytes = 0;
};

UnpackResult Unpack(const std::string& archive_path, const std::string& folder, const UnpackOptions& options);

}  // namespace haruvi::archive
