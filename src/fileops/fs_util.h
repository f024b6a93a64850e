// Small path and system-call helpers the file engines share: names split at "/", the
// rename that never replaces, and the system's reason as text.
#pragma once

#include <string>

namespace haruvi::fileops {

std::string ParentOf(const std::string& path);    // "/a/b" -> "/a", "/a" -> "/", "b" -> "."
std::string NameOf(const std::string& path);      // "/a/b" -> "b" (trailing "/" ignored)
std::string JoinPath(const std::string& folder, const std::string& name);
std::string SystemReason();                       // errno as the window says it

// renameat2(RENAME_NOREPLACE); where the file system lacks it, a check then a rename
// (the best it offers). False with errno EEXIST when the new name is taken.
bool RenameNoReplace(int old_dir, const char* old_name, int new_dir, const char* new_name);

}  // namespace haruvi::fileops
