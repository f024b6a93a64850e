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
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/panel_bar.h"
#include "viewer/file_info.h"
#include "viewer/rtf_writer.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

QString AskName(QWidget* parent, const QString& folder, const QString& name) {
  if (SaveController::ask_name) return SaveController::ask_name(parent, folder, name);
  QFileDialog dialog(parent, QStringLiteral("テキストに名前を付けて保存"), folder);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters({QStringLiteral("テキスト (*.txt)"), QStringLiteral("ﾘｯﾁテキスト (*.rtf)"),
                         QStringLiteral("すべて (*)")});
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (!name.isEmpty()) dialog.selectFile(name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
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

bool SaveController::SaveTo(const QString& target) {
  viewer::TextPane& pane = ctx().Pane();
  ctx().EnsureWholeText();  // a big file still being read is saved whole, never its beginning
  ui::BusyCursor busy;
  std::string bytes = pane.Bytes();
  // Characters an edit brought in that the code page cannot hold are said before writing.
  if (pane.Unmappable() > 0 && !ui::Headless()) {
    const auto answer = QMessageBox::question(
        ctx().Window(), QStringLiteral("Haruvi"),
        QStringLiteral("%1 文字はこの文字コードで保存できないため「〓」になります。保存しますか？").arg(pane.Unmappable()));
    if (answer != QMessageBox::Yes) return false;
  }
  // The format follows the name: .RTF rich text, .TXT plain, anything else the pane's mode.
  const QString ext = QFileInfo(target).suffix().toUpper();
  const bool rich = ext == QLatin1String("RTF") || (ext != QLatin1String("TXT") && !pane.PlainTextMode());
  if (rich) {
    const QFont font = pane.PaneFont();
    bytes = viewer::WriteRtf(bytes, pane.CodePage(), bridge::ToPane(font.family(), pane.CodePage()),
                             font.pointSize() > 0 ? font.pointSize() * 2 : 18);
  } else if (encoding::IsUtf16(pane.TextForm())) {
    // A UTF-16 file is held as UTF-8 in the pane; it is written back in its own form.
    bytes = encoding::PaneUtf8ToUtf16(bytes, pane.TextForm() == encoding::TextForm::Utf16Le);
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
  const QString target = AskName(ctx().Window(), folder, name);
  if (target.isEmpty()) return;
  {
    platform::IniFile::Batch both(ctx().Settings().File());
    ctx().Settings().Write(kSaveName, bridge::ToDisk(QFileInfo(target).fileName()));
    ctx().Settings().Write(kSaveDir, bridge::ToDisk(QFileInfo(target).absolutePath()));
  }
  if (!SaveTo(target)) return;
  ctx().viewreset();
  const QString saved_folder = QFileInfo(target).absolutePath();
  if (ctx().Actions().Checked(QStringLiteral("Mtodiropen"))) {
    ctx().MoveToFolder(saved_folder);
    ctx().viewreselect(target);
  } else if (!selected.isEmpty() && was.absolutePath().toUpper() == saved_folder.toUpper()) {
    ctx().viewreselect(target);
  }
  ui::SetInfoColor(ctx().InfoLine(), Qt::black);
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
  ui::SetInfoColor(ctx().InfoLine(), Qt::black);
  fileinfo2();
}

void SaveController::fileinfo2() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty()) return;
  ctx().InfoLine().setText(bridge::FromUtf8(viewer::InfoLineStep1(bridge::ToDisk(path))));
}

}  // namespace haruvi::controllers
