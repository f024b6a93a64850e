// Help and the about box: the help pages in the desktop's browser or the program's own
// help window, and the pages made from the program's menus (WritePages).
#pragma once

#include <string>

#include "ui/controller.h"
#include "ui/help_viewer.h"

namespace haruvi::controllers {

class HelpController : public ui::Controller {
  Q_OBJECT

 public:
  explicit HelpController(ui::WindowContext& ctx, QObject* parent = nullptr);

  // The help pages beside the program, at their contents.
  void ToolButton8Click();
  void Mversion1Click();
  // Writes the pages made from the menus ("commands.html", "keys.html") into `folder`;
  // false with the file that failed in `error`.
  bool WritePages(const std::string& folder, std::string* error);

  // Tests: how help reaches the desktop (no browser, a recorded URL).
  inline static ui::HelpDesktop desktop_for_test;
};

}  // namespace haruvi::controllers
