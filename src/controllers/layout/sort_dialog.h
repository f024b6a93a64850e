// TForm15: the file sort dialog ("ファイルのソート"). Its answer is the chosen index
// (0 name, 1 size, 2 type, 3 time) plus 90 when descending, as a decimal text.
#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;

namespace haruvi::controllers {

class TForm15 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm15(QWidget* parent = nullptr);
  QString Answer() const;
  QButtonGroup* group = nullptr;
  QCheckBox* descending = nullptr;
};

}  // namespace haruvi::controllers
