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

// Where an unpacking's links are judged: the staging folder `stage` as it is on disk,
// seen as it will be once merged into the target folder `root` (a name in both is the
// target's, unless both are folders, which merge, or `overwrite` lets a staged file or
// link replace the target's). Links are followed as the system follows them, so a link
// through earlier links (`t -> s/..` with `s -> .`) is judged by where it really leads.
struct LinkView {
  int stage = -1;
  int root = -1;
  bool overwrite = false;

  // Whether a symbolic link to `target` placed in the folder `folder` (parts below the
  // root) leads to a place inside the root: relative, never above the root on its way,
  // through links that stay inside, at most 40 of them. Below a name that does not
  // exist yet (or that a later entry could still replace) only names may follow, no
  // "..", since whatever comes there later cannot then lead it out.
  bool StaysInside(const std::vector<std::string>& folder, std::string_view target) const;

 private:
  enum class Kind { kMissing, kFolder, kLink, kOther };
  class Walk;
  // What `name` in the walk's folder is in the merged view; a link's target in *link,
  // and in *replaceable whether a later staged entry could still take its place.
  Kind Look(const Walk& walk, const std::string& name, std::string* link, bool* replaceable) const;
};

// `name` if nothing of that name is in the folder `dir`, else the first free
// "stem (2).ext", "stem (3).ext"... there, as the copy engine names a collision.
std::string FreeNameIn(int dir, const std::string& name);

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
