#include "ui/help_viewer.h"

#include <QDesktopServices>
#include <QProcess>
#include <QWidget>
#include <cstdlib>

#include "bridge/disk_path.h"
#include "ui/help_window.h"

namespace haruvi::ui {
namespace {

// The desktop names a browser: $BROWSER, or an application for text/html.
bool DesktopHasBrowser() {
  const char* browser = std::getenv("BROWSER");
  if (browser && *browser) return true;
  QProcess query;
  query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
  if (!query.waitForFinished(3000)) {
    query.kill();
    query.waitForFinished(1000);
    return false;
  }
  return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

HelpDesktop HelpDesktop::Real() {
  return {DesktopHasBrowser, [](const QUrl& url) { return QDesktopServices::openUrl(url); }};
}

HelpWindow* HelpWindowOf(QWidget* window) {
  return window ? window->findChild<HelpWindow*>(QStringLiteral("HelpWindow"), Qt::FindDirectChildrenOnly) : nullptr;
}

HelpShown OpenHelp(QWidget* window, const std::filesystem::path& folder, const HelpRequest& request,
                   const HelpDesktop& desktop) {
  if (folder.empty()) return HelpShown::NoPages;
  if (!request.search && desktop.has_browser && desktop.has_browser()) {
    QUrl url = bridge::FileUrl(bridge::FromDisk((folder / request.page.toStdString()).string()));
    if (!request.anchor.isEmpty()) url.setFragment(request.anchor);
    if (desktop.open_url && desktop.open_url(url)) return HelpShown::InBrowser;
  }
  HelpWindow* help = HelpWindowOf(window);
  if (!help) help = new HelpWindow(folder, window);
  if (!request.search) help->ShowPage(request.page, request.anchor);
  else help->Search(request.words);
  return HelpShown::InHelpWindow;
}

}  // namespace haruvi::ui
