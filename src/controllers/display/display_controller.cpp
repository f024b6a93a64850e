// DisplayController: its actions and the routines that show the selected file. The
// pipeline itself is viewer::ShowFile; this file only applies its result to the window.
#include "controllers/display/display_controller.h"

#include <QAction>
#include <QLabel>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "shellview/file_view.h"
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
  wordwrap_ = a.Declare({"Mwordwrap", "右で折り返す(&R)", "折り返し|テキストを右端で折り返します。", true},
                        on(&DisplayController::MwordwrapClick));
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
  // The line count follows the pane whatever filled or emptied it; a change that is not
  // the display's own drops the rest of a file still being read.
  rest_ = new RestLoader(this);
  connect(rest_, &RestLoader::Loaded, this, [this] {
    if (auto rest = rest_->Take()) ApplyRest(std::move(*rest));
  });
  connect(&ctx.Pane(), &viewer::TextPane::ContentChanged, this, [this] {
    if (!applying_) rest_->Cancel();
    ShowLineCount();
  });
  // Lines typed or joined in simple edit count too.
  connect(&ctx.Pane(), &viewer::TextPane::TextEdited, this, &DisplayController::ShowLineCount);
  a.Twin("Mdisp", "Mdisp1");
  a.Twin("Mrtf", "Mrtf1");
  a.Twin("Mfilenamedisp1", "Mfilenamedisp11");
  a.Twin("Mfilenamedisp2", "Mfilenamedisp21");
  a.Twin("Mfilenamedisp3", "Mfilenamedisp31");
}

std::vector<platform::KeyInfo> DisplayController::Keys() const {
  return {kFontRName.info, kFontRStyle.info, kFontRColor.info, kFontRSize.info, kFontFName.info,
          kFontFStyle.info, kFontFSize.info, kFontFColor.info, kWordWrap.info, kTabWidth.info,
          kStreamBytes.info, kStreamCheck.info, kReadMax.info, kMenuDisp.info, kMenuRtf.info};
}

// ---------------------------------------------------------------- showing the selected file

void DisplayController::SetInfoColor(const QColor& color) { ui::SetInfoColor(ctx().InfoLine(), color); }

void DisplayController::ShowLineCount() {
  const viewer::TextPane& pane = ctx().Pane();
  // While the rest of the file is read, the count is not known yet.
  const QString count = rest_->Pending() ? QStringLiteral(" … 行 ") : QStringLiteral(" %1 行 ").arg(pane.LineCount());
  ctx().TextStatus().SetText(1, pane.IsEmpty() && !rest_->Pending() ? QString() : count);
}

bool DisplayController::Loading() const { return rest_->Pending(); }

void DisplayController::FinishLoading() {
  if (!rest_->Pending()) return;
  ui::BusyCursor busy;
  if (auto rest = rest_->Wait()) ApplyRest(std::move(*rest));
}

void DisplayController::ApplyRest(viewer::LoadedRest rest) {
  applying_ = true;
  if (rest.loaded) {
    ctx().Pane().SetDocument(std::move(rest.document), true, rest.form);
    ctx().InfoLine().setText(bridge::FromUtf8(viewer::InfoLineStep2(pending_step1_, pending_kind_, rest.code)));
  } else {
    // The beginning alone is not the file: it goes, and the line keeps its first step.
    ctx().Pane().Clear();
    ctx().InfoLine().setText(bridge::FromUtf8(pending_way_ == viewer::LoadWay::Direct
                                                  ? viewer::InfoLineStep2(pending_step1_, "", "")
                                                  : pending_step1_));
    if (pending_way_ == viewer::LoadWay::Stream)
      ui::Warn(ctx().Window(), QStringLiteral("ストリームからの読み込みに失敗しました\n") + bridge::FromUtf8(rest.error));
  }
  applying_ = false;
  ShowLineCount();
}

void DisplayController::filedisp() {
  if (!ctx().Flags().instantmode) return;
  DisplaySelected(false);
}

void DisplayController::filedisp2() { DisplaySelected(true); }

void DisplayController::DisplaySelected(bool forced) {
  const std::string disk = bridge::ToDisk(ctx().SelectedPath());
  viewer::TextPane& pane = ctx().Pane();
  // The read settings are read at every display, so their dialogs apply to the next one.
  viewer::DisplaySettings settings;
  const platform::Settings& ini = ctx().Settings();
  settings.read.stream_bytes = ini.Read(kStreamBytes);
  settings.read.stream_check = ini.Read(kStreamCheck);
  settings.read.read_max = ini.Read(kReadMax);
  settings.rich_text = rtf_->isChecked();
  settings.page = pane.CodePage();
  settings.forced = forced;
  settings.editing = !pane.ReadOnly();
  settings.preview_bytes = preview_bytes_;

  rest_->Cancel();  // a file still being read is no longer wanted
  ui::BusyCursor busy;
  viewer::FileDisplay shown = viewer::ShowFile(disk, settings);
  if (forced && !shown.regular) return;  // the show commands touch nothing without a file
  ctx().InfoLine().clear();
  pane.SetPlainTextMode(!settings.rich_text);
  pane.Clear();
  if (!shown.exists) return;
  if (!Apply(shown)) return;
  if (shown.preview) {
    // The rest is read and indexed off the window's thread; the line count waits for it.
    pending_step1_ = shown.info_step1;
    pending_kind_ = shown.kind;
    pending_way_ = shown.way;
    rest_->Start(disk, shown.size);
    ShowLineCount();
  }
  if (forced) ctx().folderinfo();
  else ctx().folderinfo2();
}

bool DisplayController::Apply(viewer::FileDisplay& shown) {
  viewer::TextPane& pane = ctx().Pane();
  switch (shown.color) {
    case viewer::InfoColor::Black: SetInfoColor(Qt::black); break;
    case viewer::InfoColor::Red: SetInfoColor(Qt::red); break;
    case viewer::InfoColor::Blue: SetInfoColor(Qt::blue); break;
  }
  ctx().InfoLine().setText(bridge::FromUtf8(shown.info_line));
  if (shown.way != viewer::LoadWay::Nothing && !shown.loaded) {
    // A failing stream load is reported; a failing direct load leaves the pane empty.
    if (shown.way == viewer::LoadWay::Stream)
      ui::Warn(ctx().Window(), QStringLiteral("ストリームからの読み込みに失敗しました\n") + bridge::FromUtf8(shown.error));
    return shown.way == viewer::LoadWay::Direct;
  }
  applying_ = true;
  if (shown.rich) pane.SetRichText(*shown.rich, std::move(shown.bytes));
  else if (shown.loaded) pane.SetText(std::move(shown.bytes), shown.form);
  applying_ = false;
  return true;
}

bool DisplayController::streamdisp(const QString& path) {
  viewer::DisplaySettings settings;
  settings.read = {0, true, 0};  // always the memory-stream way
  settings.rich_text = rtf_->isChecked();
  settings.page = ctx().Pane().CodePage();
  viewer::FileDisplay shown = viewer::ShowFile(bridge::ToDisk(path), settings);
  if (!shown.regular) return false;
  return Apply(shown);
}

void DisplayController::fileinfo() {
  // Step 1 only: nothing is loaded.
  ctx().InfoLine().setText(bridge::FromUtf8(viewer::InfoLineStep1(bridge::ToDisk(ctx().SelectedPath()))));
  ctx().Pane().Clear();
  ctx().folderinfo();
}

void DisplayController::tabset() { ctx().Pane().SetTabWidth(ctx().Flags().tabwidth); }

// ---------------------------------------------------------------- file names into the pane

void DisplayController::Mfilenamedisp0Click() {
  names_current_->setEnabled(ctx().Files().SelectedCount() > 0);
}

void DisplayController::Mfilenamedisp1Click() {
  if (ctx().Files().Count() == 0) return;
  std::vector<std::string> lines;
  const encoding::CodePage page = ctx().Pane().CodePage();
  for (const QString& c : ctx().Files().Captions()) lines.push_back(bridge::NameToPane(c, page));
  ctx().Pane().SetLines(lines);
}

void DisplayController::Mfilenamedisp2Click() {
  if (ctx().Files().Count() == 0) return;
  std::vector<std::string> lines;
  const encoding::CodePage page = ctx().Pane().CodePage();
  QString folder = ctx().CurrentFolder();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  for (const QString& c : ctx().Files().Captions()) lines.push_back(bridge::NameToPane(folder + c, page));
  ctx().Pane().SetLines(lines);
}

void DisplayController::Mfilenamedisp3Click() {
  const QString info = ctx().InfoLine().text();
  ctx().Pane().Clear();
  if (!info.isEmpty()) ctx().Pane().SetLines({bridge::ToPane(info, ctx().Pane().CodePage())});
}

}  // namespace haruvi::controllers
