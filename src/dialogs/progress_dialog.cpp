#include "dialogs/progress_dialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <memory>
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

std::function<bool()> TForm24::CancelPoll(QString& worktext) {
  connect(this, &TForm24::Cancelled, this, [&worktext] { worktext = QStringLiteral("EXIT"); });
  auto since = std::make_shared<QElapsedTimer>();
  return [since, &worktext] {
    if (!since->isValid() || since->elapsed() >= 30) {
      QCoreApplication::processEvents();
      since->start();
    }
    return worktext == QStringLiteral("EXIT");
  };
}

void TForm24::reject() {
  emit Cancelled();
  QDialog::reject();
}

}  // namespace haruvi::dialogs
