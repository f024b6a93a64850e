// The work under TSHFOP: copying, moving and permanently deleting one entry with
// everything below it, asking about conflicts and reporting progress. Symbolic links are
// copied as links and never followed; FIFOs, sockets and devices are reported and left.
// It flushes by the rule in fileops/flush.h: a file that replaces another before the
// rename, a move to another file system before the source goes, nothing else.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fileops/shfop.h"

namespace haruvi::fileops {

class TreeOps {
 public:
  TreeOps(FileOpUi* ui, TfFlagsOptions options, std::vector<Problem>& problems, ProgressInfo totals);

  // Each returns true when the entry was handled in full (a skip the user chose counts);
  // false when something was left, with the reason in the problems.
  bool Copy(const std::string& source, const std::string& target);
  bool Move(const std::string& source, const std::string& target);
  bool Delete(const std::string& path);
  bool Rename(const std::string& source, const std::string& target);

  bool cancelled() const { return cancelled_; }
  // Counts an entry that was handled outside (trashed) for the progress figures.
  void Done(const std::string& path, std::uint64_t files, std::uint64_t bytes);

 private:
  enum class Decision { Ask, Replace };
  bool CopyEntry(const std::string& source, const struct stat& st, std::string target, Decision decision,
                 bool sync_each);
  bool CopyRegular(const std::string& source, const struct stat& st, const std::string& target, bool replace,
                   bool sync_each);
  bool CopyLink(const std::string& source, const std::string& target, bool replace);
  bool CopyFolder(const std::string& source, const struct stat& st, const std::string& target, bool exists,
                  bool sync_each);
  bool MoveAcross(const std::string& source, const struct stat& st, const std::string& target, bool replace);
  bool DeleteAt(int dir, const std::string& name, const std::string& shown);
  bool Verify(const std::string& source, const std::string& target);
  // nullopt: go on with `target`; a value: the entry's outcome (skipped, cancelled).
  std::optional<bool> Settle(const std::string& source, const struct stat& st, std::string& target,
                             bool* replace);
  bool InsideItself(const std::string& source, const std::string& target);
  std::string TempName(const std::string& target);
  bool Poll();
  bool Fail(const std::string& path, const std::string& reason);
  void Tick(const std::string& path);

  FileOpUi* ui_;
  TfFlagsOptions options_;
  std::vector<Problem>& problems_;
  ProgressInfo progress_;
  std::optional<ConflictAnswer> for_all_;
  bool cancelled_ = false;
  bool count_deletes_ = true;
  unsigned temp_counter_ = 0;
};

// Files and bytes below a path (the path itself when it is no folder); links not followed.
void CountEntry(const std::string& path, std::uint64_t* files, std::uint64_t* bytes);

}  // namespace haruvi::fileops
