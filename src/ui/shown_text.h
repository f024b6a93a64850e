// The text the pane shows, with one owner: its bytes and form (held by the pane, which
// stays the view: caret, selection, scrolling, fonts), where they came from and so the
// information line's colour, whether a big file is read whole yet, the Shift_JIS view the
// commands written for Shift_JIS read, the one step back of a command, and simple edit.
// Controllers read and replace the shown text here, never through the widget.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/text_form.h"
#include "encoding/utf8_standins.h"
#include "viewer/byte_buffer.h"

class QLabel;

namespace haruvi::viewer {
class TextDocument;
class TextPane;
struct FileDisplay;
struct LoadedRest;
enum class LoadWay;
}  // namespace haruvi::viewer

namespace haruvi::ui {

class PanelBar;
class RestLoader;

// Where the shown text came from. The information line's colour and what saving it means
// follow from it.
enum class TextOrigin {
  Nothing,    // the pane is empty
  File,       // the selected file as loaded (black)
  FileAgain,  // the selected file shown by a show command (blue)
  Changed,    // changed by a command, a filter, a replacement, or a grep's report (red)
  Converted,  // a code conversion or coding of the file or the text (blue)
  Report,     // the program's own report: a dump, a system report, a folder listing (blue)
  Listing,    // a list of names or an archive's listing (black)
};

// Red whenever simple edit is on; otherwise as the origin says.
QColor InfoColorOf(TextOrigin origin, bool editing);

class ShownText : public QObject {
  Q_OBJECT

 public:
  // `status` is the bar under the pane: panel 1 counts the lines, panel 2 names the mode.
  ShownText(viewer::TextPane& pane, QLabel& info, PanelBar& status, QObject* parent = nullptr);
  ~ShownText() override;

  // The view: caret, selection, scrolling, fonts. Content goes through this class.
  viewer::TextPane& View() { return pane_; }
  const viewer::TextPane& View() const { return pane_; }

  // ---------------------------------------------------------------- new content
  // A file's display, as viewer::ShowFile made it: its bytes or formatted text, the
  // information line, and for a big file the rest read off the window's thread. False
  // when nothing could be shown (the pane then stays empty). The step back is forgotten.
  bool ShowFile(viewer::FileDisplay& shown, const std::string& path, TextOrigin origin);
  // Content of its own (a listing, a list of names): the step back is forgotten.
  void Show(std::string bytes, TextOrigin origin, encoding::TextForm form = encoding::TextForm::Legacy);
  void ShowLines(const std::vector<std::string>& lines, TextOrigin origin);
  // The pane emptied (the information line kept), and textclear: both emptied.
  void Clear();
  void textclear();

  // ---------------------------------------------------------------- commands
  // A command's result for the whole text, in the text's own form unless `form` says
  // otherwise: one step back (in simple edit, a step of the edit's own undo, after the
  // typing). `origin` is what the text is now (Changed: red).
  // A result written with CR LF takes the text's own line end (LF stays LF); a report or
  // a listing of the program's own keeps the line end it has.
  void Replace(std::string bytes, TextOrigin origin = TextOrigin::Changed,
               std::optional<encoding::TextForm> form = std::nullopt);
  // A command's result already written with the text's own line end (the pane's
  // LineEnd()): nothing is converted, so a big result is not copied once more.
  void ReplaceInOwnLineEnd(std::string bytes, TextOrigin origin = TextOrigin::Changed);
  // A line-end command's result (the file's bytes converted): its line end becomes the
  // text's, which a save then writes, in simple edit as in viewing.
  void ReplaceLineEnds(std::string bytes);
  void ReplaceLines(const std::vector<std::string>& lines, TextOrigin origin = TextOrigin::Changed);
  // Bytes in the shown code page (CR LF line ends) in place of the selection, the caret
  // after them: a step of the edit's undo while editing, else the one step back.
  void ReplaceSelection(std::string_view bytes);
  // A report that grows (grep): BeginReport puts its head in place of the text (one step
  // back, the information line emptied); Continue shows the text so far, the caret and
  // the top line staying, the step back still the one before the report.
  void BeginReport(std::string bytes, encoding::TextForm form, TextOrigin origin = TextOrigin::Changed);
  void Continue(viewer::TextDocument document);
  // The step back: the edit's own undo while editing, else the last command's step.
  bool CanUndo() const;
  void Undo();
  // Texts up to this size keep every command as a step of the edit's undo while editing.
  static inline std::size_t edit_step_limit = 16u << 20;

  // ---------------------------------------------------------------- reading
  // The whole text, waiting first for the rest of a big file still being read: its bytes
  // exactly as given (valid until the content changes), and with CR LF line ends (without
  // a copy when it has them already; else built into `scratch`).
  std::string_view WholeBytes();
  std::string WholeText();
  std::string_view WholeText(std::string& scratch);
  bool Empty() const;
  // The Shift_JIS view a command written for Shift_JIS reads of `pane_text` (the pane's
  // bytes or its CR LF text), in the shown text's form: Refused() when a Unicode text has
  // too many characters without a code (encoding::kTooManyWithoutSjis says so).
  encoding::SjisView Sjis(std::string_view pane_text) const { return encoding::SjisView(pane_text, Form()); }
  encoding::TextForm Form() const;

  // ---------------------------------------------------------------- completeness
  // A big file is shown by its beginning while the rest is read: whatever needs the whole
  // text (a command, a save, simple edit) calls this first; it waits for the rest.
  void EnsureWhole();
  bool Complete() const;
  // Line `line` (from 1; below 0 counted from the end, -1 the last; past the end the last)
  // at the top with the caret at its start: a jump from a report, a line to open at.
  void ShowLineAtTop(std::int64_t line);

  // ---------------------------------------------------------------- origin, information line
  TextOrigin Origin() const { return origin_; }
  // The file the text was loaded from (kept through commands and conversions); empty when
  // it is a report or a listing of the program's own.
  const std::string& SourcePath() const { return source_path_; }
  void SetOrigin(TextOrigin origin);
  void MarkChanged() { SetOrigin(TextOrigin::Changed); }
  QString Info() const;
  void SetInfo(const QString& text);
  // `fileinfo`: a file named without being read (an archive about to be listed, a file
  // just saved): the line's first step for `path`, the pane emptied. The window's
  // folderinfo follows where the caller wants the folder's totals.
  void fileinfo(const std::string& path);
  // The line's first step for `path` alone, the text left as it is.
  void NameFile(const std::string& path);
  // The text was just written to `path`: it is that file's text now (black).
  void MarkSaved(const std::string& path);

  // ---------------------------------------------------------------- leaving changed text
  // Typing, pasting or a command in simple edit changed the text since it was shown or
  // saved (the mark stays when simple edit is left).
  bool Unsaved() const { return unsaved_; }
  // Asked before the text is left (another file or folder, a show command, a command
  // that reads the file again, closing): "変更を保存しますか" with 保存 / 破棄 / キャンセル.
  // True to go on: nothing was unsaved, it was saved, or the user let it go. False on
  // Cancel or a failed save: the caller changes nothing, so the text, the caret and the
  // selection stay.
  enum class LeaveAnswer { Save, Discard, Cancel };
  bool MayLeave();
  // How the text is saved for the question (the window's save over its file).
  void SetSaver(std::function<bool()> save) { save_ = std::move(save); }
  // The question's answer without a dialog (tests); a headless run without it discards.
  static inline std::function<LeaveAnswer()> ask_leave;

  // ---------------------------------------------------------------- simple edit
  bool Editing() const;
  // Simple edit as the text commands enter it: nothing when it is on already.
  void editmodeon();
  void SetEditing(bool on);

 signals:
  // The mode changed (the edit feature shows it on its menu item and tool button).
  void EditingChanged(bool editing);
  void UndoChanged();
  // A file was shown (ShowFile): SourcePath() names it.
  void FileShown();

 private:
  struct Step {
    viewer::ByteBuffer bytes;
    encoding::TextForm form;
    TextOrigin origin;
    std::string source;
    QString info;
    std::string line_end;
  };
  void ReplaceWith(std::string bytes, TextOrigin origin, encoding::TextForm form, bool edit_step,
                   bool own_line_end = false, bool written_crlf = true);
  void Forget();
  void ApplyColor();
  void ShowLineCount();
  void ApplyRest(viewer::LoadedRest rest);
  void WarnStreamFailed(const std::string& error);

  viewer::TextPane& pane_;
  QLabel& info_;
  PanelBar& status_;
  RestLoader* rest_;
  TextOrigin origin_ = TextOrigin::Nothing;
  std::string source_path_;
  std::optional<Step> before_;  // the one step back of a command, outside the edit's undo
  bool changing_ = false;  // the pane's content is being set from here
  bool unsaved_ = false;
  std::function<bool()> save_;
  // A file shown by its beginning: its information line's first step, kind and way.
  std::string pending_step1_, pending_kind_;
  viewer::LoadWay pending_way_{};
};

}  // namespace haruvi::ui
