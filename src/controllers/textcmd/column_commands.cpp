// The column commands (break, insert, delete and extract at byte columns), the CSV join,
// and HTML stripping, which runs with the progress window and Cancel.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <string>

#include "controllers/textcmd/command_frame.h"
#include "controllers/textcmd/textcmd_controller.h"
#include "dialogs/progress_dialog.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

std::string Number(long long n) { return std::to_string(n); }

const QString kCsvCaption = QStringLiteral("行->CSVデータ変換");
const QString kInsertPrompt = QStringLiteral("挿入する文字を入力して下さい");

}  // namespace

// ---------------------------------------------------------------- columns

void TextCmdController::MinsertCR1Click() {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  auto columns = f.AskColumns(QStringLiteral("指定位置で改行"), static_cast<long long>(f.caretcolumn()), 1, false);
  if (columns) f.Run("break", {Number(columns->start)});
}

void TextCmdController::InsertCommand(const char* command, const QString& caption) {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  auto text = f.AskText(caption, kInsertPrompt);
  if (!text) return;
  auto columns = f.AskColumns(caption, static_cast<long long>(f.caretcolumn()), 1, false);
  if (columns) f.Run(command, {Number(columns->start), *text});
}

void TextCmdController::MinsertChr1Click() { InsertCommand("break-insert", QStringLiteral("指定桁位置に文字＋改行を挿入")); }
void TextCmdController::MinsertChar1Click() { InsertCommand("insert", QStringLiteral("指定桁位置に文字を挿入")); }

void TextCmdController::ColumnCommand(const char* command, const QString& caption) {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  // From the caret's column, as many bytes as are selected.
  auto columns = f.AskColumns(caption, static_cast<long long>(f.caretcolumn()),
                              static_cast<long long>(ctx().Text().View().SelLength()), true);
  if (columns) f.Run(command, {Number(columns->start), Number(columns->count)});
}

void TextCmdController::Mcolumndelete1Click() { ColumnCommand("del-columns", QStringLiteral("桁削除")); }
void TextCmdController::Mcolumncopy1Click() { ColumnCommand("extract-columns", QStringLiteral("桁抽出")); }

// ---------------------------------------------------------------- CSV

void TextCmdController::linecsv(CommandFrame& f, std::string quote, std::string separator) {
  auto group = f.AskInteger(kCsvCaption, QStringLiteral("１レコードの行数"));
  if (group) f.Run("csv", {*group, std::move(quote), std::move(separator)});
}

#define HARUVI_CSV_ITEM(handler, quote, separator) \
  void TextCmdController::handler() {              \
    CommandFrame f = Frame();                      \
    if (!f.Empty()) linecsv(f, quote, separator);  \
  }
HARUVI_CSV_ITEM(MlineCSVaClick, "\"", ",")
HARUVI_CSV_ITEM(MlineCSVbClick, "'", ",")
HARUVI_CSV_ITEM(MlineCSVcClick, "", ",")
HARUVI_CSV_ITEM(MlineCSVdClick, "", "\t")
HARUVI_CSV_ITEM(MlineCSVfClick, "", " ")
HARUVI_CSV_ITEM(MlineCSVeClick, "", "")
#undef HARUVI_CSV_ITEM

void TextCmdController::MlineCSVhClick() {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  auto hex = f.AskHex(kCsvCaption, QStringLiteral("１６進区切り文字(01-FF)"));
  if (!hex) return;
  auto group = f.AskInteger(kCsvCaption, QStringLiteral("１レコードの行数"));
  if (group) f.Run("csv-hex", {*group, *hex});
}

void TextCmdController::MlineCSVgClick() {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  auto separator = f.AskText(kCsvCaption, QStringLiteral("区切り文字"));
  if (separator) linecsv(f, "", *separator);
}

// ---------------------------------------------------------------- HTML

void TextCmdController::StripHtml(const char* command, bool edit_after) {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  ui::WindowFlags& flags = ctx().Flags();
  flags.worktext.clear();
  dialogs::TForm24 progress(QStringLiteral("html->テキスト"), QStringLiteral("htmlをテキストに変換中．．．"),
                            ctx().SelectedPath(), ctx().Window());
  const std::function<bool()> cancelled = progress.CancelPoll(flags.worktext);
  progress.show();
  const bool done = f.Run(command, {}, cancelled);
  progress.hide();
  flags.worktext.clear();
  // The extraction items end with the empty-line deletion, which enters simple edit.
  if (done && edit_after) ctx().Text().editmodeon();
}

void TextCmdController::MhtmlClick() { StripHtml("html", false); }
void TextCmdController::MhtmlallClick() { StripHtml("html-all", true); }
void TextCmdController::html2Click() { StripHtml("html-tabs", true); }
void TextCmdController::htmlTAB1Click() { StripHtml("html-empty", true); }

}  // namespace haruvi::controllers
