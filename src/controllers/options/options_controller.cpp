#include "controllers/options/options_controller.h"

#include <QAction>
#include <QMenu>

#include "ui/action_registry.h"

namespace haruvi::controllers {

OptionsController::OptionsController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  QAction* lhashow = a.DeclareSwitch({"Mlhashow", "LHA書庫内容表示(&L)", "LHA書庫内容表示|LHA書庫の内容を表示します。"});
  QAction* todiropen =
      a.DeclareSwitch({"Mtodiropen", "処理先フォルダー表示(&F)", "処理先フォルダー表示|処理後に処理先のフォルダーを表示します。"});
  QAction* dialogdisp = a.Declare({"Mdialogdisp1", "処理後確認表示(&D)", "処理後確認表示|処理後に確認のメッセージを表示します。", true},
                                  [this] { Mdialogdisp1Click(); });
  QAction* closeinit = a.Declare({"Mcloseinitview1", "終了時ファイル未選択", "終了時ファイル未選択|終了時にファイルを選択しない状態に戻します。", true},
                                 [this] { Mcloseinitview1Click(); });
  QAction* backup = a.DeclareSwitch({"Mbackup1", "保存時バックアップ作成", "保存時バックアップ作成|保存時にバックアップファイルを作成します。"});
  QAction* esc_exit = a.DeclareSwitch(
      {"MescExit", "Escで終了(&Q)", "Escで終了|ファイル一覧とフォルダーツリーでEscキーを押すとHaruviを終了します。"});
  switches_ = {{&kMenuLhashow, lhashow},
               {&kMenuTodiropen, todiropen},
               {&kMenuDialogdisp, dialogdisp},
               {&kMenuCloseinitview, closeinit},
               {&kMenuBackup, backup},
               {&kMenuEscExit, esc_exit}};
  a.Twin("Mlhashow", "Mlhashow1");
}

std::vector<platform::KeyInfo> OptionsController::Keys() const {
  std::vector<platform::KeyInfo> keys;
  for (const Switch& s : switches_) keys.push_back(s.key->info);
  return keys;
}

void OptionsController::initset() {
  for (const Switch& s : switches_) s.action->setChecked(s.key->info.def == "1");
}

void OptionsController::iniload() {
  for (const Switch& s : switches_) s.action->setChecked(ctx().Settings().Read(*s.key));
}

void OptionsController::inisave() {
  for (const Switch& s : switches_) ctx().Settings().Write(*s.key, s.action->isChecked());
}

void OptionsController::WatchMenu(QMenu* popup_option) {
  connect(popup_option, &QMenu::aboutToShow, this, &OptionsController::Moption2Click);
}

void OptionsController::Moption2Click() {
  ui::ActionRegistry& a = ctx().Actions();
  for (const char* main : {"Mdisp", "Mlhashow", "Mrtf"}) {
    const QString name = QString::fromUtf8(main);
    a.SetChecked(name + QLatin1Char('1'), a.Checked(name));
  }
}

// These only toggle their check marks; the commands that read them look when they run.
void OptionsController::Mdialogdisp1Click() {}
void OptionsController::Mcloseinitview1Click() {}

}  // namespace haruvi::controllers
