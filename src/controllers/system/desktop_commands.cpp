// The commands that hand work to the desktop: a URL to the browser, a terminal in the
// current folder, the text to the mail program, the trash, the settings, the screen
// locker and the application menu. Programs start detached, never through a shell.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "controllers/system/system_controller.h"
#include "systools/url_pick.h"
#include "ui/shown_text.h"
#include "ui/messages.h"
#include "ui/prompt_dialog.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

// A body longer than this goes as an attached file: a command line has its limits.
constexpr qsizetype kMaxBodyChars = 16 * 1024;

QString PaneText(const viewer::TextPane& pane) {
  const encoding::PaneCodec& codec = encoding::PaneCodec::For(pane.ShownPage());
  const std::u16string u = codec.PlainText(codec.Decode(pane.BytesView()));
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

}  // namespace

QString SystemController::UrlProposal() const {
  const viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return QString();
  std::string url;
  if (pane.SelLength() > 0) {
    url = systools::UrlFromSelection(pane.SelectedText());
  } else {
    std::string line = pane.Line(pane.LineOfOffset(pane.Caret()));
    url = systools::UrlFromLine(line);
  }
  return QString::fromLatin1(url);  // printable ASCII only
}

bool SystemController::OpenUrl(const QString& url) {
  if (!systools::UrlSchemeAllowed(url.toStdString())) {
    ui::Warn(ctx().Window(), QStringLiteral("開けるのは http, https, ftp, file のURLだけです。\n") + url);
    return false;
  }
  if (!desktop_.open_url(QUrl(url))) {
    ui::Warn(ctx().Window(), QStringLiteral("ブラウザを起動できません。\n") + url);
    return false;
  }
  return true;
}

void SystemController::MurlClick() {
  ctx().Flags().worktext.clear();
  platform::IniFile& ini = ctx().Settings().File();
  ui::TForm33 dialog(ctx().Window());
  dialog.setWindowTitle(QStringLiteral("インターネットのURLにジャンプ"));
  dialog.Label1->setText(QStringLiteral("URLを入力して下さい。普段利用しているブラウザで表示します。"));
  dialog.Label2->clear();
  // URLs are long: the dialog and its field half as wide again as the other prompts.
  dialog.ComboBox1->setMinimumWidth(dialog.ComboBox1->sizeHint().width() * 3 / 2);
  dialog.resize(dialog.sizeHint().width() * 3 / 2, dialog.sizeHint().height());
  dialog.LoadHistory(ini, "URL");
  dialog.ComboBox1->setEditText(UrlProposal());
  if (dialog.exec() != QDialog::Accepted) return;
  const QString answer = dialog.ComboBox1->currentText().trimmed();
  dialog.SaveHistory(ini, "URL");
  if (!answer.isEmpty()) OpenUrl(answer);
}

void SystemController::MdosClick() {
  QString folder = ctx().CurrentFolder();
  if (folder.isEmpty()) folder = QDir::homePath();
  QStringList command;
  if (const QString t = desktop_.find(QStringLiteral("x-terminal-emulator")); !t.isEmpty()) command = {t};
  else if (const QString env = qEnvironmentVariable("TERMINAL"); !env.isEmpty()) command = QProcess::splitCommand(env);
  if (command.isEmpty()) {
    ui::Warn(ctx().Window(), QStringLiteral("端末のプログラムが見つかりません (x-terminal-emulator, $TERMINAL)。"));
    return;
  }
  const QString program = command.takeFirst();
  if (!desktop_.start(program, command, folder))
    ui::Warn(ctx().Window(), QStringLiteral("端末を起動できません: ") + program);
}

void SystemController::MsendClick() {
  const QString mailer = desktop_.find(QStringLiteral("xdg-email"));
  if (mailer.isEmpty()) {
    ui::Inform(ctx().Window(), QStringLiteral("メールを送信できません (xdg-email が見つかりません)。"));
    return;
  }
  ctx().Text().EnsureWhole();
  const QString text = PaneText(ctx().Text().View());
  QStringList args;
  if (text.size() <= kMaxBodyChars) {
    args = {QStringLiteral("--body"), text};
  } else {
    // The mail program reads the file after this returns: it stays in the cache folder.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/mail");
    QDir::root().mkpath(dir);
    QTemporaryFile file(dir + QStringLiteral("/haruvi-XXXXXX.txt"));
    file.setAutoRemove(false);
    const QByteArray utf8 = text.toUtf8();
    if (!file.open() || file.write(utf8) != utf8.size() || !file.flush()) {
      file.remove();
      ui::Inform(ctx().Window(), QStringLiteral("メールに添付するファイルを書けません。"));
      return;
    }
    args = {QStringLiteral("--attach"), file.fileName()};
  }
  if (!desktop_.start(mailer, args, QString()))
    ui::Inform(ctx().Window(), QStringLiteral("メールを送信できません。"));
}

void SystemController::MgomiClick() {
  if (desktop_.open_url(QUrl(QStringLiteral("trash:///")))) return;
  // Without a handler for trash: the trash's own folder.
  const QString files = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                        QStringLiteral("/Trash/files");
  QDir::root().mkpath(files);
  if (!desktop_.open_url(bridge::FileUrl(files))) Report(QStringLiteral("ごみ箱を開けません: ") + files);
}

void SystemController::McontrolpanelClick() {
  for (const char* name : {"gnome-control-center", "systemsettings", "xfce4-settings-manager", "mate-control-center",
                           "cinnamon-settings", "lxqt-config"}) {
    const QString program = desktop_.find(QString::fromLatin1(name));
    if (!program.isEmpty() && desktop_.start(program, {}, QString())) return;
  }
  ui::Warn(ctx().Window(), QStringLiteral("デスクトップの設定を開くプログラムが見つかりません。"));
}

void SystemController::MssaverClick() {
  if (const QString p = desktop_.find(QStringLiteral("xdg-screensaver"));
      !p.isEmpty() && desktop_.start(p, {QStringLiteral("activate")}, QString()))
    return;
  if (const QString p = desktop_.find(QStringLiteral("loginctl"));
      !p.isEmpty() && desktop_.start(p, {QStringLiteral("lock-session")}, QString()))
    return;
  ui::Warn(ctx().Window(), QStringLiteral("スクリーンセーバーを起動できません。"));
}

void SystemController::MstartClick() {
  // Desktops keep their application menu to themselves: there is no common way to open it.
  ui::Inform(ctx().Window(), QStringLiteral("このデスクトップのアプリケーションメニューは、ここからは開けません。"
                                            "パネルのメニューかSuperキーを使ってください。"));
}

}  // namespace haruvi::controllers
