// ReplaceDialog1: the modeless find-and-replace dialog. It holds the find and replace
// texts and the options; its buttons call back the controller's events.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace haruvi::controllers {

class ReplaceDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ReplaceDialog(QWidget* parent = nullptr);
  std::function<void()> OnFind;
  std::function<void(bool all)> OnReplace;

  QLineEdit* FindText = nullptr;
  QLineEdit* ReplaceText = nullptr;
  QCheckBox* WholeWord = nullptr;
  QCheckBox* MatchCase = nullptr;
};

}  // namespace haruvi::controllers
