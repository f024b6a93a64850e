// TAboutBox: the version dialog ("バージョン情報").
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace haruvi::controllers {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  QLabel* Version = nullptr;  // "Ver." + major + "." + minor
  QLabel* LV = nullptr;       // "Version:" + major.minor.release.build
  QLabel* Icon = nullptr;     // the program's icon
  QPushButton* Close = nullptr;  // "閉じる(&C)"
};

}  // namespace haruvi::controllers
