#include "ui/rest_loader.h"

#include <QMetaObject>

namespace haruvi::ui {

RestLoader::RestLoader(QObject* parent) : QObject(parent) {}

RestLoader::~RestLoader() {
  Cancel();
  for (auto& job : retired_)
    if (job->thread.joinable()) job->thread.join();
}

void RestLoader::Retire(std::unique_ptr<Job> job) {
  if (!job) return;
  job->cancel = true;
  retired_.push_back(std::move(job));
}

void RestLoader::Reap() {
  for (auto it = retired_.begin(); it != retired_.end();) {
    if ((*it)->done) {
      if ((*it)->thread.joinable()) (*it)->thread.join();
      it = retired_.erase(it);
    } else {
      ++it;
    }
  }
}

void RestLoader::Start(std::string path, std::uint64_t size, bool raw_japanese) {
  Retire(std::move(current_));
  Reap();
  current_ = std::make_unique<Job>();
  Job* job = current_.get();
  job->id = next_id_++;
  job->thread = std::thread([this, job, id = job->id, path = std::move(path), size, raw_japanese] {
    viewer::LoadedRest rest = viewer::LoadRest(path, size, job->cancel, raw_japanese);
    {
      std::lock_guard<std::mutex> lock(job->mutex);
      job->result = std::move(rest);
    }
    job->done = true;
    // Told on the window's thread; a job dropped meanwhile is no longer current.
    QMetaObject::invokeMethod(this, [this, id] {
      if (current_ && current_->id == id) emit Loaded();
    }, Qt::QueuedConnection);
  });
}

void RestLoader::Cancel() {
  Retire(std::move(current_));
  Reap();
}

std::optional<viewer::LoadedRest> RestLoader::Take() {
  if (!current_ || !current_->done) return std::nullopt;
  if (current_->thread.joinable()) current_->thread.join();
  std::optional<viewer::LoadedRest> r = std::move(current_->result);
  current_.reset();
  return r;
}

std::optional<viewer::LoadedRest> RestLoader::Wait() {
  if (!current_) return std::nullopt;
  if (current_->thread.joinable()) current_->thread.join();
  std::optional<viewer::LoadedRest> r = std::move(current_->result);
  current_.reset();
  return r;
}

}  // namespace haruvi::ui
