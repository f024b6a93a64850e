// The user's own menus: registered applications ("実行(&G)" and its pop-up twin) and
// registered folders (PopupMenu2), with their settings sections and dialogs.
#pragma once

#include "ui/controller.h"

namespace haruvi::controllers {

class UserMenuController : public ui::Controller {
  Q_OBJECT

 public:
  explicit UserMenuController(ui::WindowContext& ctx, QObject* parent = nullptr);
};

}  // namespace haruvi::controllers
