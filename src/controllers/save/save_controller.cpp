#include "controllers/save/save_controller.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "dialogs/file_name_dialog.h"
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
  // The program's own dialog: names keep their bytes, and saving over a file asks first
  // whatever code its name is in.
  dialogs::FileNameDialog dialog(dialogs::FileNameDialog::Mode::Save, QStringLiteral("テキストに名前を付けて保存"),
                                 parent);
  QStringList filters;
  for (const CodeFilter& f : kCodeFilters) filters << QString::fromUtf8(f.filter);
  filters << QStringLiteral("ﾘｯﾁテキスト (*.rtf)") << QStringLiteral("すべて (*)");
  dialog.SetFilters(filters, QStringLiteral("txt"));
  dialog.SetStart(folder, name);
  if (dialog.exec() != QDialog::Accepted || dialog.Path().isEmpty()) return {};
  SaveAnswer a{dialog.Path(), std::nullopt};
  for (const CodeFilter& f : kCodeFilters)
    if (dialog.Filter() == QString::fromUtf8(f.filter)) a.form = f.form;
  return a;
}

SaveController::OverAnswer AskOver(QWidget* parent, const QString& question) {
  if (SaveController::ask_over) return SaveController::ask_over(question);
  if (ui::Headless()) return SaveController::OverAnswer::Cancel;
  QMessageBox box(QMessageBox::Warning, QStringLiteral("上書き保存"), question, QMessageBox::NoButton, parent);
  QPushButton* over = box.addButton(QStringLiteral("上書き保存(&O)"), QMessageBox::DestructiveRole);
  QPushButton* as = box.addButton(QStringLiteral("名前を付けて保存(&A)..."), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(cancel);
  box.exec();
  if (box.clickedButton() == over) return SaveController::OverAnswer::Overwrite;
  if (box.clickedButton() == as) return SaveController::OverAnswer::SaveAs;
  return SaveController::OverAnswer::Cancel;
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
  const QString ext = bridge::Suffix(target).toUpper();
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
  } else if (to == from && (encoding::IsUtf16(from) || from == encoding::TextForm::Jis)) {
    // A UTF-16 file is held as UTF-8 in the pane, an ISO-2022-JP one as EUC-JP; each is
    // written back in its own form.
    bytes = encoding::ConvertPaneForm(bytes, from, to, nullptr);
  }
  const bool backup = ctx().Actions().Checked(QStringLiteral("Mbackup1"));
  const fileops::SaveResult r = fileops::SaveFile(bridge::ToDisk(target), bytes, backup);
  if (!r.ok) {
    ui::Warn(ctx().Window(), (r.backup_failed ? QStringLiteral("バックアップを作成できないため、保存しませんでした。\n")
                                              : QStringLiteral("保存できませんでした。\n")) +
                                 bridge::DisplayName(bridge::FromDisk(r.error)));
    return false;
  }
  return true;
}

void SaveController::MTsave1Click() {
  const QString selected = ctx().SelectedPath();
  const QString folder =
      selected.isEmpty() ? bridge::FromDisk(ctx().Settings().Read(kSaveDir)) : bridge::FolderOf(selected);
  const QString name =
      selected.isEmpty() ? bridge::FromDisk(ctx().Settings().Read(kSaveName)) : bridge::FileName(selected);
  const SaveAnswer answer = AskName(ctx().Window(), folder, name);
  const QString target = answer.path;
  if (target.isEmpty()) return;
  const QString saved_folder = bridge::FolderOf(target);
  {
    platform::IniFile::Batch both(ctx().Settings().File());
    ctx().Settings().Write(kSaveName, bridge::ToDisk(bridge::FileName(target)));
    ctx().Settings().Write(kSaveDir, bridge::ToDisk(saved_folder));
  }
  if (!SaveTo(target, answer.form)) return;
  ctx().viewreset();
  if (ctx().Actions().Checked(QStringLiteral("Mtodiropen"))) {
    ctx().MoveToFolder(saved_folder);
    ctx().viewreselect(target);
  } else if (!selected.isEmpty() && bridge::FolderOf(selected) == saved_folder) {
    ctx().viewreselect(target);
  }
  ctx().Text().MarkSaved(bridge::ToDisk(target));
}

void SaveController::MToversave1Click() {
  const QString target = ctx().SelectedPath();
  if (target.isEmpty() || bridge::IsFolder(target)) {
    // Nothing to write over: said, rather than silently doing nothing.
    ctx().Status().SetText(4, QStringLiteral("上書き保存するファイルが選択されていません"));
    return;
  }
  // A grep's report, a dump, a listing or another file's text is not written over the
  // selected file without a word: the question names both.
  const std::string& source = ctx().Text().SourcePath();
  if (source != bridge::ToDisk(target)) {
    const QString shown = source.empty()
                              ? QStringLiteral("表示中のテキストはファイルの内容ではありません (検索結果・ダンプ・一覧など)。")
                              : QStringLiteral("表示中のテキストは ") + bridge::DisplayName(bridge::FromDisk(source)) +
                                    QStringLiteral(" の内容です。");
    switch (AskOver(ctx().Window(), shown + QStringLiteral("\n選択中の ") + bridge::DisplayName(target) +
                                        QStringLiteral(" に上書き保存しますか？"))) {
      case OverAnswer::Overwrite: break;
      case OverAnswer::SaveAs: MTsave1Click(); return;
      case OverAnswer::Cancel: return;
    }
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
