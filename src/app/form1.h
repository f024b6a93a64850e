// TForm1: the main window. It assembles the panels, the browsing views, the text pane,
// the menus and tool bars and the list of feature controllers; it keeps start-up and
// shut-down, the window-level events and keys, and the shared refresh routines every
// controller reaches through ui::WindowContext. Commands live in the controllers.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/ini_file.h"
#include "platform/setting_key.h"
#include "ui/window_context.h"

class QAction;
class QCloseEvent;
class QKeyEvent;
class QLabel;
class QMenu;
class QShowEvent;
class QSplitter;
class QToolBar;
class QToolButton;

namespace haruvi::shellview {
class TComboView;
class TFileView;
class TFolderView;
}  // namespace haruvi::shellview
namespace haruvi::viewer { class TextPane; }
namespace haruvi::ui {
class ActionRegistry;
class Controller;
class PanelBar;
}  // namespace haruvi::ui
namespace haruvi::controllers {
class ArchiveController;
class DisplayController;
class HelpController;
class EditController;
class KeysController;
class SaveController;
class ToolbarController;
class UserMenuController;
class LayoutController;
class OptionsController;
class SettingsFileController;
class TextCmdController;
class ConversionController;
}  // namespace haruvi::controllers

namespace haruvi::app {

class FolderStatus;

class TForm1 : public QMainWindow, public ui::WindowContext {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "window";
  static constexpr auto kLeft = platform::Int(kOwner, "Form", "Left", "", platform::KeyRule::ScreenLeft);
  static constexpr auto kTop = platform::Int(kOwner, "Form", "Top", "", platform::KeyRule::ScreenTop);
  static constexpr auto kWidth = platform::Int(kOwner, "Form", "Width", "", platform::KeyRule::ScreenExtent);
  static constexpr auto kHeight = platform::Int(kOwner, "Form", "Height", "", platform::KeyRule::ScreenExtent);
  static constexpr auto kPanelLWidth = platform::Int(kOwner, "PanelL", "Width", "", platform::KeyRule::KeepIfOutside);
  static constexpr auto kPanelRBHeight = platform::Int(kOwner, "PanelRB", "Height", "", platform::KeyRule::KeepIfOutside);
  static constexpr auto kDirectory = platform::Str(kOwner, "FolderView", "Directory", "", platform::KeyRule::MaxBytes, 0, 4096);
  static constexpr auto kPixelsPerInch = platform::Int(kOwner, "Form", "Pixelsperinch", "", platform::KeyRule::Informational);
  static constexpr auto kState = platform::Int(kOwner, "Form", "State", "", platform::KeyRule::Informational);

  // `start_file`: the command line's arguments joined with single blanks (may be empty).
  explicit TForm1(QString start_file, QWidget* parent = nullptr);
  // The command line's arguments: joined with single blanks they name the start file.
  explicit TForm1(QStringList start_args, QWidget* parent = nullptr);
  // The command line's --line: that line of the start file at the top.
  void ShowStartLine(long long line);
  // --write-help: the help pages made from the menus, into `folder`.
  bool WriteHelpPages(const QString& folder, std::string* error);
  ~TForm1() override;

  // Every settings key of the window and its controllers.
  std::vector<platform::KeyInfo> AllKeys() const;
  QAction* Action(const QString& name) const;

  // ui::WindowContext.
  QWidget* Window() override { return this; }
  ui::ShownText& Text() override { return *text_; }
  ui::PanelBar& TextStatus() override { return *SBarR; }
  ui::PanelBar& Status() override { return *StatusBar1; }
  shellview::TFileView& Files() override { return *FileView1; }
  shellview::TFolderView& Folders() override { return *FolderView1; }
  shellview::TComboView& Combo() override { return *ComboView1; }
  QToolBar& MainToolBar() override { return *ToolBar1; }
  QToolBar& TextToolBar() override { return *ToolBar2; }
  platform::Settings& Settings() override { return settings_; }
  ui::ActionRegistry& Actions() override { return *actions_; }
  ui::WindowFlags& Flags() override { return flags_; }
  QString SelectedPath() const override;
  QString CurrentFolder() const override;
  QString ProgramFolder() const override { return program_folder_; }
  // Where the window opens without a stored folder: the program's own folder in its build
  // tree, the user's home folder once installed.
  QString StartFolder() const;
  void textclear() override;
  void folderinfo() override;
  void folderinfo2() override;
  void viewrefresh() override;
  void viewreset() override;
  void viewreselect(const QString& name) override;
  void filedisp() override;
  void filedisp2() override;
  void initset() override;
  void ShowSelection() override;
  bool MoveToFolder(const QString& folder) override;
  void SetTextPaneVisible(bool visible) override;
  int SavedTextHeight() const override { return savedtextheight_; }
  void SetSavedTextHeight(int height) override { savedtextheight_ = height; }

  void iniload();
  // Writes every key at once; false when the settings file could not be written.
  bool inisave();
  // How the settings were left at the last close.
  platform::IniFile::WriteState SettingsWrite() const { return ini_.LastWrite(); }
  QString longfilename(const QString& path) const;

  // Event handlers.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormResize();
  // Key handlers take the key and the modifiers held after the event; true = consumed.
  bool FormKeyDown(int key, Qt::KeyboardModifiers mods);
  void FormKeyUp(int key, Qt::KeyboardModifiers mods);
  bool FileView1KeyDown(int key, Qt::KeyboardModifiers mods);
  void FileView1KeyUp(int key, Qt::KeyboardModifiers mods);
  static Qt::KeyboardModifiers HeldModifiers(const QKeyEvent* key);
  // Esc in the views closes the window only while "Escで終了" is on, for a key pressed (not
  // held), with no pop-up open and none closed in the last moment.
  bool EscMayClose(const QKeyEvent& key) const;
  void Splitter2Moved();
  void ComboView1Change(const QString& path);
  void FolderView1Change(const QString& path);
  void FileView1Change(const QString& path, bool state_change);
  void Mexit1Click();
  // The answer 保存 to "変更を保存しますか": the text written over the file it came from
  // (through the save dialog when it came from none).
  bool SaveShownText(controllers::SaveController& save);

  // Components.
  QToolBar* ToolBar1 = nullptr;
  QToolBar* ToolBar2 = nullptr;
  QSplitter* Splitter1 = nullptr;  // PanelLT / PanelLB
  QSplitter* Splitter2 = nullptr;  // PanelL / PanelR
  QSplitter* Splitter3 = nullptr;  // PanelRT / PanelRB
  QWidget* PanelL = nullptr;
  QWidget* PanelLT = nullptr;
  QWidget* PanelLB = nullptr;
  QWidget* PanelR = nullptr;
  QWidget* PanelRT = nullptr;
  QWidget* PanelRB = nullptr;
  QWidget* PanelRBT = nullptr;
  QLabel* LFilestring = nullptr;
  viewer::TextPane* RichEdit1 = nullptr;
  ui::PanelBar* SBarR = nullptr;
  ui::PanelBar* StatusBar1 = nullptr;
  shellview::TComboView* ComboView1 = nullptr;
  shellview::TFolderView* FolderView1 = nullptr;
  shellview::TFileView* FileView1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QToolButton* SBeditview = nullptr;

  FolderStatus* folder_status() const { return folder_status_; }
  int PanelRBHeight() const;
  void SetPanelRBHeight(int height);
  int PanelLWidth() const;
  void SetPanelLWidth(int width);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The informational keys written at close (program, version, date, disk...).
  static std::vector<platform::KeyInfo> SystemKeys();
  void BuildPanels();
  void BuildControllers();
  void ShowFolderTotals(const QString& folder, quint64 files, quint64 bytes);
  // folderinfo's status texts; `reuse` keeps a walk of the same folder (folderinfo2).
  void StartFolderStatus(bool reuse);

  platform::IniFile ini_;
  platform::Settings settings_;
  ui::WindowFlags flags_;
  ui::ActionRegistry* actions_ = nullptr;
  QString start_file_;
  QStringList start_args_;
  QString program_folder_;
  // The work area holds the whole frame, title bar and borders included: the client is
  // sized first, and shrunk by the frame's extents once the window manager has said them.
  void FitFrame(int tries_left);
  bool fit_frame_ = false;
  bool shown_once_ = false;
  int savedtextheight_ = 0;
  FolderStatus* folder_status_ = nullptr;
  ui::ShownText* text_ = nullptr;
  // Since the last pop-up or editor in the views closed (EscMayClose).
  QElapsedTimer popup_closed_;
  static constexpr qint64 kEscAfterPopupMs = 400;
  // The features, in the order their settings are applied.
  std::vector<ui::Controller*> controllers_;
  controllers::ArchiveController* archive_ = nullptr;
  controllers::DisplayController* display_ = nullptr;
  controllers::EditController* edit_ = nullptr;
  controllers::KeysController* keys_ = nullptr;
  controllers::ToolbarController* toolbar_ = nullptr;
  controllers::UserMenuController* usermenu_ = nullptr;
  controllers::LayoutController* layout_ = nullptr;
  controllers::OptionsController* options_ = nullptr;
  controllers::SettingsFileController* settings_file_ = nullptr;
  controllers::TextCmdController* textcmd_ = nullptr;
  controllers::ConversionController* conversion_ = nullptr;
  controllers::HelpController* help_ = nullptr;
};

}  // namespace haruvi::app
