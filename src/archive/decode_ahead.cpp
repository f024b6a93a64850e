// The gzip producer thread and its ring; see decode_ahead.h.
#include "archive/decode_ahead.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cstring>

namespace haruvi::archive {
namespace {

constexpr std::size_t kChunk = 256 * 1024;            // archive bytes read at a time
constexpr std::size_t kMaxHeader = 1024 * 1024;       // a later member's header past this is taken for the end
constexpr std::size_t kSniff = 64 * 1024;

// The header's length; 0 when it is none, or (with *more) when it runs past `size`.
std::size_t ParseHeader(const unsigned char* p, std::size_t size, bool* more) {
  *more = false;
  std::size_t len = 10;
  if (size < len) return (*more = true, 0);
  if (p[0] != 0x1F || p[1] != 0x8B || p[2] != 0x08 || (p[3] & 0xE0) != 0) return 0;
  const unsigned flags = p[3];
  if (flags & 4) {  // extra field: two bytes of length and the field
    if (size < len + 2) return (*more = true, 0);
    len += 2 + (static_cast<std::size_t>(p[len + 1]) << 8 | p[len]);
    if (size < len) return (*more = true, 0);
  }
  for (const unsigned field : {8u, 16u}) {  // name, comment: each ends in a zero byte
    if (!(flags & field)) continue;
    const void* nul = len < size ? std::memchr(p + len, 0, size - len) : nullptr;
    if (!nul) return (*more = true, 0);
    len = static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - p) + 1;
  }
  if (flags & 2) len += 2;  // header CRC, not checked (neither does the filter)
  if (size < len) return (*more = true, 0);
  return len;
}

// The archive file, read a chunk at a time; the bytes not yet used lead the buffer.
class Input {
 public:
  explicit Input(int fd) : fd_(fd), buf_(kChunk) {}
  const unsigned char* Data() const { return buf_.data() + pos_; }
  std::size_t Available() const { return len_ - pos_; }
  void Consume(std::size_t n) { pos_ += n; }
  // Reads more after what is held; false at the end of the file or on a read error.
  bool Read() {
    if (pos_ > 0) {
      std::memmove(buf_.data(), buf_.data() + pos_, len_ - pos_);
      len_ -= pos_;
      pos_ = 0;
    }
    if (len_ + kChunk > buf_.size()) buf_.resize(len_ + kChunk);
    ssize_t n;
    do n = read(fd_, buf_.data() + len_, kChunk);
    while (n < 0 && errno == EINTR);
    if (n <= 0) return false;
    len_ += static_cast<std::size_t>(n);
    return true;
  }
  bool Ensure(std::size_t n) {
    while (Available() < n)
      if (!Read()) return false;
    return true;
  }

 private:
  int fd_;
  std::vector<unsigned char> buf_;
  std::size_t pos_ = 0, len_ = 0;
};

// A member header at the input's front: its length, read in as far as it reaches; 0 for none.
std::size_t MemberHeader(Input& in) {
  for (;;) {
    bool more = false;
    const std::size_t len = ParseHeader(in.Data(), in.Available(), &more);
    if (len || !more || in.Available() > kMaxHeader || !in.Read()) return len;
  }
}

}  // namespace

std::size_t GzipHeaderLength(const unsigned char* head, std::size_t size) {
  bool more = false;
  return ParseHeader(head, size, &more);
}

bool StartsWithGzip(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  std::vector<unsigned char> head(kSniff);
  std::size_t got = 0;
  while (got < head.size()) {
    // Only a gzip file is read on past its first bytes (a header's optional fields
    // may be long); any other archive is known by its magic.
    const std::size_t want = got < 3 ? 3 - got : head.size() - got;
    const ssize_t n = read(fd, head.data() + got, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
    if (got >= 3 && (head[0] != 0x1F || head[1] != 0x8B || head[2] != 8)) break;
  }
  close(fd);
  return GzipHeaderLength(head.data(), got) > 0;
}

DecodeAhead::~DecodeAhead() { Stop(); }

bool DecodeAhead::Start(const std::string& path, std::string* error) {
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    *error = std::strerror(errno);
    return false;
  }
  try {
    thread_ = std::thread(&DecodeAhead::Run, this);
  } catch (const std::system_error& e) {
    *error = e.what();
    close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

void DecodeAhead::Stop() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    stop_ = true;
  }
  room_.notify_all();
  if (thread_.joinable()) thread_.join();
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool DecodeAhead::WaitForRoom() {
  std::unique_lock<std::mutex> lock(mu_);
  // The block the reader holds stays its own until it asks for the next.
  room_.wait(lock, [&] { return stop_ || produced_ - (taken_ > 0 ? taken_ - 1 : 0) < kBlocks; });
  return !stop_;
}

void DecodeAhead::Publish(std::size_t size, const std::vector<std::uint64_t>& steps, bool last, bool failed,
                          const char* message, std::uint64_t input_at_end) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    blocks_[produced_ % kBlocks].size = size;
    step_input_.insert(step_input_.end(), steps.begin(), steps.end());
    ++produced_;
    if (last) {
      finished_ = true;
      failed_ = failed;
      message_ = message ? message : "";
      input_at_end_ = input_at_end;
    }
  }
  ready_.notify_all();
}

long DecodeAhead::Next(const void** data, std::string* error) {
  std::unique_lock<std::mutex> lock(mu_);
  for (;;) {
    ready_.wait(lock, [&] { return produced_ > taken_ || finished_ || stop_; });
    if (produced_ > taken_) {
      Block& b = blocks_[taken_ % kBlocks];
      ++taken_;  // and the block handed out before is free
      lock.unlock();
      room_.notify_all();
      if (b.size == 0) {
        lock.lock();
        continue;
      }
      *data = b.data.data();
      return static_cast<long>(b.size);
    }
    end_seen_ = true;
    if (failed_ || stop_) {
      *error = message_;
      return -1;
    }
    return 0;
  }
}

std::uint64_t DecodeAhead::InputFor(std::uint64_t taken) const {
  std::lock_guard<std::mutex> lock(mu_);
  if (end_seen_) return input_at_end_;
  if (step_input_.empty()) return 0;
  // The filter makes its output a step at a time: the step holding the last byte read
  // was made whole.
  const std::uint64_t step = taken ? (taken - 1) / kStep : 0;
  return step < step_input_.size() ? step_input_[step] : step_input_.back();
}

void DecodeAhead::Run() {
  try {
    Inflate();
  } catch (const std::exception&) {  // no memory for the input: the reader is told, never left waiting
    Publish(0, {}, true, true, "out of memory", 0);
  }
}

void DecodeAhead::Inflate() {
  z_stream z{};
  const bool ready = inflateInit2(&z, -15) == Z_OK;  // raw deflate: the headers are read here
  const struct End {
    z_stream* z;
    ~End() { inflateEnd(z); }
  } release{&z};
  Input in(fd_);
  std::uint64_t used = 0;  // archive bytes used, as the filter counts them
  bool in_member = false, end = false;
  const char* failure = nullptr;
  bool failed = !ready;
  if (!ready) failure = "Can't initialize gzip decompression";
  std::vector<std::uint64_t> steps;
  std::uint64_t block_index = 0;
  for (;;) {
    if (!WaitForRoom()) break;
    Block& b = blocks_[block_index % kBlocks];
    std::size_t size = 0;
    steps.clear();
    while (!failed && !end && size < kBlockSize) {
      if (stop_) break;
      std::size_t step = 0;
      while (step < kStep) {
        if (!in_member) {
          const std::size_t len = MemberHeader(in);
          if (len == 0) {
            end = true;  // no further member: anything after the last one is ignored
            break;
          }
          in.Consume(len);
          used += len;
          inflateReset(&z);
          in_member = true;
        }
        if (in.Available() == 0 && !in.Read()) {
          failed = true;
          failure = "truncated gzip input";
          break;
        }
        const std::size_t avail = in.Available() > 0x7FFFFFFF ? 0x7FFFFFFF : in.Available();
        z.next_in = const_cast<unsigned char*>(in.Data());
        z.avail_in = static_cast<uInt>(avail);
        z.next_out = b.data.data() + size + step;
        z.avail_out = static_cast<uInt>(kStep - step);
        const int r = inflate(&z, Z_NO_FLUSH);
        if (r != Z_OK && r != Z_STREAM_END) {
          failed = true;
          failure = "gzip decompression failed";
          break;
        }
        in.Consume(avail - z.avail_in);
        used += avail - z.avail_in;
        step = kStep - z.avail_out;
        if (r == Z_STREAM_END) {
          in_member = false;
          if (!in.Ensure(8)) {  // the trailer cut short: the filter says nothing more
            failed = true;
            failure = nullptr;
            break;
          }
          in.Consume(8);  // CRC and length, which the filter does not check either
          used += 8;
        }
      }
      if (failed) break;  // the step being made is lost, as the filter loses its block
      size += step;
      if (step) steps.push_back(used);
    }
    if (stop_) break;
    Publish(size, steps, end || failed, failed, failure, used);
    ++block_index;
    if (end || failed) break;
  }
}

}  // namespace haruvi::archive
