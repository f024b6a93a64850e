#include "controllers/settingsfile/settings_file_controller.h"

#include <QApplication>
#include <memory>

#include "bridge/disk_path.h"
#include "dialogs/folder_dialog.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

SettingsFileController::SettingsFileController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ctx.Actions().Declare({"Minifileclear1", "INIファイル削除･初期化",
                         "INIファイル削除･初期化|「Haruvi」のINIファイルを削除し、初期化します。"},
                        [this] { Minifileclear1Click(); });
  ctx.Actions().Declare({"Minitdirectry", "起動時フォルダー指定", "起動時フォルダー指定|起動時のフォルダーを指定します。"},
                        [this] { MinitdirectryClick(); });
}

QString SettingsFileController::InitFolder() const {
  return bridge::FromDisk(ctx().Settings().Read(kInitFolderName));
}

void SettingsFileController::Minifileclear1Click() {
  platform::IniFile& file = ctx().Settings().File();
  if (file.Exists()) file.DeleteFile();
  ctx().initset();  // also the window flags and worktext
  QApplication::restoreOverrideCursor();
  ctx().Flags().ctrldown = 0;
  ctx().SetTextPaneVisible(true);
  ctx().Text().View().update();
  ctx().viewrefresh();
  ctx().filedisp();
}

void SettingsFileController::MinitdirectryClick() {
  auto dialog = std::make_unique<dialogs::TForm4>(QStringLiteral("起動時フォルダー指定"),
                                                  QStringLiteral("起動時のフォルダーを指定して下さい。"), ctx().Window());
  dialog->SetPrevious(InitFolder());
  if (dialog->exec() == QDialog::Accepted) ctx().Settings().Write(kInitFolderName, bridge::ToDisk(dialog->Text()));
}

}  // namespace haruvi::controllers
