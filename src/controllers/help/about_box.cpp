#include "controllers/help/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "haruvi_version.h"

namespace haruvi::controllers {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("バージョン情報"));
  auto* layout = new QVBoxLayout(this);
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
  for (QLabel* l : {product, Version, LV, text, maker}) layout->addWidget(l);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace haruvi::controllers
