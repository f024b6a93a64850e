// Block reads, the closing line feed, and the grep reading rules for the cursors.
#include "search/txt_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "encoding/sjis_char.h"
#include "platform/long_path.h"
#include "search/byte_scan.h"
#include "search/grep_errors.h"

namespace haruvi::search {

using regex::Code;
using encoding::IsLeadByte;

TTxtFile::TTxtFile(const std::string& path, const std::atomic<bool>& cancel,
                   std::function<void()> yield, std::size_t block_size, TxtBuffer* storage,
                   std::uint64_t map_from, OpenedFile* opened)
    : store_(storage ? storage : &own_),
      block_size_(std::max<std::size_t>(block_size, 1)),
      cancel_(cancel),
      yield_(std::move(yield)) {
  bool regular = false;
  const bool handed = opened && opened->fd >= 0;
  if (handed) {  // only regular files are handed over
    fd_ = std::exchange(opened->fd, -1);
    regular = true;
    expect_ = opened->size;
  } else {
    // Opened without blocking: a FIFO nobody writes to would wait for ever.
    fd_ = platform::OpenLongPath(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) throw EFileNotFound(std::strerror(errno));
    // Only regular files are searched: a device never ends its one endless line
    // (/dev/zero), a FIFO or socket may never end at all. Folders fail on reading.
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
      ::close(fd_);
      fd_ = -1;
      throw EFileNotFound("not a regular file");
    }
    // O_NONBLOCK stays: it changes nothing for a regular file, and clearing it would cost
    // two more calls per file of a tree. The size seen now ends the reading without a last
    // empty read; a size of 0 (files of /proc) says nothing, so those read to the end.
    regular = S_ISREG(st.st_mode);
    expect_ = regular ? static_cast<std::uint64_t>(st.st_size) : 0;
  }
  try {
    if (regular && expect_ >= std::max<std::uint64_t>(map_from, 1) && Map()) {
      size_ = 1;  // the sentinel line feed, the last byte of the page before the file
      FillMapped();
      return;
    }
    const std::size_t head = handed && opened->storage ? opened->head : 0;
    if (head && opened->storage != store_) {
      Reserve(block_size_ * 2 + 16 + head);
      std::memcpy(buf_ + 1, opened->storage->data.get() + 1, head);
    }
    size_ = head ? 1 + head : 0;  // the bytes read already stay where they are
    Reserve(block_size_ * 2 + 16 + head);
    buf_[0] = '\n';  // sentinel: the first line starts after a line feed
    size_ = 1 + head;
    if (head) {
      read_total_ = head;
      last_byte_ = buf_[size_ - 1];
      if (expect_ && read_total_ >= expect_) file_end_ = true;
    }
    Fill();
  } catch (...) {
    prefetch_.reset();
    guard_.reset();
    if (map_) ::munmap(map_, map_size_);
    ::close(fd_);  // no destructor runs for an object that was never made
    fd_ = -1;
    throw;
  }
}

void TxtBuffer::Renew(std::size_t bytes) {
  if (bytes <= capacity) return;
  const std::size_t cap = std::max(bytes, capacity * 2);
  data.reset(new char[cap]);
  capacity = cap;
}

OpenedFile::~OpenedFile() {
  if (fd >= 0) ::close(fd);
}

TTxtFile::~TTxtFile() {
  prefetch_.reset();  // its thread is done with the mapping before it goes
  guard_.reset();
  if (map_) ::munmap(map_, map_size_);
  if (fd_ >= 0) ::close(fd_);
}

// The file is mapped read-only between two writable pages: the sentinel goes at the end
// of the first, and a missing closing line feed after the last byte, in the zeros past
// the end of the file's last page (made a private writable copy) or in the page after.
// False (read instead) on failure.
bool TTxtFile::Map() {
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const auto bytes = static_cast<std::size_t>(expect_);
  const std::size_t file_pages = (bytes + page - 1) / page * page;
  const std::size_t total = page + file_pages + page;
  void* area = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (area == MAP_FAILED) return false;
  char* base = static_cast<char*>(area);
  void* file = ::mmap(base + page, bytes, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd_, 0);
  guard_ = file == MAP_FAILED ? nullptr : std::make_unique<encoding::MapGuard>(file, bytes);
  if (!guard_ || !guard_->Active()) {
    guard_.reset();
    ::munmap(area, total);
    return false;
  }
  ::madvise(file, bytes, MADV_SEQUENTIAL);
  prefetch_ = std::make_unique<encoding::MapPrefetch>(static_cast<const char*>(file), bytes);
  map_ = base;
  map_size_ = total;
  buf_ = base + page - 1;
  buf_[0] = '\n';
  return true;
}

// Mapped: the window's end moves on by up to a block; nothing is copied.
void TTxtFile::FillMapped() {
  CheckMapped();
  if (max_window_ && size_ > max_window_) throw ELineTooLong("a line longer than the window's " + std::to_string(max_window_) + " bytes");
  const std::uint64_t left = expect_ - read_total_;
  const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(left, static_cast<std::uint64_t>(block_size_)));
  size_ += got;
  read_total_ += got;
  if (got) last_byte_ = buf_[size_ - 1];
  if (read_total_ == expect_) {
    file_end_ = true;
    if (last_byte_ != '\n') {
      const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
      const auto at = reinterpret_cast<std::uintptr_t>(buf_ + size_);
      if (::mprotect(reinterpret_cast<void*>(at / page * page), page, PROT_READ | PROT_WRITE) != 0)
        throw EFileNotFound(std::strerror(errno));
      buf_[size_++] = '\n';
      last_byte_ = '\n';
    }
    done_ = true;
  }
  CheckCancel();
}

void TTxtFile::CheckMapped() const {
  if (guard_ && guard_->Changed()) throw EFileNotFound(encoding::kFileChangedWhileRead);
}

void TTxtFile::CheckCancel() {
  if (yield_) yield_();
  if (cancel_.load(std::memory_order_relaxed)) throw EGrepCancel();
}

void TTxtFile::Reserve(std::size_t bytes) {
  buf_ = store_->data.get();
  if (bytes <= store_->capacity) return;
  std::size_t cap = std::max(bytes, store_->capacity * 2);
  std::unique_ptr<char[]> bigger(new char[cap]);
  if (size_) std::memcpy(bigger.get(), buf_, size_);
  store_->data = std::move(bigger);
  store_->capacity = cap;
  buf_ = store_->data.get();
}

// Appends up to one block; at the end of the file a missing closing line feed is added.
void TTxtFile::Fill() {
  if (max_window_ && size_ > max_window_) throw ELineTooLong("a line longer than the window's " + std::to_string(max_window_) + " bytes");
  Reserve(size_ + block_size_ + 1);
  std::size_t got = 0;
  while (got < block_size_ && !file_end_) {
    ssize_t r = ::read(fd_, buf_ + size_ + got, block_size_ - got);
    if (r < 0) {
      if (errno == EINTR) continue;
      throw EFileNotFound(std::strerror(errno));
    }
    if (r == 0) file_end_ = true;
    got += static_cast<std::size_t>(r);
    read_total_ += static_cast<std::uint64_t>(r);
    if (expect_ && read_total_ >= expect_) file_end_ = true;
  }
  size_ += got;
  if (got) last_byte_ = buf_[size_ - 1];
  if (file_end_) {
    if (last_byte_ != '\n') {
      buf_[size_++] = '\n';
      last_byte_ = '\n';
    }
    done_ = true;
  }
  CheckCancel();
}

std::size_t TTxtFile::ReadBlock(std::size_t keep) {
  if (done_) throw EEndOfFile();
  keep = std::min(keep, size_);
  if (map_) {
    buf_ += keep;
  } else if (keep) {
    std::memmove(buf_, buf_ + keep, size_ - keep);
  }
  size_ -= keep;
  dropped_ += keep;
  if (map_) FillMapped();
  else Fill();
  return keep;
}

bool TTxtFile::Ensure(std::size_t& pos, std::size_t count) {
  while (pos + count > size_ && !done_) {
    std::size_t shift = ReadBlock(std::min(line_start_, main_));
    main_ -= shift;
    ahead_ = ahead_ >= shift ? ahead_ - shift : 0;
    line_start_ -= shift;
    pos -= shift;
  }
  return pos < size_;
}

Code TTxtFile::CharAt(std::size_t& cursor) {
  // `cursor` is one of the members Ensure moves, so work on a copy and store it back.
  std::size_t pos = cursor;
  Code c = ReadAt(pos);
  cursor = pos;
  return c;
}

Code TTxtFile::ReadAt(std::size_t& pos) {
  if (!Ensure(pos, 2)) throw EEndOfFile();
  const auto b = static_cast<unsigned char>(buf_[pos]);
  const bool more = pos + 1 < size_;
  const auto n = more ? static_cast<unsigned char>(buf_[pos + 1]) : 0;
  if (b == '\r') {
    pos += (more && n == '\n') ? 2 : 1;
    return '\n';
  }
  if (b == 0) {
    pos += 1;
    return ' ';
  }
  // A lead byte before a line end (or the end) stands alone: the line end is never eaten.
  if (IsLeadByte(b) && more && n != '\n' && n != '\r') {
    pos += 2;
    return static_cast<Code>(b << 8 | (n == 0 ? ' ' : n));
  }
  pos += 1;
  return b;
}

Code TTxtFile::NextChar() {
  Code c = CharAt(main_);
  if (c == '\n') {
    ++line_no_;
    line_start_ = main_;
  }
  ahead_ = main_;
  return c;
}

Code TTxtFile::NextCharAhead() { return CharAt(ahead_); }

RE_LineInfo_t TTxtFile::ReadRestOfLine() {
  CheckCancel();
  std::size_t p = main_;
  for (;;) {
    if (!Ensure(p, 1)) throw EEndOfFile();
    const char* from = buf_ + p;
    const char* end = buf_ + size_;
    const char* hit = std::find_if(from, end, [](char ch) { return ch == '\n' || ch == '\r'; });
    p = static_cast<std::size_t>(hit - buf_);
    if (hit != end) break;
  }
  main_ = p;
  ahead_ = p;
  RE_LineInfo_t info;
  info.Line.assign(buf_ + line_start_, p - line_start_);
  info.LineNo = line_no_;
  return info;
}

}  // namespace haruvi::search
