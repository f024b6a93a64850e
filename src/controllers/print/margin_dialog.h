// TForm6 "印刷設定": the four margins in millimetres, the range each edge allows on the
// current printer and paper, and the paper's name and size.
#pragma once

#include <QDialog>

#include "systools/print_layout.h"

class QLabel;
class QSpinBox;

namespace haruvi::controllers {

class TForm6 : public QDialog {
  Q_OBJECT

 public:
  TForm6(const systools::PrinterMetrics& metrics, int paper_code, QWidget* parent = nullptr);

  // Loads the stored texts (an empty or missing one shows 0), then applies the ranges.
  void Load(const systools::Margins& stored);
  // The margins as the spin edits hold them after the range step.
  systools::Margins Entered() const;
  // The range step: the labels show "min-max" and each value out of its range becomes
  // its minimum.
  void ApplyRanges();

  QSpinBox* SEpaperTop = nullptr;
  QSpinBox* SEpaperLeft = nullptr;
  QSpinBox* SEpaperRight = nullptr;
  QSpinBox* SEpaperBottom = nullptr;
  QLabel* LhaniY = nullptr;
  QLabel* LhaniX = nullptr;
  QLabel* LhaniX2 = nullptr;
  QLabel* LhaniY2 = nullptr;
  QLabel* LabelP = nullptr;

 private:
  systools::PrinterMetrics metrics_;
};

}  // namespace haruvi::controllers
