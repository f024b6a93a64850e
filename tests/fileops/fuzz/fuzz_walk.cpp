// libFuzzer target: the folder walk over random trees. The bytes build a small tree
// (folders, files of some size, links to anywhere, loops included); the walk's totals
// must equal a plain count of every entry that is not a folder, links never followed.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fileops/folder_walk.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The scratch folder goes when the fuzzer ends.
  struct Scratch {
    fs::path folder;
    ~Scratch() {
      std::error_code ec;
      fs::remove_all(folder, ec);
    }
  };
  static const Scratch scratch = [] {
    char tmpl[] = "/tmp/haruvi-fuzz-walk-XXXXXX";
    return Scratch{fs::path(::mkdtemp(tmpl))};
  }();
  const fs::path& root = scratch.folder;
  std::error_code ec;
  fs::remove_all(root / "t", ec);
  fs::create_directory(root / "t", ec);
  std::vector<fs::path> folders = {root / "t"};
  for (std::size_t i = 0; i + 1 < size && i < 120; i += 2) {
    const fs::path& at = folders[data[i] % folders.size()];
    const fs::path name = at / ("n" + std::to_string(i));
    switch (data[i + 1] % 4) {
      case 0:
        if (folders.size() < 24 && fs::create_directory(name, ec)) folders.push_back(name);
        break;
      case 1:
        std::ofstream(name, std::ios::binary) << std::string(data[i + 1], 'x');
        break;
      case 2:  // a link to a folder of the tree: a loop when it is an ancestor
        fs::create_directory_symlink(folders[data[i + 1] % folders.size()], name, ec);
        break;
      default:  // a dangling link
        fs::create_symlink(root / "nowhere", name, ec);
        break;
    }
  }
  std::uint64_t files = 0, bytes = 0;
  for (auto it = fs::recursive_directory_iterator(root / "t", ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    const fs::file_status st = it->symlink_status();
    if (fs::is_directory(st)) continue;
    ++files;
    bytes += fs::is_symlink(st) ? fs::read_symlink(it->path()).string().size() : fs::file_size(it->path());
  }
  const haruvi::fileops::FolderTotals t = haruvi::fileops::WalkFolderTotals((root / "t").string());
  if (t.files != files || t.bytes != bytes || t.unreadable_folders != 0) std::abort();
  return 0;
}
