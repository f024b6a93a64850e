#include "controllers/display/text_font_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace haruvi::controllers {

TextFontDialog::TextFontDialog(const QFont& font, const QColor& color, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("フォント"));
  auto* layout = new QVBoxLayout(this);
  FontDialog1 = new QFontDialog(font, this);
  FontDialog1->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  FontDialog1->setWindowFlags(Qt::Widget);
  layout->addWidget(FontDialog1);
  auto* row = new QHBoxLayout;
  ColorButton = new QPushButton(QStringLiteral("色(&C)..."), this);
  ColorButton->setObjectName(QStringLiteral("ColorButton"));
  row->addWidget(ColorButton);
  row->addStretch(1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  row->addWidget(buttons);
  layout->addLayout(row);
  SetColor(color);
  connect(ColorButton, &QPushButton::clicked, this, [this] {
    const QColor chosen = QColorDialog::getColor(color_, this, QStringLiteral("色の設定"));
    if (chosen.isValid()) SetColor(chosen);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QFont TextFontDialog::Font() const { return FontDialog1->currentFont(); }

void TextFontDialog::SetColor(const QColor& color) {
  color_ = color;
  QPixmap swatch(16, 16);
  swatch.fill(color);
  ColorButton->setIcon(QIcon(swatch));
}

}  // namespace haruvi::controllers
