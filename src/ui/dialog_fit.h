// Dialogs sized from their contents as the desktop draws them: a dialog is made at least
// as wide as its title needs in the title bar (with the bar's icon and buttons), so the
// window manager never cuts the title short ("指定桁位… を挿入").
#pragma once

#include <QObject>

class QWidget;

namespace haruvi::ui {

// The width a window needs for its whole title in the title bar.
int TitleRoom(const QWidget* window);
// Widens `window` to TitleRoom when it is narrower and may grow.
void FitTitle(QWidget* window);

// Installed on the application: every dialog is fitted as it shows.
class DialogFit : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace haruvi::ui
