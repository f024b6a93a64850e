// TForm21, "ツールボタンの設定": one check list per tool bar ("メイン" and "ビュー") with
// an entry per configurable button; OK writes every entry's check to its button's key.
#pragma once

#include <QDialog>

#include <vector>

#include "controllers/toolbar/tool_buttons.h"
#include "platform/setting_key.h"

class QListWidget;
class QPushButton;
class QTabWidget;

namespace haruvi::controllers {

class TForm21 : public QDialog {
  Q_OBJECT

 public:
  // An entry for each of `buttons` that is no divider, in their order.
  TForm21(platform::Settings& settings, std::vector<toolbar::ToolButtonInfo> buttons, QWidget* parent = nullptr);

  // OK: writes every entry's check (both lists, in list order) and closes.
  void BitBtn1Click();
  // Cancel: nothing is written.
  void BitBtn2Click();
  // "全て表示(&A)": checks every entry of both lists; nothing is stored yet.
  void Button1Click();

  QTabWidget* PageControl1 = nullptr;
  QListWidget* CLB1 = nullptr;
  QListWidget* CLB2 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;

 private:
  platform::Settings& settings_;
  std::vector<toolbar::ToolButtonInfo> buttons_;
};

}  // namespace haruvi::controllers
