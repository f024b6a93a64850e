// The internal "dir" listing: a folder's entries in the layout of the old command (date,
// time, <DIR> or size, name; counts and free space at the end), honouring the attribute,
// sort, subfolder, form and lower-case switches. No program is run and nothing is written.
#pragma once

#include <atomic>
#include <string>

#include "systools/dir_options.h"

namespace haruvi::systools {

struct DirListing {
  std::string text;   // lines ending in "\n"; names as their bytes, the rest UTF-8
  std::string error;  // "" or why nothing could be listed
  bool stopped = false;
};

// `stop` is read between entries; a set flag ends the listing with what was written.
DirListing ListDirectory(const DirRequest& request, const std::atomic<bool>* stop = nullptr);

}  // namespace haruvi::systools
