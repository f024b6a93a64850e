// TForm1's events: the selection events of the three views, the keyboard rules of the
// browsing views (key preview), and the status hints.
#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusTipEvent>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "app/form1.h"
#include "bridge/disk_path.h"
#include "controllers/archive/archive_controller.h"
#include "controllers/keys/keys_controller.h"
#include "shellview/combo_view.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

// ---------------------------------------------------------------- selection events

void TForm1::ComboView1Change(const QString& path) {
  if (flags_.viewenabled && !text_->MayLeave()) {
    ComboView1->ShowPath(CurrentFolder());  // Cancel: the combo names the folder still shown
    return;
  }
  if (flags_.viewenabled) textclear();
  FolderView1->SelectPath(path);
}

void TForm1::FolderView1Change(const QString& path) {
  if (path.isEmpty()) return;
  if (flags_.viewenabled && path != FileView1->Folder() && !text_->MayLeave()) {
    // Cancel: back to the folder of the text, which stays as it was.
    const QString previous = FolderView1->PreviousPath();
    const QSignalBlocker block(FolderView1);
    if (!previous.isEmpty()) FolderView1->SelectPath(previous);
    return;
  }
  if (!FileView1->SetFolder(path)) {
    // A folder that cannot be listed: back to the previous one, without a message.
    const QString previous = FolderView1->PreviousPath();
    const QSignalBlocker block(FolderView1);
    if (!previous.isEmpty()) FolderView1->SelectPath(previous);
    return;
  }
  ComboView1->ShowPath(path);
  StatusBar1->SetText(4, QString());  // a message about an earlier move is stale now
  if (!flags_.viewenabled) return;
  textclear();
  folderinfo();
  if (actions_->Checked(QStringLiteral("Msubfolderview1"))) FolderView1->ExpandSelected();
}

void TForm1::FileView1Change(const QString& /*path*/, bool state_change) {
  if (flags_.viewenabled && !text_->MayLeave()) {
    // Cancel: the list selects the edited file again, and the text stays as it was.
    const QSignalBlocker block(FileView1);
    FileView1->SelectByCaption(bridge::FileName(bridge::FromDisk(text_->SourcePath())));
    return;
  }
  // The text of the file left behind goes; the line stays until the next one is shown.
  text_->Clear();
  // A selection made with Shift, Ctrl or Alt held shows nothing. What is held is asked of
  // the keyboard itself: a modifier let go while another window or a menu had the keys
  // never reaches the list, and a flag kept from key releases would stay set.
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  flags_.shiftdown = (held & Qt::ShiftModifier) ? 1 : 0;
  flags_.ctrldown = (held & Qt::ControlModifier) ? 1 : 0;
  flags_.altdown = (held & Qt::AltModifier) ? 1 : 0;
  // An LHA archive shows its listing instead, while "LHA書庫内容表示" is on.
  if (flags_.viewenabled == 1 && !flags_.shiftdown && !flags_.altdown && !flags_.ctrldown &&
      !archive_->PreviewSelection())
    filedisp();
  // A new folder changes the selection too (to none): the count never names a stale one.
  const QString selected = QStringLiteral(" %1 個選択 ").arg(FileView1->SelectedCount());
  if (state_change || StatusBar1->Text(3) != selected) StatusBar1->SetText(3, selected, true);
}

// ---------------------------------------------------------------- keyboard

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // The combo spans the left column at whatever width it gets (a restored one included).
  if (type == QEvent::Resize && watched == PanelLT) Splitter2Moved();
  if (type == QEvent::StatusTip) {
    StatusBar1->SetText(4, static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  // A pop-up (menu, combo list) or an editor inside the views that closes: the Esc that
  // closed it, held or pressed once too often, must not close the window next.
  if (type == QEvent::Hide) {
    auto* hidden = qobject_cast<QWidget*>(watched);
    if (hidden && (hidden->windowType() == Qt::Popup ||
                   (!qobject_cast<QAbstractItemView*>(hidden) &&
                    (FolderView1->isAncestorOf(hidden) || FileView1->isAncestorOf(hidden)))))
      popup_closed_.start();
    return false;
  }
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  // Key preview: the window sees each key once, as it reaches the focused control.
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget != QApplication::focusWidget() || widget->window() != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  // The views' own keys apply to the lists themselves, never to an editor inside them
  // (Esc while renaming cancels the rename; it does not close the window).
  const bool in_views = qobject_cast<QAbstractItemView*>(widget) &&
                        (widget == FolderView1 || FileView1->isAncestorOf(widget));
  const Qt::KeyboardModifiers mods = HeldModifiers(key);
  if (type == QEvent::KeyPress) {
    if (FormKeyDown(key->key(), mods)) return true;
    if (!in_views) return false;
    if (key->key() == Qt::Key_Escape && !EscMayClose(*key)) return true;
    if (FileView1KeyDown(key->key(), mods)) return true;
    // The letter keys: the typed character, so any layout (and kana input) works.
    if (mods & (Qt::ControlModifier | Qt::AltModifier)) return false;
    return keys_->FileView1KeyPress(key->text());
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

bool TForm1::EscMayClose(const QKeyEvent& key) const {
  if (!actions_->Checked(QStringLiteral("MescExit")) || key.isAutoRepeat()) return false;
  if (QApplication::activePopupWidget()) return false;
  return !popup_closed_.isValid() || popup_closed_.elapsed() >= kEscAfterPopupMs;
}

namespace {
Qt::KeyboardModifiers ShiftAltCtrl(Qt::KeyboardModifiers mods) {
  return mods & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
}
}  // namespace

bool TForm1::FormKeyDown(int /*key*/, Qt::KeyboardModifiers mods) {
  flags_.shiftdown = ShiftAltCtrl(mods) == Qt::ShiftModifier;
  flags_.altdown = ShiftAltCtrl(mods) == Qt::AltModifier;
  return false;
}

void TForm1::FormKeyUp(int /*key*/, Qt::KeyboardModifiers mods) {
  if (ShiftAltCtrl(mods) != Qt::ShiftModifier) flags_.shiftdown = 0;
  if (ShiftAltCtrl(mods) != Qt::AltModifier) flags_.altdown = 0;
}

bool TForm1::FileView1KeyDown(int key, Qt::KeyboardModifiers mods) {
  flags_.shiftdown = (mods & Qt::ShiftModifier) ? 1 : 0;
  flags_.ctrldown = (mods & Qt::ControlModifier) ? 1 : 0;
  const bool keypad = mods & Qt::KeypadModifier;
  switch (key) {
    case Qt::Key_Backspace:
      actions_->Trigger(QStringLiteral("ToolButton55"));
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (FileView1->Count() > 0 && FileView1->SelectedIsFolder()) {
        const QString folder = FileView1->SelectedPath();
        if (!MoveToFolder(folder)) {
          // Unreadable, or gone since it was listed: said, never a key that does nothing.
          const std::string disk = bridge::ToDisk(folder);
          const QString why = ::access(disk.c_str(), R_OK | X_OK) != 0
                                  ? QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)))
                                  : QString();
          StatusBar1->SetText(4, QStringLiteral("フォルダーを開けません: ") + bridge::DisplayName(folder) + why);
          return true;
        }
        FileView1->SelectRow(0);
        folderinfo();
      }
      // On a file Enter does nothing: the list would hand it to the desktop to open.
      return true;
    case Qt::Key_Alt:
      flags_.altdown = 1;
      return true;
    case Qt::Key_Delete:
      // Shift alone: for good, without the trash; otherwise the trash.
      actions_->Trigger(ShiftAltCtrl(mods) == Qt::ShiftModifier ? QStringLiteral("Myd") : QStringLiteral("Mfiledelete"));
      return true;
    case Qt::Key_Escape:
      Mexit1Click();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      flags_.viewenabled = ShiftAltCtrl(mods) == Qt::ShiftModifier ? 0 : 1;
      return false;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4:
      if (!keypad) return false;
      actions_->Trigger(QStringLiteral("Micon%1").arg(key - Qt::Key_0));
      return true;
    default:
      return false;
  }
}

void TForm1::FileView1KeyUp(int /*key*/, Qt::KeyboardModifiers mods) {
  if (!(mods & Qt::ShiftModifier)) flags_.shiftdown = 0;
  if (!(mods & Qt::ControlModifier)) flags_.ctrldown = 0;
  flags_.viewenabled = 1;
}

}  // namespace haruvi::app
