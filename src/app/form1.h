// TForm1: the main window. It assembles the browsing views, the text pane, the tool bars
// and status bars, and owns the window's shared flags and refresh routines. Command
// handlers keep their menu-item names and stay thin: the work lives in the tools.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QString>
#include <cstdint>

#include "platform/ini_file.h"
#include "viewer/byte_buffer.h"

class QAction;
class QActionGroup;
class QCloseEvent;
class QFont;
class QKeyEvent;
class QLabel;
class QMenu;
class QShowEvent;
class QColor;
class QSplitter;
class QToolBar;
class QToolButton;

namespace haruvi::shellview {
class TComboView;
class TFileView;
class TFolderView;
}  // namespace haruvi::shellview
namespace haruvi::viewer { class TextPane; }

namespace haruvi::app {

class FolderStatus;
class PanelBar;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // `start_file`: the command line's arguments joined with single blanks (may be empty).
  explicit TForm1(QString start_file, QWidget* parent = nullptr);
  ~TForm1() override;

  platform::IniFile& ini() { return ini_; }
  QAction* Action(const QString& name) const { return actions_.value(name); }

  // Shared routines.
  void initset();
  void iniload();
  void inisave();
  void textclear();
  void folderinfo();
  void folderinfo2();
  void viewrefresh();
  void viewreset();
  void viewreselect(const QString& name);
  void filedisp();
  void filedisp2();
  // Loads the file through one read of the whole file; false (after a message) on failure.
  bool streamdisp(const QString& path, std::string* kind = nullptr);
  void fileinfo();
  void tabset();
  QString longfilename(const QString& path) const;
  // Moves the views to `folder` with viewenabled 0; false when it cannot be shown.
  bool MoveToFolder(const QString& folder);
  QString CurrentFolder() const;
  QString ProgramFolder() const;

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
  void Splitter2Moved();
  void ComboView1Change(const QString& path);
  void FolderView1Change(const QString& path);
  void FileView1Change(bool state_change);

  // Menu handlers (named after their items).
  void Mexit1Click();
  void MeditView1Click();
  void MtoolbarClick();
  void Msubtoolbar1Click();
  void MmousepointClick();
  void Msubfolderview1Click();
  void Mdialogdisp1Click();
  void Mcloseinitview1Click();
  void Mdragdrop1Click();
  void MinitviewClick();
  void Micon1Click();
  void Micon2Click();
  void Micon3Click();
  void Micon4Click();
  void ToolButton55Click();
  void ToolButton8Click();
  void Mfilenamedisp0Click();
  void Mfilenamedisp1Click();
  void Mfilenamedisp2Click();
  void Mfilenamedisp3Click();
  void Mversion1Click();
  void MhyojiClick();
  void Mhyoji1Click();
  void Moption2Click();
  void Mfileviewcolum1Click();
  void Mfileviewcolum2Click();
  void Mfileviewcolum3Click();
  void Mfilesort1Click();
  void MrootfolderClick();
  void MdispClick();
  void Minifileclear1Click();
  void MinitdirectryClick();
  void MrtfClick();
  void MwordwrapClick();
  void MfonttextClick();
  void MfontfileClick();
  void MchartsetClick();
  void Mtabset1Click();
  void Mtextrepaint1Click();
  void MtextnewviewClick();
  void MstreamRead1Click();
  void Mreadmax1Click();
  void MvClick();
  void ToolButton49Click();

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
  PanelBar* SBarR = nullptr;
  PanelBar* StatusBar1 = nullptr;
  shellview::TComboView* ComboView1 = nullptr;
  shellview::TFolderView* FolderView1 = nullptr;
  shellview::TFileView* FileView1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QToolButton* SBeditview = nullptr;

  // Window flags.
  std::uint8_t viewenabled = 1;
  std::uint8_t instantmode = 1;
  std::uint8_t shiftdown = 0;
  std::uint8_t altdown = 0;
  std::uint8_t ctrldown = 0;
  int savedtextheight = 0;
  int tabwidth = 8;
  QString worktext;

  FolderStatus* folder_status() const { return folder_status_; }
  int PanelRBHeight() const;
  void SetPanelRBHeight(int height);
  int PanelLWidth() const;
  void SetPanelLWidth(int width);
  // The text tool bar's layout of PanelRBT, as "テキストツールバー表示" prescribes.
  void LayoutTextToolBar();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPanels();
  void BuildActions();
  void BuildMenus();
  void BuildToolBars();
  QAction* MakeAction(const QString& name, const QString& caption, const QString& hint,
                      void (TForm1::*handler)() = nullptr, bool checkable = false);
  // A pop-up twin: same handler, check mark kept equal both ways.
  QAction* MakeTwin(QAction* main, const QString& twin_name);
  void SetChecked(const QString& name, bool on);
  bool Checked(const QString& name) const;
  void SetStatusHint(const QString& hint);
  void ApplyListStyle(int style);
  void ShowFolderTotals(const QString& folder, quint64 files, quint64 bytes);
  // folderinfo's status texts; `reuse` keeps a walk of the same folder (folderinfo2).
  void StartFolderStatus(bool reuse);
  void ApplyPaneFont(const QString& name, int style, int color, int size);
  void ApplyFileFont(const QString& name, int style, int color, int size);
  void SetTextPaneVisible(bool visible);
  // The display of the selected file: `forced` for filedisp2 (whatever instantmode is).
  void DisplaySelected(bool forced);
  void SetInfoColor(const QColor& color);
  // Puts loaded bytes into the pane (formatted in rich-text mode when they are rich text)
  // and returns the kind named by their first line.
  std::string LoadPane(viewer::ByteBuffer bytes, const std::string& disk);
  void ShowLineCount();

  platform::IniFile ini_;
  QString start_file_;
  QString program_folder_;
  bool shown_once_ = false;
  QMap<QString, QAction*> actions_;
  QActionGroup* icon_group_ = nullptr;
  FolderStatus* folder_status_ = nullptr;
  QString pane_font_name_;
  int pane_font_style_ = 0;
  int pane_font_color_ = 0;
  QString file_font_name_;
  int file_font_style_ = 0;
  int file_font_color_ = 0;
  int pane_charset_ = 128;
};

}  // namespace haruvi::app
