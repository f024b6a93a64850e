// The line commands that ask or look before they run: serial numbers, the caret's line,
// line ends in the selection, repeated and same-key lines, and width and kana. Each states
// its scope, answers and mode; the table does the work.
#include <QString>
#include <string>

#include "controllers/textcmd/command_frame.h"
#include "controllers/textcmd/textcmd_controller.h"
#include "encoding/width.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

// Simple edit is entered whatever happens.
constexpr CommandFrame::Way kEdit{.edit = true};

std::string Number(std::size_t n) { return std::to_string(n); }

}  // namespace

void TextCmdController::Mrenban1Click() {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  // The lines touched by the selection, both ends included; without one, every line.
  const viewer::TextPane& pane = ctx().Text().View();
  std::size_t first = 0, last = pane.LineCount() - 1;
  if (pane.SelLength() > 0) {
    first = pane.LineOfOffset(pane.SelStart());
    last = pane.LineOfOffset(pane.SelStart() + pane.SelLength());
  }
  auto format = f.AskText(QStringLiteral("連番の書式入力"), QStringLiteral("書式:(文字)+数字 例) X0000"));
  if (!format) return;
  auto start = f.AskInteger(QStringLiteral("連番の初期数値"), QStringLiteral("初期数値 例) 1"));
  if (!start) return;
  f.Run("serial-lines", {*format, *start, Number(first + 1), Number(last + 1)});
}

void TextCmdController::Mupperlinecopy1Click() {
  CommandFrame f = Frame();
  if (!f.Empty()) f.Run("dup-line", {Number(f.CaretLine() + 1)});
}

void TextCmdController::Monelinedelete1Click() {
  CommandFrame f = Frame();
  if (!f.Empty()) f.Run("del-line", {Number(f.CaretLine() + 1)});
}

void TextCmdController::McrdelClick() {
  CommandFrame f = Frame(kEdit);
  if (f.Empty()) return;
  // Inside the selection only when there is one.
  const viewer::TextPane& pane = ctx().Text().View();
  if (pane.SelLength() > 0) f.Run("del-line-ends-range", {Number(pane.SelStart()), Number(pane.SelLength())});
  else f.Run("del-line-ends", {});
}

void TextCmdController::Msameline1Click() {
  CommandFrame f = Frame(kEdit);
  if (ctx().Text().View().LineCount() >= 2) f.Run("del-repeated", {});
}

void TextCmdController::MopacdeleteClick() {
  CommandFrame f = Frame(kEdit);
  if (f.Empty()) return;
  auto n = f.AskInteger(QStringLiteral("同じ項目削除"), QStringLiteral("項目：行頭からの桁数(半角での桁数)"),
                        QString::number(f.caretcolumn()));
  if (n) f.Run("del-same-key", {*n});
}

// ---------------------------------------------------------------- width and kana

void TextCmdController::Width(std::string (*convert)(std::string_view)) {
  CommandFrame f = Frame();
  if (f.Empty()) return;
  f.RunWork([&](const textcmd::CommandInput& in) {
    textcmd::CommandRun run;
    // The whole text with CR LF line ends, as the pane hands it out; the result goes back
    // whole (the pane splits it into the same lines as a list of lines would give).
    run.output = textcmd::CommandOutput::OfText(convert(textcmd::JoinLines(in.lines)));
    return run;
  });
}

void TextCmdController::Mhanktozen1Click() { Width(&encoding::HankakuToZenkaku); }
void TextCmdController::Mzentohank1Click() { Width(&encoding::ZenkakuToHankaku); }
void TextCmdController::Mhkanatozkana1Click() { Width(&encoding::HalfKanaToFull); }

}  // namespace haruvi::controllers
