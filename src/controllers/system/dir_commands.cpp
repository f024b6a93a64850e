// The two "dir" commands: the direct one asks for a path with the prompt dialog, the
// detailed one with TForm7; both list through the internal listing on a worker thread
// while the window keeps running, and put the result into the pane.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QEventLoop>
#include <QThread>
#include <atomic>
#include <thread>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "controllers/system/dir_dialog.h"
#include "controllers/system/system_controller.h"
#include "dialogs/progress_dialog.h"
#include "platform/history.h"
#include "systools/dir_listing.h"
#include "ui/shown_text.h"
#include "ui/messages.h"
#include "ui/prompt_dialog.h"
#include "viewer/text_document.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

// TForm7's path history: section "LHA", ten entries at most.
constexpr std::string_view kPathSection = "LHA";
const platform::HistoryKeys kPathKeys{"DriveCount", "Items_", 10};

}  // namespace

void SystemController::RunDir(QString command) {
  // By value: the progress window's Cancel writes its mark into the window's work string.
  const systools::DirRequest request = systools::ParseDirCommand(bridge::ToDisk(command));
  // The line and the pane are emptied while the listing runs; 元に戻す brings the text back.
  ctx().Text().BeginReport(std::string(), encoding::TextForm::Legacy, ui::TextOrigin::Report);
  systools::DirListing listing;
  {
    ui::BusyCursor busy;
    dialogs::TForm24 progress(QStringLiteral("dir"), QStringLiteral("一覧を作成中です"), command, ctx().Window());
    progress.show();
    const auto cancelled = progress.CancelPoll(ctx().Flags().worktext);
    std::atomic<bool> done{false};
    std::atomic<bool> stop{false};
    // A big tree is read off the window's thread; the window keeps painting meanwhile and
    // Cancel stops the walk between entries.
    std::thread worker([&] {
      listing = systools::ListDirectory(request, &stop);
      done = true;
    });
    while (!done) {
      QApplication::processEvents(QEventLoop::AllEvents, 20);
      if (!stop && cancelled()) stop = true;
      if (!done) QThread::msleep(5);
    }
    worker.join();
    progress.close();
  }
  if (!listing.error.empty()) {
    ui::Warn(ctx().Window(), bridge::FromDisk(listing.error));
    return;
  }
  viewer::TextPane& pane = ctx().Text().View();
  std::string text;
  size_t at = 0;
  while (at < listing.text.size()) {
    size_t nl = listing.text.find('\n', at);
    if (nl == std::string::npos) nl = listing.text.size();
    text += bridge::NameToPane(bridge::FromDisk(listing.text.substr(at, nl - at)), pane.CodePage()) + "\r\n";
    at = nl + 1;
  }
  viewer::TextDocument listed;
  listed.SetBytes(std::move(text));
  ctx().Text().Continue(std::move(listed));
  ctx().Text().SetInfo(QStringLiteral("dir   ") + command + QStringLiteral("   の結果"));
  if (listing.stopped) Report(QStringLiteral("dirコマンドを中止しました"));
}

void SystemController::Mdircommand1Click() {
  ctx().Flags().worktext.clear();
  const auto answer = ui::Ask(ctx().Window(), QStringLiteral("dirコマンド－ダイレクト"),
                              QStringLiteral("表示するフォルダー　例)/home/haruv"), ctx().Settings().File(), "DirSet",
                              ctx().CurrentFolder());
  if (!answer || answer->isEmpty()) return;
  RunDir(*answer);
}

void SystemController::Mdircommand2Click() {
  ctx().Flags().worktext.clear();
  platform::IniFile& ini = ctx().Settings().File();
  std::vector<std::string> history = platform::LoadHistory(ini, kPathSection, kPathKeys);
  TForm7 form(ctx().CurrentFolder(), history, ctx().Window());
  if (form.exec() != QDialog::Accepted) return;
  const QString path = form.CBpath->currentText();
  if (!path.isEmpty()) {
    history = platform::UpdatedHistory(std::move(history), bridge::ToDisk(path));
    if (history.size() > kPathKeys.limit) history.resize(kPathKeys.limit);
  }
  ctx().Flags().worktext = form.Edit1->text() + QStringLiteral(" ");
  platform::SaveHistory(ini, kPathSection, history, kPathKeys);
  RunDir(ctx().Flags().worktext);
}

}  // namespace haruvi::controllers
