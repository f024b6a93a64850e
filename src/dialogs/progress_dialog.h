// TForm24: the progress window of long text work (the hex dump, HTML stripping). It is
// shown without blocking the code that works, keeps the user from using the main window
// meanwhile, and has one Cancel button; the work asks Cancelled() between its steps.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;

namespace haruvi::dialogs {

class TForm24 : public QDialog {
  Q_OBJECT

 public:
  // `caption`, the first label `Ldump2` and the second label `Ldump1` (a file's path).
  TForm24(const QString& caption, const QString& what, const QString& path, QWidget* parent = nullptr);

  QLabel* Ldump2 = nullptr;
  QLabel* Ldump1 = nullptr;
  QPushButton* BitBtn1 = nullptr;

  // Cancel, and Esc as well: the window closes and says so.
  void reject() override;

  // The question long work asks between its steps: it lets pending events (the Cancel
  // button) through every few milliseconds, not at every step, and is true once Cancel
  // was pressed. `worktext` gets the mark "EXIT" then, as the window's work string does.
  std::function<bool()> CancelPoll(QString& worktext);

 signals:
  // Cancel was pressed; the window is closed.
  void Cancelled();
};

}  // namespace haruvi::dialogs
