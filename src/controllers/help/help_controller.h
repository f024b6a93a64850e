// Help and the about box.
#pragma once

#include "ui/controller.h"

namespace haruvi::controllers {

class HelpController : public ui::Controller {
  Q_OBJECT

 public:
  explicit HelpController(ui::WindowContext& ctx, QObject* parent = nullptr);

  // The help pages beside the program, opened in the desktop's browser.
  void ToolButton8Click();
  void Mversion1Click();
};

}  // namespace haruvi::controllers
