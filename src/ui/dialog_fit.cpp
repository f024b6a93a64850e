#include "ui/dialog_fit.h"

#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QWidget>

namespace haruvi::ui {

int TitleRoom(const QWidget* window) {
  // Title bars mostly draw in the window font, bold; the bar also holds the window's
  // icon and three buttons about as wide as the bar is high, and a margin each side.
  QFont bold = window->font();
  bold.setBold(true);
  const QFontMetrics fm(bold);
  const int bar = fm.height() + 10;
  return fm.horizontalAdvance(window->windowTitle()) + 4 * bar + 2 * fm.averageCharWidth() * 2;
}

void FitTitle(QWidget* window) {
  const int room = TitleRoom(window);
  if (window->width() < room && window->maximumWidth() >= room) window->resize(room, window->height());
}

bool DialogFit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show)
    if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) FitTitle(dialog);
  return false;
}

}  // namespace haruvi::ui
