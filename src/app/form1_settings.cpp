// TForm1's settings: the built-in state (initset), reading the settings at start
// (iniload) and writing them at close (inisave). The window keeps its geometry, panel
// sizes, start folder and the informational keys; each controller its own keys, run in
// the window's order.
#include <QApplication>
#include <QDate>
#include <QGuiApplication>
#include <QLayout>
#include <QLocale>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QTime>
#include <QTimer>
#include <algorithm>

#include "app/form1.h"
#include "bridge/disk_path.h"
#include "controllers/settingsfile/settings_file_controller.h"
#include "haruvi_version.h"
#include "platform/mounts.h"
#include "ui/shown_text.h"
#include "controllers/help/help_controller.h"
#include "platform/settings_location.h"
#include "shellview/folder_view.h"
#include "ui/controller.h"
#include "ui/panel_bar.h"

namespace haruvi::app {

namespace {

constexpr std::string_view kSystemOwner = "window";
constexpr auto kProgram = platform::Str(kSystemOwner, "System", "Program", "", platform::KeyRule::Informational);
constexpr auto kVersion = platform::Str(kSystemOwner, "System", "Version", "", platform::KeyRule::Informational);
constexpr auto kDate = platform::Str(kSystemOwner, "System", "Date", "", platform::KeyRule::Informational);
constexpr auto kTime = platform::Str(kSystemOwner, "System", "Time", "", platform::KeyRule::Informational);
constexpr auto kDrive = platform::Str(kSystemOwner, "System", "Drive", "", platform::KeyRule::Informational);
constexpr auto kDiskSize = platform::Str(kSystemOwner, "System", "DiskSize", "", platform::KeyRule::Informational);
constexpr auto kDiskFree = platform::Str(kSystemOwner, "System", "DiskFree", "", platform::KeyRule::Informational);
constexpr auto kFilename = platform::Str(kSystemOwner, "System", "Filename", "", platform::KeyRule::Informational);

QRect WorkArea() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Lays out a window that is not shown yet, parents before children, so that splitter
// sizes and panel heights can be read and set during start-up as they will appear.
void SettleLayout(QWidget* w) {
  if (QLayout* l = w->layout()) l->activate();
  QResizeEvent e(w->size(), w->size());
  QCoreApplication::sendEvent(w, &e);
  for (QObject* c : w->children())
    if (auto* cw = qobject_cast<QWidget*>(c); cw && !cw->isWindow() && !cw->isHidden()) SettleLayout(cw);
}

}  // namespace

std::vector<platform::KeyInfo> TForm1::SystemKeys() {
  return {kProgram.info, kVersion.info, kDate.info, kTime.info, kDrive.info, kDiskSize.info, kDiskFree.info,
          kFilename.info};
}

void TForm1::initset() {
  const QRect work = WorkArea();
  move(work.topLeft());
  resize(work.size());
  fit_frame_ = true;
  if (isVisible()) FitFrame(20);
  flags_ = ui::WindowFlags{};
  SettleLayout(this);
  MoveToFolder(StartFolder());
  SetPanelLWidth(137);
  SetPanelRBHeight((PanelR->height() / 3) * 2);
  SBarR->SetText(2, QStringLiteral(" 閲覧 "), true);
  for (ui::Controller* c : controllers_) c->initset();
  Splitter2Moved();
}

void TForm1::FitFrame(int tries_left) {
  const QRect frame = frameGeometry();
  if (frame == geometry()) {
    // No frame known yet: the window manager says it a moment after the window shows
    // (and never without one).
    if (tries_left > 0) QTimer::singleShot(50, this, [this, tries_left] { FitFrame(tries_left - 1); });
    else fit_frame_ = false;
    return;
  }
  fit_frame_ = false;
  const QRect work = WorkArea();
  if (work.contains(frame)) return;
  resize(std::min(width(), work.width() - (frame.width() - width())),
         std::min(height(), work.height() - (frame.height() - height())));
  move(work.topLeft());
}

void TForm1::iniload() {
  const QRect screen = WorkArea();
  const QRect g(pos(), size());
  const int left = platform::ClampLeft(settings_.Read(kLeft, g.left()), screen.width());
  const int top = platform::ClampTop(settings_.Read(kTop, g.top()), screen.height());
  const int width = platform::ClampExtent(settings_.Read(kWidth, g.width()), screen.width());
  const int height = platform::ClampExtent(settings_.Read(kHeight, g.height()), screen.height());
  move(left, top);  // the frame's corner, as the file stores it
  resize(width, height);
  // A size of the user's own stays as it is; the work area's, from initset, is the
  // frame's and shrinks by it.
  if (width != g.width() || height != g.height()) fit_frame_ = false;
  SettleLayout(this);
  SetPanelLWidth(platform::KeepIfOutside(settings_.Read(kPanelLWidth, PanelLWidth()), width, PanelLWidth()));
  SetPanelRBHeight(
      platform::KeepIfOutside(settings_.Read(kPanelRBHeight, PanelRBHeight()), PanelR->height(), PanelRBHeight()));

  for (ui::Controller* c : controllers_) c->iniload();

  // The start folder: the one the user chose, else the last one while its file system
  // is there, else the start folder (the home folder of an installed program).
  const QString directory = bridge::FromDisk(settings_.Read(kDirectory));
  const QString init_folder = settings_file_->InitFolder();
  bool moved = false;
  if (!init_folder.isEmpty()) {
    moved = MoveToFolder(init_folder);
  } else if (!directory.isEmpty() && platform::DriveSpaceOf(bridge::ToDisk(directory)).size > 0) {
    moved = MoveToFolder(directory);
  }
  if (!moved && CurrentFolder().isEmpty()) MoveToFolder(StartFolder());
  Splitter2Moved();
}

bool TForm1::inisave() {
  // One write of the whole file: a close killed half way leaves the old file or the new.
  platform::IniFile::Batch batch(ini_);
  settings_.Write(kProgram, HARUVI_PROGRAM_NAME);
  settings_.Write(kVersion, HARUVI_VERSION_STRING);
  // The Japanese short forms whatever the locale: "2026/12/07", "14:55:06".
  settings_.Write(kDate, QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")).toStdString());
  settings_.Write(kTime, QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString());
  const std::string cwd = bridge::ToDisk(CurrentFolder());  // where the window is, by its bytes
  settings_.Write(kDrive, cwd);
  const platform::DriveSpace space = platform::DriveSpaceOf(cwd);
  settings_.Write(kDiskSize, std::to_string(space.size) + " byte");
  settings_.Write(kDiskFree, std::to_string(space.free) + " byte");
  settings_.Write(kFilename, ini_.Path().string());

  const QRect g = isMaximized() || isMinimized() ? normalGeometry() : QRect(pos(), size());
  settings_.Write(kLeft, g.left());
  settings_.Write(kTop, g.top());
  settings_.Write(kWidth, g.width());
  settings_.Write(kHeight, g.height());
  settings_.Write(kPixelsPerInch, logicalDpiY());
  settings_.Write(kState, isMinimized() ? 2 : isMaximized() ? 3 : 1);
  settings_.Write(kPanelLWidth, PanelLWidth());
  settings_.Write(kPanelRBHeight, PanelRBHeight());
  settings_.Write(kDirectory, bridge::ToDisk(CurrentFolder()));
  for (ui::Controller* c : controllers_) c->inisave();
  return batch.End();
}

// ---------------------------------------------------------------- the start's own requests

QString TForm1::StartFolder() const {
  return platform::IsInstalledProgram(bridge::ToDisk(program_folder_)) ? bridge::HomeFolder() : program_folder_;
}

bool TForm1::WriteHelpPages(const QString& folder, std::string* error) {
  return help_->WritePages(bridge::ToDisk(folder), error);
}

void TForm1::ShowStartLine(long long line) {
  if (!text_->Empty() && !text_->SourcePath().empty()) text_->ShowLineAtTop(line);
}

}  // namespace haruvi::app
