// TForm1's layout and browsing commands: hiding the pane, the tool bars, hover selection,
// list styles, column widths, sorting, the root folder, refresh and the file-name lists.
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <memory>

#include "app/about_box.h"
#include "app/form1.h"
#include "app/panel_bar.h"
#include "app/sort_dialog.h"
#include "platform/mounts.h"
#include "shellview/combo_view.h"
#include "shellview/disk_path.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "shellview/listing.h"
#include "encoding/pane_codec.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

void TForm1::SetChecked(const QString& name, bool on) {
  if (QAction* a = Action(name)) a->setChecked(on);
}

bool TForm1::Checked(const QString& name) const {
  QAction* a = Action(name);
  return a && a->isChecked();
}

int TForm1::PanelRBHeight() const {
  const QList<int> sizes = Splitter3->sizes();
  return sizes.size() == 2 ? sizes[1] : 0;
}

void TForm1::SetPanelRBHeight(int height) {
  const int total = Splitter3->height() - Splitter3->handleWidth();
  height = std::clamp(height, 0, std::max(0, total));
  Splitter3->setSizes({total - height, height});
}

int TForm1::PanelLWidth() const {
  const QList<int> sizes = Splitter2->sizes();
  return sizes.isEmpty() ? 0 : sizes[0];
}

void TForm1::SetPanelLWidth(int width) {
  const int total = Splitter2->width() - Splitter2->handleWidth();
  width = std::clamp(width, 0, std::max(0, total));
  Splitter2->setSizes({width, total - width});
}

// The combo always spans PanelLT (its layout sizes it); only its minimum must not hold
// the left column wider than the user made it.
void TForm1::Splitter2Moved() { ComboView1->setMaximumWidth(PanelLT->width()); }

void TForm1::Mexit1Click() { close(); }

void TForm1::SetTextPaneVisible(bool visible) {
  QAction* a = Action(QStringLiteral("MeditView1"));
  const int bars = PanelRBT->sizeHint().height() + SBarR->sizeHint().height();
  RichEdit1->setVisible(visible);
  if (visible) {
    SetPanelRBHeight(bars + savedtextheight);
    a->setIcon(QIcon::fromTheme(QStringLiteral("go-down")));
    a->setToolTip(QStringLiteral("隠す"));
    a->setText(QStringLiteral("テキスト表示を隠す(&I)"));
    a->setStatusTip(QStringLiteral("テキスト表示を隠します。"));
  } else {
    SetPanelRBHeight(bars);
    a->setIcon(QIcon::fromTheme(QStringLiteral("go-up")));
    a->setToolTip(QStringLiteral("表示する"));
    a->setText(QStringLiteral("テキスト表示を表示する(&I)"));
    a->setStatusTip(QStringLiteral("テキスト表示を表示します。"));
  }
}

void TForm1::MeditView1Click() {
  const bool visible = !RichEdit1->isHidden();
  if (visible) savedtextheight = RichEdit1->height();
  SetTextPaneVisible(!visible);
  if (FileView1->CurrentView()->isEnabled()) FileView1->CurrentView()->setFocus();
  else FolderView1->setFocus();
}

void TForm1::MtoolbarClick() { ToolBar1->setVisible(Checked(QStringLiteral("Mtoolbar"))); }

void TForm1::LayoutTextToolBar() {
  // PanelRBT holds the text tool bar above the information label, or the label alone.
  ToolBar2->setVisible(Checked(QStringLiteral("Msubtoolbar1")));
}

void TForm1::Msubtoolbar1Click() { LayoutTextToolBar(); }

void TForm1::MmousepointClick() {
  const bool on = Checked(QStringLiteral("Mmousepoint"));
  FileView1->SetHotTrack(on);
  SBarR->SetText(5, on ? QStringLiteral(" MP ") : QStringLiteral("    "), true);
}

// These three only toggle their check marks (the checkable action already has); the
// commands that read them look at the mark when they run.
void TForm1::Msubfolderview1Click() {}
void TForm1::Mdialogdisp1Click() {}
void TForm1::Mcloseinitview1Click() {}

void TForm1::Mdragdrop1Click() {
  const bool on = Checked(QStringLiteral("Mdragdrop1"));
  FileView1->SetDragEnabled(on);
  setAcceptDrops(on);
}

void TForm1::MdispClick() {
  const bool on = Checked(QStringLiteral("Mdisp"));
  instantmode = on ? 1 : 0;
  SBarR->SetText(4, on ? QStringLiteral(" ﾘｱﾙﾓｰﾄﾞ ") : QStringLiteral("  Vﾓｰﾄﾞ "), true);
}

void TForm1::ApplyListStyle(int style) {
  style = (style >= 1 && style <= 4) ? style : 3;
  SetChecked(QStringLiteral("Micon%1").arg(style), true);
  FileView1->SetViewStyle(static_cast<shellview::ViewStyle>(style));
}

void TForm1::Micon1Click() { ApplyListStyle(1); }
void TForm1::Micon2Click() { ApplyListStyle(2); }
void TForm1::Micon3Click() { ApplyListStyle(3); }
void TForm1::Micon4Click() { ApplyListStyle(4); }

void TForm1::Mfileviewcolum1Click() { FileView1->FitColumns(0, 3); }
void TForm1::Mfileviewcolum2Click() { FileView1->FitColumns(1, 3); }
void TForm1::Mfileviewcolum3Click() { FileView1->FitColumns(0, 0); }

void TForm1::Mfilesort1Click() {
  auto dialog = std::make_unique<TForm15>(this);
  if (dialog->exec() != QDialog::Accepted) return;
  viewenabled = 0;
  auto restore = qScopeGuard([this] { viewenabled = 1; });
  FileView1->SortBy(dialog->Answer().toInt());
}

void TForm1::MrootfolderClick() {
  const QString root = shellview::FromDisk(platform::DriveRoot(shellview::ToDisk(CurrentFolder())));
  if (!MoveToFolder(root)) return;
  viewenabled = 0;
  FileView1->SelectRow(0);
  viewenabled = 1;
  folderinfo();
}

void TForm1::MinitviewClick() {
  const QString selected = FileView1->SelectedPath();
  viewreset();
  viewreselect(selected);
}

void TForm1::ToolButton55Click() {
  const QString parent = shellview::FromDisk(shellview::ParentFolder(shellview::ToDisk(CurrentFolder())));
  MoveToFolder(parent);
  viewenabled = 0;
  FileView1->SelectRow(0);
  viewenabled = 1;
  folderinfo();
}

void TForm1::ToolButton8Click() {
  const QString help = ProgramFolder() + QStringLiteral("/help/index.html");
  QUrl url = QUrl::fromLocalFile(help);
  url.setFragment(QStringLiteral("1001"));
  QDesktopServices::openUrl(url);
}

void TForm1::Mversion1Click() {
  auto box = std::make_unique<TAboutBox>(this);
  box->exec();
}

void TForm1::MhyojiClick() {
  Action(QStringLiteral("Mwordwrap"))
      ->setText(RichEdit1->WordWrap() ? QStringLiteral("右で折り返さない(&R)") : QStringLiteral("右で折り返す(&R)"));
  if (QMenu* widths = findChild<QMenu*>(QStringLiteral("Mfileviewcolum")))
    widths->setEnabled(FileView1->Style() == shellview::ViewStyle::Details);
}

void TForm1::Mhyoji1Click() {
  // The pop-up's only item that follows the window is the code-conversion item, which
  // shares its main item's state through the twin connection.
  MhyojiClick();
}

void TForm1::Moption2Click() {
  for (const char* pair : {"Mdisp", "Mlhashow", "Mrtf"})
    SetChecked(QString::fromUtf8(pair) + QLatin1Char('1'), Checked(QString::fromUtf8(pair)));
}

void TForm1::Mfilenamedisp0Click() {
  const bool any = FileView1->SelectedCount() > 0;
  Action(QStringLiteral("Mfilenamedisp3"))->setEnabled(any);
}

namespace {

// Window texts become pane lines in the pane's code page.
std::string ToPane(const QString& text, const viewer::TextPane& pane) {
  const std::u16string u(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  return encoding::PaneCodec::For(pane.CodePage()).Encode(u);
}

}  // namespace

void TForm1::Mfilenamedisp1Click() {
  if (FileView1->Count() == 0) return;
  std::vector<std::string> lines;
  for (const QString& c : FileView1->Captions()) lines.push_back(ToPane(c, *RichEdit1));
  RichEdit1->SetLines(lines);
}

void TForm1::Mfilenamedisp2Click() {
  if (FileView1->Count() == 0) return;
  std::vector<std::string> lines;
  QString folder = CurrentFolder();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  for (const QString& c : FileView1->Captions()) lines.push_back(ToPane(folder + c, *RichEdit1));
  RichEdit1->SetLines(lines);
}

void TForm1::Mfilenamedisp3Click() {
  const QString info = LFilestring->text();
  RichEdit1->Clear();
  if (!info.isEmpty()) RichEdit1->SetLines({ToPane(info, *RichEdit1)});
}

}  // namespace haruvi::app
