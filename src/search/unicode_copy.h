// A file not in Shift_JIS made ready for the grep engine, which reads Shift_JIS: read
// whole, converted and held in a memory file the grep reads like any other. EUC and JIS
// become Shift_JIS; UTF-8 and UTF-16 become Shift_JIS with stand-ins for what CP932 lacks
// (encoding/utf8_standins.h), and the printer turns matched lines back into the file's
// own bytes with the same stand-ins.
#pragma once

#include <functional>
#include <string>

#include "encoding/utf8_standins.h"
#include "search/txt_file.h"

namespace haruvi::search {

class UnicodeCopy {
 public:
  UnicodeCopy() = default;
  UnicodeCopy(const UnicodeCopy&) = delete;
  UnicodeCopy& operator=(const UnicodeCopy&) = delete;
  ~UnicodeCopy();

  // A file up to this size is converted; a larger one is grepped as bytes.
  static constexpr long long kMaxConverted = 512LL << 20;

  // False when the file's beginning is Shift_JIS, ASCII, binary or undecided (or it is
  // too big, or no regular file): grep it as it is. True with *trouble set when reading
  // or converting failed.
  // When `direct_utf8` (asked only of a UTF-8 file) says yes, a UTF-8 file without a mark
  // is not copied: Direct() says to grep it as it is (TGrep::GrepUtf8File).
  // With `storage` (the grep's, TGrep::Storage), the beginning is read into it, where the
  // grep goes on from (Opened); what it held is lost either way.
  bool Make(const std::string& path, std::string* trouble, const std::function<bool()>& direct_utf8 = {},
            TxtBuffer* storage = nullptr);
  bool Direct() const { return direct_; }
  // After Make said false for a regular file: the file, open and begun, for TGrep::GrepFile
  // to go on with (nullptr when there is none).
  OpenedFile* Opened() { return opened_.fd >= 0 ? &opened_ : nullptr; }
  std::string Path() const;  // the memory file, for TGrep::GrepFile
  // The stand-ins of a Unicode file; null for EUC and JIS, whose lines are Shift_JIS.
  const encoding::Utf8StandIns* StandIns() const { return has_standins_ ? &standins_ : nullptr; }

 private:
  int fd_ = -1;
  bool has_standins_ = false;
  bool direct_ = false;
  encoding::Utf8StandIns standins_;
  OpenedFile opened_;
};

}  // namespace haruvi::search
