#include "dialogs/progress_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace haruvi::dialogs {

TForm24::TForm24(const QString& caption, const QString& what, const QString& path, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Form24"));
  setWindowTitle(caption);
  // Events are processed while the work goes on so that Cancel can be pressed; the rest
  // of the program must not act on the text meanwhile.
  setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(this);
  Ldump2 = new QLabel(what, this);
  Ldump1 = new QLabel(path, this);
  BitBtn1 = new QPushButton(QStringLiteral("キャンセル"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  layout->addWidget(Ldump2);
  layout->addWidget(Ldump1);
  layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm24::reject);
}

void TForm24::reject() {
  emit Cancelled();
  QDialog::reject();
}

}  // namespace haruvi::dialogs
