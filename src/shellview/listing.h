// Folder listings for the browsing views, without widgets: the entries of one folder,
// the extension mask, the texts of the size and time columns, and the item order.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace haruvi::shellview {

struct FileEntry {
  std::string name;  // as stored on disk (UTF-8 or raw bytes)
  std::string path;  // folder + "/" + name
  bool is_dir = false;
  bool is_link = false;
  bool has_info = false;  // size and time could be read
  std::uint64_t size = 0;
  std::time_t mtime = 0;
};

// Every entry of `folder` but "." and "..", hidden ones included. False when the folder
// cannot be listed (then `out` is left empty).
bool ListFolder(const std::string& folder, std::vector<FileEntry>& out);
// Only the sub-folders (symbolic links to folders count as folders, as a tree shows them).
bool ListSubfolders(const std::string& folder, std::vector<FileEntry>& out);
// True when the folder holds at least one sub-folder (for the tree's expand button).
bool HasSubfolder(const std::string& folder);
// True for a regular file the user may run (what a chooser of programs lists).
bool IsProgramFile(const std::string& path);

// The extension filter: an empty mask keeps everything; folders are always kept; other
// entries are kept when their upper-cased extension (".TXT") equals an upper-cased entry.
// Mask entries may be written "txt", ".txt" or "*.txt".
bool MaskAccepts(const FileEntry& entry, const std::vector<std::string>& mask);
// "txt;bmp" / "*.txt *.bmp" / "txt,bmp" -> {".TXT", ".BMP"}.
std::vector<std::string> ParseMask(std::string_view text);

// "%16.0n": thousands separators, right-aligned in 16 characters.
std::string SizeText(std::uint64_t size);
// "yy/mm/dd hh:nn" in local time.
std::string TimeText(std::time_t t);

// The natural order of a folder's items: folders first, then names without regard to
// case, then byte order. Negative, zero or positive.
int CompareItems(const FileEntry& a, const FileEntry& b);

// Parent folder of a path; "/" stays "/".
std::string ParentFolder(const std::string& path);
// The folder with a trailing "/".
std::string WithTrailingSlash(std::string folder);

}  // namespace haruvi::shellview
