// The display of the selected file and the display settings: showing a file through the
// viewer's one-step pipeline, the information line, instant display, rich-text mode,
// word wrap, the two fonts, the pane's character set, tab stops, the read settings, the
// re-display commands and the file-name lists put into the pane.
#pragma once

#include <QString>
#include <string>

#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;
class QFont;

namespace haruvi::controllers {

class DisplayController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "display";
  static constexpr auto kFontRName = platform::Str(kOwner, "FontR", "Name", "ＭＳ ゴシック", platform::KeyRule::MaxBytes, 0, 256);
  static constexpr auto kFontRStyle = platform::Style(kOwner, "FontR", "Style");
  static constexpr auto kFontRColor = platform::Color(kOwner, "FontR", "Color", "clWindowText");
  static constexpr auto kFontRSize = platform::Int(kOwner, "FontR", "Size", "", platform::KeyRule::Range, 1, 399);
  static constexpr auto kFontFName = platform::Str(kOwner, "FontF", "Name", "", platform::KeyRule::MaxBytes, 0, 256);
  static constexpr auto kFontFStyle = platform::Style(kOwner, "FontF", "Style");
  static constexpr auto kFontFSize = platform::Int(kOwner, "FontF", "Size", "", platform::KeyRule::Range, 1, 399);
  static constexpr auto kFontFColor = platform::Color(kOwner, "FontF", "Color", "");
  static constexpr auto kWordWrap = platform::Bool(kOwner, "RichEdit", "WordWrap", "0");
  static constexpr auto kTabWidth = platform::Int(kOwner, "RichEdit", "richtabwidth", "8", platform::KeyRule::Range, 1, 255);
  static constexpr auto kStreamBytes = platform::Int(kOwner, "StreamRead", "Byte", "10000");
  static constexpr auto kStreamCheck = platform::Bool(kOwner, "StreamRead", "Check", "1");
  static constexpr auto kReadMax = platform::Int(kOwner, "ReadMax", "Byte", "0");
  static constexpr auto kMenuDisp = platform::Bool(kOwner, "Menu", "Mdisp", "1");
  static constexpr auto kMenuRtf = platform::Bool(kOwner, "Menu", "Mrtf", "0");
  static constexpr auto kMenuRawCode = platform::Bool(kOwner, "Menu", "Mrawcode", "0");

  explicit DisplayController(ui::WindowContext& ctx, QObject* parent = nullptr);

  void initset() override;
  void iniload() override;
  void inisave() override;
  std::vector<platform::KeyInfo> Keys() const override;

  // Routines.
  // Show the selected file (filedisp2: whatever instant display says, the line blue);
  // true when it was shown, the window then naming the folder's totals.
  bool filedisp();
  bool filedisp2();
  void tabset();
  // Files above this many bytes are shown by their beginning first (tests make it small).
  static void SetPreviewBytes(std::uint64_t bytes) { preview_bytes_ = bytes; }

  // Commands.
  void MdispClick();
  void MrawcodeClick();
  void MrtfClick();
  void MwordwrapClick();
  void ToolButton39Click();
  void MfonttextClick();
  void MfontfileClick();
  void MchartsetClick();
  void Mtabset1Click();
  void Mtextrepaint1Click();
  void MtextnewviewClick();
  void MstreamRead1Click();
  void Mreadmax1Click();
  void MvClick();
  void ToolButton49Click();
  void Mfilenamedisp0Click();
  void Mfilenamedisp1Click();
  void Mfilenamedisp2Click();
  void Mfilenamedisp3Click();

  // The text "Mtabset1" answers are read by this rule: no number, or none a pane can
  // use, is the default 8.
  static int TabWidthFromAnswer(const QString& answer);

 private:
  bool DisplaySelected(bool forced);
  // The show commands: the display, then the folder's totals.
  void ShowAndCount(bool forced);
  void ApplyPaneFont(const QString& name, int style, int color, int size);
  void ApplyFileFont(const QString& name, int style, int color, int size);

  QAction* disp_;
  QAction* rtf_;
  QAction* raw_code_;  // "表示時に文字コードを変換しない"
  QAction* wordwrap_;
  QAction* wrap_button_;  // the wrap tool button's command, pressed while the pane wraps
  QAction* names_current_;
  QString pane_font_name_;
  int pane_font_style_ = 0;
  int pane_font_color_ = 0;
  QString file_font_name_;
  int file_font_style_ = 0;
  int file_font_color_ = 0;
  int pane_charset_ = 128;
  static inline std::uint64_t preview_bytes_ = 4u << 20;
};

}  // namespace haruvi::controllers
