// TextCmdController: the rows' actions, pop-up copies and places, the undo item, the
// frame the commands start from and the run of a row without a handler. The handlers are
// in line_commands.cpp and column_commands.cpp.
#include "controllers/textcmd/textcmd_controller.h"

#include <QAction>
#include <QMenu>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controllers/textcmd/command_rows.h"
#include "ui/action_registry.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

TextCmdController::TextCmdController(ui::WindowContext& ctx, QObject* parent)
    : Controller(ctx, parent), dialogs_(std::make_unique<TextCmdDialogs>()) {
  // Every row is declared and placed, its pop-up copy and its button's own command with
  // it; a row naming no core command fails here, at start-up.
  ui::ActionRegistry& a = ctx.Actions();
  for (const CommandRow& row : CommandRows()) {
    std::function<void()> run;
    if (row.handler) {
      run = [this, h = row.handler] { (this->*h)(); };
    } else {
      if (!textcmd::FindTextCommand(row.command))
        throw std::logic_error(std::string(row.name) + " runs no command " + row.command);
      run = [this, &row] { RunRow(row); };
    }
    a.Declare({row.name, row.caption, row.hint}, run);
    ui::Placement place{.action = row.name, .menu = row.menu, .group_start = row.group_start,
                        .button = row.button, .key = row.key};
    if (row.popup_copy) {
      place.popup = QString::fromUtf8(row.name) + QLatin1Char('P');
      a.Twin(QString::fromUtf8(row.name), place.popup);
    }
    if (*row.button.caption) a.Declare({row.button.name, row.button.caption, row.hint}, run);
    a.Place(std::move(place));
  }
  undo_action_ = a.Get(QStringLiteral("Mundo"));
  connect(&ctx.Text(), &ui::ShownText::UndoChanged, this, &TextCmdController::UpdateUndo);
  connect(&ctx.Text().View(), &viewer::TextPane::TextEdited, this, &TextCmdController::UpdateUndo);
  UpdateUndo();
}

TextCmdController::~TextCmdController() = default;

void TextCmdController::SetDialogs(std::unique_ptr<TextCmdDialogs> dialogs) { dialogs_ = std::move(dialogs); }

void TextCmdController::WatchMenus(QMenu* edit, QMenu* popup_edit) {
  for (QMenu* m : {edit, popup_edit})
    if (m) connect(m, &QMenu::aboutToShow, this, &TextCmdController::Medit1Click);
}

void TextCmdController::Medit1Click() { UpdateUndo(); }

void TextCmdController::UpdateUndo() { undo_action_->setEnabled(ctx().Text().CanUndo()); }

CommandFrame TextCmdController::Frame(Way way) { return CommandFrame(ctx(), *dialogs_, way); }

void TextCmdController::RunRow(const CommandRow& row) {
  std::vector<std::string> answers;
  for (const char* answer : row.answers)
    if (answer) answers.emplace_back(answer);
  CommandFrame f = Frame(row.mode);
  // A command that reads bytes reads the selected file's; the others, the pane's lines.
  if (textcmd::FindTextCommand(row.command)->on_bytes) f.RunOnFile(row.command, std::move(answers));
  else if (!f.Empty()) f.Run(row.command, std::move(answers));
}

void TextCmdController::MundoClick() {
  if (!ctx().Text().CanUndo()) return;
  ctx().Text().Undo();  // the line turns red
  UpdateUndo();
}

}  // namespace haruvi::controllers
