#include "viewer/text_pane.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedLayout>
#include <QTextBlock>
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
  editor_ = new QPlainTextEdit(this);
  editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(view_);
  stack_->addWidget(rich_view_);
  stack_->addWidget(editor_);
  setFocusProxy(view_);
  connect(view_, &ByteView::CaretMoved, this, &TextPane::CaretMoved);
  connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, &TextPane::CaretMoved);
  connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
    edited_ = true;
    emit TextEdited();
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
  page_ = encoding::IsUnicode(form) ? encoding::CodePage::Utf8 : font_page_;
  view_->SetCodePage(page_);
}

void TextPane::SetText(ByteBuffer bytes, encoding::TextForm form) {
  SetForm(form);
  rich_ = false;
  edited_ = false;
  unmappable_ = 0;
  doc_.SetBytes(std::move(bytes));
  view_->Reset();
  if (!read_only_) {
    // Simple edit keeps editing the new text.
    const QSignalBlocker block(editor_);
    editor_->setPlainText(DecodeForDisplay(doc_.TextCrLf(), page_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ShowPage(editor_);
  } else {
    ShowPage(view_);
  }
  emit ContentChanged();
}

void TextPane::SetDocument(TextDocument document, bool keep_view, encoding::TextForm form) {
  const std::size_t top = view_->FirstVisibleLine();
  const std::size_t caret = view_->Caret();
  SetForm(form);
  rich_ = false;
  edited_ = false;
  unmappable_ = 0;
  doc_ = std::move(document);
  view_->Reset();
  if (keep_view) {
    view_->SetSelection(std::min(caret, doc_.TextCrLfLength()), 0);
    view_->ScrollToLine(top);
  }
  if (!read_only_) {
    const QSignalBlocker block(editor_);
    editor_->setPlainText(DecodeForDisplay(doc_.TextCrLf(), page_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    ShowPage(editor_);
  } else {
    ShowPage(view_);
  }
  emit ContentChanged();
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
  if (edited_) return editor_->document()->isEmpty();
  if (rich_) return rich_view_->document()->isEmpty();
  return doc_.Empty();
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
  view_->Reset();
  rich_ = true;
  ShowPage(rich_view_);
  emit ContentChanged();
}

void TextPane::SyncFromEditor() const {
  if (!edited_) return;
  QString text = editor_->toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  size_t unmappable = 0;
  std::string bytes = encoding::PaneCodec::For(page_).Encode(ToU16(text), &unmappable);
  unmappable_ = unmappable;
  doc_.SetBytes(std::move(bytes));
  edited_ = false;
  view_->Reset();
}

std::string TextPane::Text() const {
  SyncFromEditor();
  return doc_.TextCrLf();
}

std::string TextPane::Bytes() const {
  SyncFromEditor();
  return std::string(doc_.Bytes());
}

std::string_view TextPane::BytesView() const {
  SyncFromEditor();
  return doc_.Bytes();
}

std::string_view TextPane::TextView(std::string& scratch) const {
  SyncFromEditor();
  if (doc_.TextCrLfLength() == doc_.Bytes().size()) return doc_.Bytes();
  scratch = doc_.TextCrLf();
  return scratch;
}

std::size_t TextPane::LineCount() const {
  SyncFromEditor();
  return doc_.LineCount();
}

std::string TextPane::Line(std::size_t line) const {
  SyncFromEditor();
  return std::string(doc_.Line(line));
}

std::vector<std::string> TextPane::Lines() const {
  SyncFromEditor();
  std::vector<std::string> lines;
  lines.reserve(doc_.LineCount());
  for (std::size_t i = 0; i < doc_.LineCount(); ++i) lines.emplace_back(doc_.Line(i));
  return lines;
}

namespace {

// Byte offset of a character position in the editor's text (each "\n" counts as CR LF).
std::size_t ByteOffsetOf(const QString& text, int pos, encoding::CodePage page) {
  QString head = text.left(pos);
  head.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return encoding::PaneCodec::For(page).Encode(ToU16(head)).size();
}

}  // namespace

std::size_t TextPane::SelStart() const {
  if (stack_->currentWidget() == editor_)
    return ByteOffsetOf(editor_->toPlainText(), editor_->textCursor().selectionStart(), page_);
  return view_->SelStart();
}

std::size_t TextPane::SelLength() const {
  if (stack_->currentWidget() == editor_) {
    const QTextCursor c = editor_->textCursor();
    const QString text = editor_->toPlainText();
    return ByteOffsetOf(text, c.selectionEnd(), page_) - ByteOffsetOf(text, c.selectionStart(), page_);
  }
  return view_->SelLength();
}

std::size_t TextPane::Caret() const {
  if (stack_->currentWidget() == editor_)
    return ByteOffsetOf(editor_->toPlainText(), editor_->textCursor().position(), page_);
  return view_->Caret();
}

void TextPane::SetSelection(std::size_t start, std::size_t length) {
  if (stack_->currentWidget() == editor_) {
    // Map byte offsets back to characters by walking the decoded text.
    const std::string text = Text();
    const auto& codec = encoding::PaneCodec::For(page_);
    auto chars_before = [&](std::size_t byte) {
      QString s = ToQString(codec.Decode(std::string_view(text).substr(0, std::min(byte, text.size()))));
      return static_cast<int>(s.size() - s.count(QStringLiteral("\r\n")));
    };
    QTextCursor c = editor_->textCursor();
    c.setPosition(chars_before(start));
    c.setPosition(chars_before(start + length), QTextCursor::KeepAnchor);
    editor_->setTextCursor(c);
    return;
  }
  view_->SetSelection(start, length);
  view_->EnsureCaretVisible();
}

std::string TextPane::SelectedText() const {
  SyncFromEditor();
  return doc_.SliceCrLf(SelStart(), SelLength());
}

std::size_t TextPane::LineOfOffset(std::size_t offset) const {
  SyncFromEditor();
  return doc_.LineOfOffset(offset);
}

std::size_t TextPane::OffsetOfLine(std::size_t line) const {
  SyncFromEditor();
  return doc_.LineStart(line);
}

std::size_t TextPane::FirstVisibleLine() const {
  if (stack_->currentWidget() == editor_) return static_cast<std::size_t>(editor_->verticalScrollBar()->value());
  if (stack_->currentWidget() == rich_view_) return static_cast<std::size_t>(rich_view_->cursorForPosition(QPoint(0, 0)).blockNumber());
  return view_->FirstVisibleLine();
}

void TextPane::ScrollToLine(std::size_t line) {
  if (stack_->currentWidget() == editor_) editor_->verticalScrollBar()->setValue(static_cast<int>(line));
  else view_->ScrollToLine(line);
}

void TextPane::ScrollLines(int lines) {
  const long long target = static_cast<long long>(FirstVisibleLine()) + lines;
  ScrollToLine(static_cast<std::size_t>(std::max<long long>(0, target)));
}

void TextPane::SetReadOnly(bool on) {
  if (on == read_only_) return;
  if (on) {
    SyncFromEditor();
    read_only_ = true;
    ShowPage(rich_ ? static_cast<QWidget*>(rich_view_) : view_);
    return;
  }
  read_only_ = false;
  const QSignalBlocker block(editor_);
  QString text = DecodeForDisplay(doc_.TextCrLf(), page_);
  editor_->setPlainText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n')));
  editor_->document()->clearUndoRedoStacks();
  edited_ = false;
  ShowPage(editor_);
}

bool TextPane::CanUndo() const { return !read_only_ && editor_->document()->isUndoAvailable(); }

void TextPane::Undo() {
  if (CanUndo()) editor_->undo();
}

void TextPane::Copy() {
  if (!HasSelection()) return;
  if (!read_only_) editor_->copy();
  else QApplication::clipboard()->setText(DecodeForDisplay(SelectedText(), page_).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TextPane::Cut() {
  if (read_only_ || !HasSelection()) return;
  editor_->cut();
}

std::size_t TextPane::Paste() {
  if (read_only_ || !ClipboardHasText()) return 0;
  const QString text = QApplication::clipboard()->text();
  std::size_t unmappable = 0;
  (void)encoding::PaneCodec::For(page_).Encode(ToU16(text), &unmappable);
  editor_->paste();
  return unmappable;
}

void TextPane::DeleteSelection() {
  if (read_only_ || !HasSelection()) return;
  editor_->textCursor().removeSelectedText();
}

void TextPane::SelectAll() {
  if (!read_only_) editor_->selectAll();
  else view_->SelectAll();
}

bool TextPane::ClipboardHasText() {
  const QClipboard* c = QApplication::clipboard();
  return c && !c->text().isEmpty();
}

void TextPane::MoveCaretTo(std::size_t offset) {
  SetSelection(offset, 0);
  if (!read_only_) editor_->ensureCursorVisible();
  else view_->EnsureCaretVisible();
}

void TextPane::SetWordWrap(bool on) {
  wrap_ = on;
  view_->SetWordWrap(on);
  rich_view_->setLineWrapMode(on ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
  editor_->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
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
  for (QWidget* w : {static_cast<QWidget*>(view_), static_cast<QWidget*>(rich_view_), static_cast<QWidget*>(editor_)})
    ApplyFontTo(w);
  view_->SetTextColor(color);
  SetTabWidth(tab_width_);
}

void TextPane::SetCodePage(encoding::CodePage page) {
  SyncFromEditor();
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
  editor_->setTabStopDistance(tab_distance_);
}

}  // namespace haruvi::viewer
