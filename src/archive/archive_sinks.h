// The writers behind CreateArchive, one per format, over the temporary file's
// descriptor: our LZH writer, libarchive for ZIP and the tar family, libgcab for CAB.
#pragma once

#include <sys/stat.h>

#include <memory>
#include <string>
#include <string_view>

#include "archive/create.h"
#include "archive/reader.h"

namespace haruvi::archive {

// A file, folder or link to pack: where it is, the name it gets, what lstat said.
struct Item {
  std::string path;
  std::string stored;
  struct stat st;
};

class Sink {
 public:
  virtual ~Sink() = default;
  // Set before Open when some name to be written is not UTF-8: a ZIP then stores every
  // name as its bytes, unflagged, which our reader decodes by its CP932 rule.
  bool raw_names = false;
  // False with the result's code and details set.
  virtual bool Open(int fd, const std::string& temp_path, CreateResult* r) = 0;
  // 1 added, 0 skipped (*error says why), -1 the archive could not be written.
  virtual int Add(const Item& item, std::string* error) = 0;
  // An entry of the archive being updated, with its data.
  virtual bool AddCarried(const Entry& e, const std::string& stored, std::string_view data, std::string* error) = 0;
  virtual bool Finish(std::string* error) = 0;
};

// nullptr, with the result's code and details set, for a format we cannot write.
std::unique_ptr<Sink> MakeSink(CreateFormat format, CreateResult* r);

// A regular file's whole content, read without blocking on anything that is not one.
bool ReadRegularFile(const std::string& path, std::uint64_t limit, std::string* data, std::string* error);

}  // namespace haruvi::archive
