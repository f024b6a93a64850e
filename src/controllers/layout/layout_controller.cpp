#include "controllers/layout/layout_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QMenu>
#include <QToolBar>
#include <memory>

#include "bridge/disk_path.h"
#include "controllers/layout/sort_dialog.h"
#include "platform/mounts.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "shellview/listing.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

LayoutController::LayoutController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  auto on = [this](void (LayoutController::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  a.Declare({"MeditView1", "テキスト表示を隠す(&I)", "隠す|テキスト表示を隠します。"}, on(&LayoutController::MeditView1Click))
      ->setIcon(QIcon::fromTheme(QStringLiteral("go-down")));
  auto* icons = new QActionGroup(this);
  icons->addAction(a.Declare({"Micon1", "大きいアイコン(&B)", "大きいアイコン|大きいアイコンで表示します。", true}, on(&LayoutController::Micon1Click)));
  icons->addAction(a.Declare({"Micon2", "小さいアイコン(&S)", "小さいアイコン|小さいアイコンで表示します。", true}, on(&LayoutController::Micon2Click)));
  icons->addAction(a.Declare({"Micon3", "一覧(&I)", "一覧|一覧で表示します。", true}, on(&LayoutController::Micon3Click)));
  icons->addAction(a.Declare({"Micon4", "詳細(&R)", "詳細|詳細を表示します。", true}, on(&LayoutController::Micon4Click)));
  a.SetChecked(QStringLiteral("Micon3"), true);
  a.Declare({"Mfileviewcolum1", "初期値(&Z)", "初期値|ファイル情報の幅を初期値に戻します。"}, on(&LayoutController::Mfileviewcolum1Click));
  a.Declare({"Mfileviewcolum2", "自動幅(&X)", "自動幅|ファイル情報の幅を自動調整します。"}, on(&LayoutController::Mfileviewcolum2Click));
  a.Declare({"Mfileviewcolum3", "ファイル名自動幅(&E)", "ファイル名自動幅|ファイル名の幅を自動調整します。"}, on(&LayoutController::Mfileviewcolum3Click));
  a.Declare({"Mfilesort1", "ファイルの並び替え(&S)", "並び替え|ファイルを並び替えます。"}, on(&LayoutController::Mfilesort1Click));
  a.Declare({"Mrootfolder", "ルートフォルダーを表示(&D)", "ルートフォルダー|ルートフォルダーを表示します。"}, on(&LayoutController::MrootfolderClick));
  a.Declare({"Minitview", "最新の情報に更新", "更新|最新の情報に更新します。"}, on(&LayoutController::MinitviewClick));
  a.Declare({"ToolButton55", "上へ", "上へ|一つ上のフォルダーに移動します。"}, on(&LayoutController::ToolButton55Click));
  toolbar_ = a.Declare({"Mtoolbar", "ツールバー表示", "ツールバー表示|ツールバーを表示します。", true}, on(&LayoutController::MtoolbarClick));
  subtoolbar_ = a.Declare({"Msubtoolbar1", "テキストツールバー表示", "テキストツールバー表示|テキストツールバーを表示します。", true},
                          on(&LayoutController::Msubtoolbar1Click));
  mousepoint_ = a.Declare({"Mmousepoint", "マウスポインタ表示", "マウスポインタ表示|マウスポインタの位置のファイルを選択します。", true},
                          on(&LayoutController::MmousepointClick));
  subfolderview_ = a.Declare({"Msubfolderview1", "サブフォルダーを展開", "サブフォルダーを展開|フォルダーを選択するとサブフォルダーを展開します。", true},
                             on(&LayoutController::Msubfolderview1Click));
  dragdrop_ = a.Declare({"Mdragdrop1", "ドラッグ&&ドロップ使用", "ドラッグ&&ドロップ使用|ドラッグ&&ドロップを使用します。", true},
                        on(&LayoutController::Mdragdrop1Click));
  a.Twin("Msubfolderview1", "Msubfolderview2");
  a.Twin("Mtoolbar", "Mtoolbar2");
  a.Twin("MeditView1", "Meditview2");
}

std::vector<platform::KeyInfo> LayoutController::Keys() const {
  return {kIcon.info, kColum1.info, kColum2.info, kColum3.info, kHottrack.info, kMenuMousepoint.info,
          kMenuToolbar.info, kMenuSubtoolbar.info, kMenuSubfolderview.info, kMenuDragdrop.info};
}

void LayoutController::initset() {
  shellview::TFileView& files = ctx().Files();
  files.SetViewStyle(shellview::ViewStyle::Details);
  for (int c = 1; c <= 3; ++c) files.SetColumnWidth(c, -1);
  ApplyListStyle(3);
  for (QAction* on : {toolbar_, subtoolbar_, subfolderview_}) on->setChecked(true);
  // The bars follow their check marks at once (a reset shows bars hidden before it).
  MtoolbarClick();
  LayoutTextToolBar();
}

void LayoutController::iniload() {
  const platform::Settings& ini = ctx().Settings();
  shellview::TFileView& files = ctx().Files();
  const int icon = ini.Read(kIcon, static_cast<int>(files.Style()));
  const platform::IntKey* columns[] = {&kColum1, &kColum2, &kColum3};
  for (int c = 1; c <= 3; ++c) files.SetColumnWidth(c, ini.Read(*columns[c - 1], files.ColumnWidth(c)));
  files.SetHotTrack(ini.Read(kHottrack, files.HotTrack()));
  toolbar_->setChecked(ini.Read(kMenuToolbar));
  subtoolbar_->setChecked(ini.Read(kMenuSubtoolbar));
  subfolderview_->setChecked(ini.Read(kMenuSubfolderview));
  dragdrop_->setChecked(ini.Read(kMenuDragdrop));
  // The list's hover setting decides the check mark; the menu's key is only written.
  mousepoint_->setChecked(files.HotTrack());
  ctx().TextStatus().SetText(5, files.HotTrack() ? QStringLiteral(" MP ") : QStringLiteral("    "), true);
  ApplyListStyle(icon);
  MtoolbarClick();
  LayoutTextToolBar();
  Mdragdrop1Click();
}

void LayoutController::inisave() {
  platform::Settings& ini = ctx().Settings();
  shellview::TFileView& files = ctx().Files();
  ini.Write(kIcon, static_cast<int>(files.Style()));
  const platform::IntKey* columns[] = {&kColum1, &kColum2, &kColum3};
  for (int c = 1; c <= 3; ++c) ini.Write(*columns[c - 1], files.ColumnWidth(c));
  ini.Write(kHottrack, files.HotTrack());
  ini.Write(kMenuMousepoint, mousepoint_->isChecked());
  ini.Write(kMenuToolbar, toolbar_->isChecked());
  ini.Write(kMenuSubtoolbar, subtoolbar_->isChecked());
  ini.Write(kMenuSubfolderview, subfolderview_->isChecked());
  ini.Write(kMenuDragdrop, dragdrop_->isChecked());
}

// ---------------------------------------------------------------- pane and bars

void LayoutController::MeditView1Click() {
  const bool visible = !ctx().Text().View().isHidden();
  if (visible) ctx().SetSavedTextHeight(ctx().Text().View().height());
  ctx().SetTextPaneVisible(!visible);
  if (ctx().Files().CurrentView()->isEnabled()) ctx().Files().CurrentView()->setFocus();
  else ctx().Folders().setFocus();
}

void LayoutController::MtoolbarClick() { ctx().MainToolBar().setVisible(toolbar_->isChecked()); }

void LayoutController::LayoutTextToolBar() {
  // The pane's top panel holds the text tool bar above the information label, or the label alone.
  ctx().TextToolBar().setVisible(subtoolbar_->isChecked());
}

void LayoutController::Msubtoolbar1Click() { LayoutTextToolBar(); }

void LayoutController::MmousepointClick() {
  const bool on = mousepoint_->isChecked();
  ctx().Files().SetHotTrack(on);
  ctx().TextStatus().SetText(5, on ? QStringLiteral(" MP ") : QStringLiteral("    "), true);
}

// Only toggles its check mark; a folder selection reads it.
void LayoutController::Msubfolderview1Click() {}

void LayoutController::Mdragdrop1Click() {
  const bool on = dragdrop_->isChecked();
  ctx().Files().SetDragEnabled(on);
  ctx().Window()->setAcceptDrops(on);
}

// ---------------------------------------------------------------- the file list

void LayoutController::ApplyListStyle(int style) {
  style = platform::IconStyle(style);
  ctx().Actions().SetChecked(QStringLiteral("Micon%1").arg(style), true);
  ctx().Files().SetViewStyle(static_cast<shellview::ViewStyle>(style));
}

void LayoutController::Micon1Click() { ApplyListStyle(1); }
void LayoutController::Micon2Click() { ApplyListStyle(2); }
void LayoutController::Micon3Click() { ApplyListStyle(3); }
void LayoutController::Micon4Click() { ApplyListStyle(4); }

void LayoutController::Mfileviewcolum1Click() { ctx().Files().FitColumns(0, 3); }
void LayoutController::Mfileviewcolum2Click() { ctx().Files().FitColumns(1, 3); }
void LayoutController::Mfileviewcolum3Click() { ctx().Files().FitColumns(0, 0); }

void LayoutController::Mfilesort1Click() {
  auto dialog = std::make_unique<TForm15>(ctx().Window());
  if (dialog->exec() != QDialog::Accepted) return;
  ui::QuietGuard quiet(ctx());
  ctx().Files().SortBy(dialog->Answer().toInt());
}

// ---------------------------------------------------------------- moving between folders

void LayoutController::MrootfolderClick() {
  const QString root = bridge::FromDisk(platform::DriveRoot(bridge::ToDisk(ctx().CurrentFolder())));
  if (!ctx().MoveToFolder(root)) return;
  {
    ui::QuietGuard quiet(ctx());
    ctx().Files().SelectRow(0);
  }
  ctx().folderinfo();
}

void LayoutController::MinitviewClick() {
  const QString selected = ctx().SelectedPath();
  ctx().viewreset();
  ctx().viewreselect(selected);
  ctx().folderinfo();  // counted anew: files may have come or gone
}

void LayoutController::ToolButton55Click() {
  const QString parent = bridge::FromDisk(shellview::ParentFolder(bridge::ToDisk(ctx().CurrentFolder())));
  ctx().MoveToFolder(parent);
  {
    ui::QuietGuard quiet(ctx());
    ctx().Files().SelectRow(0);
  }
  ctx().folderinfo();
}

// ---------------------------------------------------------------- menus

void LayoutController::WatchMenus(QMenu* view, QMenu* popup_view, QMenu* /*popup_option*/) {
  wordwrap_text_ = ctx().Actions().Get(QStringLiteral("Mwordwrap"));
  widths_menu_ = view->findChild<QMenu*>(QStringLiteral("Mfileviewcolum"));
  // The submenu belongs to the window (it sits in two menus): found among the entries.
  const auto submenu = [](QMenu* menu, const char* name) -> QMenu* {
    if (!menu) return nullptr;
    for (QAction* a : menu->actions())
      if (a->menu() && a->menu()->objectName() == QLatin1String(name)) return a->menu();
    return nullptr;
  };
  codes_menu_ = submenu(view, "Mcodehenkan1");
  popup_codes_menu_ = submenu(popup_view, "PopupMenu3");
  connect(view, &QMenu::aboutToShow, this, &LayoutController::MhyojiClick);
  connect(popup_view, &QMenu::aboutToShow, this, &LayoutController::Mhyoji1Click);
  // The code conversions are a submenu of the text menus too, where they stay enabled:
  // closing the menu that turned them off turns them on again.
  connect(view, &QMenu::aboutToHide, this, [this] { EnableCodes(codes_menu_, true); });
  if (popup_view) connect(popup_view, &QMenu::aboutToHide, this, [this] { EnableCodes(popup_codes_menu_, true); });
}

void LayoutController::EnableCodes(QMenu* codes, bool on) {
  if (codes) codes->menuAction()->setEnabled(on);
}

void LayoutController::MhyojiClick() {
  if (wordwrap_text_)
    wordwrap_text_->setText(ctx().Text().View().WordWrap() ? QStringLiteral("右で折り返さない(&R)") : QStringLiteral("右で折り返す(&R)"));
  if (widths_menu_) widths_menu_->setEnabled(ctx().Files().Style() == shellview::ViewStyle::Details);
  // The conversions work on the selected file: nothing to convert without one.
  EnableCodes(codes_menu_, ctx().Files().SelectedCount() > 0);
}

void LayoutController::Mhyoji1Click() {
  // The pop-up's items share their main items' state through the twins; the word-wrap
  // caption is the one that follows the pane.
  if (wordwrap_text_)
    wordwrap_text_->setText(ctx().Text().View().WordWrap() ? QStringLiteral("右で折り返さない(&R)") : QStringLiteral("右で折り返す(&R)"));
  EnableCodes(popup_codes_menu_, ctx().Files().SelectedCount() > 0);
}

}  // namespace haruvi::controllers
