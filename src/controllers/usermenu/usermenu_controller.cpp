#include "controllers/usermenu/usermenu_controller.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <memory>

#include "bridge/disk_path.h"
#include "bridge/programs.h"
#include "controllers/usermenu/app_dialog.h"
#include "controllers/usermenu/folder_dialog.h"
#include "controllers/usermenu/menu_items.h"
#include "platform/command_line.h"
#include "platform/user_lists.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"

namespace haruvi::controllers {

UserMenuController::UserMenuController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  auto on = [this](void (UserMenuController::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  a.Declare({"Mexeopt", "設定(&O)..", "アプリケーションの設定|実行するアプリケーションを登録します。"},
            on(&UserMenuController::MexeoptClick));
  a.Declare({"Mtorokufolder", "登録フォルダーを表示(&K)", "登録フォルダー|登録フォルダーを表示します。"},
            on(&UserMenuController::MtorokufolderClick));
  a.Declare({"ToolButton11", "登録フォルダー", "登録フォルダー|登録フォルダーを表示します。"},
            on(&UserMenuController::ToolButton11Click));
  a.Declare({"Mtorokufolderset", "登録フォルダーの設定(&K)", "登録フォルダーの設定|登録フォルダーを設定します。"},
            on(&UserMenuController::MtorokufoldersetClick));
  mexedo_ = new QMenu(QStringLiteral("実行(&G)"), ctx.Window());
  mexedo_->setObjectName(QStringLiteral("Mexedo"));
  mexedo2_ = new QMenu(QStringLiteral("実行(&G)"), ctx.Window());
  mexedo2_->setObjectName(QStringLiteral("Mexedo2"));
  popupmenu2_ = new QMenu(ctx.Window());
  popupmenu2_->setObjectName(QStringLiteral("PopupMenu2"));
}

std::vector<platform::KeyInfo> UserMenuController::Keys() const { return {kExeCount.info, kFolderCount.info}; }

void UserMenuController::iniload() { Rebuild(); }

void UserMenuController::Rebuild() {
  for (QMenu* m : {mexedo_, mexedo2_, popupmenu2_})
    while (!m->actions().isEmpty()) usermenu::DeleteItem(m, 0);
  const platform::IniFile& ini = ctx().Settings().File();
  const std::vector<platform::ExeEntry> apps = platform::ReadExeList(ini);
  for (std::size_t n = 0; n < apps.size(); ++n) exemenuadd(bridge::FromDisk(apps[n].name), int(n) + 1);
  const std::vector<std::string> folders = platform::ReadFolderList(ini);
  // An empty entry leaves a gap in the numbering.
  for (std::size_t n = 0; n < folders.size(); ++n)
    if (!folders[n].empty()) foldermenuadd(bridge::FromDisk(folders[n]), int(n) + 1);
}

// ---------------------------------------------------------------- menus

void UserMenuController::exemenuadd(const QString& name, int number) {
  for (QMenu* m : {mexedo_, mexedo2_}) usermenu::AddItem(m, name, number, [this](int tag) { appexe(tag); });
}
void UserMenuController::exemenudel(int index) {
  for (QMenu* m : {mexedo_, mexedo2_}) usermenu::DeleteItem(m, index);
}
void UserMenuController::exemenuupdate(const QString& name, int index) {
  for (QMenu* m : {mexedo_, mexedo2_}) usermenu::UpdateItem(m, name, index);
}
void UserMenuController::exemenuup(int index) {
  for (QMenu* m : {mexedo_, mexedo2_}) usermenu::ExchangeItems(m, index - 1, index);
}
void UserMenuController::exemenudown(int index) {
  for (QMenu* m : {mexedo_, mexedo2_}) usermenu::ExchangeItems(m, index, index + 1);
}
void UserMenuController::foldermenuadd(const QString& path, int number) {
  usermenu::AddItem(popupmenu2_, path, number, [this](int tag) { torokufolderjump(tag); });
}
void UserMenuController::foldermenudel(int index) { usermenu::DeleteItem(popupmenu2_, index); }
void UserMenuController::foldermenuup(int index) { usermenu::ExchangeItems(popupmenu2_, index - 1, index); }
void UserMenuController::foldermenudown(int index) { usermenu::ExchangeItems(popupmenu2_, index, index + 1); }

// ---------------------------------------------------------------- commands

// The stored line is split once and the program started directly, never through a
// shell, in the browsed folder; a failure to start is said on the status bar.
void UserMenuController::appexe(int tag) {
  if (tag < 1) return;
  const std::string line = platform::ReadExeFile(ctx().Settings().File(), tag);
  if (line.empty()) return;
  const platform::CommandLine cl = platform::SplitCommandLine(line);
  if (!cl.error.empty()) {
    ctx().Status().SetText(4, QStringLiteral("実行できません (") + QString::fromUtf8(cl.error) + QStringLiteral("): ") +
                                  bridge::FromDisk(line));
    return;
  }
  const QString program = bridge::FromDisk(cl.words[0]);
  QStringList args;
  for (std::size_t i = 1; i < cl.words.size(); ++i) args << bridge::FromDisk(cl.words[i]);
  QString why;
  if (!bridge::StartProgram(program, args, ctx().CurrentFolder(), &why))
    ctx().Status().SetText(4, QStringLiteral("アプリケーションを起動できません: ") + bridge::DisplayName(program) +
                                  QStringLiteral(" (") + why + QLatin1Char(')'));
}

void UserMenuController::torokufolderjump(int tag) {
  if (tag < 1) return;
  const std::string folder = platform::ReadFolder(ctx().Settings().File(), tag);
  if (folder.empty()) return;
  // A folder registered as "~/..." is the home folder's, as in a shell.
  const QString path = bridge::ExpandHome(bridge::FromDisk(folder));
  {
    ui::QuietGuard quiet(ctx());
    if (!ctx().MoveToFolder(path)) {
      ctx().Status().SetText(4, QStringLiteral("フォルダーが見つかりません: ") + bridge::DisplayName(path));
      return;
    }
    ctx().Text().SetInfo(QString());
    if (ctx().Files().Count() > 0) ctx().Files().SelectRow(0);
  }
  ctx().folderinfo();
}

void UserMenuController::ShowFolderMenu(const QPoint& at) { popupmenu2_->popup(ctx().Window()->mapToGlobal(at)); }

void UserMenuController::MtorokufolderClick() {
  // Below the tool bar, over the file list's panel.
  QWidget* window = ctx().Window();
  const QPoint panel = ctx().Files().mapTo(window, QPoint(0, 0));
  ShowFolderMenu(QPoint(panel.x() + 4, panel.y() + 2));
}

void UserMenuController::ToolButton11Click() {
  QWidget* window = ctx().Window();
  QWidget* button = ctx().MainToolBar().findChild<QWidget*>(QStringLiteral("ToolButton11"));
  const QPoint panel = ctx().Files().mapTo(window, QPoint(0, 0));
  const int left = button && button->isVisible() ? button->mapTo(window, QPoint(0, 0)).x() : panel.x() + 4;
  ShowFolderMenu(QPoint(left, panel.y() + 2));
}

void UserMenuController::MexeoptClick() {
  ctx().Flags().worktext.clear();
  {
    auto dialog = std::make_unique<TForm22>(*this, ctx().Settings().File(), ctx().Window());
    dialog->exec();
  }
  // The dialog drops programs that are gone; the menus follow the written list, so an
  // item's number always names its own entry.
  Rebuild();
}

void UserMenuController::MtorokufoldersetClick() {
  ctx().Flags().worktext.clear();
  {
    auto dialog = std::make_unique<TForm23>(*this, ctx().Settings().File(), ctx().Window());
    dialog->exec();
  }
  Rebuild();  // empty entries were dropped: the numbers follow the written list
}

}  // namespace haruvi::controllers
