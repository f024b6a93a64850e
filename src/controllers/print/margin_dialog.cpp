// TForm6, the print-settings dialog.
#include "controllers/print/margin_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace haruvi::controllers {

TForm6::TForm6(const systools::PrinterMetrics& metrics, int paper_code, QWidget* parent)
    : QDialog(parent), metrics_(metrics) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("印刷設定"));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("余白設定(mm)"), this);
  auto* grid = new QGridLayout(group);
  auto spin = [&](const char* name, const char* caption, int row, QLabel*& range) {
    auto* s = new QSpinBox(group);
    s->setObjectName(QString::fromUtf8(name));
    s->setRange(0, 9999);  // four digits at most
    auto* label = new QLabel(QString::fromUtf8(caption), group);
    label->setBuddy(s);
    range = new QLabel(group);
    grid->addWidget(label, row, 0);
    grid->addWidget(s, row, 1);
    grid->addWidget(range, row, 2);
    // Leaving a field applies the range at once, as every change the dialog makes does.
    connect(s, &QSpinBox::editingFinished, this, &TForm6::ApplyRanges);
    return s;
  };
  SEpaperTop = spin("SEpaperTop", "上(&U)", 0, LhaniY);
  SEpaperLeft = spin("SEpaperLeft", "左(&L)", 1, LhaniX);
  SEpaperRight = spin("SEpaperRight", "右(&R)", 2, LhaniX2);
  SEpaperBottom = spin("SEpaperBottom", "下(&D)", 3, LhaniY2);
  LhaniY->setObjectName(QStringLiteral("LhaniY"));
  LhaniX->setObjectName(QStringLiteral("LhaniX"));
  LhaniX2->setObjectName(QStringLiteral("LhaniX2"));
  LhaniY2->setObjectName(QStringLiteral("LhaniY2"));
  layout->addWidget(group);
  layout->addWidget(new QLabel(QStringLiteral("余白は、プリンタによっては、数mm程度ずれることがあります。"), this));
  LabelP = new QLabel(QString::fromStdString(systools::PaperLabel(paper_code, metrics_)), this);
  LabelP->setObjectName(QStringLiteral("LabelP"));
  layout->addWidget(LabelP);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    ApplyRanges();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  ApplyRanges();
}

void TForm6::Load(const systools::Margins& stored) {
  SEpaperTop->setValue(static_cast<int>(std::clamp(stored.top, 0L, 9999L)));
  SEpaperLeft->setValue(static_cast<int>(std::clamp(stored.left, 0L, 9999L)));
  SEpaperRight->setValue(static_cast<int>(std::clamp(stored.right, 0L, 9999L)));
  SEpaperBottom->setValue(static_cast<int>(std::clamp(stored.bottom, 0L, 9999L)));
  ApplyRanges();
}

void TForm6::ApplyRanges() {
  const systools::MarginRanges r = systools::RangesOf(metrics_);
  const auto apply = [](QSpinBox* s, QLabel* label, const systools::MarginRange& range) {
    label->setText(QStringLiteral("%1-%2").arg(range.min).arg(range.max));
    const QString text = s->cleanText().isEmpty() ? QStringLiteral("0") : s->cleanText();
    s->setValue(static_cast<int>(systools::ClampMargin(text.toStdString(), range)));
  };
  apply(SEpaperTop, LhaniY, r.top);
  apply(SEpaperLeft, LhaniX, r.left);
  apply(SEpaperRight, LhaniX2, r.right);
  apply(SEpaperBottom, LhaniY2, r.bottom);
}

systools::Margins TForm6::Entered() const {
  return {SEpaperTop->value(), SEpaperLeft->value(), SEpaperBottom->value(), SEpaperRight->value()};
}

}  // namespace haruvi::controllers
