// Paths inside an unpacking folder that can never lead out of it: entry names checked
// part by part, folders walked by descriptor without following links, a staging folder
// removed or merged into the target without ever stepping through a link.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace haruvi::archive {

// The parts of an entry name that stays inside the folder: "", "." dropped; nullopt-like
// false for an absolute name, a ".." part or a NUL.
bool SplitInsideName(std::string_view name, std::vector<std::string>* parts);

// Whether a symbolic link stored at `parts` with `target` points inside the folder
// (relative, and never climbing above the folder on its way).
bool LinkStaysInside(const std::vector<std::string>& parts, std::string_view target);

// Opens the folder `parts[0..count)` below `root` (a descriptor), creating missing
// folders when `create`; every part must be a real folder (a link is refused). Returns a
// descriptor or -1 (errno set; ELOOP/ENOTDIR for a link or a file on the way).
int OpenFolderPath(int root, const std::vector<std::string>& parts, std::size_t count, bool create);

// Removes everything below the folder `fd` refers to and, with `name`, the folder
// `name` in `parent`. Links are removed, never followed.
void RemoveTree(int parent, const std::string& name);

// Moves everything in `from` into `to` (both folder descriptors): a name missing in `to`
// is renamed there; two real folders are merged; anything else that exists in `to` is
// replaced only when `overwrite` (files) and otherwise kept, its path added to `kept`.
// `prefix` is the path of `to` below the target, for those reports.
void MergeInto(int from, int to, bool overwrite, const std::string& prefix, std::vector<std::string>* kept);

}  // namespace haruvi::archive
