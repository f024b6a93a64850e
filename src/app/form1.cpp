#include "app/form1.h"

#include <sys/statvfs.h>

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QScreen>
#include <QShowEvent>
#include <QTime>

#include "app/settings_keys.h"
#include "haruvi_version.h"
#include "platform/settings_location.h"

namespace haruvi::app {

namespace keys = settings::k;

TForm1::TForm1(QString start_file, QWidget* parent)
    : QMainWindow(parent), ini_(platform::SettingsFilePath()), start_file_(std::move(start_file)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Haruvi"));
  resize(782, 514);
  auto* placeholder = new QLabel(QStringLiteral("Haruvi"), this);
  placeholder->setAlignment(Qt::AlignCenter);
  setCentralWidget(placeholder);
  FormCreate();
}

void TForm1::FormCreate() { iniload(); }

void TForm1::iniload() {
  const QRect screen = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->availableGeometry()
                           : QRect(0, 0, 1024, 768);
  const QRect g = geometry();
  int left = settings::ClampLeft(ini_.ReadInteger(keys::kForm, "Left", g.left()), screen.width());
  int top = settings::ClampTop(ini_.ReadInteger(keys::kForm, "Top", g.top()), screen.height());
  int width = settings::ClampExtent(ini_.ReadInteger(keys::kForm, "Width", g.width()), screen.width());
  int height =
      settings::ClampExtent(ini_.ReadInteger(keys::kForm, "Height", g.height()), screen.height());
  setGeometry(left, top, width, height);
}

void TForm1::FormShow() {}

void TForm1::inisave() {
  // Informational keys first, then the window's own.
  ini_.WriteString(keys::kSystem, "Program", HARUVI_PROGRAM_NAME);
  ini_.WriteString(keys::kSystem, "Version", HARUVI_VERSION_STRING);
  QLocale locale;
  ini_.WriteString(keys::kSystem, "Date",
                   locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString());
  ini_.WriteString(keys::kSystem, "Time",
                   locale.toString(QTime::currentTime(), QLocale::LongFormat).toStdString());
  const QString cwd = QDir::currentPath();
  ini_.WriteString(keys::kSystem, "Drive", cwd.toStdString());
  struct statvfs fs {};
  if (::statvfs(cwd.toLocal8Bit().constData(), &fs) == 0) {
    const auto size = static_cast<unsigned long long>(fs.f_blocks) * fs.f_frsize;
    const auto free = static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize;
    ini_.WriteString(keys::kSystem, "DiskSize", std::to_string(size) + " byte");
    ini_.WriteString(keys::kSystem, "DiskFree", std::to_string(free) + " byte");
  }
  ini_.WriteString(keys::kSystem, "Filename", ini_.Path().string());

  const QRect g = geometry();
  ini_.WriteInteger(keys::kForm, "Left", g.left());
  ini_.WriteInteger(keys::kForm, "Top", g.top());
  ini_.WriteInteger(keys::kForm, "Width", g.width());
  ini_.WriteInteger(keys::kForm, "Height", g.height());
  ini_.WriteInteger(keys::kForm, "Pixelsperinch", logicalDpiY());
  ini_.WriteInteger(keys::kForm, "State", isMinimized() ? 2 : isMaximized() ? 3 : 1);
}

bool TForm1::FormCloseQuery() {
  inisave();
  return true;
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!shown_once_) {
    shown_once_ = true;
    FormShow();
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery()) event->accept();
  else event->ignore();
}

}  // namespace haruvi::app
