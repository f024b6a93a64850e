#include "fileops/typed_folder.h"

#include <sys/stat.h>

#include <vector>

namespace haruvi::fileops {
namespace {

// "/a/./b/../c" -> "/a/c", without asking the file system (links are the file system's
// business when the folder is opened).
std::string Normalise(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t slash = path.find('/', at);
    const std::string part = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (slash == std::string::npos) break;
    at = slash + 1;
  }
  std::string out;
  for (const std::string& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

}  // namespace

std::optional<TypedFolder> ResolveTypedFolder(const std::string& answer, const TypedFolderContext& c) {
  std::string path;
  if (answer.size() == 1 && ((answer[0] >= 'a' && answer[0] <= 'z') || (answer[0] >= 'A' && answer[0] <= 'Z'))) {
    // A letter alone is a drive; a one-letter folder is typed as "./x".
    auto root = c.drive_root ? c.drive_root(answer[0]) : std::nullopt;
    if (!root) return std::nullopt;
    path = *root;
  } else if (answer == "~" || answer.rfind("~/", 0) == 0) {
    path = c.home + answer.substr(1);
  } else if (!answer.empty() && answer[0] == '/') {
    path = answer;
  } else if (!answer.empty()) {
    path = c.current + "/" + answer;
  } else {
    return std::nullopt;
  }
  path = Normalise(path);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  if (S_ISDIR(st.st_mode)) return TypedFolder{path, {}};
  const std::size_t slash = path.rfind('/');
  return TypedFolder{slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace haruvi::fileops
