// TForm3: the splash window shown while the program starts; it closes itself as soon as
// the main window becomes active.
#pragma once

#include <QWidget>

namespace haruvi::app {

class TForm3 : public QWidget {
  Q_OBJECT

 public:
  TForm3();
  // Closes the splash when `window` is activated.
  void CloseWhenActive(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* watched_ = nullptr;
};

}  // namespace haruvi::app
