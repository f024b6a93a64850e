// GrepFiles: workers take files in list order from a shared counter (waiting on the feed
// for files not found yet); reports are handed on in list order by whichever worker
// completes the file the output waits for.
#include "search/file_grep.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/long_path.h"
#include "search/grep.h"
#include "search/unicode_copy.h"

namespace haruvi::search {
namespace {

using ProblemSink = std::function<void(const std::string&, const std::string&)>;

constexpr std::size_t kBlock = 64 * 1024;
// Live, the head file's lines go out in small blocks, and what waits goes out within
// FileGrepOptions::live_wait even when no more lines come (a hit early in a long file is
// shown as the reading goes on).
constexpr std::size_t kLiveBlock = 4 * 1024;

class Ordered {
 public:
  Ordered(const ReportSink& sink, const ProblemSink& problem) : sink_(sink), problem_(problem) {}

  bool AtHead(std::size_t i) const { return head_.load(std::memory_order_acquire) == i; }

  // Hands on what file `i` has so far when it is at the head; a finished file that is not
  // waits in its slot. Slots are kept only from the head on, and a file's path only with
  // its trouble, so a long list takes no memory for the files already written.
  void Put(std::size_t i, std::string& text, bool finished, const std::string& path, const std::string& trouble) {
    std::lock_guard lock(mu_);
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head != i) {  // a later file: those before the head are all written
      if (finished) {
        const std::size_t k = i - head;
        if (slots_.size() <= k) slots_.resize(k + 1);
        slots_[k] = {std::move(text), trouble.empty() ? std::string() : path, trouble, true};
      }
      return;
    }
    Write(text, path, finished ? trouble : std::string());
    text.clear();
    if (!finished) return;
    if (!slots_.empty()) slots_.pop_front();  // the head's own
    std::size_t next = i + 1;
    while (!slots_.empty() && slots_.front().done) {
      Write(slots_.front().text, slots_.front().path, slots_.front().trouble);
      slots_.pop_front();
      ++next;
    }
    head_.store(next, std::memory_order_release);
  }

 private:
  struct Slot {
    std::string text, path, trouble;
    bool done = false;
  };
  void Write(const std::string& text, const std::string& path, const std::string& trouble) {
    if (!text.empty() && sink_) sink_(text);
    if (!trouble.empty() && problem_) problem_(path, trouble);
  }
  std::mutex mu_;
  std::atomic<std::size_t> head_{0};
  std::deque<Slot> slots_;  // slots_[k] holds file head_ + k
  const ReportSink& sink_;
  const ProblemSink& problem_;
};

struct Shared {
  FileFeed& files;
  const FileGrepOptions& options;
  std::string_view pattern;
  const std::atomic<bool>* cancel;
  Ordered out;
  std::atomic<std::size_t> next{0};
  std::atomic<std::int64_t> matches{0};
  std::atomic<std::size_t> problems{0};
  std::atomic<bool> cancelled{false};
};

bool IsLink(const std::string& path) {
  struct stat st {};
  return platform::LstatLongPath(path, &st) && S_ISLNK(st.st_mode);
}

void Work(Shared& s) {
  TGrep grep;
  grep.SetUseFuzzyCharDic(s.options.fuzzy);
  grep.SetRegExp(s.pattern);
  grep.SetLineLimit(s.options.line_limit);
  grep.SetMapFrom(s.options.map_from);
  std::size_t current = 0;
  std::string text;
  auto sent = std::chrono::steady_clock::now();
  const auto put = [&] {
    s.out.Put(current, text, false, {}, {});
    sent = std::chrono::steady_clock::now();
  };
  grep.OnIdle = [&] {
    if (s.cancel && s.cancel->load(std::memory_order_relaxed)) grep.Cancel = true;
    if (s.options.live && !text.empty() && std::chrono::steady_clock::now() - sent >= s.options.live_wait &&
        s.out.AtHead(current))
      put();
  };
  GrepPrinter printer(s.options.report, [&](std::string_view line) {
    text.append(line);
    if (text.size() >= (s.options.live ? kLiveBlock : kBlock) && s.out.AtHead(current)) put();
  });
  grep.OnMatch = printer.Handler();
  for (;;) {
    const std::size_t i = s.next.fetch_add(1);
    std::string path;
    if (!s.files.Get(i, path)) return;
    current = i;
    text.clear();
    std::string trouble;
    if (s.cancelled.load() || (s.cancel && s.cancel->load())) {
      s.cancelled = true;
      s.out.Put(i, text, true, path, {});
      continue;
    }
    if (s.options.skip_links && IsLink(path)) {
      s.out.Put(i, text, true, path, {});
      continue;
    }
    const std::int64_t before = printer.MatchCount();
    try {
      UnicodeCopy copy;
      if (s.options.by_form && copy.Make(path, &trouble, [&grep] { return grep.CanGrepUtf8(); }, grep.Storage())) {
        if (copy.Direct()) {
          printer.BeginUtf8File(path);
          grep.GrepUtf8File(path);
        } else {
          printer.BeginFile(path, copy.StandIns());
          if (trouble.empty()) grep.GrepFile(copy.Path());
          else s.problems.fetch_add(1);
        }
      } else {
        printer.BeginFile(path);
        grep.GrepFile(path, copy.Opened());
      }
    } catch (const EGrepCancel&) {
      s.cancelled = true;
    } catch (const std::exception& e) {  // EFileNotFound, ELineTooLong
      trouble = e.what();
      s.problems.fetch_add(1);
    }
    s.matches.fetch_add(printer.MatchCount() - before);
    s.out.Put(i, text, true, path, trouble);
  }
}

}  // namespace

void FileFeed::Add(std::string path) {
  {
    std::lock_guard lock(mu_);
    files_.push_back(std::move(path));
  }
  added_.notify_all();
}

void FileFeed::Close() {
  {
    std::lock_guard lock(mu_);
    closed_ = true;
  }
  added_.notify_all();
}

bool FileFeed::Get(std::size_t i, std::string& path) {
  std::unique_lock lock(mu_);
  added_.wait(lock, [&] { return closed_ || i < files_.size(); });
  if (i >= files_.size()) return false;
  path = std::move(files_[i]);  // each file is asked for once
  return true;
}

namespace {

FileGrepResult Run(std::string_view pattern, FileFeed& files, std::size_t workers, const FileGrepOptions& options,
                   const ReportSink& sink, const ProblemSink& problem, const std::atomic<bool>* cancel,
                   const std::function<void()>& fill) {
  {
    TGrep probe;  // a bad pattern is reported before anything runs
    probe.SetUseFuzzyCharDic(options.fuzzy);
    probe.SetRegExp(pattern);
  }
  Shared s{files, options, pattern, cancel, Ordered(sink, problem)};
  // The calling thread is one of the workers, once it has fed the files when it feeds them.
  std::vector<std::thread> pool;
  for (std::size_t w = 1; w < workers; ++w) pool.emplace_back([&s] { Work(s); });
  if (fill) {
    try {
      fill();
    } catch (...) {
      files.Close();
      for (std::thread& t : pool) t.join();
      throw;
    }
  }
  Work(s);
  for (std::thread& t : pool) t.join();
  return {s.matches.load(), s.problems.load(), s.cancelled.load()};
}

}  // namespace

FileGrepResult GrepFiles(std::string_view pattern, const std::vector<std::string>& files,
                         const FileGrepOptions& options, const ReportSink& sink, const ProblemSink& problem,
                         const std::atomic<bool>* cancel) {
  FileFeed feed;
  for (const std::string& f : files) feed.Add(f);
  feed.Close();
  const std::size_t workers =
      std::clamp<std::size_t>(static_cast<std::size_t>(std::max(options.threads, 1)), 1, std::max<std::size_t>(files.size(), 1));
  return Run(pattern, feed, workers, options, sink, problem, cancel, {});
}

FileGrepResult GrepFiles(std::string_view pattern, FileFeed& files, const FileGrepOptions& options,
                         const ReportSink& sink, const ProblemSink& problem, const std::atomic<bool>* cancel,
                         const std::function<void()>& fill) {
  return Run(pattern, files, static_cast<std::size_t>(std::max(options.threads, 1)), options, sink, problem, cancel,
             fill);
}

}  // namespace haruvi::search
