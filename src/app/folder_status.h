// The folder status of the status bar: counts the files and bytes below a folder on a
// worker thread, so selecting files stays instant while a big tree is walked. A walk
// that is overtaken by a newer folder is cancelled and its result dropped.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

namespace haruvi::app {

class FolderStatus : public QObject {
  Q_OBJECT

 public:
  explicit FolderStatus(QObject* parent = nullptr);
  ~FolderStatus() override;

  // Starts counting `folder`, cancelling any walk still running. With `reuse`, a walk of
  // the same folder that is running or has ended serves instead (showing a file must not
  // restart the count of a big tree each time).
  void Start(const QString& folder, bool reuse = false);
  bool Running() const { return running_; }
  // Waits for the current walk (tests).
  void WaitForIdle();

 signals:
  void Finished(const QString& folder, quint64 files, quint64 bytes);

 private:
  void Reap();

  struct Walk {
    std::shared_ptr<std::atomic<bool>> cancel;
    std::shared_ptr<std::atomic<bool>> done;  // the thread has ended: joining cannot block
    std::thread thread;
  };
  std::vector<Walk> walks_;
  std::uint64_t generation_ = 0;
  bool running_ = false;
  QString last_folder_;
  bool have_last_ = false;
  quint64 last_files_ = 0;
  quint64 last_bytes_ = 0;
};

}  // namespace haruvi::app
