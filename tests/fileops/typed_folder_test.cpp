// Where a typed folder leads: drive letters, "~", relative paths, "." and "..", a file's
// folder with the file selected, and nothing for what does not exist.
#include "fileops/typed_folder.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace haruvi::fileops {
namespace {

TEST(TypedFolder, EveryFormLeadsWhereAUserExpects) {
  test::TempDir dir;
  dir.Write("home/notes/a.txt", "a");
  dir.Write("cur/sub/b.txt", "b");
  const std::string d = dir.path().string();
  TypedFolderContext c;
  c.current = d + "/cur";
  c.home = d + "/home";
  c.drive_root = [&](char letter) -> std::optional<std::string> {
    if (letter == 'D' || letter == 'd') return d;
    return std::nullopt;
  };
  const struct {
    std::string answer;
    std::optional<std::string> folder;
    std::string file;
  } rows[] = {
      {"d", d, ""},                          // a drive letter alone: its root
      {"q", std::nullopt, ""},               // no such drive
      {"~", d + "/home", ""},
      {"~/notes", d + "/home/notes", ""},
      {"sub", d + "/cur/sub", ""},           // relative to the current folder
      {"./sub/../sub/.", d + "/cur/sub", ""},
      {"..", d, ""},
      {d + "/cur/sub/b.txt", d + "/cur/sub", "b.txt"},  // a file: its folder, the file selected
      {"sub/b.txt", d + "/cur/sub", "b.txt"},
      {d + "/missing", std::nullopt, ""},
      {"", std::nullopt, ""},
      {"/", "/", ""},
  };
  for (const auto& r : rows) {
    const auto got = ResolveTypedFolder(r.answer, c);
    ASSERT_EQ(got.has_value(), r.folder.has_value()) << r.answer;
    if (!got) continue;
    EXPECT_EQ(got->folder, *r.folder) << r.answer;
    EXPECT_EQ(got->select_file, r.file) << r.answer;
  }
}

}  // namespace
}  // namespace haruvi::fileops
