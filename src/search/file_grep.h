// Grep over a list of files with one or more workers: each worker has its own TGrep, a
// file's report (header and lines, as GrepPrinter writes them) goes to the sink whole
// and in list order, never interleaved with another file's; the file at the head of the
// list streams as it is found. A file that cannot be read (gone, a device, a FIFO, a
// line too long to hold) is reported through `problem` in its place and the grep goes
// on. The stop request is seen at every block read and reported line. The head file's
// report goes out in blocks of 64 KB as found, or when `live` in blocks of 4 KB and
// within `live_wait`. UTF-8 and UTF-16 files are searched by character (see
// FileGrepOptions::by_form).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "search/grep_report.h"
#include "search/txt_file.h"

namespace haruvi::search {

struct FileGrepOptions {
  GrepReportOptions report;
  bool fuzzy = false;
  int threads = 1;
  bool skip_links = false;       // symbolic links are passed over (tree walks do not follow them)
  std::size_t line_limit = 0;    // TGrep::SetLineLimit
  bool live = false;             // the head file's lines go out in small blocks, soon (the window's pane)
  std::chrono::milliseconds live_wait{20};  // live: how long lines found may wait for more
  std::uint64_t map_from = TTxtFile::kNeverMap;  // TGrep::SetMapFrom
  // Files whose beginning is UTF-8 or UTF-16 are grepped by their characters: converted to
  // Shift_JIS with stand-ins for what CP932 lacks (which no pattern can match), their
  // lines reported as they are in the file (report.utf8) or in Shift_JIS.
  bool by_form = true;
};

struct FileGrepResult {
  std::int64_t matches = 0;
  std::size_t problems = 0;
  bool cancelled = false;
};

// Files handed to GrepFiles as they are found (a tree walk feeding the workers while it
// goes on): Add them in list order, then Close, also on failure, or the workers wait on.
class FileFeed {
 public:
  void Add(std::string path);
  void Close();
  // The i-th file, once it is there; false when the feed closed with no more than i. Each
  // file is asked for once (it is moved out).
  bool Get(std::size_t i, std::string& path);

 private:
  std::mutex mu_;
  std::condition_variable added_;
  std::deque<std::string> files_;
  bool closed_ = false;
};

// Raises regex::ERegExpParser for a bad pattern before any file is read. `sink` and
// `problem` are called one at a time (never at once from two workers), in list order.
FileGrepResult GrepFiles(std::string_view pattern, const std::vector<std::string>& files,
                         const FileGrepOptions& options, const ReportSink& sink,
                         const std::function<void(const std::string& path, const std::string& message)>& problem,
                         const std::atomic<bool>* cancel = nullptr);

// The same with the files fed while it runs, by `threads` workers. `fill`, when given,
// feeds them (and closes the feed) on the calling thread, which then joins the workers, so
// a tree walk takes no thread of its own; the feed is closed if it throws.
FileGrepResult GrepFiles(std::string_view pattern, FileFeed& files, const FileGrepOptions& options,
                         const ReportSink& sink,
                         const std::function<void(const std::string& path, const std::string& message)>& problem,
                         const std::atomic<bool>* cancel = nullptr, const std::function<void()>& fill = {});

}  // namespace haruvi::search
