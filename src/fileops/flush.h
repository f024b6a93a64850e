// Where the file engine pays for a flush to disk, and the one place that flushes.
// The rule: a flush is made only where an old state is given up on the strength of a new
// one, since only there a crash could lose data:
//  - a copy or a new file that replaces an existing one is flushed before the rename
//    puts it in the old one's place;
//  - a move to another file system flushes the copy before the source is deleted;
//  - the trash flushes its info files before the command reports (each trash's file
//    system once at the end, or each file before its entry moves), so every entry it
//    moved can be restored after a crash.
// A copy to a free name (its source stays), a move within one file system (one rename)
// and a permanent delete (nothing left to keep) are not flushed: writeback takes them.
// Pure POSIX, no Qt.
#pragma once

#include <cstdint>
#include <string>

namespace haruvi::fileops {

// fsync of a file or folder; false with errno set when the system refused.
bool FlushFile(int fd);
// fdatasync: a new file's bytes and size, for a file whose name is flushed with its folder.
bool FlushFileData(int fd);
// syncfs of the file system holding `folder`: many files written in one go.
bool FlushFileSystem(const std::string& folder);

// How many flushes this process has made, so the rule above can be checked.
struct FlushCounts {
  std::uint64_t files = 0;         // FlushFile and FlushFileData
  std::uint64_t file_systems = 0;  // FlushFileSystem
};
FlushCounts FlushesSoFar();

}  // namespace haruvi::fileops
