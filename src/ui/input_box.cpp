#include "ui/input_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <memory>

namespace haruvi::ui {

InputBoxDialog::InputBoxDialog(const QString& caption, const QString& prompt, const QString& initial,
                               QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("InputBox"));
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  Prompt = new QLabel(prompt, this);
  Edit = new QLineEdit(this);
  Edit->setMaxLength(kMaxLength);
  Edit->setMinimumWidth(300);
  Edit->setText(initial.left(kMaxLength));
  Edit->selectAll();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(Prompt);
  layout->addWidget(Edit);
  layout->addWidget(buttons);
}

std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                const QString& initial) {
  auto dialog = std::make_unique<InputBoxDialog>(caption, prompt, initial, parent);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->Edit->text();
}

}  // namespace haruvi::ui
