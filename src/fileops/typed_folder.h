// A folder typed by the user ("フォルダーの指定"), made into where to go: a drive letter
// alone means that drive's root, "~" the home folder, a relative path is taken from the
// current folder, and a path to a file means its folder with that file selected.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace haruvi::fileops {

struct TypedFolder {
  std::string folder;       // absolute, without "." or ".." parts
  std::string select_file;  // a file named by the answer, to select there; empty for none
};

struct TypedFolderContext {
  std::string current;  // the current folder
  std::string home;
  std::function<std::optional<std::string>(char letter)> drive_root;
};

// nullopt when the answer names nothing that exists (a missing folder or drive).
std::optional<TypedFolder> ResolveTypedFolder(const std::string& answer, const TypedFolderContext& context);

}  // namespace haruvi::fileops
