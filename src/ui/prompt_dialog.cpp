#include "ui/prompt_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <memory>

#include "bridge/disk_path.h"
#include "platform/history.h"
#include "ui/history_combo.h"

namespace haruvi::ui {

TForm33::TForm33(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form33"));
  setWindowTitle(QStringLiteral("実行"));
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(this);
  Label2 = new QLabel(this);
  ComboBox1 = NewHistoryCombo(this);
  ComboBox1->setMinimumWidth(360);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(ComboBox1),
                     static_cast<QWidget*>(buttons)})
    layout->addWidget(w);
}

// Entries keep their bytes: they go through the same lossless conversion as paths.
void TForm33::LoadHistory(const platform::IniFile& ini, const std::string& section) {
  ComboBox1->clear();
  for (const std::string& e : platform::LoadHistory(ini, section)) ComboBox1->addItem(bridge::FromDisk(e));
}

void TForm33::SaveHistory(platform::IniFile& ini, const std::string& section) {
  std::vector<std::string> list;
  for (int i = 0; i < ComboBox1->count(); ++i) list.push_back(bridge::ToDisk(ComboBox1->itemText(i)));
  platform::SaveHistory(ini, section, platform::UpdatedHistory(std::move(list), bridge::ToDisk(ComboBox1->currentText())));
}

std::optional<QString> Ask(QWidget* parent, const QString& caption, const QString& prompt, platform::IniFile& ini,
                           const std::string& section, const QString& initial) {
  auto dialog = std::make_unique<TForm33>(parent);
  dialog->setWindowTitle(caption);
  dialog->Label1->setText(prompt);
  dialog->Label2->clear();
  dialog->LoadHistory(ini, section);
  dialog->ComboBox1->setEditText(initial);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  const QString answer = dialog->ComboBox1->currentText();
  dialog->SaveHistory(ini, section);
  return answer;
}

}  // namespace haruvi::ui
