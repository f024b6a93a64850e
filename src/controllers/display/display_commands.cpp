// DisplayController: the display settings (instant display, rich text, word wrap, fonts,
// character set, tab width, read settings), their keys, and the re-display commands.
#include <QAction>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <memory>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "controllers/display/display_controller.h"
#include "controllers/display/display_dialogs.h"
#include "controllers/display/text_font_dialog.h"
#include "platform/font_map.h"
#include "platform/settings_values.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

QFont MakeFont(const QString& name, int style, int size) {
  QFont f(QString::fromStdString(platform::FontFamilyFor(name.toStdString())));
  if (size > 0) f.setPointSize(size);
  auto bits = platform::FontStyleFromInt(style).value_or(platform::FontStyle{});
  f.setBold(bits.bold);
  f.setItalic(bits.italic);
  f.setUnderline(bits.underline);
  f.setStrikeOut(bits.strike_out);
  return f;
}

QColor ToQColor(int stored) { return QColor::fromRgb(static_cast<QRgb>(platform::ColorToRgb(stored))); }

int StyleBits(const QFont& f) {
  return platform::FontStyleToInt({f.bold(), f.italic(), f.underline(), f.strikeOut()});
}

QString Q(std::string_view s) { return bridge::FromUtf8(s); }

// A plain colour as the settings file stores it: 0x00BBGGRR.
int StoredColorOf(const QColor& c) { return c.red() | c.green() << 8 | c.blue() << 16; }

}  // namespace

// ---------------------------------------------------------------- settings

void DisplayController::ApplyPaneFont(const QString& name, int style, int color, int size) {
  pane_font_name_ = name;
  pane_font_style_ = platform::FontStyleFromInt(style) ? style : 0;
  pane_font_color_ = color;
  ctx().Text().View().SetPaneFont(MakeFont(name, pane_font_style_, size), ToQColor(color));
}

void DisplayController::ApplyFileFont(const QString& name, int style, int color, int size) {
  file_font_name_ = name;
  file_font_style_ = platform::FontStyleFromInt(style) ? style : 0;
  file_font_color_ = color;
  const QFont f = MakeFont(name, file_font_style_, size);
  shellview::TFileView& files = ctx().Files();
  files.setFont(f);
  files.SetFileFont(f);
  ctx().Folders().setFont(f);
  QPalette p = files.palette();
  p.setColor(QPalette::Text, ToQColor(color));
  files.setPalette(p);
  ctx().Folders().setPalette(p);
}

void DisplayController::initset() {
  ctx().TextStatus().SetText(4, QStringLiteral(" ﾘｱﾙﾓｰﾄﾞ "), true);
  ApplyPaneFont(Q(platform::kPaneFontName), 0, platform::kColorWindowText, 9);
  ApplyFileFont(Q(platform::kWindowFontName), 0, platform::kColorWindowText, 9);
  disp_->setChecked(true);
  tabset();
}

void DisplayController::iniload() {
  const platform::Settings& ini = ctx().Settings();
  // Names keep their bytes whatever they are (a name that is not UTF-8 is written back so).
  ApplyPaneFont(bridge::FromDisk(ini.Read(kFontRName, bridge::ToDisk(pane_font_name_))), ini.Read(kFontRStyle),
                ini.Read(kFontRColor, pane_font_color_), ini.Read(kFontRSize, 9));
  ApplyFileFont(bridge::FromDisk(ini.Read(kFontFName, bridge::ToDisk(file_font_name_))), ini.Read(kFontFStyle),
                ini.Read(kFontFColor, file_font_color_), ini.Read(kFontFSize, 9));
  viewer::TextPane& pane = ctx().Text().View();
  pane.SetWordWrap(ini.Read(kWordWrap, pane.WordWrap()));
  wrap_button_->setChecked(pane.WordWrap());
  ctx().Flags().tabwidth = ini.Read(kTabWidth);
  tabset();
  disp_->setChecked(ini.Read(kMenuDisp));
  rtf_->setChecked(ini.Read(kMenuRtf));
  raw_code_->setChecked(ini.Read(kMenuRawCode));
  // Dependent state.
  MrtfClick();
  MdispClick();
}

void DisplayController::inisave() {
  platform::Settings& ini = ctx().Settings();
  ini.Write(kFontRName, bridge::ToDisk(pane_font_name_));
  ini.Write(kFontRStyle, pane_font_style_);
  ini.Write(kFontRColor, pane_font_color_);
  ini.Write(kFontRSize, ctx().Text().View().PaneFont().pointSize());
  ini.Write(kFontFName, bridge::ToDisk(file_font_name_));
  ini.Write(kFontFStyle, file_font_style_);
  ini.Write(kFontFSize, ctx().Files().font().pointSize());
  ini.Write(kFontFColor, file_font_color_);
  ini.Write(kWordWrap, ctx().Text().View().WordWrap());
  ini.Write(kTabWidth, ctx().Flags().tabwidth);
  ini.Write(kMenuDisp, disp_->isChecked());
  ini.Write(kMenuRtf, rtf_->isChecked());
  ini.Write(kMenuRawCode, raw_code_->isChecked());
}

// ---------------------------------------------------------------- commands

void DisplayController::MdispClick() {
  const bool on = disp_->isChecked();
  ctx().Flags().instantmode = on ? 1 : 0;
  ctx().TextStatus().SetText(4, on ? QStringLiteral(" ﾘｱﾙﾓｰﾄﾞ ") : QStringLiteral("  Vﾓｰﾄﾞ "), true);
}

void DisplayController::MrtfClick() {
  const bool on = rtf_->isChecked();
  ctx().Text().View().SetPlainTextMode(!on);
  ctx().TextStatus().SetText(3, on ? QStringLiteral(" RTF ") : QStringLiteral("     "), true);
}

// The shown file is shown again the new way; any other text stays as it is.
void DisplayController::MrawcodeClick() {
  const ui::TextOrigin origin = ctx().Text().Origin();
  if (origin == ui::TextOrigin::File) DisplaySelected(false);
  else if (origin == ui::TextOrigin::FileAgain) DisplaySelected(true);
}

void DisplayController::MwordwrapClick() {
  viewer::TextPane& pane = ctx().Text().View();
  pane.SetWordWrap(!pane.WordWrap());
  wrap_button_->setChecked(pane.WordWrap());
}

void DisplayController::ToolButton39Click() { ctx().Text().View().SetWordWrap(wrap_button_->isChecked()); }

void DisplayController::MfonttextClick() {
  auto dialog = std::make_unique<TextFontDialog>(ctx().Text().View().PaneFont(), ctx().Text().View().TextColor(), ctx().Window());
  if (dialog->exec() != QDialog::Accepted) return;
  const QFont chosen = dialog->Font();
  // A colour the user did not change keeps its stored form (a system colour stays one).
  int color = pane_font_color_;
  if (dialog->Color() != ctx().Text().View().TextColor()) color = StoredColorOf(dialog->Color());
  ApplyPaneFont(chosen.family(), StyleBits(chosen), color, chosen.pointSize());
  tabset();
}

void DisplayController::MfontfileClick() {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, ctx().Files().font(), ctx().Window());
  if (!ok) return;
  ApplyFileFont(chosen.family(), StyleBits(chosen), file_font_color_, chosen.pointSize());
}

void DisplayController::MchartsetClick() {
  auto dialog = std::make_unique<TForm8>(pane_charset_, ctx().Window());
  connect(dialog.get(), &TForm8::CharsetChosen, this, [this](int charset) {
    pane_charset_ = charset;
    ctx().Text().View().SetCodePage(encoding::CodePageForCharset(charset));
  });
  dialog->exec();
}

int DisplayController::TabWidthFromAnswer(const QString& answer) {
  bool number = false;
  const int width = answer.trimmed().toInt(&number);
  return number && width > 0 && width <= 255 ? width : 8;
}

void DisplayController::Mtabset1Click() {
  bool ok = false;
  const QString answer = QInputDialog::getText(ctx().Window(), QStringLiteral("TAB位置設定"),
                                               QStringLiteral("TABの文字数"), QLineEdit::Normal,
                                               QStringLiteral("8"), &ok);
  if (!ok) return;
  ctx().Flags().tabwidth = TabWidthFromAnswer(answer);
  tabset();
}

void DisplayController::Mtextrepaint1Click() {
  QApplication::restoreOverrideCursor();
  ui::WindowFlags& f = ctx().Flags();
  f.viewenabled = 1;
  f.instantmode = 1;
  f.shiftdown = 0;
  f.altdown = 0;
  ctx().Text().SetOrigin(ui::TextOrigin::File);  // black, whatever follows
  ShowAndCount(false);
}

void DisplayController::MtextnewviewClick() {
  ctx().Flags().viewenabled = 1;
  ctx().Flags().instantmode = 1;
  ctx().Text().SetOrigin(ui::TextOrigin::File);  // black, whatever follows
  if (!ctx().SelectedPath().isEmpty()) ctx().ShowSelection();
  // Instant display stays on: the check marks and the status panel say so.
  disp_->setChecked(true);
  MdispClick();
}

void DisplayController::MstreamRead1Click() {
  ctx().Flags().worktext.clear();
  platform::Settings& ini = ctx().Settings();
  auto dialog = std::make_unique<TForm26>(true, ini.Read(kStreamCheck), ini.Read(kStreamBytes), ctx().Window());
  if (dialog->exec() != QDialog::Accepted) return;
  platform::IniFile::Batch both(ini.File());  // both keys in one write
  ini.Write(kStreamCheck, dialog->Checked());
  ini.Write(kStreamBytes, dialog->Bytes());
}

void DisplayController::Mreadmax1Click() {
  ctx().Flags().worktext.clear();
  platform::Settings& ini = ctx().Settings();
  auto dialog = std::make_unique<TForm26>(false, true, ini.Read(kReadMax), ctx().Window());
  if (dialog->exec() != QDialog::Accepted) return;
  ini.Write(kReadMax, dialog->Bytes());
}

// "&V テキストを表示": with instant display the text is already there, so the pane is
// brought into view and to the keyboard; without it the selection is shown once, as a
// selection with instant display shows it.
void DisplayController::MvClick() {
  if (disp_->isChecked()) {
    if (ctx().Text().View().isHidden()) ctx().Actions().Trigger(QStringLiteral("MeditView1"));
    ctx().Text().View().setFocus();
    return;
  }
  ctx().Flags().instantmode = 1;
  ShowAndCount(false);
  ctx().Flags().instantmode = 0;
}

void DisplayController::ToolButton49Click() { ShowAndCount(true); }

}  // namespace haruvi::controllers
