// New files written beside the file they will replace, so that a writer killed half way
// leaves nothing: the bytes go to an unnamed file in the target's folder (O_TMPFILE) and
// get a name only once they are whole; where the file system has no unnamed files, the
// temporary is named with a marker, so that only our own temporaries are ever cleaned up.
#pragma once

#include <string>

namespace haruvi::platform {

class NewFileBeside {
 public:
  // Opens the new file in `target`'s folder (`target` itself need not exist).
  explicit NewFileBeside(const std::string& target);
  ~NewFileBeside();  // a file never named is gone; a named one not taken is removed
  NewFileBeside(const NewFileBeside&) = delete;
  NewFileBeside& operator=(const NewFileBeside&) = delete;

  // -1 when it could not be opened (errno says why).
  int Fd() const { return fd_; }
  // Closes the file and gives it its marked name beside the target; false with errno set.
  bool Close();
  // The marked name, once closed.
  const std::string& Name() const { return name_; }
  // The caller took the named file (renamed it into place): nothing is removed.
  void Taken() { name_.clear(); }
  // Closes the file and gives it the target's own name in one step, never over an
  // existing file (EEXIST then): no marked name is ever seen, so a writer killed at any
  // moment leaves the whole file or nothing. False with errno set; ENOTSUP when the file
  // system gave no unnamed file (then Close and a rename place it).
  bool CloseAsTarget();

 private:
  std::string target_;
  std::string name_;
  int fd_ = -1;
  bool unnamed_ = false;
};

// True when `name` (a file name, no folder) is a temporary of ours made for the file
// named `target_name`.
bool IsTemporaryOf(const std::string& name, const std::string& target_name);

}  // namespace haruvi::platform
