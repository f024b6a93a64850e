// Saving what the views show (the folder tree, the list's names, names with the folder)
// as Shift_JIS text with CR LF, and copying the selected file's path.
#include <QTreeWidgetItem>

#include "bridge/pane_text.h"
#include "controllers/fileops/fileops_controller.h"
#include "dialogs/file_name_dialog.h"
#include "fileops/save_file.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/path_transfer.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

void TreeLines(QTreeWidgetItem* node, int level, QStringList& lines) {
  lines << QString(level, QLatin1Char('\t')) + node->text(0);
  for (int i = 0; i < node->childCount(); ++i) TreeLines(node->child(i), level + 1, lines);
}

}  // namespace

void FileOpsController::SaveLines(const QString& title, const QStringList& lines, bool report) {
  const QString folder = ctx().CurrentFolder();
  QString last = folder.section(QLatin1Char('/'), -1, -1, QString::SectionSkipEmpty);
  if (last.isEmpty()) last = QStringLiteral("root");
  const QString initial = last + QStringLiteral(".txt");
  QString name;
  if (prompts.save_name) {
    name = prompts.save_name(title, initial);
  } else if (!ui::Headless()) {
    name = dialogs::AskFileName(ctx().Window(), dialogs::FileNameDialog::Mode::Save, title,
                                bridge::Join(folder, initial),
                                {QStringLiteral("テキスト (*.txt)"), QStringLiteral("ﾘｯﾁテキスト (*.rtf)"),
                                 QStringLiteral("すべて (*)")},
                                QStringLiteral("txt"));
  }
  if (name.isEmpty()) return;
  std::string bytes;
  const encoding::CodePage page = ctx().Text().View().CodePage();
  for (const QString& l : lines) bytes += bridge::NameToPane(l, page) + "\r\n";
  const fileops::SaveResult r = fileops::SaveFile(bridge::ToDisk(name), bytes, false);
  if (!r.ok) {
    ui::Warn(ctx().Window(),
             bridge::DisplayName(name) + QStringLiteral(" に保存できませんでした: ") + QString::fromUtf8(r.error.c_str()));
    return;
  }
  if (report && ctx().Actions().Checked(QStringLiteral("Mdialogdisp1")))
    ui::Inform(ctx().Window(), bridge::DisplayName(name) + QStringLiteral(" に保存しました。"));
}

void FileOpsController::MfoldersaveClick() {
  QStringList lines;
  shellview::TFolderView& tree = ctx().Folders();
  for (int i = 0; i < tree.topLevelItemCount(); ++i) TreeLines(tree.topLevelItem(i), 0, lines);
  SaveLines(QStringLiteral("現在表示のフォルダーツリー名を保存"), lines, false);
  ctx().viewrefresh();
}

void FileOpsController::Mfilenamesave1Click() {
  QStringList lines;
  const shellview::TFileView& files = ctx().Files();
  for (int row = 0; row < files.Count(); ++row)
    if (const shellview::FileEntry* e = files.EntryAt(row)) lines << bridge::FromDisk(e->name);
  SaveLines(QStringLiteral("現在表示のファイル名を保存"), lines, true);
  ctx().viewrefresh();
}

void FileOpsController::Mfilenamesave2Click() {
  QStringList lines;
  const shellview::TFileView& files = ctx().Files();
  QString folder = ctx().CurrentFolder();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  for (int row = 0; row < files.Count(); ++row)
    if (const shellview::FileEntry* e = files.EntryAt(row)) lines << folder + bridge::FromDisk(e->name);
  SaveLines(QStringLiteral("現在表示のﾌｫﾙﾀﾞｰのファイル名を保存"), lines, true);
  ctx().viewreset();
}

void FileOpsController::Mfilenamecopy1Click() {
  // The name as shown for a text reader, and the bytes for a file manager.
  const QString path = ctx().SelectedPath();
  if (!path.isEmpty()) ui::CopyPathsToClipboard({path});
}

}  // namespace haruvi::controllers
