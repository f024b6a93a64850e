#include "controllers/choice/choice_controller.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <memory>

#include "bridge/disk_path.h"
#include "controllers/choice/drive_letter_dialog.h"
#include "fileops/typed_folder.h"
#include "platform/drive_letters.h"
#include "shellview/file_view.h"
#include "shellview/item_menu.h"
#include "shellview/listing.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "ui/prompt_dialog.h"

namespace haruvi::controllers {

ChoiceController::ChoiceController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"Mdrivem", "ドライブの指定(&V)", "ドライブ|ドライブを指定します。"}, [this] { MdrivemClick(); });
  a.Declare({"Mfolderm", "フォルダーの指定(&F)", "フォルダー|フォルダーを指定します。"}, [this] { MfoldermClick(); });
  // Checked while a mask limits the list: its tool button stays pressed.
  mask_ = a.Declare({"Mmask", "拡張子の指定(&W)", "拡張子|表示するファイルの拡張子を指定します。", true},
                    [this] { MmaskClick(); });
  a.Declare({"Mfileproperty1", "ファイルのプロパティ(&F)", "プロパティ|選択したファイルのプロパティを表示します。"},
            [this] { Mfileproperty1Click(); });
}

bool ChoiceController::Jump(const QString& target, const QString& previous, const QString& select) {
  ui::BusyCursor busy;
  bool moved = false;
  {
    ui::QuietGuard quiet(ctx());
    moved = ctx().MoveToFolder(target);
    if (moved) {
      ctx().Text().SetInfo(QString());
      if (select.isEmpty() || ctx().Files().SelectByCaption(select) == 0) ctx().Files().SelectRow(0);
    } else if (!previous.isEmpty()) {
      ctx().MoveToFolder(previous);
    }
  }
  if (moved) {
    ctx().folderinfo();
    if (!select.isEmpty()) ctx().filedisp();
  }
  return moved;
}

void ChoiceController::MdrivemClick() {
  ctx().Flags().worktext.clear();
  const QString current = ctx().CurrentFolder();
  if (current.isEmpty()) return;
  const std::vector<platform::LetteredDrive> drives = platform::LetterDrives(platform::RealMounts());
  auto dialog = std::make_unique<TForm10>(drives, ctx().Window());
  if (auto letter = platform::LetterOfPath(drives, bridge::ToDisk(current))) dialog->Press(*letter);
  ctx().Flags().worktext = dialog->exec() == QDialog::Accepted ? dialog->Letter() : QString();
  dialog.reset();
  const QString& answer = ctx().Flags().worktext;
  if (answer.isEmpty()) return;
  const auto root = platform::RootOfLetter(drives, answer[0].toLatin1());
  if (!root) return;
  const QString target = bridge::FromDisk(*root);
  if (target != current) Jump(target, current);
}

void ChoiceController::MfoldermClick() {
  ctx().Flags().worktext.clear();
  const QString current = ctx().CurrentFolder();
  const auto answer = ui::Ask(ctx().Window(), QStringLiteral("フォルダーの指定"),
                              QStringLiteral("フォルダーの指定　例)　/home/haruv"), ctx().Settings().File(),
                              "FolderSet", bridge::DisplayName(current));
  if (!answer) return;
  ctx().Flags().worktext = *answer;
  // The folder shown and left as it is stays where it is, whatever its name's code.
  if (answer->isEmpty() || bridge::KeptOrTyped(*answer, current) == current) return;
  const std::vector<platform::LetteredDrive> drives = platform::LetterDrives(platform::RealMounts());
  fileops::TypedFolderContext where;
  where.current = bridge::ToDisk(current);
  where.home = bridge::ToDisk(bridge::HomeFolder());
  where.drive_root = [&drives](char letter) { return platform::RootOfLetter(drives, letter); };
  const auto target = fileops::ResolveTypedFolder(bridge::ToDisk(*answer), where);
  if (!target) {
    // The views stay where they were; the user is told why nothing happened.
    ctx().Status().SetText(4, QStringLiteral("フォルダーが見つかりません: ") + *answer);
    return;
  }
  if (!Jump(bridge::FromDisk(target->folder), current, bridge::FromDisk(target->select_file)))
    ctx().Status().SetText(4, QStringLiteral("フォルダーを開けません: ") + bridge::DisplayName(bridge::FromDisk(target->folder)));
}

std::vector<std::string> ChoiceController::MaskOfAnswer(const QString& answer) {
  if (answer.isEmpty() || answer == QLatin1String("*")) return {};
  return shellview::ParseMask(answer.toStdString());
}

void ChoiceController::ShowMask(const QString& answer) {
  const bool on = !MaskOfAnswer(answer).empty();
  mask_->setChecked(on);
  ctx().TextStatus().SetText(6, on ? QStringLiteral(" 拡張子: %1 ").arg(answer) : QString(), true);
}

void ChoiceController::MmaskClick() {
  const auto answer = ui::Ask(ctx().Window(), QStringLiteral("拡張子の指定"),
                              QStringLiteral("拡張子を指定します。例) txt;bmp"), ctx().Settings().File(), "Ext",
                              QStringLiteral("*"));
  if (!answer) {
    mask_->setChecked(!ctx().Files().Mask().empty());  // the click toggled it: put it back
    return;
  }
  ctx().Files().SetMask(MaskOfAnswer(*answer));
  ShowMask(*answer);
  ui::QuietGuard quiet(ctx());
  ctx().Files().Fill();
}

void ChoiceController::Mfileproperty1Click() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty()) return;
  auto dialog = std::make_unique<shellview::PropertiesDialog>(path, ctx().Window());
  dialog->exec();
}

}  // namespace haruvi::controllers
