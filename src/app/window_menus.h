// The main menu, its pop-up copy and the two tool bars, assembled from the actions the
// controllers declared (looked up by the items' names in the action registry).
#pragma once

class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace haruvi::ui { class ActionRegistry; }

namespace haruvi::app {

struct WindowMenus {
  QMenu* view = nullptr;          // "表示(&D)"
  QMenu* names = nullptr;         // its "ファイル名表示(&G)"
  QMenu* popup = nullptr;         // PopupMenu1 (key Z)
  QMenu* popup_option = nullptr;  // its "設定(&O)"
  QMenu* popup_view = nullptr;    // its "表示(&D)"
  QMenu* popup_names = nullptr;   // its "ファイル名表示(&G)"
  QMenu* edit = nullptr;          // "編集(&E)"
  QMenu* popup_edit = nullptr;    // its pop-up copy
  QMenu* codes = nullptr;         // "文字コード変換(&J)" (in "変換(&C)" and "表示(&D)")
  QMenu* popup_codes = nullptr;   // PopupMenu3, its pop-up copy
};

// Declares the items whose commands come with later features (shown disabled), then
// builds the menu bar and the pop-up menu.
WindowMenus BuildWindowMenus(QMainWindow& window, ui::ActionRegistry& actions);
// The user menus' places: "アプリケーション(&A)" (its "実行(&G)" and "設定(&O).."), the
// registered folders' items in "表示(&D)" and "設定(&O)", and "実行(&G)"'s pop-up twin.
void PlaceUserMenus(QMainWindow& window, ui::ActionRegistry& actions, const WindowMenus& menus, QMenu* exe,
                    QMenu* exe2);
// The main tool bar, empty: the tool-bar feature puts the buttons on both bars.
QToolBar* BuildMainToolBar(QMainWindow& window);
// The text tool bar's first button (show/hide the pane), which is not configurable.
QToolButton* BuildTextToolBar(QToolBar& bar, ui::ActionRegistry& actions);

}  // namespace haruvi::app
