// Drive letters on a system without them: the drives are the mounted real file systems,
// "/" first and the others in path order, lettered from "C" on as a user of lettered
// drives expects ("C" the system's). Typing a letter picks its drive.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/mounts.h"

namespace haruvi::platform {

struct LetteredDrive {
  char letter;       // 'C' ... 'Z'
  std::string root;  // the mount point
};

// At most 24 drives get a letter; the rest have none.
std::vector<LetteredDrive> LetterDrives(const std::vector<Mount>& mounts);
// The drive of `letter` (either case), or nullopt.
std::optional<std::string> RootOfLetter(const std::vector<LetteredDrive>& drives, char letter);
// The letter of the drive that holds `path` (its longest mount-point prefix).
std::optional<char> LetterOfPath(const std::vector<LetteredDrive>& drives, const std::string& path);

}  // namespace haruvi::platform
