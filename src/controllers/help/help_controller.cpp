#include "controllers/help/help_controller.h"

#include <fcntl.h>
#include <unistd.h>

#include <memory>

#include "bridge/disk_path.h"
#include "controllers/help/about_box.h"
#include "controllers/help/help_pages.h"
#include "platform/settings_location.h"
#include "ui/action_registry.h"
#include "ui/help_viewer.h"
#include "ui/panel_bar.h"

namespace haruvi::controllers {

HelpController::HelpController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ctx.Actions().Declare({"Mhelp", "ヘルプ(&H)", "ヘルプ|ヘルプを表示します。"}, [this] { ToolButton8Click(); });
  ctx.Actions().Declare({"Mversion1", "バージョン情報(&A)...", "バージョン情報|バージョン情報を表示します。"},
                        [this] { Mversion1Click(); });
}

void HelpController::ToolButton8Click() {
  const std::filesystem::path folder = platform::HelpFolder(bridge::ToDisk(ctx().ProgramFolder()));
  ui::HelpDesktop desktop = ui::HelpDesktop::Real();
  if (desktop_for_test.has_browser) desktop = desktop_for_test;
  const ui::HelpShown shown = ui::OpenHelp(ctx().Window(), folder, {QStringLiteral("index.html"), QStringLiteral("1001"), false, {}}, desktop);
  if (shown == ui::HelpShown::NoPages) ctx().Status().SetText(4, QStringLiteral("ヘルプが見つかりません"));
  else if (shown == ui::HelpShown::InHelpWindow) ctx().Status().SetText(4, QStringLiteral("ヘルプをヘルプウィンドウで表示しました"));
}

void HelpController::Mversion1Click() {
  auto box = std::make_unique<TAboutBox>(ctx().Window());
  box->exec();
}

bool HelpController::WritePages(const std::string& folder, std::string* error) {
  for (const auto& [name, html] : help::GeneratedPages(*ctx().Window(), ctx().Actions())) {
    const std::string path = folder + "/" + name.toStdString();
    const QByteArray bytes = html.toUtf8();
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && ::write(fd, bytes.data(), static_cast<std::size_t>(bytes.size())) == bytes.size();
    if (fd >= 0) ok = ::close(fd) == 0 && ok;
    if (!ok) {
      if (error) *error = path;
      return false;
    }
  }
  return true;
}

}  // namespace haruvi::controllers
