#include "app/folder_status.h"

#include <QMetaObject>

#include "fileops/folder_walk.h"
#include "platform/mounts.h"
#include "bridge/disk_path.h"

namespace haruvi::app {

FolderStatus::FolderStatus(QObject* parent) : QObject(parent) {}

FolderStatus::~FolderStatus() {
  for (Walk& w : walks_) w.cancel->store(true);
  for (Walk& w : walks_)
    if (w.thread.joinable()) w.thread.join();
}

void FolderStatus::Reap() {
  // Joins walks that have ended; a cancelled walk still inside a big folder is left to
  // end on its own, so the window never waits for it.
  for (auto it = walks_.begin(); it != walks_.end();) {
    if (it->done->load() && it->thread.joinable()) {
      it->thread.join();
      it = walks_.erase(it);
    } else {
      ++it;
    }
  }
}

void FolderStatus::Start(const QString& folder, bool reuse) {
  if (reuse && folder == last_folder_) {
    if (running_) return;  // its result is on the way
    if (have_last_) {
      emit Finished(folder, last_files_, last_bytes_);
      return;
    }
  }
  last_folder_ = folder;
  have_last_ = false;
  for (Walk& w : walks_) w.cancel->store(true);
  Reap();
  const std::uint64_t generation = ++generation_;
  running_ = true;
  auto cancel = std::make_shared<std::atomic<bool>>(false);
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::string path = bridge::ToDisk(folder);
  FolderStatus* self = this;  // the destructor joins every walk before the object goes
  std::thread t([self, cancel, done, path, folder, generation] {
    struct MarkDone {
      std::atomic<bool>& flag;
      ~MarkDone() { flag.store(true); }
    } mark{*done};
    fileops::WalkOptions options;
    options.cancel = cancel.get();
    options.skip_devices = platform::PseudoDevices();
    fileops::FolderTotals totals = fileops::WalkFolderTotals(path, options);
    if (totals.cancelled) return;
    QMetaObject::invokeMethod(
        self,
        [self, folder, generation, totals] {
          if (generation != self->generation_) return;
          self->running_ = false;
          self->have_last_ = true;
          self->last_files_ = totals.files;
          self->last_bytes_ = totals.bytes;
          emit self->Finished(folder, totals.files, totals.bytes);
        },
        Qt::QueuedConnection);
  });
  walks_.push_back({cancel, done, std::move(t)});
}

void FolderStatus::WaitForIdle() {
  for (Walk& w : walks_)
    if (w.thread.joinable()) w.thread.join();
  walks_.clear();
}

}  // namespace haruvi::app
