// ShownText: the one owner of the text the pane shows; see shown_text.h.
#include "ui/shown_text.h"

#include <algorithm>

#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <cstdio>

#include "bridge/pane_text.h"
#include "ui/messages.h"
#include "ui/panel_bar.h"
#include "ui/rest_loader.h"
#include "ui/window_context.h"
#include "viewer/file_display.h"
#include "viewer/file_info.h"
#include "viewer/text_document.h"
#include "viewer/text_pane.h"

namespace haruvi::ui {
namespace {

// The pane changes because this class changes it (nested uses keep the outer mark).
class Own {
 public:
  explicit Own(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~Own() { flag_ = before_; }
  Own(const Own&) = delete;
  Own& operator=(const Own&) = delete;

 private:
  bool& flag_;
  bool before_;
};

// Lines as the pane holds them: each followed by CR LF.
std::string JoinedCrLf(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& l : lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& l : lines) text.append(l).append("\r\n");
  return text;
}

}  // namespace

QColor InfoColorOf(TextOrigin origin, bool editing) {
  if (editing) return QColor(255, 0, 0);
  switch (origin) {
    case TextOrigin::Changed: return QColor(255, 0, 0);
    case TextOrigin::FileAgain:
    case TextOrigin::Converted:
    case TextOrigin::Report: return QColor(0, 0, 255);
    case TextOrigin::Nothing:
    case TextOrigin::File:
    case TextOrigin::Listing: break;
  }
  return QColor(Qt::black);
}

// ---------------------------------------------------------------- the shown text

ShownText::ShownText(viewer::TextPane& pane, QLabel& info, PanelBar& status, QObject* parent)
    : QObject(parent), pane_(pane), info_(info), status_(status), rest_(new RestLoader(this)) {
  connect(rest_, &RestLoader::Loaded, this, [this] {
    if (auto rest = rest_->Take()) ApplyRest(std::move(*rest));
  });
  // Content put into the pane past this class (a test, a stray caller) is no text of
  // ours: its step back and the rest of a big file go.
  connect(&pane_, &viewer::TextPane::ContentChanged, this, [this] {
    if (changing_) return;
    rest_->Cancel();
    Forget();
    ShowLineCount();
  });
  // Typing after a command: the edit's own undo takes it back; the command's step would
  // bring the text from before the typing over it.
  connect(&pane_, &viewer::TextPane::TextEdited, this, [this] {
    unsaved_ = true;
    Forget();
    ShowLineCount();
  });
}

ShownText::~ShownText() = default;

void ShownText::Forget() {
  if (!before_) return;
  before_.reset();
  emit UndoChanged();
}

void ShownText::ApplyColor() {
  QPalette p = info_.palette();
  p.setColor(QPalette::WindowText, InfoColorOf(origin_, Editing()));
  info_.setPalette(p);
}

void ShownText::SetOrigin(TextOrigin origin) {
  origin_ = origin;
  ApplyColor();
}

QString ShownText::Info() const { return info_.text(); }

void ShownText::SetInfo(const QString& text) { info_.setText(text); }

void ShownText::NameFile(const std::string& path) { info_.setText(bridge::FromUtf8(viewer::InfoLineStep1(path))); }

void ShownText::fileinfo(const std::string& path) {
  Clear();
  NameFile(path);
}

void ShownText::MarkSaved(const std::string& path) {
  unsaved_ = false;
  source_path_ = path;
  SetOrigin(TextOrigin::File);
}

void ShownText::WarnStreamFailed(const std::string& error) {
  Warn(pane_.window(), QStringLiteral("ストリームからの読み込みに失敗しました\n") + bridge::FromUtf8(error));
}

void ShownText::ShowLineCount() {
  // While the rest of a big file is read, the count is not known yet.
  const bool pending = rest_->Pending();
  const QString count = pending ? QStringLiteral(" … 行 ") : QStringLiteral(" %1 行 ").arg(pane_.LineCount());
  status_.SetText(1, pane_.IsEmpty() && !pending ? QString() : count);
}

bool ShownText::Empty() const { return pane_.IsEmpty(); }

std::string_view ShownText::WholeBytes() {
  EnsureWhole();
  return pane_.BytesView();
}

std::string ShownText::WholeText() {
  EnsureWhole();
  return pane_.Text();
}

std::string_view ShownText::WholeText(std::string& scratch) {
  EnsureWhole();
  return pane_.TextView(scratch);
}

encoding::TextForm ShownText::Form() const { return pane_.TextForm(); }

// ---------------------------------------------------------------- new content

bool ShownText::ShowFile(viewer::FileDisplay& shown, const std::string& path, TextOrigin origin) {
  const Own own(changing_);
  rest_->Cancel();  // a file still being read is no longer wanted
  Forget();
  unsaved_ = false;
  source_path_ = path;
  origin_ = origin;
  ApplyColor();
  info_.setText(bridge::FromUtf8(shown.info_line));
  if (shown.way != viewer::LoadWay::Nothing && !shown.loaded) {
    // A failing stream load is reported; a failing direct load leaves the pane empty.
    if (shown.way == viewer::LoadWay::Stream) WarnStreamFailed(shown.error);
    pane_.Clear();
    ShowLineCount();
    return shown.way == viewer::LoadWay::Direct;
  }
  if (shown.rich) pane_.SetRichText(*shown.rich, std::move(shown.bytes));
  else if (shown.loaded) pane_.SetText(std::move(shown.bytes), shown.form);
  else pane_.Clear();
  if (shown.preview) {
    // The rest is read and indexed off the window's thread; the line count waits for it.
    pending_step1_ = shown.info_step1;
    pending_kind_ = shown.kind;
    pending_way_ = shown.way;
    rest_->Start(path, shown.size, shown.raw_japanese);
  }
  ShowLineCount();
  emit FileShown();
  return true;
}

void ShownText::ApplyRest(viewer::LoadedRest rest) {
  const Own own(changing_);
  if (rest.loaded) {
    pane_.SetDocument(std::move(rest.document), true, rest.form);
    info_.setText(bridge::FromUtf8(viewer::InfoLineStep2(pending_step1_, pending_kind_, rest.code)));
  } else {
    // The beginning alone is not the file: it goes, and the line keeps its first step.
    pane_.Clear();
    info_.setText(bridge::FromUtf8(pending_way_ == viewer::LoadWay::Direct ? viewer::InfoLineStep2(pending_step1_, "", "")
                                                                            : pending_step1_));
    if (pending_way_ == viewer::LoadWay::Stream) WarnStreamFailed(rest.error);
  }
  ShowLineCount();
}

void ShownText::Show(std::string bytes, TextOrigin origin, encoding::TextForm form) {
  const Own own(changing_);
  rest_->Cancel();
  Forget();
  unsaved_ = false;
  source_path_.clear();
  pane_.SetText(std::move(bytes), form);
  SetOrigin(origin);
  ShowLineCount();
}

void ShownText::ShowLines(const std::vector<std::string>& lines, TextOrigin origin) {
  Show(JoinedCrLf(lines), origin);
}

void ShownText::Clear() {
  const Own own(changing_);
  rest_->Cancel();
  Forget();
  unsaved_ = false;
  source_path_.clear();
  origin_ = TextOrigin::Nothing;
  pane_.Clear();
  ApplyColor();
  ShowLineCount();
}

void ShownText::textclear() {
  Clear();
  info_.clear();
}

// ---------------------------------------------------------------- commands

void ShownText::Replace(std::string bytes, TextOrigin origin, std::optional<encoding::TextForm> form) {
  const bool own = origin == TextOrigin::Report || origin == TextOrigin::Listing;
  ReplaceWith(std::move(bytes), origin, form.value_or(pane_.TextForm()), true, own);
}

void ShownText::ReplaceInOwnLineEnd(std::string bytes, TextOrigin origin) {
  ReplaceWith(std::move(bytes), origin, pane_.TextForm(), true, false, false);
}

void ShownText::ReplaceLineEnds(std::string bytes) {
  ReplaceWith(std::move(bytes), TextOrigin::Converted, pane_.TextForm(), true, true);
}

void ShownText::BeginReport(std::string bytes, encoding::TextForm form, TextOrigin origin) {
  // Its later parts replace the edit model, so the step back is held here, not in it.
  ReplaceWith(std::move(bytes), origin, form, false, true);
  source_path_.clear();  // a report is no file's text, whatever was shown before it
  info_.clear();
}

void ShownText::ReplaceWith(std::string bytes, TextOrigin origin, encoding::TextForm now, bool edit_step,
                            bool own_line_end, bool written_crlf) {
  const Own own(changing_);
  EnsureWhole();
  // One rule for line ends in both modes: a text keeps the line end it was loaded with
  // (a command's CR LF result is written back with it), unless the result brings its
  // own (a line-end command, a report).
  const std::string line_end(own_line_end ? viewer::FirstLineEnd(bytes) : pane_.LineEnd());
  // In simple edit the edit's own undo holds the command as one step, after the typing:
  // every such step keeps its whole result, so a big text keeps one step back instead.
  // The edit model takes CR LF text: a result in another line end goes the other way.
  if (written_crlf && edit_step && Editing() && now == pane_.TextForm() && bytes.size() <= edit_step_limit &&
      pane_.TextLength() <= edit_step_limit) {
    pane_.ReplaceAllWhileEditing(bytes, own_line_end ? std::string_view(line_end) : std::string_view());
    unsaved_ = true;
    SetOrigin(origin);
    ShowLineCount();
    emit UndoChanged();
    return;
  }
  if (!own_line_end && written_crlf && line_end != "\r\n") bytes = viewer::WithLineEnds(bytes, line_end);
  Step step{viewer::ByteBuffer(), pane_.TextForm(), origin_, source_path_, info_.text(), std::string(pane_.LineEnd())};
  // What the pane held is moved out, not copied.
  step.bytes = pane_.ReplaceText(viewer::ByteBuffer(std::move(bytes)), now, line_end);
  before_ = std::move(step);
  if (Editing()) unsaved_ = true;
  if (origin == TextOrigin::Report || origin == TextOrigin::Listing) source_path_.clear();
  SetOrigin(origin);
  ShowLineCount();
  emit UndoChanged();
}

void ShownText::ReplaceLines(const std::vector<std::string>& lines, TextOrigin origin) {
  Replace(JoinedCrLf(lines), origin);
}

void ShownText::ReplaceSelection(std::string_view bytes) {
  const Own own(changing_);
  if (Editing()) {
    pane_.ReplaceSelection(bytes);
    MarkChanged();
    emit UndoChanged();
    return;
  }
  const std::size_t start = pane_.SelStart();
  std::string text = pane_.Text();
  text.replace(start, pane_.SelLength(), bytes);
  Replace(std::move(text));
  pane_.SetSelection(start + bytes.size(), 0);
}

void ShownText::Continue(viewer::TextDocument document) {
  const Own own(changing_);
  pane_.SetDocument(std::move(document), true, pane_.TextForm());
  ShowLineCount();
}

bool ShownText::CanUndo() const { return pane_.CanUndo() || before_.has_value(); }

void ShownText::Undo() {
  const Own own(changing_);
  if (pane_.CanUndo()) {
    pane_.Undo();
    MarkChanged();
    ShowLineCount();
    emit UndoChanged();
    return;
  }
  if (!before_) return;
  Step step = std::move(*before_);
  before_.reset();
  pane_.ReplaceText(std::move(step.bytes), step.form, step.line_end);
  source_path_ = std::move(step.source);
  info_.setText(step.info);
  // Going back is a change of its own: the line turns red, as after any command.
  MarkChanged();
  ShowLineCount();
  emit UndoChanged();
}

// ---------------------------------------------------------------- completeness

void ShownText::EnsureWhole() {
  if (!rest_->Pending()) return;
  BusyCursor busy;
  if (auto rest = rest_->Wait()) ApplyRest(std::move(*rest));
}

bool ShownText::Complete() const { return !rest_->Pending(); }

void ShownText::ShowLineAtTop(std::int64_t line) {
  // A line counted from the end, or one past what is read so far, needs the whole text.
  if (line < 0 || static_cast<std::uint64_t>(line) > pane_.LineCount()) EnsureWhole();
  const auto count = static_cast<std::int64_t>(pane_.LineCount());
  std::int64_t index = line < 0 ? count + line : line - 1;  // from 0
  index = std::clamp<std::int64_t>(index, 0, std::max<std::int64_t>(count - 1, 0));
  pane_.MoveCaretTo(pane_.OffsetOfLine(static_cast<std::size_t>(index)));
  pane_.ScrollToLine(static_cast<std::size_t>(index));
}

// ---------------------------------------------------------------- leaving changed text

bool ShownText::MayLeave() {
  if (!unsaved_) return true;
  LeaveAnswer answer = LeaveAnswer::Discard;
  if (ask_leave) {
    answer = ask_leave();
  } else if (Headless()) {
    std::fputs("変更を保存しますか: 破棄 (no one to ask)\n", stderr);
  } else {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Haruvi"), QStringLiteral("変更を保存しますか"),
                    QMessageBox::NoButton, pane_.window());
    QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    answer = box.clickedButton() == save ? LeaveAnswer::Save
             : box.clickedButton() == discard ? LeaveAnswer::Discard
                                               : LeaveAnswer::Cancel;
  }
  switch (answer) {
    case LeaveAnswer::Cancel: return false;
    case LeaveAnswer::Save:
      // A failed save has said why; the text stays for another try.
      if (!save_ || !save_()) return false;
      unsaved_ = false;
      return true;
    case LeaveAnswer::Discard: break;
  }
  unsaved_ = false;
  return true;
}

// ---------------------------------------------------------------- simple edit

bool ShownText::Editing() const { return !pane_.ReadOnly(); }

void ShownText::editmodeon() {
  if (Editing()) return;
  SetEditing(true);
}

void ShownText::SetEditing(bool on) {
  const Own own(changing_);
  // A big file still being read is edited whole, never its beginning alone.
  if (on) EnsureWhole();
  pane_.SetReadOnly(!on);
  status_.SetText(2, on ? QStringLiteral(" 編集 ") : QStringLiteral(" 閲覧 "), true);
  // Leaving simple edit: the line turns black, the text is kept as it is now.
  if (!on && origin_ == TextOrigin::Changed) origin_ = source_path_.empty() ? TextOrigin::Listing : TextOrigin::File;
  ApplyColor();
  emit EditingChanged(on);
}

}  // namespace haruvi::ui
