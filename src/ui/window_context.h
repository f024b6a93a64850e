// What a feature controller may see and do of the main window: its parts (the pane, the
// information line, the views, the status bars), the selection and current folder, the
// settings, the actions, the window flags and the shared refresh routines. The window
// implements it; controller tests implement it over real widgets without a window.
#pragma once

#include <QApplication>
#include <QString>
#include <cstdint>

class QToolBar;
class QWidget;

namespace haruvi::platform { class Settings; }
namespace haruvi::shellview {
class TComboView;
class TFileView;
class TFolderView;
}  // namespace haruvi::shellview
namespace haruvi::ui {

class ActionRegistry;
class PanelBar;
class ShownText;

// The window's flags, as the commands read and set them.
struct WindowFlags {
  std::uint8_t viewenabled = 1;  // 0 while the program itself moves the views
  std::uint8_t instantmode = 1;  // 1: a selection shows the file at once
  std::uint8_t shiftdown = 0;
  std::uint8_t altdown = 0;
  std::uint8_t ctrldown = 0;
  int tabwidth = 8;
  QString worktext;  // the answer of the last prompt; cancel marks of progress windows
};

class WindowContext {
 public:
  virtual ~WindowContext() = default;

  // Parts of the window.
  virtual QWidget* Window() = 0;  // parent of the commands' dialogs
  // The shown text: its content, origin, information line, step back and simple edit;
  // its view (caret, selection, scrolling, fonts) is Text().View().
  virtual ShownText& Text() = 0;
  virtual PanelBar& TextStatus() = 0;  // the bar under the pane
  virtual PanelBar& Status() = 0;      // the window's bar
  virtual shellview::TFileView& Files() = 0;
  virtual shellview::TFolderView& Folders() = 0;
  virtual shellview::TComboView& Combo() = 0;
  virtual QToolBar& MainToolBar() = 0;
  virtual QToolBar& TextToolBar() = 0;
  virtual platform::Settings& Settings() = 0;
  virtual ActionRegistry& Actions() = 0;
  virtual WindowFlags& Flags() = 0;

  // The selection.
  virtual QString SelectedPath() const = 0;
  virtual QString CurrentFolder() const = 0;
  virtual QString ProgramFolder() const = 0;

  // Shared routines.
  virtual void textclear() = 0;
  virtual void folderinfo() = 0;
  virtual void folderinfo2() = 0;
  virtual void viewrefresh() = 0;
  virtual void viewreset() = 0;
  virtual void viewreselect(const QString& name) = 0;
  virtual void filedisp() = 0;
  virtual void filedisp2() = 0;
  virtual void initset() = 0;
  // Shows the selected file as a selection change shows it.
  virtual void ShowSelection() = 0;
  // Moves the views to `folder` quietly; false when it cannot be shown.
  virtual bool MoveToFolder(const QString& folder) = 0;
  // Shows or hides the text pane, keeping the text bars.
  virtual void SetTextPaneVisible(bool visible) = 0;
  virtual int SavedTextHeight() const = 0;
  virtual void SetSavedTextHeight(int height) = 0;
};

// The hourglass while a command works, restored on every way out.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// The program moves the views itself: selection events show nothing meanwhile.
// On the way out the flag is what it was before, so nested guards keep the outer quiet.
class QuietGuard {
 public:
  explicit QuietGuard(WindowFlags& flags) : flags_(flags), before_(flags.viewenabled) { flags_.viewenabled = 0; }
  explicit QuietGuard(WindowContext& ctx) : QuietGuard(ctx.Flags()) {}
  ~QuietGuard() { flags_.viewenabled = before_; }
  QuietGuard(const QuietGuard&) = delete;
  QuietGuard& operator=(const QuietGuard&) = delete;

 private:
  WindowFlags& flags_;
  std::uint8_t before_;
};

}  // namespace haruvi::ui
