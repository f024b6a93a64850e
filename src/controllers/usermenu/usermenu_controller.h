// The user's own menus: registered applications ("実行(&G)" in "アプリケーション(&A)" and
// its pop-up twin) and registered folders (PopupMenu2), each list in its own settings
// section ("Mexe", "PopupMenu2") and edited in its own dialog (TForm22, TForm23).
// A click reads its entry again from the settings file by the item's number.
#pragma once

#include <QString>

#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;
class QMenu;

namespace haruvi::controllers {

class UserMenuController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "usermenu";
  // The lists' counts; their "File"/"Name"/"Folder" + n keys go with them.
  static constexpr auto kExeCount = platform::Int(kOwner, "Mexe", "Count", "0");
  static constexpr auto kFolderCount = platform::Int(kOwner, "PopupMenu2", "Count", "0");

  explicit UserMenuController(ui::WindowContext& ctx, QObject* parent = nullptr);

  std::vector<platform::KeyInfo> Keys() const override;
  // Builds the menus from the settings file.
  void iniload() override;

  QMenu* Mexedo() const { return mexedo_; }
  QMenu* Mexedo2() const { return mexedo2_; }
  QMenu* PopupMenu2() const { return popupmenu2_; }

  void MexeoptClick();
  void MtorokufolderClick();
  void ToolButton11Click();
  void MtorokufoldersetClick();

  // The routines the dialogs keep the menus in step with (indexes from 0).
  void exemenuadd(const QString& name, int number);
  void exemenudel(int index);
  void exemenuupdate(const QString& name, int index);
  void exemenuup(int index);
  void exemenudown(int index);
  void foldermenuadd(const QString& path, int number);
  void foldermenudel(int index);
  void foldermenuup(int index);
  void foldermenudown(int index);
  // Runs the application / jumps to the folder of the item numbered `tag` (from 1).
  void appexe(int tag);
  void torokufolderjump(int tag);

 private:
  void Rebuild();
  void ShowFolderMenu(const QPoint& at);

  QMenu* mexedo_ = nullptr;
  QMenu* mexedo2_ = nullptr;
  QMenu* popupmenu2_ = nullptr;
};

}  // namespace haruvi::controllers
