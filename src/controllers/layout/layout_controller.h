// The window's layout and browsing commands: hiding the pane, the tool bars, hover
// selection, list styles, column widths, sorting, the root folder, refresh, "上へ",
// drag and drop, and keeping the view menus' items up to date.
#pragma once

#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;
class QMenu;

namespace haruvi::controllers {

class LayoutController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "layout";
  static constexpr auto kIcon = platform::Int(kOwner, "FileView", "Icon", "", platform::KeyRule::IconStyle);
  static constexpr auto kColum1 = platform::Int(kOwner, "FileView", "Colum1", "", platform::KeyRule::ColumnWidth);
  static constexpr auto kColum2 = platform::Int(kOwner, "FileView", "Colum2", "", platform::KeyRule::ColumnWidth);
  static constexpr auto kColum3 = platform::Int(kOwner, "FileView", "Colum3", "", platform::KeyRule::ColumnWidth);
  static constexpr auto kHottrack = platform::Bool(kOwner, "FileView", "Hottrack", "0");
  static constexpr auto kMenuMousepoint = platform::Bool(kOwner, "Menu", "Mmousepoint", "0");
  static constexpr auto kMenuToolbar = platform::Bool(kOwner, "Menu", "Mtoolbar", "1");
  static constexpr auto kMenuSubtoolbar = platform::Bool(kOwner, "Menu", "Msubtoolbar", "1");
  static constexpr auto kMenuSubfolderview = platform::Bool(kOwner, "Menu", "Msubfolderview", "1");
  static constexpr auto kMenuDragdrop = platform::Bool(kOwner, "Menu", "Mdragdrop1", "0");

  explicit LayoutController(ui::WindowContext& ctx, QObject* parent = nullptr);

  void initset() override;
  void iniload() override;
  void inisave() override;
  std::vector<platform::KeyInfo> Keys() const override;

  // List style 1-4 (large icons, small icons, list, details); anything else 3.
  void ApplyListStyle(int style);
  // The text tool bar's layout of the pane's top panel.
  void LayoutTextToolBar();
  // Keeps the view menus' items current when they open.
  void WatchMenus(QMenu* view, QMenu* popup_view, QMenu* popup_option);

  void MeditView1Click();
  void MtoolbarClick();
  void Msubtoolbar1Click();
  void MmousepointClick();
  void Msubfolderview1Click();
  void Mdragdrop1Click();
  void Micon1Click();
  void Micon2Click();
  void Micon3Click();
  void Micon4Click();
  void Mfileviewcolum1Click();
  void Mfileviewcolum2Click();
  void Mfileviewcolum3Click();
  void Mfilesort1Click();
  void MrootfolderClick();
  void MinitviewClick();
  void ToolButton55Click();
  void MhyojiClick();
  void Mhyoji1Click();

 private:
  QAction* toolbar_;
  QAction* subtoolbar_;
  QAction* mousepoint_;
  QAction* subfolderview_;
  QAction* dragdrop_;
  QAction* wordwrap_text_ = nullptr;  // the display's item, renamed as wrap changes
  QMenu* widths_menu_ = nullptr;
  QMenu* codes_menu_ = nullptr;        // "文字コード変換(&J)" in "表示(&D)"
  QMenu* popup_codes_menu_ = nullptr;  // its copy in the pop-up's "表示(&D)"
  static void EnableCodes(QMenu* codes, bool on);
};

}  // namespace haruvi::controllers
