// Runs a file operation off the window's thread: the engine works on a worker while the
// window keeps processing events, shows the progress window (files, bytes, time left,
// Cancel) and asks the engine's questions (missing folder, name conflicts) in dialogs.
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

#include "fileops/shfop.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace haruvi::controllers {

// The progress window of a file operation: what is being worked on, the counts, a bar
// and Cancel (Esc too), which asks the work to stop.
class OpProgress : public QDialog {
  Q_OBJECT

 public:
  OpProgress(QWidget* parent, const QString& title);
  QLabel* Text = nullptr;
  QProgressBar* Bar = nullptr;
  QPushButton* CancelButton = nullptr;
  void reject() override;

 signals:
  void Cancelled();
};

class OpRunner : public QObject, public fileops::FileOpUi {
  Q_OBJECT

 public:
  explicit OpRunner(QWidget* parent_window);

  // Runs op.Execute(this) and returns its result; rethrows a FileOpError here.
  bool Run(fileops::TSHFOP& op);
  // Runs any work on the worker thread, keeping the window alive until it ends.
  void RunWork(const std::function<void()>& work);
  // True while some work runs: the window stays live meanwhile, so a second file command
  // started from it must wait its turn instead of running beside the first.
  static bool Busy() { return running_ > 0; }

  bool AskCreateFolder(const std::string& folder) override;
  fileops::ConflictAnswer AskConflict(const fileops::Conflict& conflict) override;
  void Progress(const fileops::ProgressInfo& info) override;
  bool Cancelled() override { return cancel_; }

  // The questions' answers without dialogs (tests, headless runs).
  static inline std::function<bool(const QString& folder)> ask_create;
  static inline std::function<fileops::ConflictAnswer(const fileops::Conflict&)> ask_conflict;
  // How long work runs before its progress window comes up (0: at once).
  static inline int show_after_ms = 400;

 private:
  // The window the questions belong to: the progress window while it is up.
  QWidget* QuestionParent() const;

  QWidget* window_;
  QWidget* progress_window_ = nullptr;
  std::function<void()> refresh_;  // set while Run runs (the window's thread only)
  int asking_ = 0;  // questions open (the window's thread only)
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;
  fileops::ProgressInfo progress_;
  static inline int running_ = 0;  // the window's thread only
};

// A byte count with thousands separators, as "%n" writes it ("3,000,000").
QString Grouped(qulonglong n);

// The conflict question's text: both sides' sizes and dates, which one is newer.
QString ConflictText(const fileops::Conflict& conflict);

}  // namespace haruvi::controllers
