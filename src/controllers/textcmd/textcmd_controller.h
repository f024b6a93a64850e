// The text commands of the "編集(&E)", "削除(&K)" and "変換(&C)" menus: sorting, numbers,
// trimming, TABs, line ends, columns, CSV, HTML and TeX stripping, width and kana, and the
// undo of the last command. Each is a row (command_rows.h) the controller declares and
// places; a handler states a command's scope and answers where the row cannot, and runs
// the core's command table through the command frame; no command logic lives here.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "controllers/textcmd/command_frame.h"
#include "ui/controller.h"

class QAction;
class QMenu;

namespace haruvi::controllers {

struct CommandRow;

class TextCmdController : public ui::Controller {
  Q_OBJECT

 public:
  explicit TextCmdController(ui::WindowContext& ctx, QObject* parent = nullptr);
  ~TextCmdController() override;

  // The commands keep no settings of their own: every answer is asked for each time.
  std::vector<platform::KeyInfo> Keys() const override { return {}; }

  // Tests answer the prompts in place of the dialogs.
  void SetDialogs(std::unique_ptr<TextCmdDialogs> dialogs);
  // Opening "編集(&E)" or its pop-up copy brings the undo item up to date.
  void WatchMenus(QMenu* edit, QMenu* popup_edit);
  void Medit1Click();

  // The handlers of the commands that ask or show more than a core command's run; every
  // other command is its row's core command (command_rows.cpp).
  // 編集(&E)
  void MundoClick();
  void Mrenban1Click();
  void Mupperlinecopy1Click();
  void MinsertCR1Click();
  void MinsertChr1Click();
  void MinsertChar1Click();
  void Mcolumncopy1Click();
  // 削除(&K)
  void Monelinedelete1Click();
  void McrdelClick();
  void Msameline1Click();
  void MopacdeleteClick();
  void Mcolumndelete1Click();
  // 変換(&C)
  void Mhanktozen1Click();
  void Mzentohank1Click();
  void Mhkanatozkana1Click();
  void MhtmlClick();
  void MhtmlallClick();
  void html2Click();
  void htmlTAB1Click();
  void MlineCSVaClick();
  void MlineCSVbClick();
  void MlineCSVcClick();
  void MlineCSVdClick();
  void MlineCSVeClick();
  void MlineCSVfClick();
  void MlineCSVgClick();
  void MlineCSVhClick();

 private:
  using Way = CommandFrame::Way;
  CommandFrame Frame(Way way = {});
  // A row without a handler: its core command with its answers, in its mode.
  void RunRow(const CommandRow& row);
  // The HTML items: the stripping with its progress window, then the chained steps.
  void StripHtml(const char* command, bool edit_after);
  // Asks for the group size, then joins; the frame has asked for the separator if any.
  void linecsv(CommandFrame& f, std::string quote, std::string separator);
  void ColumnCommand(const char* command, const QString& caption);
  void InsertCommand(const char* command, const QString& caption);
  void Width(std::string (*convert)(std::string_view));
  void UpdateUndo();

  std::unique_ptr<TextCmdDialogs> dialogs_;
  QAction* undo_action_ = nullptr;
};

}  // namespace haruvi::controllers
