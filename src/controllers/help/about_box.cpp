#include "controllers/help/about_box.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "haruvi_version.h"

namespace haruvi::controllers {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  auto* layout = new QVBoxLayout(this);
  // The program's icon beside its name (the program sets it for all its windows).
  auto* head = new QHBoxLayout;
  Icon = new QLabel(this);
  Icon->setObjectName(QStringLiteral("ProgramIcon"));
  const int side = Icon->fontMetrics().height() * 3;
  Icon->setPixmap(QApplication::windowIcon().pixmap(side, side));
  Icon->setFixedSize(side, side);
  auto* product = new QLabel(QStringLiteral(HARUVI_PRODUCT_NAME), this);
  QFont f = product->font();
  f.setPointSize(f.pointSize() + 6);
  f.setBold(true);
  product->setFont(f);
  Version = new QLabel(QStringLiteral("Ver.%1.%2").arg(HARUVI_VERSION_MAJOR).arg(HARUVI_VERSION_MINOR), this);
  Version->setObjectName(QStringLiteral("Version"));
  LV = new QLabel(QStringLiteral("Version:%1.%2.%3.%4")
                      .arg(HARUVI_VERSION_MAJOR).arg(HARUVI_VERSION_MINOR)
                      .arg(HARUVI_VERSION_PATCH).arg(HARUVI_VERSION_BUILD), this);
  LV->setObjectName(QStringLiteral("LV"));
  auto* text = new QLabel(QStringLiteral("ファイルブラウザーと日本語テキストの瞬間ビューアー"), this);
  auto* maker = new QLabel(QStringLiteral("Tekuna  ソフトウェアライブラリ"), this);
  head->addWidget(Icon);
  head->addWidget(product, 1);
  layout->addLayout(head);
  for (QLabel* l : {Version, LV, text, maker}) layout->addWidget(l);
  auto* buttons = new QDialogButtonBox(this);
  Close = buttons->addButton(QStringLiteral("閉じる(&C)"), QDialogButtonBox::AcceptRole);
  Close->setObjectName(QStringLiteral("Close"));
  Close->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace haruvi::controllers
