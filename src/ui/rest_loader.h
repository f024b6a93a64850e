// Reads and indexes the rest of a file shown by its beginning, on a worker thread, so the
// window stays responsive whatever the file's size. One load is pending at a time: a new
// one, or a cancel, drops the previous (its thread is told to stop and joined later).
#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "viewer/file_display.h"

namespace haruvi::ui {

class RestLoader : public QObject {
  Q_OBJECT

 public:
  explicit RestLoader(QObject* parent = nullptr);
  ~RestLoader() override;

  void Start(std::string path, std::uint64_t size, bool raw_japanese = false);
  void Cancel();
  bool Pending() const { return current_ != nullptr; }
  // Waits for the pending load and hands it over (nullopt when none is pending).
  std::optional<viewer::LoadedRest> Wait();
  // The pending load's result once Loaded was signalled.
  std::optional<viewer::LoadedRest> Take();

 signals:
  void Loaded();

 private:
  struct Job {
    std::uint64_t id = 0;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::mutex mutex;
    std::optional<viewer::LoadedRest> result;
    std::thread thread;
  };
  void Retire(std::unique_ptr<Job> job);
  void Reap();

  std::unique_ptr<Job> current_;
  std::vector<std::unique_ptr<Job>> retired_;
  std::uint64_t next_id_ = 1;
};

}  // namespace haruvi::ui
