// Gzip inflated ahead of the reader on a thread of its own: the file is read and
// inflated into a small ring of blocks while libarchive parses the blocks before them, so
// a compressed tar reads in about the time its inflating takes. It inflates the way
// libarchive's own gzip filter does (members one after another, whatever follows the last
// member ignored, output lost back to a 64 KiB step on damage, the same messages and the
// same count of archive bytes used), so both paths read the same entries and fail alike.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace haruvi::archive {

// The length of the gzip member header at the start of `head` as libarchive's gzip filter
// reads it (deflate only, no reserved flags, the optional fields whole); 0 when it is none.
std::size_t GzipHeaderLength(const unsigned char* head, std::size_t size);

// Whether the file opens with a gzip member header found within its first 64 KiB.
bool StartsWithGzip(const std::string& path);

class DecodeAhead {
 public:
  DecodeAhead() = default;
  ~DecodeAhead();
  DecodeAhead(const DecodeAhead&) = delete;
  DecodeAhead& operator=(const DecodeAhead&) = delete;

  // Opens the file and starts the thread; false with *error when either cannot be done.
  bool Start(const std::string& path, std::string* error);
  // The next block of the inflated stream: its size with *data (valid until the next
  // call), 0 at the end, -1 on damage with *error (left empty where libarchive's filter
  // gives no message either: a member cut inside its trailer).
  long Next(const void** data, std::string* error);
  // Ends the thread promptly and waits for it; the destructor does it too.
  void Stop();
  // The archive bytes libarchive's filter would have used by the time `taken` bytes of
  // its output were read.
  std::uint64_t InputFor(std::uint64_t taken) const;

 private:
  static constexpr std::size_t kBlocks = 4;
  static constexpr std::size_t kStep = 64 * 1024;  // the filter's output block
  static constexpr std::size_t kBlockSize = 16 * kStep;

  struct Block {
    std::vector<unsigned char> data = std::vector<unsigned char>(kBlockSize);
    std::size_t size = 0;
  };

  void Run();
  void Inflate();
  // Waits for a free block; false when told to stop.
  bool WaitForRoom();
  void Publish(std::size_t size, const std::vector<std::uint64_t>& steps, bool last, bool failed,
               const char* message, std::uint64_t input_at_end);

  int fd_ = -1;
  std::thread thread_;
  mutable std::mutex mu_;
  std::condition_variable room_, ready_;
  Block blocks_[kBlocks];
  std::uint64_t produced_ = 0;  // blocks published
  std::uint64_t taken_ = 0;     // blocks handed to the reader (the last one still in use)
  std::atomic<bool> stop_{false};
  bool finished_ = false;  // the thread published its last block
  bool failed_ = false;
  std::string message_;
  std::uint64_t input_at_end_ = 0;  // archive bytes used when the last block was made
  bool end_seen_ = false;   // the reader was told of the end or the failure
  std::vector<std::uint64_t> step_input_;  // archive bytes used after each 64 KiB of output
};

}  // namespace haruvi::archive
