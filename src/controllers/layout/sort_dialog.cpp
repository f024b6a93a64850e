#include "controllers/layout/sort_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace haruvi::controllers {

TForm15::TForm15(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form15"));
  setWindowTitle(QStringLiteral("ファイルのソート"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("ファイルのソートを指定します。"), this));
  auto* box = new QGroupBox(QStringLiteral("ソート"), this);
  auto* inner = new QVBoxLayout(box);
  group = new QButtonGroup(this);
  const char* const kItems[] = {"ファイル名(&N)", "サイズ(&S)", "種類(&T)", "更新日時(&D)"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QRadioButton(QString::fromUtf8(kItems[i]), box);
    group->addButton(b, i);
    inner->addWidget(b);
  }
  group->button(0)->setChecked(true);
  layout->addWidget(box);
  descending = new QCheckBox(QStringLiteral("降順(&R)"), this);
  layout->addWidget(descending);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString TForm15::Answer() const {
  return QString::number(group->checkedId() + (descending->isChecked() ? 90 : 0));
}

}  // namespace haruvi::controllers
