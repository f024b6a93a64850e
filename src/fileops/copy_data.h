// Moving the bytes of one open regular file into another: the kernel's reflink where the
// file system offers it, else the kernel's in-kernel copy, else plain reads and writes;
// holes of a sparse source stay holes. Pure POSIX, no Qt.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <string>

namespace haruvi::fileops {

// Called after each piece with the bytes moved so far; returning false stops the copy.
using ByteProgress = std::function<bool(std::uint64_t done)>;

struct DataCopyResult {
  bool ok = false;
  bool cancelled = false;
  std::string error;  // the system's reason, or what went wrong with the source
};

// Copies `size` bytes of `in` (from offset 0) into `out` (empty, opened for writing).
// A source that ends before `size` (it shrank while being copied) is an error: the copy
// would not be the file the user chose.
DataCopyResult CopyFileData(int in, int out, const struct stat& in_stat, const ByteProgress& progress = {});

// Appends the whole of `in` to `out` at its current end (the merge): no reflink, since
// the target's offset is not block aligned in general.
DataCopyResult AppendFileData(int in, int out, std::uint64_t size, const ByteProgress& progress = {});

// Copies `length` bytes of `in` starting at `from` into `out` at offset 0 (a split piece).
DataCopyResult CopyRange(int in, std::uint64_t from, std::uint64_t length, int out,
                         const ByteProgress& progress = {});

// Copies mode bits and access/modification times of `st` onto `fd` (owner where allowed).
bool CopyAttributes(int fd, const struct stat& st);

}  // namespace haruvi::fileops
