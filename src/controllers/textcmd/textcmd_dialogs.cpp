#include "controllers/textcmd/textcmd_dialogs.h"

#include <QSpinBox>
#include <memory>

#include "controllers/textcmd/column_dialog.h"
#include "ui/input_box.h"
#include "ui/messages.h"

namespace haruvi::controllers {

std::optional<QString> TextCmdDialogs::Text(QWidget* parent, const QString& caption, const QString& prompt,
                                            const QString& initial) {
  return ui::InputBox(parent, caption, prompt, initial);
}

std::optional<TextCmdDialogs::Columns> TextCmdDialogs::Column(QWidget* parent, const QString& caption,
                                                              long long start, long long count, bool with_count) {
  auto dialog = std::make_unique<TForm30>(parent);
  dialog->setWindowTitle(caption);
  dialog->SetValues(start, count);
  if (!with_count) dialog->HideCount();
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return Columns{dialog->SpinEdit1->value(), dialog->SpinEdit2->value()};
}

void TextCmdDialogs::Refuse(QWidget* parent, const QString& message) { ui::Warn(parent, message); }

}  // namespace haruvi::controllers
