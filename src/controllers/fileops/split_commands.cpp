// "ファイル　分割(&S)" and "ファイル　結合(&B)": the size and order dialogs, the split on
// the worker with TForm18's progress and Cancel, the merge batch and the merge itself.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <atomic>
#include <sys/stat.h>

#include "bridge/disk_path.h"
#include "controllers/fileops/fileops_controller.h"
#include "controllers/fileops/op_runner.h"
#include "controllers/fileops/split_dialogs.h"
#include "fileops/fs_util.h"
#include "fileops/split_merge.h"
#include "shellview/file_view.h"
#include "ui/action_registry.h"
#include "ui/messages.h"

namespace haruvi::controllers {

void FileOpsController::MfiledivClick() {
  ctx().Flags().worktext.clear();
  if (!CurrentIsFile()) return;
  const QString path = ctx().SelectedPath();
  const std::string disk = bridge::ToDisk(path);
  struct stat st {};
  const std::int64_t size = ::stat(disk.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_size) : -1;
  QString answer;
  if (prompts.split_size) {
    answer = prompts.split_size(path, size);
  } else if (!ui::Headless()) {
    TForm17 dialog(ctx().Settings().File(), path, size, ctx().Window());
    if (dialog.exec() == QDialog::Accepted) answer = dialog.Result();
  }
  const std::optional<std::uint64_t> piece = fileops::ParsePieceSize(answer.toStdString());
  if (!piece) return;
  // Refused before anything is written: too many pieces, or a name that is the file.
  const std::string refusal = fileops::SplitRefusal(disk, size < 0 ? 0 : static_cast<std::uint64_t>(size), *piece);
  if (!refusal.empty()) {
    ui::Warn(ctx().Window(), QString::fromUtf8(refusal.c_str()));
    return;
  }
  ui::BusyCursor busy;
  TForm18 progress(ctx().Window());
  progress.Label1->setText(bridge::DisplayName(path) + QStringLiteral(" を分割中"));
  const std::uint64_t total = fileops::PieceCount(static_cast<std::uint64_t>(size), *piece);
  progress.Label2->setText(QStringLiteral("0 / ") + QString::number(total));
  if (!ui::Headless()) progress.show();
  std::atomic<std::uint64_t> at{0};
  std::atomic<bool> cancel{false};
  QTimer tick;
  connect(&tick, &QTimer::timeout, &progress, [&] {
    const std::uint64_t i = at;
    progress.ProgressBar1->setValue(static_cast<int>(i * 100 / total));
    progress.Label2->setText(QString::number(i) + QStringLiteral(" / ") + QString::number(total));
    if (progress.cancelled) {
      cancel = true;
      ctx().Flags().worktext = QStringLiteral("cancel");
    }
  });
  tick.start(50);
  fileops::SplitOutcome r;
  OpRunner runner(ctx().Window());
  runner.RunWork([&] {
    r = fileops::SplitFile(disk, *piece, [&](std::uint64_t i, std::uint64_t) {
      at = i;
      return !cancel;
    });
  });
  tick.stop();
  progress.close();
  ctx().Flags().worktext.clear();
  if (!r.ok && !r.cancelled) ui::Warn(ctx().Window(), QString::fromUtf8(r.error.c_str()));
  ctx().viewreselect(path);
}

void FileOpsController::MfilemergeClick() {
  ctx().Flags().worktext.clear();
  if (!CurrentIsFile()) return;
  QStringList captions;
  for (const QString& p : ctx().Files().SelectedPaths()) captions << p.section(QLatin1Char('/'), -1);
  QString folder = ctx().CurrentFolder();
  std::optional<std::pair<QStringList, QString>> chosen;
  if (prompts.merge) {
    chosen = prompts.merge(captions);
  } else if (!ui::Headless()) {
    TForm20 dialog(folder, captions, ctx().Window());
    if (dialog.exec() == QDialog::Accepted && !dialog.Edit1->text().isEmpty())
      chosen = std::make_pair(dialog.Entries(), dialog.Edit1->text());
  }
  if (!chosen || chosen->second.isEmpty() || chosen->first.isEmpty()) return;
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  const std::string dir = bridge::ToDisk(folder);
  const std::string name = bridge::ToDisk(chosen->second);
  if (name.find('/') != std::string::npos) {
    ui::Warn(ctx().Window(), chosen->second + QStringLiteral(" は名前に使えません。"));
    return;
  }
  std::vector<std::string> entries, sources;
  for (const QString& e : chosen->first) {
    entries.push_back(bridge::ToDisk(e));
    sources.push_back(dir + entries.back());
  }
  const std::string target = dir + name;
  // Refused before the batch file or the target is touched.
  const std::string refusal = fileops::MergeRefusal(target, sources);
  if (!refusal.empty()) {
    ui::Warn(ctx().Window(), QString::fromUtf8(refusal.c_str()));
    return;
  }
  const fileops::MergeOutcome batch = fileops::WriteMergeBatch(dir, entries, name);
  if (!batch.ok) {
    ui::Warn(ctx().Window(), QString::fromUtf8(batch.error.c_str()));
    return;
  }
  ctx().Flags().worktext.clear();
  fileops::MergeOutcome r;
  {
    ui::BusyCursor busy;
    OpRunner runner(ctx().Window());
    runner.RunWork([&] { r = fileops::MergeFiles(target, sources); });
  }
  if (r.ok && ctx().Actions().Checked(QStringLiteral("Mdialogdisp1")))
    ui::Inform(ctx().Window(), QStringLiteral("ファイルを結合しました。"));
  else if (!r.ok)
    ui::Warn(ctx().Window(), QStringLiteral("ファイルを結合できませんでした。\n") + QString::fromUtf8(r.error.c_str()));
  ctx().viewreset();
  ctx().viewreselect(bridge::FromDisk(target));
}

}  // namespace haruvi::controllers
