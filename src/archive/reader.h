// Reading archives (LZH, ZIP, CAB, TAR and its compressed forms, RAR, 7z, cpio, ISO, xar) through
// libarchive, and ARJ through our own decoder, with entry names kept as the bytes stored and decoded by NameCodec. Only
// formats and filters that need no outside program are enabled.
#pragma once

#include <atomic>
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

// How a reading runs. A gzip-compressed archive is inflated on a second thread (off only
// to compare with the one-thread path); `cancel`, when set, ends the reading at the next
// block of the archive read or the next entry; `progress` follows the archive bytes read.
struct ReadControl {
  bool decode_ahead = true;
  const std::atomic<bool>* cancel = nullptr;
  std::atomic<std::uint64_t>* progress = nullptr;
};

class DecodeAhead;

class Reader {
 public:
  Reader();
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // False with *error ("not an archive this program reads", or the library's reason).
  bool Open(const std::string& path, std::string* error, const ReadControl& control = {});
  // 1 with *entry filled, 0 at the end, -1 with *error.
  int Next(Entry* entry, std::string* error);
  // The current entry's data in pieces; the sink returns false to stop (then the result
  // is false with *error untouched).
  bool ReadData(const std::function<bool(std::string_view)>& sink, std::string* error);
  // Passes over the current entry's data.
  bool SkipData(std::string* error);
  // Bytes of the archive file consumed so far.
  std::uint64_t Position() const;
  // True once the control's cancel flag was seen set: a failure since then is the cancel.
  bool Cancelled() const { return control_.cancel && control_.cancel->load(); }
  // True when a compression filter wraps the whole archive (tar.gz): no per-entry sizes.
  bool WholeCompressed() const;
  const NameCodec& Names() const { return names_; }
  // What was recognised, after the first Next.
  ArchiveFamily Family() const;

 private:
  bool OpenAny(const std::string& path, std::string* error);
  bool OpenWith(const std::string& path, bool lha_only, bool ahead, std::string* error);
  void Close();
  static long ReadAhead(struct ::archive* a, void* self, const void** buffer);
  void ReportProgress() const;
  int FilterCode() const;
  std::string StoredBytes(const char* name) const;

  struct ::archive* a_ = nullptr;
  bool latin1_names_ = false;
  bool first_pending_ = false;  // the first header was read while choosing the reader
  int first_result_ = 0;
  struct ::archive_entry* first_entry_ = nullptr;
  std::unique_ptr<DecodeAhead> ahead_;  // the gzip inflated on its own thread, when it is
  ReadControl control_;
  std::unique_ptr<ArjReader> arj_;  // ARJ, which libarchive does not read
  NameCodec names_;
};

}  // namespace haruvi::archive
