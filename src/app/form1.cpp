// TForm1: construction, the controllers, start-up and shut-down, and the shared refresh
// routines of ui::WindowContext.
#include "app/form1.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QSplitter>

#include "app/folder_status.h"
#include "app/window_menus.h"
#include "bridge/disk_path.h"
#include "controllers/archive/archive_controller.h"
#include "controllers/choice/choice_controller.h"
#include "controllers/conversion/conversion_controller.h"
#include "controllers/display/display_controller.h"
#include "controllers/dump/dump_controller.h"
#include "controllers/edit/edit_controller.h"
#include "controllers/fileops/fileops_controller.h"
#include "controllers/follow/follow_controller.h"
#include "controllers/help/help_controller.h"
#include "controllers/keys/keys_controller.h"
#include "controllers/layout/layout_controller.h"
#include "controllers/options/options_controller.h"
#include "controllers/print/print_controller.h"
#include "controllers/reportjump/report_jump_controller.h"
#include "controllers/save/save_controller.h"
#include "controllers/search/search_controller.h"
#include "controllers/settingsfile/settings_file_controller.h"
#include "controllers/system/system_controller.h"
#include "controllers/textcmd/textcmd_controller.h"
#include "controllers/toolbar/toolbar_controller.h"
#include "controllers/usermenu/usermenu_controller.h"
#include "platform/settings_location.h"
#include "platform/text_format.h"
#include "shellview/combo_view.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "shellview/item_menu.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

TForm1::TForm1(QString start_file, QWidget* parent) : TForm1(QStringList{start_file}, parent) {}

TForm1::TForm1(QStringList start_args, QWidget* parent)
    : QMainWindow(parent),
      ini_(platform::SettingsFilePath()),
      settings_(ini_),
      actions_(new ui::ActionRegistry(this)),
      start_file_(start_args.join(QLatin1Char(' '))),
      start_args_(std::move(start_args)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Haruvi"));
  resize(782, 514);
  std::filesystem::path exe = platform::ExecutablePath();
  program_folder_ = exe.empty() ? QDir::currentPath() : bridge::FromDisk(exe.parent_path().string());
  folder_status_ = new FolderStatus(this);
  actions_->Declare({"Mexit1", "終了(&X)", "終了|Haruviを終了します。"}, [this] { Mexit1Click(); });
  BuildPanels();
  BuildControllers();
  const WindowMenus menus = BuildWindowMenus(*this, *actions_);
  PopupMenu1 = menus.popup;
  PlaceUserMenus(*this, *actions_, menus, usermenu_->Mexedo(), usermenu_->Mexedo2());
  keys_->FillKeyMenu(PopupMenu1);
  // The pane's pop-up menu is the window's, with the text commands' copies.
  RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(RichEdit1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(RichEdit1->mapToGlobal(at)); });
  layout_->WatchMenus(menus.view, menus.popup_view, menus.popup_option);
  options_->WatchMenu(menus.popup_option);
  edit_->WatchMenu(menus.edit);
  connect(menus.names, &QMenu::aboutToShow, display_, &controllers::DisplayController::Mfilenamedisp0Click);
  connect(menus.popup_names, &QMenu::aboutToShow, display_, &controllers::DisplayController::Mfilenamedisp0Click);
  textcmd_->WatchMenus(menus.edit, menus.popup_edit);
  conversion_->WatchMenus(menus.codes, menus.popup_codes);
  ToolBar1 = BuildMainToolBar(*this);
  SBeditview = BuildTextToolBar(*ToolBar2, *actions_);
  toolbar_->FillBars();

  connect(folder_status_, &FolderStatus::Finished, this, &TForm1::ShowFolderTotals);
  connect(ComboView1, &shellview::TComboView::FolderChosen, this, &TForm1::ComboView1Change);
  connect(FolderView1, &shellview::TFolderView::FolderChanged, this, &TForm1::FolderView1Change);
  connect(FileView1, &shellview::TFileView::Change, this, &TForm1::FileView1Change);
  connect(FileView1, &shellview::TFileView::FolderOpened, this, [this](const QString& path) {
    {
      ui::QuietGuard quiet(flags_);
      FolderView1->SelectPath(path);
    }
    FolderView1Change(FolderView1->SelectedPath());
  });
  connect(FileView1, &shellview::TFileView::OpenFailed, this, [this](const QString& path) {
    StatusBar1->SetText(4, QStringLiteral("開くアプリケーションがありません: ") + path);
  });
  auto open_folder = [this](const QString& path) {
    MoveToFolder(path);
    folderinfo();
  };
  connect(FileView1, &shellview::TFileView::ContextMenuRequested, this, [this, open_folder](const QPoint& at) {
    // The file commands act on the list's selection, which is what the menu is about.
    QList<QAction*> commands;
    for (const char* name : {"Mfilecopy", "Mfilemove", "Mfiledelete", "Mrename", "", "Mfilenamecopy1", "Mmkdir"})
      commands << (*name ? actions_->Get(QString::fromUtf8(name)) : nullptr);
    shellview::MakeItemMenu(this, FileView1->SelectedPaths(), open_folder, commands)->popup(at);
  });
  connect(FolderView1, &shellview::TFolderView::ContextMenuRequested, this,
          [this, open_folder](const QPoint& at, const QString& path) {
            shellview::MakeItemMenu(this, {path}, open_folder)->popup(at);
          });
  connect(Splitter2, &QSplitter::splitterMoved, this, [this] { Splitter2Moved(); });

  qApp->installEventFilter(this);  // key preview and status hints
  FormCreate();
}

TForm1::~TForm1() { qApp->removeEventFilter(this); }

void TForm1::BuildControllers() {
  display_ = new controllers::DisplayController(*this, this);
  layout_ = new controllers::LayoutController(*this, this);
  options_ = new controllers::OptionsController(*this, this);
  settings_file_ = new controllers::SettingsFileController(*this, this);
  edit_ = new controllers::EditController(*this, this);
  textcmd_ = new controllers::TextCmdController(*this, this);
  conversion_ = new controllers::ConversionController(*this, this);
  auto* save = new controllers::SaveController(*this, this);
  text_->SetSaver([this, save] { return SaveShownText(*save); });
  controllers_ = {display_, layout_, options_, settings_file_, new controllers::ChoiceController(*this, this),
                  save, help_ = new controllers::HelpController(*this, this),
                  textcmd_, conversion_, new controllers::DumpController(*this, this), edit_,
                  new controllers::SearchController(*this, this), new controllers::FileOpsController(*this, this),
                  new controllers::PrintController(*this, this), new controllers::SystemController(*this, this),
                  new controllers::ReportJumpController(*this, this), new controllers::FollowController(*this, this)};
  archive_ = new controllers::ArchiveController(*this, this);
  controllers_.push_back(archive_);
  usermenu_ = new controllers::UserMenuController(*this, this);
  keys_ = new controllers::KeysController(*this, this);
  controllers_.push_back(usermenu_);
  controllers_.push_back(keys_);
  toolbar_ = new controllers::ToolbarController(*this, this);
  controllers_.push_back(toolbar_);
}

std::vector<platform::KeyInfo> TForm1::AllKeys() const {
  std::vector<platform::KeyInfo> keys = {kLeft.info, kTop.info, kWidth.info, kHeight.info, kPanelLWidth.info,
                                         kPanelRBHeight.info, kDirectory.info, kPixelsPerInch.info, kState.info};
  for (const platform::KeyInfo& k : SystemKeys()) keys.push_back(k);
  for (const ui::Controller* c : controllers_)
    for (const platform::KeyInfo& k : c->Keys()) keys.push_back(k);
  return keys;
}

QAction* TForm1::Action(const QString& name) const { return actions_->Get(name); }

QString TForm1::SelectedPath() const { return FileView1->SelectedPath(); }

QString TForm1::CurrentFolder() const { return FolderView1->SelectedPath(); }


// ---------------------------------------------------------------- start-up and shut-down

void TForm1::FormCreate() {
  ini_.RemoveStaleTemporaries();  // left by a write that was killed
  initset();
  iniload();
  if (ini_.ReadOnly()) {
    // Said once: the user's read-only settings file is left as it is.
    ui::Warn(this, QStringLiteral("設定ファイルが書き込み禁止のため、設定は保存されません。\n") +
                       bridge::FromDisk(ini_.Path().string()));
  }
  viewreset();
  savedtextheight_ = RichEdit1->height();
  if (start_file_.isEmpty()) {
    folderinfo();  // the status bar names the start folder and its totals
    return;
  }

  // The command-line file: its folder opened, the file selected and shown. The arguments
  // joined with blanks name it (an unquoted path with blanks); when they name nothing,
  // the first argument that exists is taken (a desktop hands over several files).
  QString start = start_file_;
  if (longfilename(start).isEmpty()) {
    for (const QString& a : start_args_)
      if (!longfilename(a).isEmpty()) {
        start = a;
        break;
      }
  }
  if (bridge::IsFolder(start)) {  // a folder opens itself
    if (MoveToFolder(QDir::cleanPath(start))) folderinfo();
    return;
  }
  const QString name = longfilename(start);
  const QString folder = QDir::cleanPath(bridge::FolderOf(start));
  ui::QuietGuard quiet(flags_);
  if (name.isEmpty() || !FolderView1->SelectPath(folder)) return;
  // Selecting the folder in the tree has listed it already (a big folder is listed once).
  if (FileView1->Folder() != folder) FileView1->SetFolder(folder);
  ComboView1->ShowPath(folder);
  text_->SetInfo(QString());
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
  Action(QStringLiteral("Mnow"))->setText(caption);
}

bool TForm1::SaveShownText(controllers::SaveController& save) {
  const std::string source = text_->SourcePath();
  if (source.empty()) {
    save.MTsave1Click();
    return !text_->Unsaved();
  }
  if (!save.SaveTo(bridge::FromDisk(source))) return false;
  text_->MarkSaved(source);
  return true;
}

bool TForm1::FormCloseQuery() {
  // Changed text is asked about first: Cancel keeps the window open as it was.
  if (!text_->MayLeave()) return false;
  flags_.worktext.clear();
  if (RichEdit1->isHidden()) SetTextPaneVisible(true);
  if (!inisave() && ini_.LastWrite() != platform::IniFile::WriteState::ReadOnly)
    ui::Warn(this, QStringLiteral("設定を保存できませんでした。\n") + bridge::FromDisk(ini_.Path().string()));
  if (actions_->Checked(QStringLiteral("Mcloseinitview1"))) {
    {
      ui::QuietGuard quiet(flags_);
      FolderView1->SelectPath(StartFolder());
    }
    textclear();
    viewrefresh();
  }
  return true;
}

void TForm1::Mexit1Click() { close(); }

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (fit_frame_) FitFrame(20);
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

void TForm1::textclear() { text_->textclear(); }

// The display shows the file; the window then names its folder's totals (reusing a walk
// of the same folder), so the display never climbs back into the window.
void TForm1::filedisp() {
  if (display_->filedisp()) folderinfo2();
}

void TForm1::filedisp2() {
  if (display_->filedisp2()) folderinfo();
}

void TForm1::ShowSelection() { FileView1Change(SelectedPath(), false); }

void TForm1::folderinfo() {
  StartFolderStatus(false);
  const QString folder = CurrentFolder();
  if (!folder.isEmpty()) (void)::chdir(bridge::ToDisk(folder).c_str());  // errors ignored
}

void TForm1::folderinfo2() { StartFolderStatus(true); }

void TForm1::StartFolderStatus(bool reuse) {
  const QString folder = CurrentFolder();
  if (folder.isEmpty()) return;
  StatusBar1->SetText(0, bridge::DisplayName(folder));
  // The totals arrive when the walk ends; until then the panels say it is counting.
  StatusBar1->SetText(1, QStringLiteral(" … 個 "), true);
  StatusBar1->SetText(2, QStringLiteral(" … byte "), true);
  folder_status_->Start(folder, reuse);
}

void TForm1::ShowFolderTotals(const QString& folder, quint64 files, quint64 bytes) {
  if (folder != CurrentFolder()) return;
  auto framed = [](quint64 n, const char* unit) {
    return QStringLiteral(" ") +
           QString::fromStdString(platform::TrimSpaces(platform::FormatThousands(static_cast<std::uint64_t>(n), 15))) +
           QLatin1Char(' ') + QString::fromUtf8(unit) + QLatin1Char(' ');
  };
  StatusBar1->SetText(1, framed(files, "個"), true);
  StatusBar1->SetText(2, framed(bytes, "byte"), true);
}

void TForm1::viewrefresh() {
  ui::QuietGuard quiet(flags_);
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
  flags_.viewenabled = 1;
  // Instant display follows its check mark, so a start with it switched off stays off.
  flags_.instantmode = actions_->Checked(QStringLiteral("Mdisp")) ? 1 : 0;
  flags_.shiftdown = 0;
  viewrefresh();
  textclear();
}

void TForm1::viewreselect(const QString& name) {
  viewrefresh();
  const QString caption = bridge::FileName(name);
  int n = 0;
  {
    ui::QuietGuard quiet(flags_);
    n = caption.isEmpty() ? 0 : FileView1->SelectByCaption(caption);
  }
  if (n > 0) filedisp();
  QApplication::restoreOverrideCursor();
}

QString TForm1::longfilename(const QString& path) const {
  struct stat st {};
  if (::stat(bridge::ToDisk(path).c_str(), &st) != 0) return QString();
  return path.section(QLatin1Char('/'), -1);
}

bool TForm1::MoveToFolder(const QString& folder) {
  ui::QuietGuard quiet(flags_);
  const QString previous = CurrentFolder();
  if (!FolderView1->SelectPath(QDir::cleanPath(folder))) return false;
  if (!FileView1->SetFolder(CurrentFolder())) {
    FolderView1->SelectPath(previous);
    return false;
  }
  ComboView1->ShowPath(CurrentFolder());
  // The shown file belonged to the folder left behind, and so did a message about the
  // last move (a folder not found): a later message is set after the move.
  if (CurrentFolder() != previous) {
    textclear();
    StatusBar1->SetText(4, QString());
  }
  return true;
}

}  // namespace haruvi::app
