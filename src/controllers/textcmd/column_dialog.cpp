#include "controllers/textcmd/column_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace haruvi::controllers {
namespace {

QSpinBox* MakeSpin(QWidget* parent, const char* name) {
  auto* spin = new QSpinBox(parent);
  spin->setObjectName(QString::fromUtf8(name));
  spin->setRange(1, TForm30::kMax);
  spin->setValue(1);
  // Six characters at most, as the design has it.
  if (QLineEdit* edit = spin->findChild<QLineEdit*>()) edit->setMaxLength(6);
  return spin;
}

int Clamped(long long v) { return static_cast<int>(std::clamp<long long>(v, 1, TForm30::kMax)); }

}  // namespace

TForm30::TForm30(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form30"));
  setWindowTitle(QStringLiteral("桁削除"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  Label1 = new QLabel(QStringLiteral("何桁目から(1-9999)"), this);
  SpinEdit1 = MakeSpin(this, "SpinEdit1");
  Label2 = new QLabel(QStringLiteral("何文字分(1-9999)"), this);
  SpinEdit2 = MakeSpin(this, "SpinEdit2");
  form->addRow(Label1, SpinEdit1);
  form->addRow(Label2, SpinEdit2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void TForm30::SetValues(long long start, long long count) {
  SpinEdit1->setValue(Clamped(start));
  SpinEdit2->setValue(Clamped(count));
}

void TForm30::HideCount() {
  Label2->hide();
  SpinEdit2->hide();
}

}  // namespace haruvi::controllers
