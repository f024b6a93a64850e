#include "controllers/fileops/op_runner.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
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

}  // namespace

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
  std::unique_ptr<QProgressDialog> dialog;
  if (!ui::Headless() && !op.Options.Has(fileops::SILENT)) {
    dialog = std::make_unique<QProgressDialog>(window_);
    dialog->setWindowTitle(QString::fromStdString(op.ProgressTitle));
    dialog->setCancelButtonText(QStringLiteral("キャンセル"));
    dialog->setRange(0, 1000);
    dialog->setMinimumDuration(400);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog.get(), &QProgressDialog::canceled, this, [this] { cancel_ = true; });
  }
  QElapsedTimer clock;
  clock.start();
  QTimer tick;
  connect(&tick, &QTimer::timeout, this, [&] {
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
    dialog->setValue(static_cast<int>(part * 1000));
    if (!op.Options.Has(fileops::SIMPLEPROGRESS)) {
      dialog->setLabelText(QStringLiteral("%1\n%2 / %3 ファイル　%4 / %5 byte　残り %6")
                               .arg(bridge::DisplayName(bridge::FromDisk(p.current)))
                               .arg(p.files_done)
                               .arg(p.files_total)
                               .arg(Grouped(static_cast<qulonglong>(p.bytes_done)))
                               .arg(Grouped(static_cast<qulonglong>(p.bytes_total)))
                               .arg(Eta(left)));
    }
  });
  tick.start(100);
  bool ok = false;
  RunWork([&] { ok = op.Execute(this); });
  return ok;
}

bool OpRunner::AskCreateFolder(const std::string& folder) {
  bool yes = false;
  QMetaObject::invokeMethod(
      this,
      [&] {
        const QString f = bridge::FromDisk(folder);
        if (ask_create) {
          yes = ask_create(f);
          return;
        }
        if (ui::Headless()) return;
        QApplication::beep();
        yes = QMessageBox::warning(window_, QStringLiteral("確認"),
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
        if (ask_conflict) {
          answer = ask_conflict(conflict);
          return;
        }
        if (ui::Headless()) {
          answer = {fileops::ConflictChoice::Skip, false};
          return;
        }
        QMessageBox box(QMessageBox::Question, QStringLiteral("同じ名前の項目"), ConflictText(conflict),
                        QMessageBox::NoButton, window_);
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
