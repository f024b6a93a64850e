// The print commands.
#include "controllers/print/print_controller.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QPrintDialog>
#include <QPrinter>

#include "bridge/disk_path.h"
#include "controllers/print/margin_dialog.h"
#include "dialogs/progress_dialog.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

PrintController::PrintController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"Mprint", "印刷(&P)", "印刷|テキストを印刷します。"}, [this] { MprintClick(); })
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  a.Declare({"Mprintset", "印刷設定(&U)", "印刷設定|印刷の余白を設定します。"}, [this] { MprintsetClick(); });
  a.Declare({"Mprinter1", "プリンタ設定(&T)...", "プリンタ設定|プリンタを設定します。"}, [this] { Mprinter1Click(); });
}

PrintController::~PrintController() = default;

std::vector<platform::KeyInfo> PrintController::Keys() const { return {kTop.info, kLeft.info, kBottom.info, kRight.info}; }

QPrinter& PrintController::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

systools::Margins PrintController::StoredMargins() const {
  const platform::Settings& ini = ctx().Settings();
  return {systools::MarginValue(ini.Read(kTop)), systools::MarginValue(ini.Read(kLeft)),
          systools::MarginValue(ini.Read(kBottom)), systools::MarginValue(ini.Read(kRight))};
}

print::PrintResult PrintController::PrintPane(QPrinter& printer) {
  const std::string_view bytes = ctx().Text().WholeBytes();  // never a big file's beginning alone
  viewer::TextPane& pane = ctx().Text().View();
  const QString path = ctx().SelectedPath();
  printer.setDocName(path.isEmpty() ? QStringLiteral("Haruvi") : bridge::DisplayName(bridge::FileName(path)));
  const systools::PageRect rect = systools::ApplyMargins(print::MetricsOf(printer), StoredMargins());
  dialogs::TForm24 progress(QStringLiteral("印刷"), QStringLiteral("印刷中です"), path, ctx().Window());
  progress.show();
  // A cancel mark left by an earlier window (closing one leaves it) would stop this print
  // after its first page.
  ctx().Flags().worktext.clear();
  const auto cancelled = progress.CancelPoll(ctx().Flags().worktext);
  const print::PrintResult r =
      print::PrintText(printer, bytes, pane.ShownPage(), pane.PaneFont(), pane.TabWidth(), rect, [&](int pages, std::size_t done) {
        progress.Ldump2->setText(QStringLiteral("印刷中です %1 ページ (%2%)")
                                     .arg(pages)
                                     .arg(bytes.empty() ? 100 : static_cast<int>(done * 100 / bytes.size())));
        return !cancelled();
      });
  progress.close();
  return r;
}

void PrintController::MprintClick() {
  QPrinter& printer = Printer();
  QPrintDialog dialog(&printer, ctx().Window());
  if (dialog.exec() != QDialog::Accepted) return;
  const print::PrintResult r = PrintPane(printer);
  if (!r.error.isEmpty()) ui::Warn(ctx().Window(), r.error);
}

void PrintController::Mprinter1Click() {
  QPrintDialog dialog(&Printer(), ctx().Window());
  dialog.setWindowTitle(QStringLiteral("プリンタ設定"));
  // A setup chooses the printer and its paper and prints nothing: its button says so, and
  // printing into a file (whose name a setup would ask to overwrite) is chosen when printing.
  dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
    if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
  dialog.exec();  // the choice stays with the printer; nothing is printed
}

void PrintController::MprintsetClick() {
  QPrinter& printer = Printer();
  TForm6 form(print::MetricsOf(printer), print::PaperCodeOf(printer), ctx().Window());
  form.Load(StoredMargins());
  if (form.exec() != QDialog::Accepted) return;
  platform::Settings& ini = ctx().Settings();
  const systools::Margins m = form.Entered();
  ini.Write(kTop, std::to_string(m.top));
  ini.Write(kLeft, std::to_string(m.left));
  ini.Write(kBottom, std::to_string(m.bottom));
  ini.Write(kRight, std::to_string(m.right));
}

}  // namespace haruvi::controllers
