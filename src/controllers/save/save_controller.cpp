#include "controllers/save/save_controller.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "encoding/unicode_convert.h"
#include "fileops/save_file.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/panel_bar.h"
#include "viewer/file_info.h"
#include "viewer/rtf_writer.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

// The name filters of the save dialog; the plain-text ones pick the code written.
struct CodeFilter {
  const char* filter;
  std::optional<encoding::TextForm> form;  // nullopt: as the text was loaded
};
const CodeFilter kCodeFilters[] = {
    {"テキスト (*.txt)", std::nullopt},
    {"テキスト Shift_JIS (*.txt)", encoding::TextForm::Legacy},
    {"テキスト UTF-8 (*.txt)", encoding::TextForm::Utf8},
    {"テキスト UTF-8 BOM付き (*.txt)", encoding::TextForm::Utf8Bom},
    {"テキスト UTF-16 (*.txt)", encoding::TextForm::Utf16Le},
};

struct SaveAnswer {
  QString path;
  std::optional<encoding::TextForm> form;
};

SaveAnswer AskName(QWidget* parent, const QString& folder, const QString& name) {
  if (SaveController::ask_name) {
    SaveAnswer a{SaveController::ask_name(parent, folder, name), std::nullopt};
    if (SaveController::ask_form) a.form = SaveController::ask_form();
    return a;
  }
  QFileDialog dialog(parent, QStringLiteral("テキストに名前を付けて保存"), folder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  QStringList filters;
  for (const CodeFilter& f : kCodeFilters) filters << QString::fromUtf8(f.filter);
  filters << QStringLiteral("ﾘｯﾁテキスト (*.rtf)") << QStringLiteral("すべて (*)");
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (!name.isEmpty()) dialog.selectFile(name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  SaveAnswer a{dialog.selectedFiles().front(), std::nullopt};
  for (const CodeFilter& f : kCodeFilters)
    if (dialog.selectedNameFilter() == QString::fromUtf8(f.filter)) a.form = f.form;
  return a;
}

}  // namespace

SaveController::SaveController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"MTsave1", "テキスト　名前を付けて保存(&W)...", "名前をつけて保存|テキストに名前を付けて保存します。"},
            [this] { MTsave1Click(); });
  a.Declare({"MToversave1", "テキスト　上書き保存(&V)", "上書き保存|テキストを上書き保存します。"},
            [this] { MToversave1Click(); })
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
}

bool SaveController::SaveTo(const QString& target, std::optional<encoding::TextForm> form) {
  viewer::TextPane& pane = ctx().Text().View();
  ui::BusyCursor busy;
  // A big file still being read is saved whole, never its beginning.
  std::string bytes(ctx().Text().WholeBytes());
  // The format follows the name: .RTF rich text, .TXT plain, anything else the pane's mode.
  const QString ext = QFileInfo(target).suffix().toUpper();
  const bool rich = ext == QLatin1String("RTF") || (ext != QLatin1String("TXT") && !pane.PlainTextMode());
  // Another code than the text's own is only for plain text in the Japanese code page.
  const encoding::TextForm from = pane.TextForm();
  const bool convertible = pane.CodePage() == encoding::CodePage::Cp932 || encoding::IsUnicode(from);
  const encoding::TextForm to = form && !rich && convertible ? *form : from;
  std::size_t lost = pane.Unmappable();
  if (to != from) {
    std::size_t missing = 0;
    bytes = encoding::ConvertPaneForm(bytes, from, to, &missing);
    lost += missing;
  }
  // Characters the code cannot hold are said before writing.
  if (lost > 0 && !ui::Headless()) {
    const auto answer = QMessageBox::question(
        ctx().Window(), QStringLiteral("Haruvi"),
        QStringLiteral("%1 文字はこの文字コードで保存できないため「〓」になります。保存しますか？").arg(lost));
    if (answer != QMessageBox::Yes) return false;
  }
  if (rich) {
    const QFont font = pane.PaneFont();
    bytes = viewer::WriteRtf(bytes, pane.CodePage(), bridge::ToPane(font.family(), pane.CodePage()),
                             font.pointSize() > 0 ? font.pointSize() * 2 : 18);
  } else if (to == from && encoding::IsUtf16(from)) {
    // A UTF-16 file is held as UTF-8 in the pane; it is written back in its own form.
    bytes = encoding::PaneUtf8ToUtf16(bytes, from == encoding::TextForm::Utf16Le);
  }
  const bool backup = ctx().Actions().Checked(QStringLiteral("Mbackup1"));
  const fileops::SaveResult r = fileops::SaveFile(bridge::ToDisk(target), bytes, backup);
  if (!r.ok) {
    ui::Warn(ctx().Window(), QStringLiteral("保存できませんでした。\n") + bridge::FromUtf8(r.error));
    return false;
  }
  return true;
}

void SaveController::MTsave1Click() {
  const QString selected = ctx().SelectedPath();
  const QFileInfo was(selected);
  QString folder = selected.isEmpty() ? bridge::FromDisk(ctx().Settings().Read(kSaveDir)) : was.absolutePath();
  const QString name = selected.isEmpty() ? bridge::FromDisk(ctx().Settings().Read(kSaveName)) : was.fileName();
  const SaveAnswer answer = AskName(ctx().Window(), folder, name);
  const QString target = answer.path;
  if (target.isEmpty()) return;
  {
    platform::IniFile::Batch both(ctx().Settings().File());
    ctx().Settings().Write(kSaveName, bridge::ToDisk(QFileInfo(target).fileName()));
    ctx().Settings().Write(kSaveDir, bridge::ToDisk(QFileInfo(target).absolutePath()));
  }
  if (!SaveTo(target, answer.form)) return;
  ctx().viewreset();
  const QString saved_folder = QFileInfo(target).absolutePath();
  if (ctx().Actions().Checked(QStringLiteral("Mtodiropen"))) {
    ctx().MoveToFolder(saved_folder);
    ctx().viewreselect(target);
  } else if (!selected.isEmpty() && was.absolutePath().toUpper() == saved_folder.toUpper()) {
    ctx().viewreselect(target);
  }
  ctx().Text().MarkSaved(bridge::ToDisk(target));
}

void SaveController::MToversave1Click() {
  const QString target = ctx().SelectedPath();
  if (target.isEmpty() || QFileInfo(target).isDir()) {
    // Nothing to write over: said, rather than silently doing nothing.
    ctx().Status().SetText(4, QStringLiteral("上書き保存するファイルが選択されていません"));
    return;
  }
  if (!SaveTo(target)) return;
  if (ctx().Actions().Checked(QStringLiteral("Mbackup1"))) {
    {
      ui::QuietGuard quiet(ctx());
      ctx().Files().Fill();  // the backup file joins the list
    }
    ctx().viewreselect(target);
  }
  ctx().Text().MarkSaved(bridge::ToDisk(target));
  fileinfo2();
}

void SaveController::fileinfo2() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty()) return;
  ctx().Text().NameFile(bridge::ToDisk(path));
}

}  // namespace haruvi::controllers
