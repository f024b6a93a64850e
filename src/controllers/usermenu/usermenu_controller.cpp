#include "controllers/usermenu/usermenu_controller.h"

#include "ui/action_registry.h"

namespace haruvi::controllers {

UserMenuController::UserMenuController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.DeclarePending({"Mtorokufolder", "登録フォルダーを表示(&K)", "登録フォルダー|登録フォルダーを表示します。"});
  a.DeclarePending({"ToolButton11", "登録フォルダー", "登録フォルダー|登録フォルダーを表示します。"});
}

}  // namespace haruvi::controllers
