// TForm1: construction, start-up and shut-down, the shared refresh routines, the
// selection events and the keyboard rules of the browsing views.
#include "app/form1.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QToolBar>

#include "app/folder_status.h"
#include "app/panel_bar.h"
#include "platform/settings_location.h"
#include "platform/text_format.h"
#include "shellview/combo_view.h"
#include "shellview/disk_path.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "shellview/item_menu.h"
#include "shellview/listing.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

TForm1::TForm1(QString start_file, QWidget* parent)
    : QMainWindow(parent), ini_(platform::SettingsFilePath()), start_file_(std::move(start_file)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Haruvi"));
  resize(782, 514);
  std::filesystem::path exe = platform::ExecutablePath();
  program_folder_ = exe.empty() ? QDir::currentPath()
                                : shellview::FromDisk(exe.parent_path().string());
  folder_status_ = new FolderStatus(this);
  BuildActions();
  BuildPanels();
  BuildMenus();
  BuildToolBars();
  connect(folder_status_, &FolderStatus::Finished, this, &TForm1::ShowFolderTotals);
  connect(ComboView1, &shellview::TComboView::FolderChosen, this, &TForm1::ComboView1Change);
  connect(FolderView1, &shellview::TFolderView::FolderChanged, this, &TForm1::FolderView1Change);
  connect(FileView1, &shellview::TFileView::Change, this, &TForm1::FileView1Change);
  connect(FileView1, &shellview::TFileView::FolderOpened, this, [this](const QString& path) {
    viewenabled = 0;
    FolderView1->SelectPath(path);
    viewenabled = 1;
    FolderView1Change(FolderView1->SelectedPath());
  });
  auto open_folder = [this](const QString& path) {
    MoveToFolder(path);
    folderinfo();
  };
  connect(FileView1, &shellview::TFileView::ContextMenuRequested, this, [this, open_folder](const QPoint& at) {
    shellview::MakeItemMenu(this, FileView1->SelectedPaths(), open_folder)->popup(at);
  });
  connect(FolderView1, &shellview::TFolderView::ContextMenuRequested, this,
          [this, open_folder](const QPoint& at, const QString& path) {
            shellview::MakeItemMenu(this, {path}, open_folder)->popup(at);
          });
  qApp->installEventFilter(this);  // key preview and status hints
  FormCreate();
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

QString TForm1::ProgramFolder() const { return program_folder_; }

QString TForm1::CurrentFolder() const { return FolderView1->SelectedPath(); }

// ---------------------------------------------------------------- start-up and shut-down

void TForm1::FormCreate() {
  initset();
  iniload();
  viewreset();
  savedtextheight = RichEdit1->height();
  if (start_file_.isEmpty()) return;

  // The command-line file: its folder opened, the file selected and shown.
  const QString name = longfilename(start_file_);
  const QFileInfo info(start_file_);
  const QString folder = info.absolutePath();
  viewenabled = 0;
  auto restore = qScopeGuard([this] { viewenabled = 1; });
  if (name.isEmpty() || !FolderView1->SelectPath(QDir::cleanPath(folder))) return;
  FileView1->SetFolder(QDir::cleanPath(folder));
  ComboView1->ShowPath(QDir::cleanPath(folder));
  LFilestring->clear();
  folderinfo();
  if (FileView1->SelectByCaption(name) > 0) filedisp();
}

void TForm1::FormShow() {
  const QDate today = QDate::currentDate();
  const QString caption = QStringLiteral(" %1.%2.%3 (%4)")
                              .arg(today.year())
                              .arg(today.month())
                              .arg(today.day())
                              .arg(QString::fromStdString(platform::JapaneseShortWeekday(today.dayOfWeek() % 7)));
  if (QAction* now = Action(QStringLiteral("Mnow"))) now->setText(caption);
}

bool TForm1::FormCloseQuery() {
  worktext.clear();
  if (!RichEdit1->isVisible() && isVisible()) SetTextPaneVisible(true);
  else if (RichEdit1->isHidden()) SetTextPaneVisible(true);
  inisave();
  if (Checked(QStringLiteral("Mcloseinitview1"))) {
    viewenabled = 0;
    FolderView1->SelectPath(ProgramFolder());
    viewenabled = 1;
    textclear();
    viewrefresh();
  }
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

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TForm1::FormResize() {
  if (PanelR->height() < PanelRBHeight()) SetPanelRBHeight(PanelR->height() / 2);
}

// ---------------------------------------------------------------- shared routines

void TForm1::textclear() {
  RichEdit1->Clear();
  LFilestring->clear();
}

void TForm1::folderinfo() {
  StartFolderStatus(false);
  const QString folder = CurrentFolder();
  if (!folder.isEmpty()) (void)::chdir(shellview::ToDisk(folder).c_str());  // errors ignored
}

void TForm1::folderinfo2() { StartFolderStatus(true); }

void TForm1::StartFolderStatus(bool reuse) {
  const QString folder = CurrentFolder();
  if (folder.isEmpty()) return;
  StatusBar1->SetText(0, folder);
  // The totals arrive when the walk ends; until then the panels say it is counting.
  StatusBar1->SetText(1, QStringLiteral(" … 個 "), true);
  StatusBar1->SetText(2, QStringLiteral(" … byte "), true);
  folder_status_->Start(folder, reuse);
}

void TForm1::ShowFolderTotals(const QString& folder, quint64 files, quint64 bytes) {
  if (folder != CurrentFolder()) return;
  auto framed = [](quint64 n, const char* unit) {
    return QStringLiteral(" ") +
           QString::fromStdString(platform::TrimBlanks(platform::FormatThousands(static_cast<std::uint64_t>(n), 15))) +
           QLatin1Char(' ') + QString::fromUtf8(unit) + QLatin1Char(' ');
  };
  StatusBar1->SetText(1, framed(files, "個"), true);
  StatusBar1->SetText(2, framed(bytes, "byte"), true);
}

void TForm1::viewrefresh() {
  viewenabled = 0;
  auto restore = qScopeGuard([this] { viewenabled = 1; });
  const QString folder = CurrentFolder();
  FolderView1->setUpdatesEnabled(false);
  FolderView1->Rebuild();
  if (folder.isEmpty() || !FolderView1->SelectPath(folder)) FolderView1->SelectPath(QStringLiteral("/"));
  const QString now = CurrentFolder();
  FileView1->SetFolder(now);
  ComboView1->ShowPath(now);
  FolderView1->setUpdatesEnabled(true);
  if (QTreeWidgetItem* item = FolderView1->currentItem()) FolderView1->scrollToItem(item);
}

void TForm1::viewreset() {
  viewenabled = 1;
  // Instant display follows its check mark, so a start with it switched off stays off.
  instantmode = Checked(QStringLiteral("Mdisp")) ? 1 : 0;
  shiftdown = 0;
  viewrefresh();
  textclear();
}

void TForm1::viewreselect(const QString& name) {
  viewrefresh();
  const QString caption = QFileInfo(name).fileName();
  viewenabled = 0;
  const int n = caption.isEmpty() ? 0 : FileView1->SelectByCaption(caption);
  viewenabled = 1;
  if (n > 0) filedisp();
  QApplication::restoreOverrideCursor();
}

QString TForm1::longfilename(const QString& path) const {
  struct stat st {};
  if (::stat(shellview::ToDisk(path).c_str(), &st) != 0) return QString();
  return path.section(QLatin1Char('/'), -1);
}

bool TForm1::MoveToFolder(const QString& folder) {
  viewenabled = 0;
  auto restore = qScopeGuard([this] { viewenabled = 1; });
  const QString previous = CurrentFolder();
  if (!FolderView1->SelectPath(QDir::cleanPath(folder))) return false;
  if (!FileView1->SetFolder(CurrentFolder())) {
    FolderView1->SelectPath(previous);
    return false;
  }
  ComboView1->ShowPath(CurrentFolder());
  // The shown file belonged to the folder left behind.
  if (CurrentFolder() != previous) textclear();
  return true;
}

// ---------------------------------------------------------------- selection events

void TForm1::ComboView1Change(const QString& path) {
  if (viewenabled) textclear();
  FolderView1->SelectPath(path);
}

void TForm1::FolderView1Change(const QString& path) {
  if (path.isEmpty()) return;
  if (!FileView1->SetFolder(path)) {
    // A folder that cannot be listed: back to the previous one, without a message.
    const QString previous = FolderView1->PreviousPath();
    const QSignalBlocker block(FolderView1);
    if (!previous.isEmpty()) FolderView1->SelectPath(previous);
    return;
  }
  ComboView1->ShowPath(path);
  if (!viewenabled) return;
  textclear();
  folderinfo();
  if (Checked(QStringLiteral("Msubfolderview1"))) FolderView1->ExpandSelected();
}

void TForm1::FileView1Change(bool state_change) {
  RichEdit1->Clear();
  SetInfoColor(Qt::black);
  if (viewenabled == 1 && !shiftdown && !altdown && !ctrldown) filedisp();
  if (state_change)
    StatusBar1->SetText(3, QStringLiteral(" %1 個選択 ").arg(FileView1->SelectedCount()), true);
}

// ---------------------------------------------------------------- keyboard

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::StatusTip) {
    SetStatusHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  // Key preview: the window sees each key once, as it reaches the focused control.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget != QApplication::focusWidget() || widget->window() != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const bool in_views = widget == FolderView1 || FolderView1->isAncestorOf(widget) ||
                        FileView1->isAncestorOf(widget);
  const Qt::KeyboardModifiers mods = HeldModifiers(key);
  if (type == QEvent::KeyPress) {
    if (FormKeyDown(key->key(), mods)) return true;
    return in_views && FileView1KeyDown(key->key(), mods);
  }
  FormKeyUp(key->key(), mods);
  if (in_views) FileView1KeyUp(key->key(), mods);
  return false;
}

// The modifiers held once the event has happened: platforms differ in whether the press
// or release of a modifier key itself carries its own flag, so derive it from the key.
Qt::KeyboardModifiers TForm1::HeldModifiers(const QKeyEvent* key) {
  Qt::KeyboardModifiers mods = key->modifiers();
  Qt::KeyboardModifier own = Qt::NoModifier;
  switch (key->key()) {
    case Qt::Key_Shift: own = Qt::ShiftModifier; break;
    case Qt::Key_Control: own = Qt::ControlModifier; break;
    case Qt::Key_Alt: own = Qt::AltModifier; break;
    default: return mods;
  }
  if (key->type() == QEvent::KeyPress) mods |= own;
  else mods &= ~Qt::KeyboardModifiers(own);
  return mods;
}

namespace {
Qt::KeyboardModifiers ShiftAltCtrl(Qt::KeyboardModifiers mods) {
  return mods & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
}
}  // namespace

bool TForm1::FormKeyDown(int /*key*/, Qt::KeyboardModifiers mods) {
  shiftdown = ShiftAltCtrl(mods) == Qt::ShiftModifier;
  altdown = ShiftAltCtrl(mods) == Qt::AltModifier;
  return false;
}

void TForm1::FormKeyUp(int /*key*/, Qt::KeyboardModifiers mods) {
  if (ShiftAltCtrl(mods) != Qt::ShiftModifier) shiftdown = 0;
  if (ShiftAltCtrl(mods) != Qt::AltModifier) altdown = 0;
}

bool TForm1::FileView1KeyDown(int key, Qt::KeyboardModifiers mods) {
  shiftdown = (mods & Qt::ShiftModifier) ? 1 : 0;
  ctrldown = (mods & Qt::ControlModifier) ? 1 : 0;
  const bool keypad = mods & Qt::KeypadModifier;
  switch (key) {
    case Qt::Key_Backspace:
      ToolButton55Click();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (FileView1->Count() > 0 && FileView1->SelectedIsFolder()) {
        const QString path = FileView1->SelectedPath();
        MoveToFolder(path);
        FileView1->SelectRow(0);
        folderinfo();
        return true;
      }
      return FileView1->Count() == 0;
    case Qt::Key_Alt:
      altdown = 1;
      return true;
    case Qt::Key_Escape:
      Mexit1Click();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      viewenabled = ShiftAltCtrl(mods) == Qt::ShiftModifier ? 0 : 1;
      return false;
    }
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4:
      if (!keypad) return false;
      ApplyListStyle(key - Qt::Key_0);
      return true;
    default:
      return false;
  }
}

void TForm1::FileView1KeyUp(int /*key*/, Qt::KeyboardModifiers mods) {
  if (!(mods & Qt::ShiftModifier)) shiftdown = 0;
  if (!(mods & Qt::ControlModifier)) ctrldown = 0;
  viewenabled = 1;
}

void TForm1::SetStatusHint(const QString& hint) { StatusBar1->SetText(4, hint); }

}  // namespace haruvi::app
