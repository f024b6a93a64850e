#include "controllers/dump/dump_controller.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "dialogs/progress_dialog.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/file_display.h"
#include "viewer/hex_dump.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

}  // namespace

DumpController::DumpController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"Mdump1", "標準表示", "16進表示|ファイルを16進数で表示します。"}, [this] { Mdump1Click(); });
  a.Declare({"Mdump1b", "行下表示", "行下表示|各行の下に16進数を表示します。"}, [this] { Mdump1bClick(); });
  a.Twin("Mdump1", "Mdump1P");
  a.Twin("Mdump1b", "Mdump1bP");
}

template <class Dump>
void DumpController::WithProgress(Dump&& dump) {
  ui::WindowFlags& flags = ctx().Flags();
  flags.worktext.clear();
  dialogs::TForm24 progress(QStringLiteral("16進表示中"), QStringLiteral("16進表示中．．．"), ctx().SelectedPath(),
                            ctx().Window());
  const std::function<bool()> cancelled = progress.CancelPoll(flags.worktext);
  progress.show();
  viewer::HexDump result = dump(cancelled);
  progress.hide();
  ui::ShownText& text = ctx().Text();
  // A stopped dump keeps the line's colour: what it shows is not the whole dump.
  text.Replace(std::move(result.text), result.cancelled ? text.Origin() : ui::TextOrigin::Report,
               encoding::TextForm::Legacy);
  flags.worktext.clear();
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
  WithProgress([&](const auto& cancelled) { return viewer::DumpBytes(bytes->view(), info, cancelled); });
}

void DumpController::Mdump1bClick() {
  const std::string path = bridge::ToDisk(ctx().SelectedPath());
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0) return;
  ui::BusyCursor busy;
  const std::string text = ctx().Text().WholeText();
  const std::string info = bridge::ToPane(ctx().Text().Info(), ctx().Text().View().CodePage());
  WithProgress([&](const auto& cancelled) { return viewer::DumpUnderLines(text, info, cancelled); });
}

}  // namespace haruvi::controllers
