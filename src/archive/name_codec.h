// Entry names of one archive, from the bytes stored to a path on disk and to the pane's
// CP932. Archives made on Japanese Windows store CP932 (some EUC) without saying so;
// the code is learnt from the names seen so far, and UTF-8 names are taken as they are.
#pragma once

#include <string>
#include <string_view>

#include "encoding/char_code.h"

namespace haruvi::archive {

class NameCodec {
 public:
  // Adds a name to what the code is detected from.
  void Learn(std::string_view raw);
  // The stored bytes as a path of this system: UTF-8 where the name converts, the bytes
  // as they are otherwise. The name is decoded before any separator is looked for, so a
  // 0x5C second byte ("表", "ソ", "能") stays in its character; a "\\" left after that is
  // a Windows separator and becomes "/" unless the archive keeps Unix names. Never empty
  // for a non-empty name.
  std::string ToDisk(std::string_view raw) const;
  // Tar, cpio, ISO and xar archives hold Unix names, where "\\" is an ordinary byte of a
  // name; every other format was written on Windows, where it parts folders.
  void SetBackslashSeparates(bool separates) { backslash_separates_ = separates; }
  // The name as the pane shows it (CP932 bytes).
  static std::string ToPane(std::string_view disk_name);
  // The code the names were found to be in: ccAscii, ccSjis or ccEuc (UTF-8 names and
  // undecided ones count as their own form and as CP932).
  encoding::TCharCode Code() const { return code_; }

 private:
  std::string sample_;  // the non-UTF-8 names so far
  encoding::TCharCode code_ = encoding::ccAscii;
  bool backslash_separates_ = true;
};

}  // namespace haruvi::archive
