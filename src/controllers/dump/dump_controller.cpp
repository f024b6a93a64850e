#include "controllers/dump/dump_controller.h"

#include <sys/stat.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <mutex>
#include <thread>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "dialogs/progress_dialog.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/file_display.h"
#include "viewer/hex_dump.h"
#include "viewer/text_document.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
DumpController::DumpController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"Mdump1", "標準表示", "16進表示|ファイルを16進数で表示します。"}, [this] { Mdump1Click(); });
  a.Declare({"Mdump1b", "行下表示", "行下表示|各行の下に16進数を表示します。"}, [this] { Mdump1bClick(); });
  a.Twin("Mdump1", "Mdump1P");
  a.Twin("Mdump1b", "Mdump1bP");
}

bool DumpController::eventFilter(QObject* watched, QEvent* event) {
  // Closing the window while a dump runs stops the dump; the window stays until it has.
  if (event->type() == QEvent::Close && watched == ctx().Window() && running_) {
    cancel_ = true;
    event->ignore();
    return true;
  }
  return false;
}

template <class Dump>
void DumpController::WithProgress(Dump&& dump) {
  if (running_) return;  // one dump at a time: the window stays usable meanwhile
  ui::WindowFlags& flags = ctx().Flags();
  flags.worktext.clear();
  cancel_ = false;
  running_ = true;
  ctx().Window()->installEventFilter(this);
  dialogs::TForm24 progress(QStringLiteral("16進表示中"), QStringLiteral("16進表示中．．．"), ctx().SelectedPath(),
                            ctx().Window());
  // The main window stays usable while the dump runs: only Cancel belongs to this window.
  progress.setWindowModality(Qt::NonModal);
  connect(&progress, &dialogs::TForm24::Cancelled, this, [this, &flags] {
    flags.worktext = QStringLiteral("EXIT");
    cancel_ = true;
  });
  progress.show();

  ui::ShownText& text = ctx().Text();
  const ui::TextOrigin before = text.Origin();
  const QString info = text.Info();
  std::mutex mutex;
  std::string incoming;      // made by the worker, not yet shown
  std::size_t handed = 0;    // how much of the worker's text is in `incoming` or shown
  std::string shown;         // what the pane holds of the dump
  bool started = false, lost = false;
  // The lines so far go into the pane, the caret and the top line staying.
  const auto show = [&](std::string block) {
    if (lost || block.empty()) return;
    // Another command or another file took the pane meanwhile: the dump gives way.
    if (started && text.View().BytesView().size() != shown.size()) {
      lost = true;
      cancel_ = true;
      return;
    }
    shown += block;
    if (!started) {
      text.BeginReport(shown, encoding::TextForm::Legacy, before);
      text.SetInfo(info);
      started = true;
      return;
    }
    viewer::TextDocument doc;
    doc.SetBytes(std::string(shown));
    text.Continue(std::move(doc));
  };
  const auto take = [&] {
    std::string block;
    std::lock_guard lock(mutex);
    block.swap(incoming);
    return block;
  };

  viewer::HexDump result;
  QEventLoop loop;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = dump([this] { return cancel_.load(); },
                  [&](std::string_view so_far) {
                    {
                      std::lock_guard lock(mutex);
                      incoming.append(so_far.substr(handed));
                      handed = so_far.size();
                    }
                    if (piece_made) piece_made();
                  });
    done = true;
    QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
  });
  QTimer tick;
  connect(&tick, &QTimer::timeout, this, [&] {
    QElapsedTimer took;
    took.start();
    show(take());
    // Showing a long text again takes longer: the window keeps at least three quarters
    // of the time to itself, so it stays usable however long the dump grows.
    tick.setInterval(std::max<int>(100, static_cast<int>(4 * took.elapsed())));
  });
  tick.start(100);
  if (!done) loop.exec();
  worker.join();
  tick.stop();
  progress.hide();
  ctx().Window()->removeEventFilter(this);
  running_ = false;
  flags.worktext.clear();
  if (lost) return;
  // The whole dump in place of the pieces: the worker's text is the one complete copy.
  if (!started) {
    text.BeginReport(std::move(result.text), encoding::TextForm::Legacy, before);
    text.SetInfo(info);
  } else {
    viewer::TextDocument doc;
    doc.SetBytes(std::move(result.text));
    text.Continue(std::move(doc));
  }
  // A stopped dump keeps the line's colour: what it shows is not the whole dump.
  text.SetOrigin(result.cancelled ? before : ui::TextOrigin::Report);
}

void DumpController::Mdump1Click() {
  const std::string path = bridge::ToDisk(ctx().SelectedPath());
  struct stat st {};
  auto regular = [&] { return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode); };
  if (path.empty() || !regular()) return;
  // The dump takes the place of the text: changes typed into it are asked about (a save
  // changes the file, so it is looked at again).
  if (!ctx().Text().MayLeave() || !regular()) return;
  ui::BusyCursor busy;
  std::string error;
  // The read settings do not apply: the dump is of the whole file.
  auto bytes = viewer::ReadWholeFile(path, static_cast<std::uint64_t>(st.st_size), &error);
  if (!bytes) {
    ui::Warn(ctx().Window(), QStringLiteral("ファイルを読み込めません\n") + bridge::FromUtf8(error));
    return;
  }
  const std::string info = bridge::ToPane(ctx().Text().Info(), ctx().Text().View().CodePage());
  WithProgress([&](const auto& cancelled, const auto& produced) {
    return viewer::DumpBytes(bytes->view(), info, cancelled, produced);
  });
}

void DumpController::Mdump1bClick() {
  const std::string path = bridge::ToDisk(ctx().SelectedPath());
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return;
  ui::BusyCursor busy;
  const std::string text = ctx().Text().WholeText();
  const std::string info = bridge::ToPane(ctx().Text().Info(), ctx().Text().View().CodePage());
  WithProgress([&](const auto& cancelled, const auto& produced) {
    return viewer::DumpUnderLines(text, info, cancelled, produced);
  });
}

}  // namespace haruvi::controllers
