#include "controllers/edit/edit_controller.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

#include "bridge/disk_path.h"
#include "dialogs/folder_dialog.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/input_box.h"
#include "ui/panel_bar.h"
#include "bridge/programs.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

EditController::EditController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  auto on = [this](void (EditController::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  mode_ = a.Declare({"MediterRich", "簡易編集する(&R)", "簡易編集|簡易編集ﾓｰﾄﾞのｵﾝｵﾌです。", true}, on(&EditController::MediterRichClick));
  a.Declare({"Mcut", "テキスト　切り取り(&X)", "切り取り|選択範囲を切り取ります。"}, on(&EditController::McutClick));
  a.Declare({"Mcopy1", "テキスト　コピー(&C)", "コピー|選択範囲をコピーします。"}, on(&EditController::Mcopy1Click));
  a.Declare({"Mpast", "テキスト　貼り付け(&V)", "貼り付け|クリップボードの内容を貼り付けます。"}, on(&EditController::MpastClick));
  a.Declare({"Mtextdelete", "テキスト　削除(&D)", "削除|選択範囲を削除します。"}, on(&EditController::MtextdeleteClick));
  a.Declare({"Mselectall", "テキスト　すべてを選択(&L)", "すべてを選択|テキストをすべて選択します。"}, on(&EditController::MselectallClick));
  a.Declare({"Mjump", "←指定行へ移動(&J)", "指定行へ移動|指定した行へ移動します。"}, on(&EditController::MjumpClick));
  a.Declare({"Mlinetop1", "↑先頭行へ移動(&T)", "文頭|先頭行へ移動します。"}, on(&EditController::Mlinetop1Click));
  a.Declare({"Mlinebottom1", "↓最終行へ移動(&B)", "文末|最終行へ移動します。"}, on(&EditController::Mlinebottom1Click));
  a.Declare({"Mediter", "エディターで編集(&T)", "エディター|エディターでファイルを編集します。"}, on(&EditController::MediterClick));
  a.Declare({"Mfileexe", "ファイル　実行(&E)", "実行|ファイルを実行します。"}, on(&EditController::MfileexeClick));
  a.Declare({"MediterSet", "エディタの設定(&S)", "エディタの設定|エディターを設定します。"}, on(&EditController::MediterSetClick));
  a.Twin("MediterRich", "MediterRich2");
  // The shown text owns the mode; its menu item and tool button follow it.
  connect(&ctx.Text(), &ui::ShownText::EditingChanged, this, &EditController::ShowMode);
  // The caret panel follows every change of the caret, the text and the mode.
  connect(&ctx.Text().View(), &viewer::TextPane::CaretMoved, this, &EditController::caretdisp);
  connect(&ctx.Text().View(), &viewer::TextPane::ContentChanged, this, &EditController::caretdisp);
  connect(&ctx.Text().View(), &viewer::TextPane::TextEdited, this, &EditController::caretdisp);
  connect(&ctx.Text(), &ui::ShownText::EditingChanged, this, &EditController::caretdisp);
  // Said at once, typed or pasted, not found out at saving: what this code cannot hold.
  connect(&ctx.Text().View(), &viewer::TextPane::Substituted, this, [this](std::size_t lost) {
    this->ctx().Status().SetText(4, QStringLiteral("%1 文字はこの文字コードにないため「〓」になりました").arg(lost));
  });
}

void EditController::WatchMenu(QMenu* edit) {
  connect(edit, &QMenu::aboutToShow, this, &EditController::Medit1Click);
}

void EditController::MarkChanged() { ctx().Text().MarkChanged(); }

void EditController::ShowMode(bool editing) {
  mode_->setChecked(editing);  // the tool button "簡易編集" shows it pressed
  mode_->setText(editing ? QStringLiteral("簡易編集を解除(&R)") : QStringLiteral("簡易編集する(&R)"));
}

void EditController::MediterRichClick() { ctx().Text().SetEditing(!ctx().Text().Editing()); }

void EditController::Medit1Click() {
  ui::ActionRegistry& a = ctx().Actions();
  const viewer::TextPane& pane = ctx().Text().View();
  const bool selection = pane.HasSelection();
  a.Get(QStringLiteral("Mpast"))->setEnabled(viewer::TextPane::ClipboardHasText());
  for (const char* n : {"Mcut", "Mcopy1", "Mtextdelete"}) a.Get(QString::fromUtf8(n))->setEnabled(selection);
  mode_->setChecked(!pane.ReadOnly());
  mode_->setText(pane.ReadOnly() ? QStringLiteral("簡易編集する(&R)") : QStringLiteral("簡易編集を解除(&R)"));
}

void EditController::McutClick() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.ReadOnly() || !pane.HasSelection()) return;
  pane.Cut();
  MarkChanged();
}

void EditController::Mcopy1Click() {
  // Copied, the selection collapses to its start, as cut leaves it.
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.SelLength() == 0) return;
  pane.Copy();
  pane.SetSelection(pane.SelStart(), 0);
}

void EditController::MpastClick() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.ReadOnly() || !viewer::TextPane::ClipboardHasText()) return;
  pane.Paste();  // what the code cannot hold is said by the pane's signal
  MarkChanged();
}

void EditController::MtextdeleteClick() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.ReadOnly() || !pane.HasSelection()) return;
  pane.DeleteSelection();
  MarkChanged();
}

void EditController::MselectallClick() { ctx().Text().View().SelectAll(); }

std::size_t EditController::JumpLine(const QString& answer, std::size_t line_count) {
  bool number = false;
  const long long n = answer.trimmed().toLongLong(&number);
  long long line = number ? n : 0;
  if (line > static_cast<long long>(line_count)) line = static_cast<long long>(line_count);
  return static_cast<std::size_t>(std::max(line - 1, 0LL));
}

void EditController::MjumpClick() {
  ctx().Text().EnsureWhole();
  const auto answer = ui::InputBox(ctx().Window(), QStringLiteral("指定行へジャンプ"), QStringLiteral("行番号を入力して下さい"), QString());
  if (!answer) return;
  viewer::TextPane& pane = ctx().Text().View();
  pane.MoveCaretTo(pane.OffsetOfLine(JumpLine(*answer, pane.LineCount())));
  pane.setFocus();
  caretdisp();
}

void EditController::Mlinetop1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  pane.MoveCaretTo(0);
  pane.setFocus();
  caretdisp();
}

void EditController::Mlinebottom1Click() {
  ctx().Text().EnsureWhole();
  viewer::TextPane& pane = ctx().Text().View();
  // The last character: the caret lands on its start (never inside a final CR LF or a
  // two-byte character).
  const std::size_t length = pane.TextLength();
  pane.MoveCaretTo(length > 0 ? length - 1 : 0);
  pane.setFocus();
  caretdisp();
}

void EditController::caretdisp() {
  const viewer::TextPane& pane = ctx().Text().View();
  const std::size_t position = pane.SelStart();
  const std::size_t line = pane.LineOfOffset(position);
  // Characters, not bytes: a kanji is one column in Shift_JIS and UTF-8 alike.
  const std::size_t column = pane.CharsBefore(position) + 1;
  ctx().TextStatus().SetText(0, QStringLiteral(" %1行 %2列 ").arg(line + 1).arg(column));
}

namespace {

// $EDITOR is most often a terminal editor, which started from a window has no screen
// to draw on: those are left to the desktop's default for text.
bool RunsInATerminal(const QString& command) {
  static const QStringList kTerminal{"vi", "vim", "nvim", "nano", "pico", "ed", "ex", "joe", "jed", "micro",
                                     "ne", "mcedit", "kak", "hx", "helix", "mg", "zile", "jove"};
  const QString program = command.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
  return kTerminal.contains(program.section(QLatin1Char('/'), -1));
}

// The desktop's editor when none is set: $VISUAL, $EDITOR when it draws a window; empty
// for the desktop's default application for text.
QStringList DesktopEditor() {
  if (const QString visual = qEnvironmentVariable("VISUAL"); !visual.isEmpty()) return QProcess::splitCommand(visual);
  if (const QString editor = qEnvironmentVariable("EDITOR"); !editor.isEmpty() && !RunsInATerminal(editor))
    return QProcess::splitCommand(editor);
  return {};
}

}  // namespace

void EditController::MediterClick() {
  // The setting (a program's path), else the desktop's editor: $VISUAL, $EDITOR when
  // it draws a window, else the default application for text.
  QStringList command;
  if (const QString set = bridge::FromDisk(ctx().Settings().Read(kEditer)); !set.isEmpty()) command << set;
  else command = DesktopEditor();
  const QString file = ctx().SelectedPath();
  QString why;
  if (command.isEmpty()) {
    if (!file.isEmpty() && !bridge::OpenWithDesktop(file, ctx().CurrentFolder(), &why))
      ctx().Status().SetText(4, QStringLiteral("エディターが見つかりません: ") + why);
    return;
  }
  // Started directly, never through a shell: the path is one argument, its bytes as on disk.
  const QString program = command.takeFirst();
  if (!file.isEmpty()) command << file;
  if (!bridge::StartProgram(program, command, ctx().CurrentFolder(), &why))
    ctx().Status().SetText(4, QStringLiteral("エディターを起動できません: ") + bridge::DisplayName(program) +
                                  QStringLiteral(" (") + why + QLatin1Char(')'));
}

void EditController::MfileexeClick() {
  const QString file = ctx().SelectedPath();
  if (file.isEmpty()) {
    ctx().Status().SetText(4, QStringLiteral("実行するファイルが選択されていません"));
    return;
  }
  if (!bridge::Exists(file)) {
    ctx().Status().SetText(4, QStringLiteral("ファイルがありません: ") + bridge::DisplayName(file));
    return;
  }
  QString why;
  if (!bridge::OpenWithDesktop(file, ctx().CurrentFolder(), &why))
    ctx().Status().SetText(4, QStringLiteral("開くアプリケーションがありません: ") + bridge::DisplayName(file) +
                                  QStringLiteral(" (") + why + QLatin1Char(')'));
}

void EditController::MediterSetClick() {
  auto dialog = std::make_unique<dialogs::TForm4>(QStringLiteral("ｴﾃﾞｨﾀｰの設定"),
                                                  QStringLiteral("ｴﾃﾞｨﾀｰの実行ﾌｧｲﾙをﾌﾙﾊﾟｽで指定して下さい。"), ctx().Window(),
                                                  dialogs::TForm4::Choose::Program);
  const QString stored = bridge::FromDisk(ctx().Settings().Read(kEditer));
  dialog->SetPrevious(stored);
  // Nothing stored: the box proposes the editor E starts now (the desktop's, when it
  // names a program that draws a window).
  if (stored.isEmpty()) {
    const QString program = DesktopEditor().value(0);
    dialog->Edit1->setText(program.contains(QLatin1Char('/')) || program.isEmpty() ? program
                                                                                   : QStandardPaths::findExecutable(program));
  }
  if (dialog->exec() == QDialog::Accepted) ctx().Settings().Write(kEditer, bridge::ToDisk(dialog->Text()));
}

}  // namespace haruvi::controllers
