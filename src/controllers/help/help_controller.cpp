#include "controllers/help/help_controller.h"

#include <QDesktopServices>
#include <QUrl>
#include <memory>

#include "bridge/disk_path.h"
#include "controllers/help/about_box.h"
#include "platform/settings_location.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"

namespace haruvi::controllers {

HelpController::HelpController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ctx.Actions().Declare({"Mhelp", "ヘルプ(&H)", "ヘルプ|ヘルプを表示します。"}, [this] { ToolButton8Click(); });
  ctx.Actions().Declare({"Mversion1", "バージョン情報(&A)...", "バージョン情報|バージョン情報を表示します。"},
                        [this] { Mversion1Click(); });
}

void HelpController::ToolButton8Click() {
  const std::filesystem::path folder = platform::HelpFolder(bridge::ToDisk(ctx().ProgramFolder()));
  if (folder.empty()) {
    ctx().Status().SetText(4, QStringLiteral("ヘルプが見つかりません"));
    return;
  }
  QUrl url = bridge::FileUrl(bridge::FromDisk((folder / "index.html").string()));
  url.setFragment(QStringLiteral("1001"));
  if (!QDesktopServices::openUrl(url))
    ctx().Status().SetText(4, QStringLiteral("ヘルプを表示できません (ブラウザーが見つかりません): ") + bridge::DisplayName(bridge::PathFromUrl(url)));
}

void HelpController::Mversion1Click() {
  auto box = std::make_unique<TAboutBox>(ctx().Window());
  box->exec();
}

}  // namespace haruvi::controllers
