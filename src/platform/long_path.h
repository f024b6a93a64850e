// Opening a path of any length: a path past the system's limit (a folder thousands of
// levels deep) is opened piece by piece, each piece relative to the folder before it, so
// the deepest file of a tree can be read and looked at like any other.
#pragma once

#include <sys/stat.h>

#include <string>

namespace haruvi::platform {

// ::open(path, flags) that also takes a path longer than PATH_MAX; -1 with errno set.
int OpenLongPath(const std::string& path, int flags);

// ::lstat that also takes a path longer than PATH_MAX.
bool LstatLongPath(const std::string& path, struct stat* st);

}  // namespace haruvi::platform
