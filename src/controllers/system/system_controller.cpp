// The system commands' declarations, the reports, the date, the session and help commands.
#include "controllers/system/system_controller.h"

#include <QAction>
#include <QDateTime>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "controllers/system/drive_info_dialog.h"
#include "haruvi_version.h"
#include "bridge/programs.h"
#include "platform/settings_location.h"
#include "systools/system_report.h"
#include "systools/zodiac.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/panel_bar.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

Desktop Desktop::Real() {
  Desktop d;
  d.open_url = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  d.start = [](const QString& program, const QStringList& args, const QString& folder) {
    return bridge::StartProgram(program, args, folder, nullptr);  // the folder's bytes as on disk
  };
  d.find = [](const QString& name) { return QStandardPaths::findExecutable(name); };
  d.confirm = [](const QString& question) {
    if (ui::Headless()) return false;
    return QMessageBox::question(nullptr, QStringLiteral("Haruvi"), question) == QMessageBox::Yes;
  };
  return d;
}

namespace {

systools::Clock Now() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate d = now.date();
  const QTime t = now.time();
  return {d.year(), d.month(), d.day(), d.dayOfWeek() % 7, t.hour(), t.minute(), t.second()};
}

}  // namespace

SystemController::SystemController(ui::WindowContext& ctx, QObject* parent)
    : Controller(ctx, parent), desktop_(Desktop::Real()), login_(std::make_unique<LogindManager>()) {
  ui::ActionRegistry& a = ctx.Actions();
  auto on = [this](void (SystemController::*f)()) { return [this, f] { (this->*f)(); }; };
  a.Declare({"Msysteminfo1", "システム情報表示(&S)", "システム情報|システムの情報を表示します。"},
            on(&SystemController::Msysteminfo1Click));
  a.Declare({"MdriveInfo", "ドライブ情報表示(&I)", "ドライブ情報|ドライブの使用量を表示します。"},
            on(&SystemController::MdriveInfoClick));
  a.Declare({"Mdircommand1", "dirコマンド-ダイレクト(&R)", "dirコマンド|フォルダーの一覧を表示します。"},
            on(&SystemController::Mdircommand1Click));
  a.Declare({"Mdircommand2", "dirコマンド-詳細(&A)", "dirコマンド|条件を指定してフォルダーの一覧を表示します。"},
            on(&SystemController::Mdircommand2Click));
  now_ = a.Declare({"Mnow", "", "現在日付|現在の日付と時刻を表示します。"}, on(&SystemController::MnowClick));
  now_->setText(QString::fromStdString(systools::NowCaption(Now())));
  a.Declare({"Murl", "URL先を開く(&H)", "URL|URL先をブラウザで表示します。"}, on(&SystemController::MurlClick));
  a.Declare({"Mdos", "MS-DOSプロンプト(&P)", "端末|現在のフォルダーで端末を開きます。"}, on(&SystemController::MdosClick));
  a.Declare({"Msend", "送信(&H)..", "送信|テキストをメールで送信します。"}, on(&SystemController::MsendClick));
  a.Declare({"Mgomi", "ごみ箱(&G)", "ごみ箱|ごみ箱を開きます。"}, on(&SystemController::MgomiClick));
  a.Declare({"Mcontrolpanel", "コントロールパネルを表示(&J)", "設定|デスクトップの設定を開きます。"},
            on(&SystemController::McontrolpanelClick));
  a.Declare({"Mssaver", "スクリーンセーバーを表示(&E)", "スクリーンセーバー|画面をロックします。"},
            on(&SystemController::MssaverClick));
  a.Declare({"Mstart", "スタートメニューを表示(&M)", "スタートメニュー|アプリケーションメニューを開きます。"},
            on(&SystemController::MstartClick));
  a.Declare({"MexitW", "Windowsの終了(&Q)", "終了|システムを終了して電源を切ります。"},
            on(&SystemController::MexitWClick));
  a.Declare({"Msysreboot1", "Windowsの再起動(&R)", "再起動|システムを再起動します。"},
            on(&SystemController::Msysreboot1Click));
  a.Declare({"Msyslogoff1", "Windowsのログオフ(&L)", "ログオフ|ログオフします。"}, on(&SystemController::Msyslogoff1Click));
  a.Declare({"Msysstandby1", "Windowsのスタンバイ(&S)", "サスペンド|システムをサスペンドします。"},
            on(&SystemController::Msysstandby1Click));
  a.Declare({"Mcontents1", "目次(&C)", "目次|ヘルプの目次を表示します。"}, on(&SystemController::Mcontents1Click));
  a.Declare({"Mkeyword1", "キーワードで検索(&S)...", "キーワード|ヘルプをキーワードで検索します。"},
            on(&SystemController::Mkeyword1Click));
  a.Declare({"Muse1", "ヘルプの使い方(&U)", "ヘルプの使い方|ヘルプの使い方を表示します。"},
            on(&SystemController::Muse1Click));
  a.Declare({"Mtekuna1", "Tekunaホームページ(&H)", "ホームページ|ホームページをブラウザで表示します。"},
            on(&SystemController::Mtekuna1Click));
}

SystemController::~SystemController() = default;

void SystemController::Report(const QString& text) { ctx().Status().SetText(4, text); }

void SystemController::Msysteminfo1Click() {
  ctx().Flags().worktext.clear();
  viewer::TextPane& pane = ctx().Text().View();
  ctx().Text().SetInfo(QString());
  ctx().TextStatus().SetText(0, QString());
  ctx().TextStatus().SetText(1, QString());
  std::string text;
  for (const std::string& line : systools::ReportLines(systools::GatherSystemFacts()))
    text += bridge::NameToPane(bridge::FromDisk(line), pane.CodePage()) + "\r\n";
  ctx().Text().Replace(std::move(text), ui::TextOrigin::Report, encoding::TextForm::Legacy);
}

void SystemController::MdriveInfoClick() {
  const QString folder = ctx().CurrentFolder();
  if (folder.isEmpty()) return;
  systools::DriveUsage usage;
  if (!systools::ReadDriveUsage(bridge::ToDisk(folder), usage)) return;  // no blocks: nothing to show
  // The "drive root" is the mount point that holds the folder.
  DriveInfoDialog dialog(folder, usage, ctx().Window());
  dialog.exec();
}

void SystemController::MnowClick() {
  const systools::Clock c = Now();
  now_->setText(QString::fromStdString(systools::NowCaption(c)));
  ui::Inform(ctx().Window(), QString::fromStdString(systools::NowMessage(c)));
}

void SystemController::Session(const QString& question, QString (LoginManager::*call)()) {
  // A stray click must not end the session: every one of these asks first.
  if (!desktop_.confirm || !desktop_.confirm(question)) return;
  const QString error = ((*login_).*call)();
  if (!error.isEmpty()) ui::Warn(ctx().Window(), error);
}

void SystemController::MexitWClick() {
  Session(QStringLiteral("システムを終了して電源を切りますか？"), &LoginManager::PowerOff);
}
void SystemController::Msysreboot1Click() {
  Session(QStringLiteral("システムを再起動しますか？"), &LoginManager::Reboot);
}
void SystemController::Msyslogoff1Click() { Session(QStringLiteral("ログオフしますか？"), &LoginManager::LogOff); }
void SystemController::Msysstandby1Click() {
  Session(QStringLiteral("サスペンドしますか？"), &LoginManager::Suspend);
}

void SystemController::OpenHelp(const ui::HelpRequest& request) {
  const std::filesystem::path folder = platform::HelpFolder(bridge::ToDisk(ctx().ProgramFolder()));
  ui::HelpDesktop desktop = ui::HelpDesktop::Real();
  if (desktop_.open_url) desktop.open_url = desktop_.open_url;
  if (ui::OpenHelp(ctx().Window(), folder, request, desktop) == ui::HelpShown::NoPages)
    Report(QStringLiteral("ヘルプが見つかりません"));
}

void SystemController::Mcontents1Click() { OpenHelp({QStringLiteral("index.html"), QStringLiteral("1001"), false, {}}); }
// The keyword search: the help window, whose search box looks through every page.
void SystemController::Mkeyword1Click() { OpenHelp({QStringLiteral("index.html"), {}, true, {}}); }
void SystemController::Muse1Click() { OpenHelp({QStringLiteral("index.html"), QStringLiteral("use"), false, {}}); }

void SystemController::Mtekuna1Click() { OpenUrl(QStringLiteral(HARUVI_HOMEPAGE_URL)); }

}  // namespace haruvi::controllers
