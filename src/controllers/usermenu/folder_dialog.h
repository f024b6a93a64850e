// TForm23, "登録ﾌｫﾙﾀﾞｰの設定": registers folders for PopupMenu2, keeps that menu in
// step while it runs and writes section "PopupMenu2" once, when it closes.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "platform/ini_file.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace haruvi::shellview {
class TFolderView;
}

namespace haruvi::controllers {

class UserMenuController;

class TForm23 : public QDialog {
  Q_OBJECT

 public:
  TForm23(UserMenuController& menus, platform::IniFile& ini, QWidget* parent = nullptr);
  ~TForm23() override;

  void Edit1Change();
  void TreeClick(const QString& path);
  void ListBox1Click();
  void NewClick();     // "新規登録(&N)"
  void UpClick();      // "上へ(&U)"
  void DownClick();    // "下へ(&D)"
  void DeleteClick();  // "削除(&E)"
  void FormClose();

  QLineEdit* Edit1 = nullptr;
  shellview::TFolderView* ShellTree = nullptr;
  QListWidget* ListBox1 = nullptr;
  QPushButton* BNew = nullptr;
  QPushButton* BUp = nullptr;
  QPushButton* BDown = nullptr;
  QPushButton* BDelete = nullptr;
  QPushButton* BClose = nullptr;

 protected:
  void done(int result) override;

 private:
  void Refill();

  UserMenuController& menus_;
  platform::IniFile& ini_;
  std::vector<std::string> list_;
  bool written_ = false;
};

}  // namespace haruvi::controllers
