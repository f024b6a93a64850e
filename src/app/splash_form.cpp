#include "app/splash_form.h"

#include <QApplication>
#include <algorithm>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "haruvi_version.h"

namespace haruvi::app {

TForm3::TForm3() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("Form3"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* blue = new QWidget(this);
  blue->setAutoFillBackground(true);
  QPalette p = blue->palette();
  p.setColor(QPalette::Window, QColor(0, 0, 160));
  p.setColor(QPalette::WindowText, Qt::white);
  blue->setPalette(p);
  auto* inner = new QVBoxLayout(blue);
  auto* icon = new QLabel(blue);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignCenter);
  inner->addWidget(icon);
  auto* product = new QLabel(QStringLiteral(HARUVI_PRODUCT_NAME), blue);
  QFont big = product->font();
  big.setPixelSize(32);
  big.setBold(true);
  product->setFont(big);
  product->setAlignment(Qt::AlignCenter);
  auto* version = new QLabel(QStringLiteral("Ver. %1.%2").arg(HARUVI_VERSION_MAJOR).arg(HARUVI_VERSION_MINOR), blue);
  version->setAlignment(Qt::AlignCenter);
  auto* free = new QLabel(QStringLiteral("日本語テキストの瞬間ビューアー"), blue);
  free->setAlignment(Qt::AlignCenter);
  inner->addWidget(product);
  inner->addWidget(version);
  inner->addWidget(free);
  layout->addWidget(blue, 1);
  auto* bottom = new QLabel(QStringLiteral("ソフトウェアライブラリ"), this);
  bottom->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  bottom->setAlignment(Qt::AlignCenter);
  layout->addWidget(bottom);
  // Its classic size, grown where the fonts of the desktop need more.
  const QSize hint = sizeHint();
  setFixedSize(std::max(292, hint.width()), std::max(178, hint.height()));
  if (QScreen* s = QGuiApplication::primaryScreen())
    move(s->availableGeometry().center() - rect().center());
}

void TForm3::CloseWhenActive(QWidget* window) {
  watched_ = window;
  window->installEventFilter(this);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == watched_ && (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)) {
    watched_->removeEventFilter(this);
    watched_ = nullptr;
    close();
  }
  return false;
}

}  // namespace haruvi::app
