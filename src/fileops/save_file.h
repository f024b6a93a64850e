// Writing a text to a file the way a careful editor does: the new bytes go to an unnamed
// file beside the target, are flushed, named and renamed into place, so the target is
// never half written and a kill leaves no stray file; the old bytes become the backup
// NAME.$$$ first when asked (a backup that cannot be made stops the save). Mode and owner
// are kept; a symbolic link is written through to its target; a file with several hard
// links is rewritten in place, so every name sees the new text, but only with the old
// text kept whole elsewhere and room reserved first, and put back on a failure.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::fileops {

struct SaveResult {
  bool ok = false;
  bool backup_made = false;
  bool backup_failed = false;  // the backup asked for could not be made: nothing was saved
  std::string error;  // the system's reason when not ok
};

// The backup name of a target: its extension replaced by ".$$$" ("MEMO.TXT" ->
// "MEMO.$$$", "notes" -> "notes.$$$"); MEMO.TXT and MEMO.DOC share one.
std::string BackupName(const std::string& target);

SaveResult SaveFile(const std::string& target, std::string_view bytes, bool backup);

}  // namespace haruvi::fileops
