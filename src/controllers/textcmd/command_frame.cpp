// CommandFrame: what every text command shares, from reading the pane to putting the
// result back; see command_frame.h.
#include "controllers/textcmd/command_frame.h"

#include <sys/stat.h>

#include <new>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "encoding/line_scan.h"
#include "textcmd/answers.h"
#include "ui/shown_text.h"
#include "ui/window_context.h"
#include "viewer/file_display.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

using Status = textcmd::CommandRun::Status;

// Word wrap off while a command works line by line, back as it was on every way out.
class WrapGuard {
 public:
  WrapGuard(viewer::TextPane& pane, bool off) : pane_(pane), restore_(off && pane.WordWrap()) {
    if (restore_) pane_.SetWordWrap(false);
  }
  ~WrapGuard() {
    if (restore_) pane_.SetWordWrap(true);
  }
  WrapGuard(const WrapGuard&) = delete;
  WrapGuard& operator=(const WrapGuard&) = delete;

 private:
  viewer::TextPane& pane_;
  bool restore_;
};

bool IsHexNumber(const QString& s) {
  if (s.isEmpty()) return false;
  for (QChar c : s)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) return false;
  return true;
}

}  // namespace

QString NotANumber(const QString& answer) {
  return QStringLiteral("'%1' は有効な整数値ではありません。").arg(answer);
}

CommandFrame::CommandFrame(ui::WindowContext& ctx, TextCmdDialogs& dialogs, Way way)
    : ctx_(ctx), dialogs_(dialogs), way_(way) {
  // A big file still being read: the command works on all of it, never its beginning.
  ctx_.Text().EnsureWhole();
  empty_ = ctx_.Text().Empty();
}

CommandFrame::~CommandFrame() {
  // Entered after the text is put back, so the editor is filled once, not twice.
  if (way_.edit || (way_.edit_unless_empty && !empty_)) ctx_.Text().editmodeon();
}

std::size_t CommandFrame::CaretLine() const {
  const viewer::TextPane& pane = ctx_.Text().View();
  return pane.LineOfOffset(pane.SelStart());
}

std::size_t CommandFrame::caretcolumn() const {
  const viewer::TextPane& pane = ctx_.Text().View();
  const std::size_t start = pane.SelStart();
  const std::size_t line_start = pane.OffsetOfLine(pane.LineOfOffset(start));
  if (encoding::IsUnicode(pane.TextForm())) {
    // Counted in the Shift_JIS the command sees: a full-width character is two columns.
    const std::string head = pane.Line(pane.LineOfOffset(start)).substr(0, start - line_start);
    const encoding::SjisView sjis(head, pane.TextForm());
    if (!sjis.Refused()) return sjis.Text().size() + 1;
  }
  return start - line_start + 1;
}

std::optional<std::string> CommandFrame::AskText(const QString& caption, const QString& prompt,
                                                 const QString& initial) {
  std::optional<QString> answer = dialogs_.Text(ctx_.Window(), caption, prompt, initial);
  if (!answer) return std::nullopt;
  return bridge::ToPane(*answer, ctx_.Text().View().ShownPage());
}

std::optional<std::string> CommandFrame::AskInteger(const QString& caption, const QString& prompt,
                                                    const QString& initial) {
  std::optional<QString> answer = dialogs_.Text(ctx_.Window(), caption, prompt, initial);
  if (!answer) return std::nullopt;
  const std::string bytes = answer->toStdString();
  if (!textcmd::ParseInteger(bytes)) {
    dialogs_.Refuse(ctx_.Window(), NotANumber(*answer));
    return std::nullopt;
  }
  return bytes;
}

std::optional<std::string> CommandFrame::AskHex(const QString& caption, const QString& prompt) {
  std::optional<QString> answer = dialogs_.Text(ctx_.Window(), caption, prompt, {});
  if (!answer) return std::nullopt;
  if (!IsHexNumber(answer->trimmed())) {
    dialogs_.Refuse(ctx_.Window(), NotANumber(*answer));
    return std::nullopt;
  }
  return answer->trimmed().toStdString();
}

std::optional<TextCmdDialogs::Columns> CommandFrame::AskColumns(const QString& caption, long long start,
                                                                long long count, bool with_count) {
  return dialogs_.Column(ctx_.Window(), caption, start, count, with_count);
}

bool CommandFrame::Run(std::string_view name, std::vector<std::string> answers,
                       const textcmd::CancelCheck& cancelled) {
  const textcmd::TextCommand* command = textcmd::FindTextCommand(name);
  if (!command) throw std::logic_error("no text command " + std::string(name));
  return RunWork([&](const textcmd::CommandInput& in) {
    if (sjis_ && sjis_->Converted())
      for (std::string& a : answers)
        if (auto sjis = sjis_->ToCommand(a)) a = std::move(*sjis);
    return textcmd::RunTextCommand(*command, answers, in, cancelled);
  });
}

bool CommandFrame::RunWork(const Work& work) {
  textcmd::CommandRun run;
  {
    ui::BusyCursor busy;
    WrapGuard wrap(ctx_.Text().View(), way_.wrap_off);
    try {
      sjis_.emplace(ctx_.Text().Sjis(ctx_.Text().View().BytesView()));
      if (sjis_->Refused()) {
        run.status = Status::kRefused;
        run.message = encoding::kTooManyWithoutSjis;
      } else {
        const std::string_view text = sjis_->Text();
        const textcmd::LineIndex lines(text);  // walked, never listed: short lines cost nothing
        run = work(textcmd::CommandInput{text, lines});
        if (run.status == Status::kDone) return Apply(std::move(run), false);
      }
    } catch (const std::bad_alloc&) {
      run.status = Status::kFailed;
      run.message = "out of memory";
    }
  }
  sjis_.reset();
  // Said once the cursor is back.
  dialogs_.Refuse(ctx_.Window(), run.status == Status::kFailed
                                     ? QStringLiteral("テキストを処理できませんでした。(%1)").arg(bridge::FromUtf8(run.message))
                                     : bridge::FromUtf8(run.message));
  return false;
}

bool CommandFrame::RunOnFile(std::string_view name, std::vector<std::string> answers) {
  const textcmd::TextCommand* command = textcmd::FindTextCommand(name);
  if (!command) throw std::logic_error("no text command " + std::string(name));
  const std::string path = bridge::ToDisk(ctx_.SelectedPath());
  struct stat st {};
  // Only a regular file is read: a FIFO or a device would block or never end.
  auto regular = [&] { return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode); };
  if (path.empty() || !regular()) return false;
  // The file's bytes take the place of the text: changes typed into it are asked about
  // (a save changes the file, so it is looked at again).
  if (!ctx_.Text().MayLeave() || !regular()) return false;
  textcmd::CommandRun run;
  {
    ui::BusyCursor busy;
    std::string error;
    std::optional<viewer::ByteBuffer> bytes;
    try {
      bytes = viewer::ReadWholeFile(path, static_cast<std::uint64_t>(st.st_size), &error);
    } catch (const std::bad_alloc&) {
      error = "out of memory";
    }
    if (bytes) {
      run = textcmd::RunTextCommand(*command, answers, textcmd::CommandInput{bytes->view(), {}});
      if (run.status == Status::kDone) return Apply(std::move(run), true);
    } else {
      run.status = Status::kFailed;
      run.message = error;
    }
  }
  dialogs_.Refuse(ctx_.Window(), QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2")
                                     .arg(bridge::DisplayName(ctx_.SelectedPath()), bridge::FromUtf8(run.message)));
  return false;
}

bool CommandFrame::Apply(textcmd::CommandRun run, bool from_file) {
  // A stopped command's result is what it made before it stopped, ending with the line
  // "中断しました！" the command writes: it goes into the pane like any result, and the
  // caller learns it was stopped.
  const bool stopped = run.output.cancelled;
  // A text of another line end (LF, CR) that is only viewed takes the result written with
  // it at once: a CR LF copy converted afterwards would cost twice the text once more.
  // Stand-ins turn back on the CR LF text; the edit model takes CR LF.
  const std::string line_end(ctx_.Text().View().LineEnd());
  const bool own_line_end = !from_file && line_end != "\r\n" && !(sjis_ && sjis_->Converted()) &&
                            !ctx_.Text().Editing();
  // A kText result whole, NUL bytes and all.
  std::string text = own_line_end ? run.output.TakePaneText(line_end) : run.output.TakePaneText();
  // Only a text that went to the command through stand-ins comes back through them; any
  // other is the pane's already, and is not copied once more.
  if (sjis_ && !from_file && sjis_->Converted()) text = sjis_->ToPane(text);
  sjis_.reset();
  // A command on the file's own bytes (a line-end command) gives the file converted, with
  // the line end it made; on the shown text, a change.
  if (from_file) ctx_.Text().ReplaceLineEnds(std::move(text));
  else if (own_line_end) ctx_.Text().ReplaceInOwnLineEnd(std::move(text));
  else ctx_.Text().Replace(std::move(text), ui::TextOrigin::Changed);
  return !stopped;
}

}  // namespace haruvi::controllers
