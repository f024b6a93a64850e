// Where a help request goes: the desktop's web browser when the desktop has one, else
// the program's own help window; a search always goes to the help window, which can
// search every page. The pages are found beside the program (see platform::HelpFolder).
#pragma once

#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>

class QWidget;

namespace haruvi::ui {

class HelpWindow;

struct HelpRequest {
  QString page = QStringLiteral("index.html");
  QString anchor;  // a place on the page, "" for its top
  bool search = false;  // the help window's search, with `words` in its box
  QString words;
};

// How help reaches the desktop; tests replace the members.
struct HelpDesktop {
  std::function<bool()> has_browser;        // a web browser is known (BROWSER, xdg-mime)
  std::function<bool(const QUrl&)> open_url;
  static HelpDesktop Real();
};

enum class HelpShown { InBrowser, InHelpWindow, NoPages };

// Shows the request from the help pages in `folder` (empty: none were found). The help
// window is made once, as a child of `window`.
HelpShown OpenHelp(QWidget* window, const std::filesystem::path& folder, const HelpRequest& request,
                   const HelpDesktop& desktop = HelpDesktop::Real());

// The help window of `window`, when one was opened.
HelpWindow* HelpWindowOf(QWidget* window);

}  // namespace haruvi::ui
