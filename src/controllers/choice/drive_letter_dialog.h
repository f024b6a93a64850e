// TForm10: the drive dialog. A row of drive buttons (DrivePanel1, one per mounted file
// system with its letter and mount point) and a one-letter box; a button puts its letter
// into the box, OK answers the box's letter.
#pragma once

#include <QDialog>
#include <vector>

#include "platform/drive_letters.h"

class QButtonGroup;
class QLineEdit;
class QWidget;

namespace haruvi::controllers {

class TForm10 : public QDialog {
  Q_OBJECT

 public:
  TForm10(std::vector<platform::LetteredDrive> drives, QWidget* parent = nullptr);
  // Presses the button of `letter` (the current folder's drive).
  void Press(char letter);
  // The box's letter, upper-case; empty when none.
  QString Letter() const;

  QWidget* DrivePanel1 = nullptr;
  QButtonGroup* Buttons = nullptr;
  QLineEdit* Edit1 = nullptr;

 private:
  std::vector<platform::LetteredDrive> drives_;
};

}  // namespace haruvi::controllers
