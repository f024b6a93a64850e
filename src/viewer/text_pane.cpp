#include "viewer/text_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTextCursor>
#include <QTextEdit>

#include "viewer/byte_view.h"
#include "viewer/rtf_reader.h"

namespace haruvi::viewer {
namespace {

QString ToQString(const std::u16string& s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

}  // namespace

QString DecodeForDisplay(std::string_view bytes, encoding::CodePage page) {
  return ToQString(encoding::PaneCodec::For(page).Decode(bytes));
}

TextPane::TextPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("RichEdit1"));
  view_ = new ByteView(this);
  view_->SetDocument(&doc_);
  rich_view_ = new QTextEdit(this);
  rich_view_->setReadOnly(true);
  rich_view_->setLineWrapMode(QTextEdit::NoWrap);
  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(view_);
  stack_->addWidget(rich_view_);
  setFocusProxy(view_);
  connect(view_, &ByteView::CaretMoved, this, &TextPane::CaretMoved);
  connect(view_, &ByteView::Edited, this, [this] {
    edited_crlf_.reset();
    edited_bytes_.reset();
    rich_ = false;  // the formatted view no longer shows this text
    emit TextEdited();
  });
  connect(view_, &ByteView::Substituted, this, [this](std::size_t n) {
    unmappable_ += n;
    emit Substituted(n);
  });
  SetTabWidth(8);
}

TextPane::~TextPane() = default;

void TextPane::ShowPage(QWidget* page) {
  stack_->setCurrentWidget(page);
  setFocusProxy(page);
}

void TextPane::SetText(std::string bytes, encoding::TextForm form) { SetText(ByteBuffer(std::move(bytes)), form); }

void TextPane::SetForm(encoding::TextForm form) {
  form_ = form;
  page_ = encoding::IsUnicode(form)          ? encoding::CodePage::Utf8
          : form == encoding::TextForm::EucJp ? encoding::CodePage::EucJp
          : form == encoding::TextForm::Jis   ? encoding::CodePage::Iso2022Jp
                                              : font_page_;
  view_->SetCodePage(page_);
}

const LineSource& TextPane::Source() const {
  if (edit_) return *edit_;
  return doc_;
}

void TextPane::BeginEditing() {
  edit_ = std::make_unique<EditDocument>(std::move(doc_), line_end_);
  editing_lines_ = std::make_unique<EditingLines>(*edit_);
  edited_crlf_.reset();
  edited_bytes_.reset();
  view_->SwapDocument(editing_lines_.get());
  view_->SetEditable(edit_.get());
}

void TextPane::DropEditModel() {
  edit_.reset();
  editing_lines_.reset();
  edited_crlf_.reset();
  edited_bytes_.reset();
}

void TextPane::EndEditing() {
  if (!edit_) return;
  const std::string line_end(edit_->LineEnd());
  if (edit_->AtOriginal()) {
    doc_ = edit_->TakeOriginal();
  } else {
    doc_.SetBytes(std::string(EditedBytes()));
  }
  line_end_ = line_end;  // also for a text with no line end yet
  view_->SwapDocument(&doc_);
  DropEditModel();
}

void TextPane::SetText(ByteBuffer bytes, encoding::TextForm form) {
  TextDocument document;
  document.SetBytes(std::move(bytes));
  SetDocument(std::move(document), false, form);
}

void TextPane::SetDocument(TextDocument document, bool keep_view, encoding::TextForm form) {
  const std::size_t top = view_->FirstVisibleLine();
  const std::size_t caret = view_->Caret();
  SetForm(form);
  rich_ = false;
  unmappable_ = 0;
  DropEditModel();
  doc_ = std::move(document);
  line_end_ = std::string(FirstLineEnd(next_line_end_.empty() ? doc_.Bytes() : std::string_view(next_line_end_)));
  next_line_end_.clear();
  view_->SetDocument(&doc_);
  if (keep_view) {
    view_->SetSelection(std::min(caret, doc_.TextCrLfLength()), 0);
    view_->ScrollToLine(top);
  }
  if (!read_only_) BeginEditing();  // simple edit keeps editing the new text
  ShowPage(view_);
  emit ContentChanged();
}

ByteBuffer TextPane::ReplaceText(ByteBuffer bytes, encoding::TextForm form, std::string_view line_end) {
  ByteBuffer before;
  if (Edited()) {
    EditedBytes();
    before = ByteBuffer(std::move(*edited_bytes_));
  } else if (edit_) {
    before = edit_->TakeOriginal().TakeBuffer();
  } else {
    before = doc_.TakeBuffer();
  }
  next_line_end_ = line_end;
  SetText(std::move(bytes), form);
  return before;
}

void TextPane::SetLines(const std::vector<std::string>& lines, encoding::TextForm form) {
  std::string text;
  std::size_t total = 0;
  for (const std::string& l : lines) total += l.size() + 2;
  text.reserve(total);
  for (const std::string& l : lines) {
    text += l;
    text += "\r\n";
  }
  SetText(std::move(text), form);
}

void TextPane::Clear() { SetText(std::string()); }

bool TextPane::IsEmpty() const {
  if (rich_) return rich_view_->document()->isEmpty();
  return Source().TextCrLfLength() == 0;
}

bool TextPane::SetRichText(std::string_view bytes) {
  std::optional<RtfDocument> rtf = ReadRtf(bytes, page_);
  if (!rtf) return false;
  SetRichText(*rtf, std::nullopt);
  return true;
}

void TextPane::SetRichText(const RtfDocument& rtf, std::optional<ByteBuffer> shown_bytes) {
  SetText(std::string());
  rich_view_->clear();
  QTextCursor cursor(rich_view_->document());
  for (size_t i = 0; i < rtf.paragraphs.size(); ++i) {
    if (i) cursor.insertBlock();
    for (const RtfRun& run : rtf.paragraphs[i].runs) {
      QTextCharFormat f;
      f.setFont(font_);
      f.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
      f.setFontItalic(run.italic);
      f.setFontUnderline(run.underline);
      f.setFontStrikeOut(run.strike_out);
      if (run.half_points > 0) f.setFontPointSize(run.half_points / 2.0);
      f.setForeground(run.has_color ? QColor::fromRgb(run.color) : color_);
      cursor.insertText(ToQString(run.text), f);
    }
  }
  rich_view_->moveCursor(QTextCursor::Start);
  if (shown_bytes) {
    doc_.SetBytes(std::move(*shown_bytes));
  } else {
    // The pane's bytes are the shown text in its code page, as a rich-edit control's are.
    QString plain = rich_view_->toPlainText();
    plain.replace(QChar(0x2028), QLatin1Char('\n'));
    doc_.SetBytes(encoding::PaneCodec::For(page_).Encode(ToU16(plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n")))));
  }
  view_->SetDocument(&doc_);
  if (!read_only_) {
    // Simple edit edits the text itself, not its formatting.
    BeginEditing();
    ShowPage(view_);
  } else {
    rich_ = true;
    ShowPage(rich_view_);
  }
  emit ContentChanged();
}

const std::string& TextPane::EditedCrLf() const {
  if (!edited_crlf_) edited_crlf_ = edit_->Bytes();
  return *edited_crlf_;
}

const std::string& TextPane::EditedBytes() const {
  if (!edited_bytes_) edited_bytes_ = WithLineEnds(EditedCrLf(), edit_->LineEnd());
  return *edited_bytes_;
}

std::string TextPane::Text() const {
  if (Edited()) return EditedCrLf();
  return Shown().TextCrLf();
}

std::string TextPane::Bytes() const { return std::string(BytesView()); }

std::string_view TextPane::BytesView() const {
  if (Edited()) return EditedBytes();
  return Shown().Bytes();
}

std::string_view TextPane::TextView(std::string& scratch) const {
  if (Edited()) return EditedCrLf();
  const TextDocument& shown = Shown();
  if (shown.TextCrLfLength() == shown.Bytes().size()) return shown.Bytes();
  scratch = shown.TextCrLf();
  return scratch;
}

std::size_t TextPane::LineCount() const { return Source().LineCount(); }

std::string TextPane::Line(std::size_t line) const { return std::string(Source().Line(line)); }

std::vector<std::string> TextPane::Lines() const {
  const LineSource& source = Source();
  std::vector<std::string> lines;
  lines.reserve(source.LineCount());
  for (std::size_t i = 0; i < source.LineCount(); ++i) lines.emplace_back(source.Line(i));
  return lines;
}

std::size_t TextPane::SelStart() const { return view_->SelStart(); }
std::size_t TextPane::SelLength() const { return view_->SelLength(); }
std::size_t TextPane::Caret() const { return view_->Caret(); }

void TextPane::SetSelection(std::size_t start, std::size_t length) {
  view_->SetSelection(start, length);
  view_->EnsureCaretVisible();
}

std::string TextPane::SelectedText() const { return Source().SliceCrLf(SelStart(), SelLength()); }

std::size_t TextPane::LineOfOffset(std::size_t offset) const {
  // As the view shows it: while editing, the very end after a final line end is a line.
  if (editing_lines_) return editing_lines_->LineOfOffset(offset);
  return Source().LineOfOffset(offset);
}

std::size_t TextPane::OffsetOfLine(std::size_t line) const { return Source().LineStart(line); }

std::size_t TextPane::CharsBefore(std::size_t offset) const { return view_->CharsBefore(offset); }

std::size_t TextPane::FirstVisibleLine() const {
  if (stack_->currentWidget() == rich_view_) return static_cast<std::size_t>(rich_view_->cursorForPosition(QPoint(0, 0)).blockNumber());
  return view_->FirstVisibleLine();
}

void TextPane::ScrollToLine(std::size_t line) { view_->ScrollToLine(line); }

void TextPane::ScrollLines(int lines) {
  const long long target = static_cast<long long>(FirstVisibleLine()) + lines;
  ScrollToLine(static_cast<std::size_t>(std::max<long long>(0, target)));
}

void TextPane::SetReadOnly(bool on) {
  if (on == read_only_) return;
  read_only_ = on;
  if (on) {
    const bool edited = Edited();
    EndEditing();
    ShowPage(rich_ && !edited ? static_cast<QWidget*>(rich_view_) : view_);
    return;
  }
  BeginEditing();
  ShowPage(view_);
}

bool TextPane::CanUndo() const { return edit_ && edit_->CanUndo(); }
void TextPane::Undo() { view_->UndoEdit(); }
bool TextPane::CanRedo() const { return edit_ && edit_->CanRedo(); }
void TextPane::Redo() { view_->RedoEdit(); }

void TextPane::Copy() {
  view_->CopySelection();
}

void TextPane::Cut() {
  if (read_only_ || !HasSelection()) return;
  view_->CutSelection();
}

std::size_t TextPane::Paste() {
  if (read_only_ || !ClipboardHasText()) return 0;
  return view_->PasteClipboard();
}

void TextPane::Type(const QString& text) {
  if (!read_only_) view_->InsertText(text, true);
}

void TextPane::ReplaceSelection(std::string_view bytes) {
  const std::size_t start = SelStart();
  if (!read_only_) {
    view_->ReplaceSelectionBytes(bytes);
    return;
  }
  std::string text = Text();
  text.replace(start, SelLength(), bytes);
  SetText(std::move(text), form_);
  SetSelection(start + bytes.size(), 0);
}

void TextPane::ReplaceAllWhileEditing(std::string_view bytes, std::string_view line_end) {
  if (read_only_) return;
  // The edit model holds CR LF text: a result with other line ends is written so first.
  const std::string crlf = WithCrLfEnds(bytes);
  view_->ReplaceAllBytes(crlf, line_end);
}

std::string_view TextPane::LineEnd() const { return edit_ ? edit_->LineEnd() : std::string_view(line_end_); }

void TextPane::SetLineEnd(std::string_view line_end) {
  if (!edit_) line_end_ = std::string(FirstLineEnd(line_end));
}

void TextPane::DeleteSelection() {
  if (read_only_ || !HasSelection()) return;
  view_->DeleteSelection();
}

void TextPane::SelectAll() { view_->SelectAll(); }

bool TextPane::ClipboardHasText() {
  const QClipboard* c = QApplication::clipboard();
  return c && !c->text().isEmpty();
}

void TextPane::MoveCaretTo(std::size_t offset) { SetSelection(offset, 0); }

void TextPane::SetWordWrap(bool on) {
  wrap_ = on;
  view_->SetWordWrap(on);
  rich_view_->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

void TextPane::ApplyFontTo(QWidget* w) const {
  w->setFont(font_);
  QPalette p = w->palette();
  p.setColor(QPalette::Text, color_);
  w->setPalette(p);
}

void TextPane::SetPaneFont(const QFont& font, const QColor& color) {
  font_ = font;
  color_ = color;
  for (QWidget* w : {static_cast<QWidget*>(view_), static_cast<QWidget*>(rich_view_)})
    ApplyFontTo(w);
  view_->SetTextColor(color);
  SetTabWidth(tab_width_);
}

void TextPane::SetCodePage(encoding::CodePage page) {
  font_page_ = page;
  SetForm(form_);
}

void TextPane::SetTabWidth(int tab_width) {
  tab_width_ = tab_width > 0 ? tab_width : 8;
  // The width of "M" measured over a long run, as the tab stops are defined.
  const QFontMetricsF m(font_);
  const qreal m_width = m.horizontalAdvance(QString(512, QLatin1Char('M'))) / 512.0;
  tab_distance_ = tab_width_ * m_width;
  view_->SetTabStopDistance(tab_distance_);
  rich_view_->setTabStopDistance(tab_distance_);
}

}  // namespace haruvi::viewer
