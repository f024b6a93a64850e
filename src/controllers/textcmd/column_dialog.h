// TForm30: the column dialog of the column commands, asking for a start column and a
// count (both 1 to 65353, six characters at most). The insert commands hide the count.
#pragma once

#include <QDialog>

class QLabel;
class QSpinBox;

namespace haruvi::controllers {

class TForm30 : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMax = 65353;

  explicit TForm30(QWidget* parent = nullptr);
  // Values outside 1..65353 are brought into it, as the spin edits keep theirs.
  void SetValues(long long start, long long count);
  // The insert commands ask for the column only.
  void HideCount();

  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
  QLabel* Label2 = nullptr;
  QSpinBox* SpinEdit2 = nullptr;
};

}  // namespace haruvi::controllers
