#include "controllers/fileops/op_runner.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QMessageBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <thread>

#include "bridge/disk_path.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

QString Side(const fileops::EntryFacts& f) {
  const QString when = QDateTime::fromSecsSinceEpoch(f.mtime).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  if (f.folder) return QStringLiteral("フォルダー　更新日時 %1").arg(when);
  return QStringLiteral("%1 byte　更新日時 %2").arg(Grouped(static_cast<qulonglong>(f.size)), when);
}

QString Eta(double seconds) {
  if (seconds < 0 || seconds > 360000) return QStringLiteral("--:--");
  const int s = static_cast<int>(seconds);
  return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0'));
}

// Counts a question open for as long as it is.
struct Asking {
  explicit Asking(int& n) : n_(n) { ++n_; }
  ~Asking() { --n_; }
  Asking(const Asking&) = delete;
  Asking& operator=(const Asking&) = delete;
  int& n_;
};

}  // namespace

OpProgress::OpProgress(QWidget* parent, const QString& title) : QDialog(parent) {
  setObjectName(QStringLiteral("OpProgress"));
  setWindowTitle(title);
  // The main window waits while its files are worked on; the questions are this
  // window's children and stay answerable.
  setWindowModality(Qt::WindowModal);
  auto* layout = new QVBoxLayout(this);
  Text = new QLabel(QStringLiteral("ファイルを数えています"), this);
  Text->setMinimumWidth(Text->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 60);
  Bar = new QProgressBar(this);
  Bar->setRange(0, 1000);
  Bar->setValue(0);
  CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  layout->addWidget(Text);
  layout->addWidget(Bar);
  layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
  connect(CancelButton, &QPushButton::clicked, this, &OpProgress::reject);
}

void OpProgress::reject() {
  // Cancel and Esc ask the work to stop; the window stays until it has.
  CancelButton->setEnabled(false);
  Text->setText(QStringLiteral("中止しています"));
  emit Cancelled();
}

QString Grouped(qulonglong n) {
  QLocale c(QLocale::C);
  c.setNumberOptions({});  // the C locale leaves the separators out by default
  return c.toString(n);
}

QString ConflictText(const fileops::Conflict& c) {
  QString newer;
  if (c.source.mtime > c.target.mtime) newer = QStringLiteral("（移す側が新しい）");
  else if (c.source.mtime < c.target.mtime) newer = QStringLiteral("（移す側が古い）");
  else newer = QStringLiteral("（同じ日時）");
  return QStringLiteral("%1 は既に存在します。\n\n既にある項目: %2\n新しい項目: %3 %4\n\n置き換えますか？")
      .arg(bridge::DisplayName(bridge::FromDisk(c.target.path)), Side(c.target), Side(c.source), newer);
}

OpRunner::OpRunner(QWidget* parent_window) : QObject(nullptr), window_(parent_window) {}

void OpRunner::RunWork(const std::function<void()>& work) {
  struct Running {
    Running() { ++running_; }
    ~Running() { --running_; }
  } running;
  std::exception_ptr failure;
  std::atomic<bool> done{false};
  QEventLoop loop;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    done = true;
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  if (!done) loop.exec();
  worker.join();
  if (failure) std::rethrow_exception(failure);
}

bool OpRunner::Run(fileops::TSHFOP& op) {
  cancel_ = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    progress_ = {};
  }
  std::unique_ptr<OpProgress> dialog;
  if (!ui::Headless() && !op.Options.Has(fileops::SILENT)) {
    dialog = std::make_unique<OpProgress>(window_, QString::fromStdString(op.ProgressTitle));
    connect(dialog.get(), &OpProgress::Cancelled, this, [this] { cancel_ = true; });
    if (show_after_ms <= 0) dialog->show();
  }
  progress_window_ = dialog.get();
  QElapsedTimer clock;
  clock.start();
  // The window's text and bar from the engine's latest counts: on every tick, and before a
  // question, which the window stays up under.
  refresh_ = [&] {
    if (!dialog) return;
    fileops::ProgressInfo p;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      p = progress_;
    }
    const double part = p.bytes_total ? double(p.bytes_done) / double(p.bytes_total)
                                      : (p.files_total ? double(p.files_done) / double(p.files_total) : 0);
    const double elapsed = clock.elapsed() / 1000.0;
    const double left = part > 0.001 ? elapsed * (1 - part) / part : -1;
    dialog->Bar->setValue(static_cast<int>(part * 1000));
    if (!op.Options.Has(fileops::SIMPLEPROGRESS)) {
      // Before the engine has counted the sources, the window names no count.
      const QString counts =
          p.files_total == 0 && p.bytes_total == 0
              ? QStringLiteral("ファイルを数えています")
              : QStringLiteral("%1 / %2 ファイル　%3 / %4 byte　残り %5")
                    .arg(p.files_done)
                    .arg(p.files_total)
                    .arg(Grouped(static_cast<qulonglong>(p.bytes_done)))
                    .arg(Grouped(static_cast<qulonglong>(p.bytes_total)))
                    .arg(Eta(left));
      dialog->Text->setText(bridge::DisplayName(bridge::FromDisk(p.current)) + QLatin1Char('\n') + counts);
    }
  };
  QTimer tick;
  connect(&tick, &QTimer::timeout, this, [&] {
    if (!dialog) return;
    refresh_();
    // The window comes up late, so quick work never flashes it; never while a question
    // is open: it would come up over the question and take the keys from it.
    if (!dialog->isVisible() && asking_ == 0 && clock.elapsed() >= show_after_ms) dialog->show();
  });
  tick.start(100);
  // Both point into this call: gone with it, a failure thrown on included.
  struct Forget {
    OpRunner& r;
    ~Forget() {
      r.progress_window_ = nullptr;
      r.refresh_ = nullptr;
    }
  } forget{*this};
  bool ok = false;
  RunWork([&] { ok = op.Execute(this); });
  return ok;
}

QWidget* OpRunner::QuestionParent() const {
  // A question over a shown progress window is its child: the progress window shuts out
  // its parent (the main window) and everything else under it, never its own children.
  if (progress_window_ && progress_window_->isVisible()) return progress_window_;
  return window_;
}

bool OpRunner::AskCreateFolder(const std::string& folder) {
  bool yes = false;
  QMetaObject::invokeMethod(
      this,
      [&] {
        if (refresh_) refresh_();
        const QString f = bridge::FromDisk(folder);
        if (ask_create) {
          yes = ask_create(f);
          return;
        }
        if (ui::Headless()) return;
        const Asking asking(asking_);
        QApplication::beep();
        yes = QMessageBox::warning(QuestionParent(), QStringLiteral("確認"),
                                   bridge::DisplayName(f) + QStringLiteral(" は存在しません. 作成しますか？"),
                                   QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
      },
      Qt::BlockingQueuedConnection);
  return yes;
}

fileops::ConflictAnswer OpRunner::AskConflict(const fileops::Conflict& conflict) {
  fileops::ConflictAnswer answer;
  QMetaObject::invokeMethod(
      this,
      [&] {
        if (refresh_) refresh_();
        if (ask_conflict) {
          answer = ask_conflict(conflict);
          return;
        }
        if (ui::Headless()) {
          answer = {fileops::ConflictChoice::Skip, false};
          return;
        }
        const Asking asking(asking_);
        QMessageBox box(QMessageBox::Question, QStringLiteral("同じ名前の項目"), ConflictText(conflict),
                        QMessageBox::NoButton, QuestionParent());
        QPushButton* replace = box.addButton(QStringLiteral("置き換える(&R)"), QMessageBox::AcceptRole);
        QPushButton* skip = box.addButton(QStringLiteral("スキップ(&S)"), QMessageBox::RejectRole);
        QPushButton* rename = box.addButton(QStringLiteral("別の名前で残す(&N)"), QMessageBox::ActionRole);
        QPushButton* cancel = box.addButton(QStringLiteral("中止"), QMessageBox::DestructiveRole);
        auto* all = new QCheckBox(QStringLiteral("以降すべてに適用(&A)"), &box);
        box.setCheckBox(all);
        box.setDefaultButton(skip);
        box.exec();
        QAbstractButton* pressed = box.clickedButton();
        answer.apply_to_all = all->isChecked();
        if (pressed == replace) answer.choice = fileops::ConflictChoice::Replace;
        else if (pressed == rename) answer.choice = fileops::ConflictChoice::Rename;
        else if (pressed == skip) answer.choice = fileops::ConflictChoice::Skip;
        else if (pressed == cancel || !pressed) answer.choice = fileops::ConflictChoice::Cancel;
      },
      Qt::BlockingQueuedConnection);
  return answer;
}

void OpRunner::Progress(const fileops::ProgressInfo& info) {
  std::lock_guard<std::mutex> lock(mutex_);
  progress_ = info;
}

}  // namespace haruvi::controllers
