// The one-line input box of the commands that ask for a text without keeping a history:
// a caption, a prompt, an edit field of at most 255 characters holding the default,
// selected, and OK and Cancel.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;

namespace haruvi::ui {

class InputBoxDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxLength = 255;

  InputBoxDialog(const QString& caption, const QString& prompt, const QString& initial, QWidget* parent = nullptr);

  QLabel* Prompt = nullptr;
  QLineEdit* Edit = nullptr;
};

// The answer, or nullopt on Cancel.
std::optional<QString> InputBox(QWidget* parent, const QString& caption, const QString& prompt,
                                const QString& initial);

}  // namespace haruvi::ui
