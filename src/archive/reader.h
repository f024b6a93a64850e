// Reading archives (LZH, ZIP, CAB, TAR and its compressed forms, RAR, 7z, cpio) through
// libarchive, and ARJ through our own decoder, with entry names kept as the bytes stored and decoded by NameCodec. Only
// formats and filters that need no outside program are enabled.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "archive/arj_reader.h"
#include "archive/name_codec.h"

struct archive;
struct archive_entry;

namespace haruvi::archive {

// The kinds of archive the archiver interface tells apart.
enum class ArchiveFamily { kNone, kLzh, kZip, kCab, kTar, kTgz, kBz2, kRar, k7z, kArj, kOther };

enum class EntryKind { kFile, kFolder, kSymlink, kHardlink, kDevice, kFifo, kSocket };

struct Entry {
  std::string raw_name;  // the stored bytes
  std::string name;      // NameCodec::ToDisk of them
  std::string link;      // a link's target, decoded like the name
  EntryKind kind = EntryKind::kFile;
  std::uint64_t size = 0;    // original size
  std::uint64_t packed = 0;  // filled by listings
  std::uint32_t crc = 0;
  bool has_crc = false;
  std::int64_t mtime = 0;
  std::uint32_t mode = 0644;
  std::string method;  // "-lh5-", "deflate", ...
};

class Reader {
 public:
  Reader();
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // False with *error ("not an archive this program reads", or the library's reason).
  bool Open(const std::string& path, std::string* error);
  // 1 with *entry filled, 0 at the end, -1 with *error.
  int Next(Entry* entry, std::string* error);
  // The current entry's data in pieces; the sink returns false to stop (then the result
  // is false with *error untouched).
  bool ReadData(const std::function<bool(std::string_view)>& sink, std::string* error);
  // Passes over the current entry's data.
  bool SkipData(std::string* error);
  // Bytes of the archive file consumed so far.
  std::uint64_t Position() const;
  // True when a compression filter wraps the whole archive (tar.gz): no per-entry sizes.
  bool WholeCompressed() const;
  const NameCodec& Names() const { return names_; }
  // What was recognised, after the first Next.
  ArchiveFamily Family() const;

 private:
  bool OpenWith(const std::string& path, bool lha_only, std::string* error);
  void Close();

  struct ::archive* a_ = nullptr;
  bool latin1_names_ = false;
  bool first_pending_ = false;  // the first header was read while choosing the reader
  int first_result_ = 0;
  struct ::archive_entry* first_entry_ = nullptr;
  std::unique_ptr<ArjReader> arj_;  // ARJ, which libarchive does not read
  NameCodec names_;
};

}  // namespace haruvi::archive
