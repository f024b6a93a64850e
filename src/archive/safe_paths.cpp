// Descriptor-relative folder work for unpacking; see safe_paths.h.
#include "archive/safe_paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <deque>
#include <memory>

namespace haruvi::archive {
namespace {

std::vector<std::string> ListNames(int fd) {
  std::vector<std::string> names;
  const int dup_fd = dup(fd);
  if (dup_fd < 0) return names;
  DIR* d = fdopendir(dup_fd);
  if (!d) {
    close(dup_fd);
    return names;
  }
  rewinddir(d);
  while (const dirent* e = readdir(d)) {
    const std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  closedir(d);
  return names;
}

int OpenRealFolder(int parent, const std::string& name) {
  return openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

}  // namespace

bool SplitInsideName(std::string_view name, std::vector<std::string>* parts) {
  parts->clear();
  if (name.empty() || name.front() == '/' || name.find('\0') != std::string_view::npos) return false;
  std::size_t i = 0;
  while (i <= name.size()) {
    std::size_t j = name.find('/', i);
    if (j == std::string_view::npos) j = name.size();
    const std::string_view part = name.substr(i, j - i);
    if (part == "..") return false;
    if (!part.empty() && part != ".") parts->emplace_back(part);
    i = j + 1;
  }
  return !parts->empty();
}

namespace {

struct Step {
  std::string part;
  bool names_only;  // after something a later entry could still change: no ".." here
};

// The parts of a link target, in order, in front of what is still to walk.
bool PushTarget(std::string_view target, bool names_only, std::deque<Step>* todo) {
  if (target.empty() || target.front() == '/' || target.find('\0') != std::string_view::npos) return false;
  std::vector<Step> steps;
  std::size_t i = 0;
  while (i <= target.size()) {
    std::size_t j = target.find('/', i);
    if (j == std::string_view::npos) j = target.size();
    const std::string_view part = target.substr(i, j - i);
    if (!part.empty() && part != ".") steps.push_back({std::string(part), names_only});
    i = j + 1;
  }
  todo->insert(todo->begin(), steps.begin(), steps.end());
  return true;
}

// What `name` is in the folder `dir` (-1: a folder that is not there): found or not,
// with its kind and a link's target.
bool LookIn(int dir, const std::string& name, struct stat* st, std::string* link) {
  if (dir < 0 || fstatat(dir, name.c_str(), st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (S_ISLNK(st->st_mode)) {
    char buf[PATH_MAX];
    const ssize_t n = readlinkat(dir, name.c_str(), buf, sizeof buf);
    if (n < 0 || static_cast<std::size_t>(n) >= sizeof buf) link->clear();
    else link->assign(buf, static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

// The folders of the walk so far on both sides, open, so that each step is one lookup.
class LinkView::Walk {
 public:
  Walk(const LinkView& view, const std::vector<std::string>& folder) {
    stage_.push_back(OpenFolderPath(view.stage, folder, folder.size(), false));
    root_.push_back(OpenFolderPath(view.root, folder, folder.size(), false));
  }
  ~Walk() {
    for (const std::vector<int>* side : {&stage_, &root_})
      for (int fd : *side)
        if (fd >= 0) close(fd);
  }
  Walk(const Walk&) = delete;
  Walk& operator=(const Walk&) = delete;
  int Stage() const { return stage_.back(); }
  int Root() const { return root_.back(); }
  void Down(const std::string& name) {
    stage_.push_back(Stage() < 0 ? -1 : OpenRealFolder(Stage(), name));
    root_.push_back(Root() < 0 ? -1 : OpenRealFolder(Root(), name));
  }
  // False at the start, above which nothing is open: the caller then opens a new walk
  // one level up.
  bool Up() {
    if (stage_.size() < 2) return false;
    if (stage_.back() >= 0) close(stage_.back());
    if (root_.back() >= 0) close(root_.back());
    stage_.pop_back();
    root_.pop_back();
    return true;
  }

 private:
  std::vector<int> stage_, root_;
};

LinkView::Kind LinkView::Look(const Walk& walk, const std::string& name, std::string* link, bool* replaceable) const {
  struct stat s {}, t {};
  std::string staged_link, root_link;
  const bool in_stage = LookIn(walk.Stage(), name, &s, &staged_link);
  const bool in_root = LookIn(walk.Root(), name, &t, &root_link);
  *replaceable = false;
  const auto kind_of = [](const struct stat& st) {
    return S_ISDIR(st.st_mode) ? Kind::kFolder : S_ISLNK(st.st_mode) ? Kind::kLink : Kind::kOther;
  };
  if (!in_stage && !in_root) return Kind::kMissing;
  // What the merge leaves there (see MergeInto).
  const bool staged_wins = !in_root || (overwrite && in_stage && !S_ISDIR(s.st_mode) && !S_ISDIR(t.st_mode));
  if (staged_wins) {
    *link = staged_link;
    return kind_of(s);
  }
  // A file or link of the target that a staged one may still replace at the merge.
  *replaceable = overwrite && !S_ISDIR(t.st_mode);
  *link = root_link;
  return kind_of(t);
}

bool LinkView::StaysInside(const std::vector<std::string>& folder, std::string_view target) const {
  constexpr int kMaxLinks = 40;        // as many as the system follows in one path
  constexpr int kMaxSteps = 1 << 14;   // a bound on the work one link may cost
  std::vector<std::string> at = folder;
  std::unique_ptr<Walk> walk = std::make_unique<Walk>(*this, at);
  std::deque<Step> todo;
  if (!PushTarget(target, false, &todo)) return false;
  int links = 0, steps = 0;
  bool missing = false;  // below a name that is not there yet
  while (!todo.empty()) {
    if (++steps > kMaxSteps) return false;
    const Step step = std::move(todo.front());
    todo.pop_front();
    if (step.part == "..") {
      if (missing || step.names_only || at.empty()) return false;
      at.pop_back();
      if (!walk->Up()) walk = std::make_unique<Walk>(*this, at);
      continue;
    }
    if (missing) continue;
    std::string link;
    bool replaceable = false;
    switch (Look(*walk, step.part, &link, &replaceable)) {
      case Kind::kFolder:
        at.push_back(step.part);
        walk->Down(step.part);
        break;
      case Kind::kLink:
        // The link's own steps start from its folder; what follows it may not climb
        // when a later entry could put another link there.
        if (++links > kMaxLinks) return false;
        if (replaceable)
          for (Step& rest : todo) rest.names_only = true;
        if (!PushTarget(link, step.names_only, &todo)) return false;
        break;
      case Kind::kMissing:
      case Kind::kOther: missing = true; break;
    }
  }
  return true;
}

std::string FreeNameIn(int dir, const std::string& name) {
  struct stat st {};
  if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return name;
  const std::size_t dot = name.find_last_of('.');
  const bool ext = dot != std::string::npos && dot > 0;
  const std::string stem = ext ? name.substr(0, dot) : name;
  const std::string tail = ext ? name.substr(dot) : "";
  for (int n = 2;; ++n) {
    const std::string candidate = stem + " (" + std::to_string(n) + ")" + tail;
    if (fstatat(dir, candidate.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return candidate;
  }
}

int OpenFolderPath(int root, const std::vector<std::string>& parts, std::size_t count, bool create) {
  int fd = fcntl(root, F_DUPFD_CLOEXEC, 0);
  for (std::size_t k = 0; fd >= 0 && k < count; ++k) {
    int next = OpenRealFolder(fd, parts[k]);
    if (next < 0 && errno == ENOENT && create) {
      if (mkdirat(fd, parts[k].c_str(), 0755) == 0 || errno == EEXIST) next = OpenRealFolder(fd, parts[k]);
    }
    const int saved = errno;
    close(fd);
    errno = saved;
    fd = next;
  }
  return fd;
}

void RemoveTree(int parent, const std::string& name) {
  const int fd = OpenRealFolder(parent, name);
  if (fd >= 0) {
    for (const std::string& n : ListNames(fd)) {
      if (unlinkat(fd, n.c_str(), 0) != 0 && (errno == EISDIR || errno == EPERM)) RemoveTree(fd, n);
    }
    close(fd);
    unlinkat(parent, name.c_str(), AT_REMOVEDIR);
  } else {
    unlinkat(parent, name.c_str(), 0);
  }
}

void MergeInto(int from, int to, bool overwrite, const std::string& prefix, std::vector<std::string>* kept) {
  for (const std::string& n : ListNames(from)) {
    if (renameat2(from, n.c_str(), to, n.c_str(), RENAME_NOREPLACE) == 0) continue;
    struct stat src {}, dst {};
    if (fstatat(from, n.c_str(), &src, AT_SYMLINK_NOFOLLOW) != 0 ||
        fstatat(to, n.c_str(), &dst, AT_SYMLINK_NOFOLLOW) != 0) {
      kept->push_back(prefix + n);
      continue;
    }
    if (S_ISDIR(src.st_mode) && S_ISDIR(dst.st_mode)) {
      const int a = OpenRealFolder(from, n);
      const int b = OpenRealFolder(to, n);
      if (a >= 0 && b >= 0) MergeInto(a, b, overwrite, prefix + n + "/", kept);
      else kept->push_back(prefix + n);
      if (a >= 0) close(a);
      if (b >= 0) close(b);
      continue;
    }
    // A file replaces a file (or a link) in one step, so the old one stays whole until
    // the new one is there; a folder is never replaced by a file or the other way.
    if (overwrite && !S_ISDIR(src.st_mode) && !S_ISDIR(dst.st_mode) &&
        renameat(from, n.c_str(), to, n.c_str()) == 0)
      continue;
    kept->push_back(prefix + n);
  }
}

}  // namespace haruvi::archive
