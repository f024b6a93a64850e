// TTxtFile: block-wise reading of one file for grep. The window holds the unfinished
// line and the newest block; it starts with a sentinel line feed (so the first line has
// a line head) and ends with a line feed at the end of the file (so the last line has a
// line tail). Besides raw access for the fast scanners it offers the two character
// cursors of the automaton scanner, where CR LF, CR and LF all read as one line feed,
// a zero byte reads as a space, and a double-byte character is one code. A large
// regular file is mapped rather than read: the window then slides over the mapping, so
// its bytes are never copied, with the same window bounds as the reads would have.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "regex/sjis_char.h"
#include "encoding/guarded_map.h"
#include "encoding/map_prefetch.h"

namespace haruvi::search {

struct RE_LineInfo_t {
  std::string Line;  // the line as in the file, without its line end
  std::int64_t LineNo = 0;  // 1-based
};

// Storage a caller may lend to successive files, so that grepping many small files does
// not allocate (and fault in) a fresh buffer for each.
struct TxtBuffer {
  std::unique_ptr<char[]> data;  // not zero-filled: blocks are read straight into it
  std::size_t capacity = 0;
  // At least `bytes` of room; what it held is dropped.
  void Renew(std::size_t bytes);
};

// A file its caller has opened and begun to read (to tell its text form): the grep goes
// on from there rather than opening and reading it again.
struct OpenedFile {
  int fd = -1;             // taken over (and closed) by TTxtFile; -1 when there is none
  std::uint64_t size = 0;  // the regular file's size when it was opened
  // Its first bytes, read already (reading goes on after them): `head` bytes placed in
  // `storage` after the first byte, where TTxtFile, lent the same storage, finds them.
  TxtBuffer* storage = nullptr;
  std::size_t head = 0;
  OpenedFile() = default;
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;
  ~OpenedFile();
};

class TTxtFile {
 public:
  static constexpr std::size_t kBlockSize = 102400;
  // Files of at least this size may be mapped; a mapped window grows a block at a time,
  // so that it is bounded as a read one is. The mapping is guarded: a file cut short by
  // another program while it is read loses its pages to zeros, and the next block or
  // CheckMapped raises EFileNotFound("the file changed while being read"). The window
  // still reads (kNeverMap): its reading never depends on a signal handler.
  static constexpr std::uint64_t kMapFrom = 4u << 20;
  static constexpr std::uint64_t kNeverMap = UINT64_MAX;

  // Opens the file read-only, or takes over `opened` when it holds a file; EFileNotFound
  // with the system's message if it cannot.
  // At every block read `yield` runs (the window processes its events) and then a set
  // `cancel` raises EGrepCancel.
  TTxtFile(const std::string& path, const std::atomic<bool>& cancel,
           std::function<void()> yield, std::size_t block_size = kBlockSize,
           TxtBuffer* storage = nullptr, std::uint64_t map_from = kMapFrom, OpenedFile* opened = nullptr);
  ~TTxtFile();
  TTxtFile(const TTxtFile&) = delete;
  TTxtFile& operator=(const TTxtFile&) = delete;

  // --- raw window -----------------------------------------------------------------
  const char* Data() const { return buf_; }
  std::size_t Size() const { return size_; }
  // True when the whole file (and the closing line feed) is in the window.
  bool AtEof() const { return done_; }
  // Drops the bytes before `keep` (positions shift down by the returned count) and
  // appends the next block. Raises EEndOfFile when the file has no more data.
  std::size_t ReadBlock(std::size_t keep);
  // Yields and raises EGrepCancel when the stop was requested.
  void CheckCancel();
  // Raises EFileNotFound when the mapped file was cut short under the reader: what was
  // scanned is not the file (a scan calls it once more after its last block).
  void CheckMapped() const;
  // The most the window may hold (0: no bound): a line, or a match attempt, that would
  // need more raises ELineTooLong rather than take memory without end.
  void SetMaxWindow(std::size_t bytes) { max_window_ = bytes; }

  // --- character cursors (the automaton scanner) ------------------------------------
  // Next character with the main cursor: counts lines and resets the look-ahead cursor.
  // Raises EEndOfFile past the last character.
  regex::Code NextChar();
  // Next character with the look-ahead cursor. Raises EEndOfFile past the last one.
  regex::Code NextCharAhead();
  // The rest of the current line from its start to the next line end; the main cursor
  // stays on the line end. Raises EEndOfFile when no line is left.
  RE_LineInfo_t ReadRestOfLine();
  // File offset of the look-ahead cursor (the sentinel counts as one byte).
  std::uint64_t AheadOffset() const { return dropped_ + ahead_; }

 private:
  // Makes sure the window holds the byte after `pos` too (or the end); positions given
  // in `keep_from` and the cursors are moved with the window.
  bool Ensure(std::size_t& pos, std::size_t count);
  regex::Code CharAt(std::size_t& cursor);
  regex::Code ReadAt(std::size_t& pos);
  void Fill();

  void Reserve(std::size_t bytes);
  bool Map();
  void FillMapped();

  int fd_ = -1;
  TxtBuffer own_;
  TxtBuffer* store_;
  char* buf_ = nullptr;  // store_->data, or the window's start in the mapping
  char* map_ = nullptr;  // the mapping: a page, the file, a page (nullptr: reading)
  std::size_t map_size_ = 0;
  std::unique_ptr<encoding::MapGuard> guard_;  // the mapped file's pages, against a cut
  std::unique_ptr<encoding::MapPrefetch> prefetch_;  // fills the mapping's page tables ahead of the reader
  std::size_t size_ = 0;
  std::uint64_t dropped_ = 0;  // bytes dropped from the window's front so far
  std::size_t block_size_;
  std::size_t max_window_ = 0;
  bool file_end_ = false;   // read() returned 0, or the size seen at opening was read
  std::uint64_t expect_ = 0;      // that size (0: unknown)
  std::uint64_t read_total_ = 0;
  bool done_ = false;       // closing line feed delivered
  char last_byte_ = '\n';   // last byte delivered from the file
  const std::atomic<bool>& cancel_;
  std::function<void()> yield_;
  std::string path_text_;

  // cursors (positions in buf_)
  std::size_t main_ = 0;
  std::size_t ahead_ = 0;
  std::size_t line_start_ = 0;
  std::int64_t line_no_ = 0;
};

}  // namespace haruvi::search
