#include "ui/messages.h"

#include <QMessageBox>
#include <QString>
#include <cstdio>

namespace haruvi::ui {
namespace {

bool headless = false;

void Show(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
  if (headless) {
    std::fprintf(stderr, "haruvi: %s\n", qPrintable(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    return;
  }
  QMessageBox box(icon, QStringLiteral("Haruvi"), text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

void SetHeadless(bool on) { headless = on; }
bool Headless() { return headless; }
void Warn(QWidget* parent, const QString& text) { Show(parent, text, QMessageBox::Warning); }
void Inform(QWidget* parent, const QString& text) { Show(parent, text, QMessageBox::Information); }

}  // namespace haruvi::ui
