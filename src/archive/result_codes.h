// The result codes of archive operations (the archiver interface's numbers, 32773 and
// up) and their messages as the unpack command shows them.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::archive {

inline constexpr int kOk = 0;
inline constexpr int kErrDiskSpace = 32773;
inline constexpr int kErrSkipped = 32775;
inline constexpr int kErrOpenFile = 32781;
inline constexpr int kErrAlreadyExists = 32784;
inline constexpr int kErrMakeDirectory = 32786;
inline constexpr int kErrWrite = 32787;
inline constexpr int kErrHuffman = 32788;
inline constexpr int kErrBrokenHeader = 32791;
inline constexpr int kErrNotArchive = 32792;  // also: the library is not there
inline constexpr int kErrNoArchiveName = 32793;
inline constexpr int kErrRead = 32794;
inline constexpr int kErrCommand = 32796;
inline constexpr int kErrUserCancel = 32800;
inline constexpr int kErrNotSupported = 32803;
inline constexpr int kErrTempFile = 32805;
inline constexpr int kErrNoFile = 32811;
inline constexpr int kErrMissingData = 32813;

// The message line for a result code (UTF-8); empty for 0 and for unknown codes.
std::string ResultMessage(int code);

// The result code of an archive that could not be read to its end, from the reader's
// reason: kErrMissingData for one cut short, kErrBrokenHeader for any other damage.
int DamageCode(std::string_view reason);

}  // namespace haruvi::archive
