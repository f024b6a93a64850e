// RichEdit1: the text pane. It holds the shown text as bytes in the pane's code page and
// hands them back unchanged unless the user edited them. Every command reads and writes
// the pane through this byte interface; no other code touches a Qt text widget.
// Viewing uses ByteView over a TextDocument (only visible lines are decoded); simple edit
// hands the same bytes to an EditDocument that the same view edits in place; rich text
// is shown formatted by a Qt text widget.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "encoding/pane_codec.h"
#include "encoding/text_form.h"
#include "viewer/edit_document.h"
#include "viewer/text_document.h"

class QStackedLayout;
class QTextEdit;

namespace haruvi::viewer {

class ByteView;
struct RtfDocument;

class TextPane : public QWidget {
  Q_OBJECT

 public:
  explicit TextPane(QWidget* parent = nullptr);
  ~TextPane() override;

  // Content, each set in one step. `form` says what the bytes are: text in the font's
  // code page (Legacy), or UTF-8 (a UTF-8 file, or a UTF-16 file in its lossless UTF-8
  // form, see unicode_convert.h); the form stays with the text until the next content.
  void SetText(std::string bytes, encoding::TextForm form = encoding::TextForm::Legacy);
  void SetText(ByteBuffer bytes, encoding::TextForm form = encoding::TextForm::Legacy);
  // SetText that hands back what Bytes() gave before, without a copy where the pane
  // still held the bytes it was given (a command's step back).
  // A `line_end` given is the new text's line end (else its own first one).
  ByteBuffer ReplaceText(ByteBuffer bytes, encoding::TextForm form, std::string_view line_end = {});
  // The line end the text is saved with once edited (what Bytes() writes each line end
  // as): the one it was loaded with, unless a line-end command's result set another.
  // New content takes its own first one ("\r\n" when it has none).
  std::string_view LineEnd() const;
  void SetLineEnd(std::string_view line_end);
  void SetLines(const std::vector<std::string>& lines,  // joined with CR LF
                encoding::TextForm form = encoding::TextForm::Legacy);
  // Takes a document indexed elsewhere (a worker thread) in one step. With `keep_view`,
  // the caret and the top line stay where they are (the new text continues the old one).
  void SetDocument(TextDocument document, bool keep_view,
                   encoding::TextForm form = encoding::TextForm::Legacy);
  void Clear();
  bool IsEmpty() const;
  // Shows rich text formatted; false (pane unchanged) when the bytes are not rich text.
  bool SetRichText(std::string_view bytes);
  // Shows a document already read; `shown_bytes` are its text as pane bytes (CR LF),
  // worked out from the formatted text when not given.
  void SetRichText(const RtfDocument& rtf, std::optional<ByteBuffer> shown_bytes);
  bool ShowingRichText() const { return rich_; }

  // The whole text with CR LF (exactly the bytes given when they already used CR LF).
  std::string Text() const;
  // Exactly the bytes last given; once the user edited them, the edited text with the
  // line end the given bytes used first (CR LF when they had none).
  std::string Bytes() const;
  // The same without a copy; valid until the pane's content changes.
  std::string_view BytesView() const;
  // Text() without a copy when the bytes already use CR LF throughout; otherwise Text()
  // is built into `scratch`. Valid until the content or `scratch` changes.
  std::string_view TextView(std::string& scratch) const;
  std::size_t LineCount() const;
  // The length of Text(), without building it.
  std::size_t TextLength() const { return Source().TextCrLfLength(); }
  std::string Line(std::size_t line) const;
  std::vector<std::string> Lines() const;

  // Selection and caret as byte offsets into Text().
  std::size_t SelStart() const;
  std::size_t SelLength() const;
  std::size_t Caret() const;
  void SetSelection(std::size_t start, std::size_t length);
  std::string SelectedText() const;
  // While editing, the very end after a final line end is the line after the last.
  std::size_t LineOfOffset(std::size_t offset) const;
  std::size_t OffsetOfLine(std::size_t line) const;
  // Characters before an offset in its line (a tab is one): the caret panel's column - 1.
  std::size_t CharsBefore(std::size_t offset) const;

  std::size_t FirstVisibleLine() const;
  void ScrollToLine(std::size_t line);
  void ScrollLines(int lines);

  // Read-only (viewing) or writable (simple edit).
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool on);
  // Whether the text differs from the last content given (edits not all undone).
  bool Edited() const { return edit_ && !edit_->AtOriginal(); }
  bool CanUndo() const;
  void Undo();
  bool CanRedo() const;
  void Redo();
  // The clipboard (Unicode text; the pane's bytes decoded and encoded in its code page).
  // Cut, paste and delete change the text only while it is writable.
  void Copy();
  void Cut();
  // Pastes the clipboard's text at the caret; returns how many of its characters the code
  // page cannot hold (they are written as its substitute, "〓" in CP932).
  std::size_t Paste();
  // Types text at the caret as the keyboard or the input method would.
  void Type(const QString& text);
  // Bytes in the shown code page (CR LF line ends) in place of the selection, the caret
  // after them: while editing one undo step of the text; while viewing, a new content.
  void ReplaceSelection(std::string_view bytes);
  // A command's result for the whole text while editing: one undo step of the text,
  // the typing before it still undoable (see ReplaceText for viewing). Any line ends in
  // `bytes` are taken as the pane's CR LF; a `line_end` given becomes the text's line end
  // in the same step.
  void ReplaceAllWhileEditing(std::string_view bytes, std::string_view line_end = {});
  void DeleteSelection();
  void SelectAll();
  bool HasSelection() const { return SelLength() > 0; }
  static bool ClipboardHasText();
  // Moves the caret to a byte offset of Text() and shows it.
  void MoveCaretTo(std::size_t offset);
  // Characters typed or pasted since the content was given that the code page could not
  // hold (each is its substitute in the text).
  std::size_t Unmappable() const { return unmappable_; }

  bool WordWrap() const { return wrap_; }
  void SetWordWrap(bool on);
  // Plain-text mode (off: rich text is shown formatted at the next load).
  bool PlainTextMode() const { return plain_mode_; }
  void SetPlainTextMode(bool on) { plain_mode_ = on; }

  void SetPaneFont(const QFont& font, const QColor& color);
  QFont PaneFont() const { return font_; }
  QColor TextColor() const { return color_; }
  // The font's character set: the code page of Legacy text (and of any text a command
  // puts into the pane).
  encoding::CodePage CodePage() const { return font_page_; }
  void SetCodePage(encoding::CodePage page);
  // What the pane's bytes are, and the code page they are shown in (Utf8 for a
  // Unicode form, else the font's).
  encoding::TextForm TextForm() const { return form_; }
  encoding::CodePage ShownPage() const { return page_; }
  // Tab stops every `tab_width` widths of "M".
  void SetTabWidth(int tab_width);
  int TabWidth() const { return tab_width_; }
  qreal TabStopDistance() const { return tab_distance_; }

  ByteView* View() const { return view_; }

 signals:
  // The whole content was replaced (a new file, a command's result, emptied).
  void ContentChanged();
  void CaretMoved();
  void TextEdited();
  // Characters just typed or pasted that the code page cannot hold.
  void Substituted(std::size_t characters);

 private:
  void ShowPage(QWidget* page);
  void SetForm(encoding::TextForm form);
  void ApplyFontTo(QWidget* w) const;
  // Simple edit starts on the shown document, and ends giving it back (edited or not).
  void BeginEditing();
  void EndEditing();
  void DropEditModel();
  // The text now: the edit model while editing, else the shown document.
  const LineSource& Source() const;
  // The unedited bytes (the shown document's, or the edit model's original's).
  const TextDocument& Shown() const { return edit_ ? edit_->Original() : doc_; }
  // The edited text, built once per edit.
  const std::string& EditedCrLf() const;
  const std::string& EditedBytes() const;

  TextDocument doc_;                    // while viewing
  std::unique_ptr<EditDocument> edit_;  // while editing; holds the shown document
  std::unique_ptr<EditingLines> editing_lines_;  // what the view shows of it
  std::string line_end_ = "\r\n";       // what edited text is written back with
  std::string next_line_end_;           // the next content's, when told
  mutable std::optional<std::string> edited_crlf_, edited_bytes_;
  ByteView* view_;
  QTextEdit* rich_view_;
  QStackedLayout* stack_;
  encoding::CodePage page_ = encoding::CodePage::Cp932;       // shown in
  encoding::CodePage font_page_ = encoding::CodePage::Cp932;  // the font's
  encoding::TextForm form_ = encoding::TextForm::Legacy;
  QFont font_;
  QColor color_;
  qreal tab_distance_ = 0;
  int tab_width_ = 8;
  bool read_only_ = true;
  bool wrap_ = false;
  bool plain_mode_ = true;
  bool rich_ = false;
  std::size_t unmappable_ = 0;
};

// A pane line's display text (tests and small reports).
QString DecodeForDisplay(std::string_view bytes, encoding::CodePage page);

}  // namespace haruvi::viewer
