// TForm1's display of the selected file and the display settings: the information line,
// the read settings read at every display, rich-text mode, word wrap, fonts, the pane's
// character set and tab stops, and the re-display commands.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScopeGuard>
#include <memory>

#include "app/form1.h"
#include "app/panel_bar.h"
#include "app/settings_keys.h"
#include "encoding/char_code.h"
#include "platform/settings_values.h"
#include "shellview/disk_path.h"
#include "shellview/file_view.h"
#include "viewer/display_dialogs.h"
#include "viewer/file_display.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

namespace k = settings::k;

namespace {

QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

void TForm1::SetInfoColor(const QColor& color) {
  QPalette p = LFilestring->palette();
  p.setColor(QPalette::WindowText, color);
  LFilestring->setPalette(p);
}

void TForm1::ShowLineCount() {
  SBarR->SetText(1, QStringLiteral(" %1 行 ").arg(RichEdit1->LineCount()));
}

void TForm1::filedisp() {
  if (!instantmode) return;
  DisplaySelected(false);
}

void TForm1::filedisp2() { DisplaySelected(true); }

void TForm1::DisplaySelected(bool forced) {
  const QString path = FileView1->SelectedPath();
  const std::string disk = shellview::ToDisk(path);
  struct stat st {};
  const bool exists = !path.isEmpty() && ::stat(disk.c_str(), &st) == 0;
  if (forced && (!exists || !S_ISREG(st.st_mode))) return;
  LFilestring->clear();
  if (!exists || S_ISDIR(st.st_mode)) return;

  // The read settings are read at every display, so their dialogs apply to the next one.
  viewer::ReadSettings read;
  read.stream_bytes = ini_.ReadInteger(k::kStreamRead, "Byte", 10000);
  read.stream_check = ini_.ReadBool(k::kStreamRead, "Check", true);
  read.read_max = ini_.ReadInteger(k::kReadMax, "Byte", 0);

  RichEdit1->SetPlainTextMode(!Checked(QStringLiteral("Mrtf")));
  RichEdit1->Clear();
  const viewer::FileLoad load = viewer::PrepareDisplay(disk, read);
  if (!load.exists) return;
  SetInfoColor(forced ? Qt::blue : RichEdit1->ReadOnly() ? Qt::black : Qt::red);
  LFilestring->setText(FromUtf8(load.info_step1));

  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
  std::string kind;
  if (load.way == viewer::LoadWay::Stream) {
    // A failing stream load is reported, and the information line keeps its first step.
    if (!streamdisp(path, &kind)) return;
  } else if (load.way == viewer::LoadWay::Direct) {
    // A failing direct load leaves the pane empty, silently.
    if (auto bytes = viewer::ReadWholeFile(disk, load.size, nullptr)) kind = LoadPane(std::move(*bytes), disk);
  }
  std::string code;
  if (!RichEdit1->IsEmpty())
    code = encoding::CharCodeName(encoding::DetectCharCode(RichEdit1->BytesView()));
  LFilestring->setText(FromUtf8(viewer::InfoLineStep2(load.info_step1, kind, code)));
  ShowLineCount();
  if (forced) folderinfo();
  else folderinfo2();
}

std::string TForm1::LoadPane(viewer::ByteBuffer bytes, const std::string& disk) {
  // The kind comes from the file's own first line, so rich text is named in either mode.
  std::string kind = viewer::filekind(viewer::FirstLineOf(bytes.view()), disk);
  if (RichEdit1->PlainTextMode() || !RichEdit1->SetRichText(bytes.view())) RichEdit1->SetText(std::move(bytes));
  return kind;
}

bool TForm1::streamdisp(const QString& path, std::string* kind) {
  const std::string disk = shellview::ToDisk(path);
  struct stat st {};
  if (::stat(disk.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  std::string error;
  std::optional<viewer::ByteBuffer> bytes = viewer::ReadWholeFile(disk, static_cast<std::uint64_t>(st.st_size), &error);
  if (!bytes) {
    QMessageBox::warning(this, QStringLiteral("Haruvi"),
                         QStringLiteral("ストリームからの読み込みに失敗しました\n") + FromUtf8(error));
    return false;
  }
  const std::string k = LoadPane(std::move(*bytes), disk);
  if (kind) *kind = k;
  return true;
}

void TForm1::fileinfo() {
  const QString path = FileView1->SelectedPath();
  LFilestring->setText(FromUtf8(viewer::InfoLineStep1(shellview::ToDisk(path))));
  RichEdit1->Clear();
  folderinfo();
}

void TForm1::tabset() { RichEdit1->SetTabWidth(tabwidth); }

void TForm1::MrtfClick() {
  const bool on = Checked(QStringLiteral("Mrtf"));
  RichEdit1->SetPlainTextMode(!on);
  SBarR->SetText(3, on ? QStringLiteral(" RTF ") : QStringLiteral("     "), true);
}

void TForm1::MwordwrapClick() {
  RichEdit1->SetWordWrap(Checked(QStringLiteral("Mwordwrap")));
}

namespace {
int StyleBits(const QFont& f) {
  return platform::FontStyleToInt({f.bold(), f.italic(), f.underline(), f.strikeOut()});
}
}  // namespace

void TForm1::MfonttextClick() {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, RichEdit1->PaneFont(), this);
  if (!ok) return;
  ApplyPaneFont(chosen.family(), StyleBits(chosen), pane_font_color_, chosen.pointSize());
  tabset();
}

void TForm1::MfontfileClick() {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, FileView1->font(), this);
  if (!ok) return;
  ApplyFileFont(chosen.family(), StyleBits(chosen), file_font_color_, chosen.pointSize());
}

void TForm1::MchartsetClick() {
  auto dialog = std::make_unique<viewer::TForm8>(pane_charset_, this);
  connect(dialog.get(), &viewer::TForm8::CharsetChosen, this, [this](int charset) {
    pane_charset_ = charset;
    RichEdit1->SetCodePage(encoding::CodePageForCharset(charset));
  });
  dialog->exec();
}

void TForm1::Mtabset1Click() {
  bool ok = false;
  const QString answer = QInputDialog::getText(this, QStringLiteral("TAB位置設定"), QStringLiteral("TABの文字数"),
                                               QLineEdit::Normal, QStringLiteral("8"), &ok);
  if (!ok) return;
  bool number = false;
  const int width = answer.trimmed().toInt(&number);
  // A width that is no number, or none a pane can use, is the default 8.
  tabwidth = number && width > 0 && width <= 255 ? width : 8;
  tabset();
}

void TForm1::Mtextrepaint1Click() {
  QApplication::restoreOverrideCursor();
  viewenabled = 1;
  instantmode = 1;
  shiftdown = 0;
  altdown = 0;
  SetInfoColor(Qt::black);
  filedisp();
}

void TForm1::MtextnewviewClick() {
  viewenabled = 1;
  instantmode = 1;
  SetInfoColor(Qt::black);
  if (!FileView1->SelectedPath().isEmpty()) FileView1Change(false);
  // Instant display stays on: the check marks and the status panel say so.
  SetChecked(QStringLiteral("Mdisp"), true);
  MdispClick();
}

void TForm1::MstreamRead1Click() {
  worktext.clear();
  auto dialog = std::make_unique<viewer::TForm26>(true, ini_.ReadBool(k::kStreamRead, "Check", true),
                                                  ini_.ReadInteger(k::kStreamRead, "Byte", 10000), this);
  if (dialog->exec() != QDialog::Accepted) return;
  ini_.WriteBool(k::kStreamRead, "Check", dialog->Checked());
  ini_.WriteInteger(k::kStreamRead, "Byte", dialog->Bytes());
}

void TForm1::Mreadmax1Click() {
  worktext.clear();
  auto dialog = std::make_unique<viewer::TForm26>(false, true, ini_.ReadInteger(k::kReadMax, "Byte", 0), this);
  if (dialog->exec() != QDialog::Accepted) return;
  ini_.WriteInteger(k::kReadMax, "Byte", dialog->Bytes());
}

void TForm1::MvClick() { filedisp2(); }

void TForm1::ToolButton49Click() { filedisp2(); }

}  // namespace haruvi::app
