// The letter keys of the file list and the folder tree and the key menu PopupMenu1:
// a typed character (or its half-width katakana twin) runs its command by name through
// the action registry; the key menu's entries run the keys' commands the same way.
#pragma once

#include <QString>

#include "ui/controller.h"

class QMenu;

namespace haruvi::controllers {

class KeysController : public ui::Controller {
  Q_OBJECT

 public:
  explicit KeysController(ui::WindowContext& ctx, QObject* parent = nullptr);

  // A character typed in the file list or the folder tree (the key event's text, so
  // any keyboard layout works). True when the table names it: the key is consumed,
  // whether or not its command is enabled just now.
  bool FileView1KeyPress(const QString& text);
  // Puts the key entries at the head of the key menu; key Z opens that menu.
  void FillKeyMenu(QMenu* menu);

  void MfClick();
  void MyyClick();
  void MyeClick();
  void MybClick();
  void MyhClick();
  void MycClick();
  void MzClick();

 private:
  QMenu* menu_ = nullptr;
};

}  // namespace haruvi::controllers
