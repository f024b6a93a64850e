// The frame every text command runs in: the empty-pane check, the prompts and the
// refusal of answers that are no number, the busy cursor and the word-wrap guard, the
// shown text's lines handed to the command table, one replacement of the shown text (its
// step back), and simple-edit mode entered on every way out where the command enters it.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controllers/textcmd/textcmd_dialogs.h"
#include "ui/shown_text.h"
#include "textcmd/command_table.h"

namespace haruvi::ui { class WindowContext; }

namespace haruvi::controllers {

// "'abc' は有効な整数値ではありません。": the one wording for an answer that must be a number.
QString NotANumber(const QString& answer);

class CommandFrame {
 public:
  struct Way {
    bool edit = false;               // enters simple-edit mode, whatever happens
    bool edit_unless_empty = false;  // enters it unless the pane is empty
    bool wrap_off = false;           // word wrap off while the command works
  };
  using Work = std::function<textcmd::CommandRun(const textcmd::CommandInput& in)>;

  CommandFrame(ui::WindowContext& ctx, TextCmdDialogs& dialogs, Way way);
  ~CommandFrame();
  CommandFrame(const CommandFrame&) = delete;
  CommandFrame& operator=(const CommandFrame&) = delete;

  bool Empty() const { return empty_; }
  // The caret's line from 0, and `caretcolumn`: its byte column from 1.
  std::size_t CaretLine() const;
  std::size_t caretcolumn() const;

  // The answers in the pane's bytes; nullopt on Cancel or after a refusal was shown.
  std::optional<std::string> AskText(const QString& caption, const QString& prompt, const QString& initial = {});
  std::optional<std::string> AskInteger(const QString& caption, const QString& prompt, const QString& initial = {});
  std::optional<std::string> AskHex(const QString& caption, const QString& prompt);
  std::optional<TextCmdDialogs::Columns> AskColumns(const QString& caption, long long start, long long count,
                                                    bool with_count);

  // Runs the table's command on the pane's lines and puts the result back: false when
  // it was refused or failed, the text then left as it was, and false when it was
  // cancelled, the text then what it made so far. A UTF-8 pane's
  // text (and the answers) go to the command in Shift_JIS with stand-ins for what CP932
  // lacks, and the result comes back as UTF-8 (encoding/utf8_standins.h).
  bool Run(std::string_view name, std::vector<std::string> answers, const textcmd::CancelCheck& cancelled = {});
  bool RunWork(const Work& work);
  // On the selected file's own bytes; the label turns blue. Nothing without a file.
  bool RunOnFile(std::string_view name, std::vector<std::string> answers);

 private:
  bool Apply(textcmd::CommandRun run, bool from_file);
  ui::WindowContext& ctx_;
  std::optional<encoding::SjisView> sjis_;  // set while a command runs
  TextCmdDialogs& dialogs_;
  Way way_;
  bool empty_ = true;
};

}  // namespace haruvi::controllers
