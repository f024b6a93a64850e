// DisplayController: its actions and the routines that show the selected file. The
// pipeline itself is viewer::ShowFile; this file only applies its result to the window.
#include "controllers/display/display_controller.h"

#include <QAction>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/panel_bar.h"
#include "viewer/file_display.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

DisplayController::DisplayController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  auto on = [this](void (DisplayController::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  disp_ = a.Declare({"Mdisp", "テキスト瞬時表示(&T)", "テキスト瞬時表示|ファイルを選択すると同時にテキストを表示します。", true},
                    on(&DisplayController::MdispClick));
  rtf_ = a.Declare({"Mrtf", "RTF形式(&R)", "RTF形式|RTF形式で表示します。", true}, on(&DisplayController::MrtfClick));
  raw_code_ = a.Declare({"Mrawcode", "表示時に文字コードを変換しない(&J)",
                         "文字コードを変換しない|EUC、JISのテキストを変換せずにそのまま表示します。", true},
                        on(&DisplayController::MrawcodeClick));
  // The menu item says what choosing it does ("右で折り返す" / "右で折り返さない", set
  // when the menu opens) and carries no check mark, which would contradict it; the tool
  // button shows the state by being pressed.
  wordwrap_ = a.Declare({"Mwordwrap", "右で折り返す(&R)", "折り返し|テキストを右端で折り返します。"},
                        on(&DisplayController::MwordwrapClick));
  wrap_button_ = a.Declare({"ToolButton39", "折り返し", "折り返し|テキストを右端で折り返します。", true},
                           on(&DisplayController::ToolButton39Click));
  a.Declare({"Mv", "テキストを表示", "表示|ファイル内容を表示します。"}, on(&DisplayController::MvClick));
  a.Declare({"ToolButton49", "表示", "表示|ファイル内容を表示します。"}, on(&DisplayController::ToolButton49Click));
  a.Declare({"Mtextrepaint1", "テキストを再表示(&B)", "テキストの再表示|テキストを再表示します。"},
            on(&DisplayController::Mtextrepaint1Click));
  a.Declare({"Mtextnewview", "ファイルを再表示(&T)", "ファイルを再表示|ファイルを再表示します。"},
            on(&DisplayController::MtextnewviewClick));
  a.Declare({"Mfonttext", "テキスト(&T)", "テキストのフォント|テキストのフォントを設定します。"},
            on(&DisplayController::MfonttextClick));
  a.Declare({"Mfontfile", "ファイル名(&F)", "ファイル名のフォント|ファイル名のフォントを設定します。"},
            on(&DisplayController::MfontfileClick));
  a.Declare({"Mchartset", "テキストの文字種類(&C)", "文字種類|テキスト表示の文字種類を設定します。"},
            on(&DisplayController::MchartsetClick));
  a.Declare({"Mtabset1", "TAB位置設定", "TAB位置設定|TABの文字数を設定します。"}, on(&DisplayController::Mtabset1Click));
  a.Declare({"MstreamRead1", "Stream読み込みの設定(&M)", "Stream読み込みの設定|Stream読み込みを設定します。"},
            on(&DisplayController::MstreamRead1Click));
  a.Declare({"Mreadmax1", "読み込み制限の設定(&Y)", "読み込み制限の設定|読み込むファイルの大きさを制限します。"},
            on(&DisplayController::Mreadmax1Click));
  a.Declare({"Mfilenamedisp1", "ファイル名のみ(&N)", "ファイル名のみ|ファイル名をテキストに表示します。"},
            on(&DisplayController::Mfilenamedisp1Click));
  a.Declare({"Mfilenamedisp2", "フルパス(&P)", "フルパス|ファイル名をフルパスでテキストに表示します。"},
            on(&DisplayController::Mfilenamedisp2Click));
  names_current_ = a.Declare({"Mfilenamedisp3", "現在表示のファイル(&C)",
                              "現在表示のファイル|表示中のファイルの情報をテキストに表示します。"},
                             on(&DisplayController::Mfilenamedisp3Click));
  a.Twin("Mdisp", "Mdisp1");
  a.Twin("Mrtf", "Mrtf1");
  a.Twin("Mfilenamedisp1", "Mfilenamedisp11");
  a.Twin("Mfilenamedisp2", "Mfilenamedisp21");
  a.Twin("Mfilenamedisp3", "Mfilenamedisp31");
}

std::vector<platform::KeyInfo> DisplayController::Keys() const {
  return {kFontRName.info, kFontRStyle.info, kFontRColor.info, kFontRSize.info, kFontFName.info,
          kFontFStyle.info, kFontFSize.info, kFontFColor.info, kWordWrap.info, kTabWidth.info,
          kStreamBytes.info, kStreamCheck.info, kReadMax.info, kMenuDisp.info, kMenuRtf.info,
          kMenuRawCode.info};
}

// ---------------------------------------------------------------- showing the selected file

bool DisplayController::filedisp() {
  if (!ctx().Flags().instantmode) return false;
  return DisplaySelected(false);
}

bool DisplayController::filedisp2() { return DisplaySelected(true); }

void DisplayController::ShowAndCount(bool forced) {
  // A show command names the folder's totals after the file, as a selection does.
  if (!DisplaySelected(forced)) return;
  if (forced) ctx().folderinfo();
  else ctx().folderinfo2();
}

bool DisplayController::DisplaySelected(bool forced) {
  const std::string disk = bridge::ToDisk(ctx().SelectedPath());
  ui::ShownText& text = ctx().Text();
  // A show command reads the file again over the text: changes typed into it are asked
  // about (a selection asks in the window, before the list moves on).
  if (forced && !text.MayLeave()) return false;
  // The read settings are read at every display, so their dialogs apply to the next one.
  viewer::DisplaySettings settings;
  const platform::Settings& ini = ctx().Settings();
  settings.read.stream_bytes = ini.Read(kStreamBytes);
  settings.read.stream_check = ini.Read(kStreamCheck);
  settings.read.read_max = ini.Read(kReadMax);
  settings.rich_text = rtf_->isChecked();
  settings.raw_japanese = raw_code_->isChecked();
  settings.page = text.View().CodePage();
  settings.forced = forced;
  settings.editing = false;  // a file is shown for viewing: simple edit ends below
  settings.preview_bytes = preview_bytes_;

  ui::BusyCursor busy;
  viewer::FileDisplay shown = viewer::ShowFile(disk, settings);
  if (forced && !shown.regular) return false;  // the show commands touch nothing without a file
  if (text.Editing()) {
    text.Clear();  // the edited text goes first, so leaving the mode copies nothing
    text.SetEditing(false);
  }
  text.textclear();
  text.View().SetPlainTextMode(!settings.rich_text);
  if (!shown.exists) return false;
  return text.ShowFile(shown, disk, forced ? ui::TextOrigin::FileAgain : ui::TextOrigin::File);
}

void DisplayController::tabset() { ctx().Text().View().SetTabWidth(ctx().Flags().tabwidth); }

// ---------------------------------------------------------------- file names into the pane

void DisplayController::Mfilenamedisp0Click() {
  names_current_->setEnabled(ctx().Files().SelectedCount() > 0);
}

void DisplayController::Mfilenamedisp1Click() {
  if (ctx().Files().Count() == 0) return;
  std::vector<std::string> lines;
  const encoding::CodePage page = ctx().Text().View().CodePage();
  for (const QString& c : ctx().Files().Captions()) lines.push_back(bridge::NameToPane(c, page));
  ctx().Text().ShowLines(lines, ui::TextOrigin::Listing);
}

void DisplayController::Mfilenamedisp2Click() {
  if (ctx().Files().Count() == 0) return;
  std::vector<std::string> lines;
  const encoding::CodePage page = ctx().Text().View().CodePage();
  QString folder = ctx().CurrentFolder();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  for (const QString& c : ctx().Files().Captions()) lines.push_back(bridge::NameToPane(folder + c, page));
  ctx().Text().ShowLines(lines, ui::TextOrigin::Listing);
}

void DisplayController::Mfilenamedisp3Click() {
  ui::ShownText& text = ctx().Text();
  const QString info = text.Info();
  if (info.isEmpty()) text.Clear();
  else text.ShowLines({bridge::ToPane(info, text.View().CodePage())}, ui::TextOrigin::Listing);
}

}  // namespace haruvi::controllers
