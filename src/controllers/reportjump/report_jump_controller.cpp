#include "controllers/reportjump/report_jump_controller.h"

#include <QAction>
#include <QKeyEvent>
#include <QTimer>
#include <sys/stat.h>

#include "bridge/disk_path.h"
#include "encoding/unicode_convert.h"
#include "encoding/utf8_sjis.h"
#include "shellview/file_view.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

bool OnDisk(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

ReportJumpController::ReportJumpController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"Mreportjump", "結果の行を開く(&O)", "結果の行を開く|Grepの結果の行が示すファイルをその行で開きます (Enter、ダブルクリック)。"},
            [this] { MreportjumpClick(); });
  QAction* back = a.Declare({"Mreportback", "結果に戻る(&B)", "結果に戻る|開く前のGrepの結果に戻ります。"},
                            [this] { MreportbackClick(); });
  back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  back->setShortcutContext(Qt::WindowShortcut);
  back->setEnabled(false);
  pane_ = &ctx.Text().View();
  pane_->View()->installEventFilter(this);
  pane_->View()->viewport()->installEventFilter(this);
}

bool ReportJumpController::eventFilter(QObject* watched, QEvent* event) {
  // Only keys and double clicks concern the jump: while the window is taken down, its
  // widgets still get other events after the window (and the pane) are half gone.
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::MouseButtonDblClick) return false;
  if (!pane_ || !pane_->ReadOnly()) return false;
  if (type == QEvent::KeyPress && watched == pane_->View()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier)
      return MreportjumpClick();
  }
  if (type == QEvent::MouseButtonDblClick && watched == pane_->View()->viewport()) {
    // The double click selects its line first; the jump reads the line it selected.
    QTimer::singleShot(0, this, [this] {
      if (PlaceAtCaret()) MreportjumpClick();
    });
  }
  return false;
}

std::optional<search::ReportPlace> ReportJumpController::PlaceAtCaret() {
  ui::ShownText& text = ctx().Text();
  if (text.Empty()) return std::nullopt;
  viewer::TextPane& pane = text.View();
  const std::string_view bytes = text.WholeBytes();
  const std::size_t line_start = pane.OffsetOfLine(pane.LineOfOffset(pane.Caret()));
  auto place = search::PlaceOfReportLine(bytes, line_start, OnDisk);
  if (!place || !IsRegularFile(place->path)) return std::nullopt;
  // A UTF-16 text's lines are held as UTF-8 (as a UTF-8 report's are); a path it names is too.
  return place;
}

bool ReportJumpController::MreportjumpClick() {
  std::optional<search::ReportPlace> place = PlaceAtCaret();
  if (!place) {
    ctx().Status().SetText(4, QStringLiteral("この行はファイルを示していません"));
    return false;
  }
  ui::ShownText& text = ctx().Text();
  if (!text.MayLeave()) return true;
  viewer::TextPane& pane = text.View();
  KeptReport report{std::string(text.WholeBytes()), text.Form(), text.Info(), pane.FirstVisibleLine(), pane.Caret()};
  const QString path = bridge::FromDisk(place->path);
  const QString name = bridge::FileName(path);
  if (!ctx().MoveToFolder(bridge::FolderOf(path)) ||
      ctx().Files().SelectByCaption(name, Qt::CaseSensitive) == 0) {
    ctx().Status().SetText(4, QStringLiteral("ファイル一覧にありません: ") + bridge::DisplayName(path));
    return true;
  }
  // The list's selection shows the file when the display is instant; else show it now.
  if (text.SourcePath() != place->path) ctx().filedisp();
  std::int64_t line = place->line;
  if (line == 0 && !place->text.empty()) {
    // A line without a number: the first line of the file that reads the same, in the
    // report's code or the file's.
    const std::string_view shown = text.WholeBytes();
    line = search::LineHolding(shown, place->text);
    if (line == 0) {
      const bool report_utf8 = encoding::IsUnicode(report.form);
      const bool file_utf8 = encoding::IsUnicode(text.Form());
      if (report_utf8 && !file_utf8) {
        if (auto sjis = encoding::Utf8ToSjis(place->text)) line = search::LineHolding(shown, *sjis);
      } else if (!report_utf8 && file_utf8) {
        line = search::LineHolding(shown, encoding::SjisToUtf8(place->text));
      }
    }
  }
  text.ShowLineAtTop(std::max<std::int64_t>(line, 1));
  pane.setFocus();
  kept_ = std::move(report);
  ctx().Actions().Get(QStringLiteral("Mreportback"))->setEnabled(true);
  ctx().Status().SetText(4, QStringLiteral("Alt+← で結果に戻ります"));
  return true;
}

void ReportJumpController::MreportbackClick() {
  if (!kept_) return;
  ui::ShownText& text = ctx().Text();
  if (!text.MayLeave()) return;
  KeptReport report = std::move(*kept_);
  kept_.reset();
  ctx().Actions().Get(QStringLiteral("Mreportback"))->setEnabled(false);
  text.Show(std::move(report.bytes), ui::TextOrigin::Changed, report.form);
  text.SetInfo(report.info);
  viewer::TextPane& pane = text.View();
  pane.MoveCaretTo(report.caret);
  pane.ScrollToLine(report.top);
  pane.setFocus();
}

}  // namespace haruvi::controllers
