// Starting another program with arguments as bytes: a path whose name is not UTF-8
// reaches the program as it is on disk. The program is not the window's child (it
// outlives the window), and one that cannot be started is said, with the reason.
#pragma once

#include <string>
#include <vector>

namespace haruvi::platform {

// Runs argv[0] (looked up in PATH when it has no slash) with argv in `folder` (left
// as it is when empty). False with `error` set when it could not be run.
bool StartDetached(const std::vector<std::string>& argv, const std::string& folder, std::string* error);

}  // namespace haruvi::platform
