// TForm22, "ｱﾌﾟﾘｹｰｼｮﾝの設定": registers applications (command line and shown name),
// keeps the application menus in step while it runs and writes section "Mexe" once,
// when it closes.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/ini_file.h"
#include "platform/user_lists.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace haruvi::shellview {
class TFolderView;
}

namespace haruvi::controllers {

class UserMenuController;

class TForm22 : public QDialog {
  Q_OBJECT

 public:
  TForm22(UserMenuController& menus, platform::IniFile& ini, QWidget* parent = nullptr);
  ~TForm22() override;

  void Edit1Change();
  // A file chosen in the tree: its path, and its name without extension.
  void TreeClick(const QString& path);
  void ListBox1Click();
  void NewClick();     // "新規登録(&N)"
  void UpdateClick();  // "更新(&A)"
  void UpClick();      // "上へ(&U)"
  void DownClick();    // "下へ(&D)"
  void DeleteClick();  // "削除(&E)"
  // Writes the list (also when the window is closed otherwise).
  void FormClose();

  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  shellview::TFolderView* ShellTree = nullptr;
  QListWidget* ListBox1 = nullptr;
  QPushButton* BNew = nullptr;
  QPushButton* BUpdate = nullptr;
  QPushButton* BUp = nullptr;
  QPushButton* BDown = nullptr;
  QPushButton* BDelete = nullptr;
  QPushButton* BClose = nullptr;

 protected:
  void done(int result) override;

 private:
  void Exchange(int a, int b);

  UserMenuController& menus_;
  platform::IniFile& ini_;
  std::vector<platform::ExeEntry> list_;
  bool written_ = false;
};

}  // namespace haruvi::controllers
