#include "controllers/choice/drive_letter_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

namespace haruvi::controllers {

TForm10::TForm10(std::vector<platform::LetteredDrive> drives, QWidget* parent)
    : QDialog(parent), drives_(std::move(drives)) {
  setObjectName(QStringLiteral("Form10"));
  setWindowTitle(QStringLiteral("ドライブの指定"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("ドライプ"), this));
  DrivePanel1 = new QWidget(this);
  DrivePanel1->setObjectName(QStringLiteral("DrivePanel1"));
  auto* row = new QHBoxLayout(DrivePanel1);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(2);
  Buttons = new QButtonGroup(this);
  Buttons->setExclusive(true);
  for (const platform::LetteredDrive& d : drives_) {
    auto* b = new QToolButton(DrivePanel1);
    // The letter and, as a drive's name, its mount point.
    b->setText(QString(QLatin1Char(d.letter)) + QStringLiteral(": ") + QString::fromStdString(d.root));
    b->setIcon(QIcon::fromTheme(d.root == "/" ? QStringLiteral("drive-harddisk-system") : QStringLiteral("drive-harddisk"),
                                QIcon::fromTheme(QStringLiteral("drive-harddisk"))));
    b->setIconSize(QSize(20, 20));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setCheckable(true);
    b->setMinimumSize(52, 26);
    Buttons->addButton(b, d.letter);
    row->addWidget(b);
  }
  row->addStretch(1);
  layout->addWidget(DrivePanel1);
  Edit1 = new QLineEdit(this);
  Edit1->setMaxLength(1);
  Edit1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[A-Za-z]?")), Edit1));
  Edit1->setMaximumWidth(40);
  layout->addWidget(Edit1);
  connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& t) {
    const QString upper = t.toUpper();
    if (upper != t) Edit1->setText(upper);
    if (QAbstractButton* b = upper.isEmpty() ? nullptr : Buttons->button(upper[0].toLatin1())) b->setChecked(true);
  });
  connect(Buttons, &QButtonGroup::idClicked, this, [this](int letter) { Edit1->setText(QString(QLatin1Char(static_cast<char>(letter)))); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  Edit1->setFocus();
}

void TForm10::Press(char letter) {
  if (QAbstractButton* b = Buttons->button(letter)) {
    b->setChecked(true);
    Edit1->setText(QString(QLatin1Char(letter)));
  }
}

QString TForm10::Letter() const { return Edit1->text().toUpper(); }

}  // namespace haruvi::controllers
