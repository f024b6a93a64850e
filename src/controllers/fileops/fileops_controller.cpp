#include "controllers/fileops/fileops_controller.h"

#include <QAction>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTreeWidgetItem>
#include <QUrl>
#include <fcntl.h>
#include <sys/stat.h>

#include "bridge/disk_path.h"
#include "bridge/path_mime.h"
#include "controllers/fileops/attr_dialog.h"
#include "controllers/fileops/op_runner.h"
#include "fileops/fs_util.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/action_registry.h"
#include "ui/input_box.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

std::vector<std::string> ToDiskList(const QStringList& paths) {
  std::vector<std::string> out;
  for (const QString& p : paths) out.push_back(bridge::ToDisk(p));
  return out;
}

QString WithSlash(const QString& folder) { return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'); }

QString NameOfPath(const QString& path) { return path.section(QLatin1Char('/'), -1); }

// A name typed for an entry of the current folder: one name, so nothing lands elsewhere.
bool UsableName(const QString& name) {
  return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QStringLiteral(".") &&
         name != QStringLiteral("..");
}

}  // namespace

FileOpsController::FileOpsController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  shfop_.GetFileList = true;  // the window's engine keeps each file's record
  ui::ActionRegistry& a = ctx.Actions();
  // One file command at a time: the window stays live while one works.
  auto on = [this](void (FileOpsController::*f)()) {
    return [this, f] {
      if (!OpRunner::Busy()) (this->*f)();
    };
  };
  a.Declare({"Mfilecopy", "ファイル　コピー(&C)", "コピー|ファイルをコピーします。"}, on(&FileOpsController::MfilecopyClick));
  a.Twin("Mfilecopy", "Mfilecopy1")->setText(QStringLiteral("ファイル コピー(&C)"));
  a.Declare({"Mfilemove", "ファイル　移動(&M)", "移動|ファイルを移動します。"}, on(&FileOpsController::MfilemoveClick));
  a.Declare({"Mfiledelete", "ファイル　削除(&D)", "削除|ファイルをごみ箱に移動します。"},
            on(&FileOpsController::MfiledeleteClick));
  a.Declare({"Myd", "SHIFT+DEL ファイルの完全削除", "完全削除|ファイルをごみ箱を使わずに削除します。"},
            on(&FileOpsController::MydClick));
  a.Declare({"Mrename", "ファイル　名前の変更(&R)", "名前|ファイルの名前を変更します。"}, on(&FileOpsController::MrenameClick));
  a.Declare({"Mfilefukisei", "ファイル　別名複製", "別名複製|ファイルを別の名前で複製します。"},
            on(&FileOpsController::MfilefukiseiClick));
  a.Declare({"Mpropaty", "ファイル　属性の変更(&A)", "属性変更|ファイルの属性を変更します。"},
            on(&FileOpsController::MpropatyClick));
  a.Declare({"Mmkdir", "ディレクトリ作成(&K)", "ディレクトリ作成|ディレクトリを作成します。"}, on(&FileOpsController::MmkdirClick));
  a.Declare({"Mformat", "ディスク　フォーマット(&F)", "フォーマット|ディスクをフォーマットします。"},
            on(&FileOpsController::MformatClick));
  a.Declare({"Mdiskcopy1", "ディスク　コピー(&N)", "ディスクコピー|ディスクをコピーします。"},
            on(&FileOpsController::Mdiskcopy1Click));
  a.Declare({"Mfoldersave", "フォルダー名の保存(&D)", "フォルダー名の保存|フォルダーツリー名を保存します。"},
            on(&FileOpsController::MfoldersaveClick));
  a.Declare({"Mfilenamesave1", "名前のみ", "名前のみ|表示中のファイル名を保存します。"},
            on(&FileOpsController::Mfilenamesave1Click));
  a.Declare({"Mfilenamesave2", "ﾊﾟｽと名前", "ﾊﾟｽと名前|表示中のファイル名をパス付きで保存します。"},
            on(&FileOpsController::Mfilenamesave2Click));
  a.Declare({"Mfilenamecopy1", "ﾊﾟｽと名前を\"コピー\"", "ﾊﾟｽと名前をコピー|選択したファイルのパスをクリップボードにコピーします。"},
            on(&FileOpsController::Mfilenamecopy1Click));
  a.Declare({"Mfilediv", "ファイル　分割(&S)", "分割|ファイルを分割します。"}, on(&FileOpsController::MfiledivClick));
  a.Declare({"Mfilemerge", "ファイル　結合(&B)", "結合|ファイルを結合します。"}, on(&FileOpsController::MfilemergeClick));
  ctx.Folders().viewport()->installEventFilter(this);
  ctx.Folders().setAcceptDrops(true);
  ctx.Window()->installEventFilter(this);
}

bool FileOpsController::CurrentIsFile() const {
  const QString path = ctx().SelectedPath();
  struct stat st {};
  return !path.isEmpty() && ::stat(bridge::ToDisk(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FileOpsController::Checked(const char* name) const {
  return ctx().Actions().Contains(QString::fromUtf8(name)) && ctx().Actions().Checked(QString::fromUtf8(name));
}

std::optional<QString> FileOpsController::AskText(const QString& caption, const QString& prompt, const QString& initial) {
  if (prompts.text) return prompts.text(caption, prompt, initial);
  if (ui::Headless()) return std::nullopt;
  return ui::InputBox(ctx().Window(), caption, prompt, initial);
}

bool FileOpsController::Confirm(const QString& question) {
  if (prompts.confirm) return prompts.confirm(question);
  if (ui::Headless()) return false;
  return QMessageBox::question(ctx().Window(), QStringLiteral("確認"), question, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void FileOpsController::ReportProblems(const QString& headline) {
  QString text = headline;
  const auto& problems = shfop_.Problems();
  for (std::size_t i = 0; i < problems.size() && i < 10; ++i)
    text += QStringLiteral("\n") + bridge::DisplayName(bridge::FromDisk(problems[i].path)) + QStringLiteral(": ") +
            QString::fromUtf8(problems[i].reason.c_str());
  if (problems.size() > 10) text += QStringLiteral("\n... ほか %1 件").arg(problems.size() - 10);
  ui::Warn(ctx().Window(), text);
}

bool FileOpsController::RunShfop(const QString& failure) {
  OpRunner runner(ctx().Window());
  try {
    return runner.Run(shfop_);
  } catch (const fileops::FileOpError& e) {
    ui::Warn(ctx().Window(), QString::fromUtf8(e.what()));
  } catch (const std::exception&) {
    ui::Warn(ctx().Window(), QStringLiteral("File Operation に失敗しました") + QStringLiteral("\n") + failure);
  }
  return false;
}

// ---------------------------------------------------------------- copy and move

std::optional<QString> FileOpsController::RunToTarget(dialogs::TForm2::Operation op, const QStringList& selected,
                                                     const QString& failure_hint, bool* ok) {
  const QString current = ctx().CurrentFolder();
  const QString files_text = QString::number(selected.size()) + QStringLiteral("個のファイル");
  std::optional<QString> target =
      prompts.target ? prompts.target(op, selected)
                     : dialogs::AskTargetFolder(ctx().Settings().File(), ctx().Window(), current, op, files_text, selected);
  // "~/docs" is the home folder's docs, as in a shell; a relative name is the current folder's.
  if (target && !target->isEmpty()) {
    *target = bridge::ExpandHome(*target);
    if (!target->startsWith(QLatin1Char('/'))) *target = bridge::Join(current, *target);
  }
  *ok = false;
  if (target) {
    ui::BusyCursor busy;
    if (current != *target) {
      shfop_.ToFolder = bridge::ToDisk(*target);
      *ok = RunShfop(failure_hint);
    }
  }
  shfop_.FromFFList.clear();
  shfop_.ToFolder.clear();
  return target;
}

void FileOpsController::MfilecopyClick() {
  // Folders in the selection are copied whole, like files.
  if (ctx().Files().SelectedCount() == 0 || !bridge::Exists(ctx().SelectedPath())) return;
  const QStringList selected = ctx().Files().SelectedPaths();
  const int n = static_cast<int>(selected.size());
  shfop_.OperationF = fileops::wCOPY;
  shfop_.ProgressTitle = "ファイルのコピー";
  shfop_.Options.Add(fileops::ALLOWUNDO);
  shfop_.FromFFList = ToDiskList(selected);
  bool ok = false;
  const std::optional<QString> target = RunToTarget(dialogs::TForm2::kCopy, selected, QStringLiteral("コピーできませんでした。"), &ok);
  if (!target) return;
  QString reselect = ctx().SelectedPath();
  if (ok && Checked("Mtodiropen")) {
    ctx().MoveToFolder(*target);
    reselect = WithSlash(*target) + NameOfPath(reselect);
  }
  ctx().viewreset();
  ctx().viewreselect(reselect);
  if (ok && Checked("Mdialogdisp1")) ui::Inform(ctx().Window(), QString::number(n) + QStringLiteral("個のファイルをコピーしました。"));
  else if (!ok) ReportProblems(QStringLiteral("コピーできませんでした。"));
}

void FileOpsController::MfilemoveClick() {
  if (ctx().Files().SelectedCount() == 0 || !bridge::Exists(ctx().SelectedPath())) return;
  const QStringList selected = ctx().Files().SelectedPaths();
  const int n = static_cast<int>(selected.size());
  shfop_.OperationF = fileops::wMOVE;
  shfop_.ProgressTitle = "ファイルの移動";
  shfop_.FromFFList = ToDiskList(selected);
  const QString name = NameOfPath(ctx().SelectedPath());
  bool ok = false;
  const std::optional<QString> target = RunToTarget(dialogs::TForm2::kMove, selected, QStringLiteral("移動できませんでした。"), &ok);
  if (!target) return;
  ctx().viewreset();
  if (ok && Checked("Mtodiropen")) {
    ctx().MoveToFolder(*target);
    ctx().viewreselect(WithSlash(*target) + name);
  }
  if (ok && Checked("Mdialogdisp1")) ui::Inform(ctx().Window(), QString::number(n) + QStringLiteral("個のファイルを移動しました。"));
  else if (!ok) ReportProblems(QStringLiteral("移動できませんでした。"));
}

// ---------------------------------------------------------------- delete

void FileOpsController::MfiledeleteClick() {
  if (!CurrentIsFile()) return;
  const QStringList selected = ctx().Files().SelectedPaths();
  const int n = static_cast<int>(selected.size());
  const int before = ctx().Files().Count();
  if (!Confirm(QStringLiteral("%1 個の項目をごみ箱に移動しますか？").arg(n))) return;
  bool ok = false;
  {
    ui::BusyCursor busy;
    fileops::TSHFOP trash;  // the list's own delete: always to the trash
    trash.OperationF = fileops::wDELETE;
    trash.ProgressTitle = "ファイルの削除";
    trash.FromFFList = ToDiskList(selected);
    OpRunner runner(ctx().Window());
    ok = runner.Run(trash);
    if (!ok) {
      std::swap(shfop_, trash);
      ReportProblems(QStringLiteral("削除できませんでした。"));
      std::swap(shfop_, trash);
    }
  }
  ctx().viewreset();
  ctx().Files().Fill();
  if (ctx().Files().Count() != before && Checked("Mdialogdisp1"))
    ui::Inform(ctx().Window(), QString::number(n) + QStringLiteral("個のファイルを削除しました。"));
}

void FileOpsController::MydClick() {
  if (ctx().Files().SelectedCount() == 0 || ctx().SelectedPath().isEmpty()) return;
  const QStringList selected = ctx().Files().SelectedPaths();
  const int n = static_cast<int>(selected.size());
  shfop_.OperationF = fileops::wDELETE;
  shfop_.ProgressTitle = "ファイルの削除";
  shfop_.FromFFList.clear();
  shfop_.Options.Remove(fileops::ALLOWUNDO);  // until the next copy or drop adds it again
  shfop_.FromFFList = ToDiskList(selected);
  bool ok = false;
  if (Confirm(QStringLiteral("%1 個の項目を完全に削除しますか？ 元に戻すことはできません。").arg(n))) {
    ui::BusyCursor busy;
    ok = RunShfop(QString());
  }
  if (ok && Checked("Mdialogdisp1")) ui::Inform(ctx().Window(), QString::number(n) + QStringLiteral("個のファイルを削除しました。"));
  else if (!ok && !shfop_.Problems().empty()) ReportProblems(QStringLiteral("削除できませんでした。"));
  shfop_.FromFFList.clear();
  ctx().viewreset();
}

// ---------------------------------------------------------------- rename and duplicate

void FileOpsController::MrenameClick() {
  if (!CurrentIsFile()) return;
  const QString path = ctx().SelectedPath();
  const QString name = NameOfPath(path);
  // The name is shown as the list shows it; left as it is, it is the same name.
  const QString shown = bridge::DisplayName(name);
  std::optional<QString> wanted =
      AskText(QStringLiteral("ファイル名の変更"), shown + QStringLiteral(" ->　新しい名前は？"), shown);
  if (wanted) wanted = bridge::KeptOrTyped(*wanted, name);
  if (!wanted || *wanted == name) return;
  if (!UsableName(*wanted)) {
    ui::Warn(ctx().Window(), *wanted + QStringLiteral(" は名前に使えません。"));
    return;
  }
  const std::string from = bridge::ToDisk(path);
  const std::string to = fileops::JoinPath(fileops::ParentOf(from), bridge::ToDisk(*wanted));
  // Never over an existing name: the user is told instead.
  if (!fileops::RenameNoReplace(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str())) {
    ui::Warn(ctx().Window(), bridge::DisplayName(*wanted) + QStringLiteral(" に名前を変更できませんでした: ") +
                                 QString::fromUtf8(fileops::SystemReason().c_str()));
  }
  ctx().viewreset();
  ctx().viewreselect(bridge::FromDisk(to));
}

void FileOpsController::MfilefukiseiClick() {
  if (!CurrentIsFile()) return;
  const QString path = ctx().SelectedPath();
  const QString name = NameOfPath(path);
  // The name is shown as the list shows it; left as it is, it is the same name.
  const QString shown = bridge::DisplayName(name);
  std::optional<QString> wanted =
      AskText(QStringLiteral("ファイル名の変更"), shown + QStringLiteral(" ->　新しい名前は？"), shown);
  if (wanted) wanted = bridge::KeptOrTyped(*wanted, name);
  if (!wanted || *wanted == name || wanted->isEmpty()) return;
  if (!UsableName(*wanted)) {
    ui::Warn(ctx().Window(), *wanted + QStringLiteral(" は名前に使えません。"));
    return;
  }
  // The bytes as they are, under the new name beside it; an existing name is asked about.
  fileops::TSHFOP dup;
  dup.OperationF = fileops::wCOPY;
  dup.ProgressTitle = "ファイルのコピー";
  dup.Options = {fileops::MULTIDESTFILES, fileops::SILENT};
  const std::string from = bridge::ToDisk(path);
  dup.FromFFList = {from};
  dup.ToFolder = fileops::JoinPath(fileops::ParentOf(from), bridge::ToDisk(*wanted));
  bool ok = false;
  {
    ui::BusyCursor busy;
    std::swap(shfop_, dup);
    ok = RunShfop(QString());
    if (!ok && !shfop_.Problems().empty()) ReportProblems(QStringLiteral("複製できませんでした。"));
    std::swap(shfop_, dup);
  }
  if (ok) ctx().viewreselect(bridge::FromDisk(dup.ToFolder));
}

// ---------------------------------------------------------------- attributes, folders, disks

void FileOpsController::MpropatyClick() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty()) return;
  const bool accepted = ChangeAttributes(ctx().Window(), path, prompts.attributes);
  if (accepted) ctx().filedisp();
  ctx().viewreselect(AttributeTarget(path));
}

void FileOpsController::MmkdirClick() {
  const QString current = ctx().CurrentFolder();
  const std::optional<QString> name =
      AskText(QStringLiteral("ﾃﾞｨﾚｸﾄﾘの作成"), current + QStringLiteral(" の下に作成するﾃﾞｨﾚｸﾄﾘ名"), QString());
  if (!name || name->isEmpty()) return;
  if (!UsableName(*name)) {
    ui::Warn(ctx().Window(), *name + QStringLiteral(" は名前に使えません。"));
    return;
  }
  ui::BusyCursor busy;
  const std::string folder = fileops::JoinPath(bridge::ToDisk(current), bridge::ToDisk(*name));
  if (::mkdir(folder.c_str(), 0777) != 0) {
    ui::Warn(ctx().Window(), *name + QStringLiteral(" を作成できませんでした: ") +
                                 QString::fromUtf8(fileops::SystemReason().c_str()));
  }
  ctx().MoveToFolder(current);
  ctx().viewreset();
}

void FileOpsController::MformatClick() {
  // Letters of mounted file systems start at C; A, the first free one, is the default.
  const QString letter = QStringLiteral("A");
  const std::optional<QString> answer = AskText(
      QStringLiteral("ﾃﾞｨｽｸのﾌｫｰﾏｯﾄ"), QStringLiteral("ﾌｫｰﾏｯﾄするﾄﾞﾗｲﾌﾞ (ex.") + letter + QStringLiteral(")"), letter);
  if (!answer || answer->isEmpty()) return;
  const QChar drive = answer->at(0).toUpper();
  if (drive < QLatin1Char('A') || drive > QLatin1Char('Z')) {
    ui::Warn(ctx().Window(), QStringLiteral("A から Z の範囲でなければなりません"));
    return;
  }
  ui::Warn(ctx().Window(), QString(drive) +
                               QStringLiteral(": のフォーマットはこのプログラムからは行えません。"
                                              "システムのディスク ユーティリティを使ってください。"));
}

void FileOpsController::Mdiskcopy1Click() {
  ui::Warn(ctx().Window(), QStringLiteral("ディスク コピーはこのシステムにはありません。"
                                          "システムのディスク ユーティリティを使ってください。"));
}

// ---------------------------------------------------------------- drag and drop

void FileOpsController::FolderView1DragDrop(const QString& target_folder, bool from_file_view) {
  if (!from_file_view || ctx().Files().SelectedCount() == 0 || ctx().SelectedPath().isEmpty() || OpRunner::Busy())
    return;
  const QStringList selected = ctx().Files().SelectedPaths();
  const int n = static_cast<int>(selected.size());
  shfop_.OperationF = fileops::wCOPY;
  shfop_.ProgressTitle = "ファイルのコピー";
  shfop_.Options.Add(fileops::ALLOWUNDO);
  shfop_.FromFFList = ToDiskList(selected);
  const QString current = ctx().CurrentFolder();
  const QString target = target_folder.isEmpty() ? QString() : WithSlash(target_folder);
  bool ok = false;
  // The drop on the shown folder's own node copies nothing onto itself.
  if (!target.isEmpty() && target != WithSlash(current)) {
    ui::BusyCursor busy;
    shfop_.ToFolder = bridge::ToDisk(target);
    ok = RunShfop(QString());
  }
  shfop_.FromFFList.clear();
  shfop_.ToFolder.clear();
  ctx().viewreset();
  if (ok && Checked("Mdialogdisp1")) ui::Inform(ctx().Window(), QString::number(n) + QStringLiteral("個のファイルをコピーしました。"));
  else if (!ok) ReportProblems(QStringLiteral("コピーできませんでした。"));
}

void FileOpsController::DropFiles(const QStringList& paths) {
  if (!Checked("Mdragdrop1") || paths.isEmpty() || OpRunner::Busy()) return;
  const QString current = ctx().CurrentFolder();
  QString first_folder = paths.front().section(QLatin1Char('/'), 0, -2);
  if (first_folder.isEmpty()) first_folder = QStringLiteral("/");
  if (first_folder == current) return;  // files dragged out of the shown folder
  shfop_.OperationF = fileops::wCOPY;
  shfop_.ProgressTitle = "ファイルのコピー";
  shfop_.Options.Add(fileops::ALLOWUNDO);
  shfop_.FromFFList = ToDiskList(paths);
  shfop_.ToFolder = bridge::ToDisk(current);
  bool ok = false;
  {
    ui::BusyCursor busy;
    ok = RunShfop(QString());
  }
  shfop_.FromFFList.clear();
  shfop_.ToFolder.clear();
  if (ok && Checked("Mdialogdisp1"))
    ui::Inform(ctx().Window(), QString::number(paths.size()) + QStringLiteral("個のファイルをコピーしました。"));
  else if (!ok) ReportProblems(QStringLiteral("コピーできませんでした。"));
  ctx().viewreset();
}

bool FileOpsController::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type t = event->type();
  // The window outlives the operation it shows: closing waits until the work is done.
  if (t == QEvent::Close && watched == ctx().Window() && OpRunner::Busy()) {
    event->ignore();
    return true;
  }
  if (t != QEvent::DragEnter && t != QEvent::DragMove && t != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  if (watched == ctx().Folders().viewport()) {
    QObject* source = drop->source();
    const bool from_list = source && (source == &ctx().Files() || ctx().Files().isAncestorOf(qobject_cast<QWidget*>(source)));
    if (t != QEvent::Drop) {
      if (FolderView1DragOver(from_list)) drop->acceptProposedAction();
      else drop->ignore();
      return true;
    }
    QTreeWidgetItem* item = ctx().Folders().itemAt(drop->position().toPoint());
    const QString target = item ? item->data(0, Qt::UserRole + 1).toString() : QString();
    drop->acceptProposedAction();
    FolderView1DragDrop(target, from_list);
    return true;
  }
  if (watched == ctx().Window() && drop->mimeData() && drop->mimeData()->hasUrls()) {
    if (t != QEvent::Drop) {
      drop->acceptProposedAction();
      return true;
    }
    const QStringList paths = bridge::PathsFromMimeData(drop->mimeData());
    drop->acceptProposedAction();
    DropFiles(paths);
    return true;
  }
  return false;
}

}  // namespace haruvi::controllers
