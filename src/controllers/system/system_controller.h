// The system tools: the system report and the "dir" listings into the pane, the drive
// chart, the date with its zodiac sign, the URL command, a terminal, mail, the trash, the
// desktop's settings, the screen locker and application menu, the session commands
// (each confirmed first), the help pages and the home page.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

#include "controllers/system/login_manager.h"
#include "ui/controller.h"
#include "ui/help_viewer.h"

class QAction;

namespace haruvi::controllers {

// How the commands reach the desktop; tests replace the members.
struct Desktop {
  std::function<bool(const QUrl&)> open_url;
  // Starts a program detached, never through a shell.
  std::function<bool(const QString& program, const QStringList& args, const QString& folder)> start;
  // A program found on PATH, "" when none.
  std::function<QString(const QString& name)> find;
  // The yes/no question before a session command; headless runs answer no.
  std::function<bool(const QString& question)> confirm;
  static Desktop Real();
};

class SystemController : public ui::Controller {
  Q_OBJECT

 public:
  explicit SystemController(ui::WindowContext& ctx, QObject* parent = nullptr);
  ~SystemController() override;

  void Msysteminfo1Click();
  void MdriveInfoClick();
  void Mdircommand1Click();
  void Mdircommand2Click();
  void MnowClick();
  void MurlClick();
  void MdosClick();
  void MsendClick();
  void MgomiClick();
  void McontrolpanelClick();
  void MssaverClick();
  void MstartClick();
  void MexitWClick();
  void Msysreboot1Click();
  void Msyslogoff1Click();
  void Msysstandby1Click();
  void Mcontents1Click();
  void Mkeyword1Click();
  void Muse1Click();
  void Mtekuna1Click();

  // The listing of a command text ("path /switches") into the pane; what both dir
  // commands run after their dialogs.
  void RunDir(QString command);
  // The URL the command proposes from the pane.
  QString UrlProposal() const;
  // Opens `url` when its scheme is one the desktop may be handed; false (with a
  // message) otherwise.
  bool OpenUrl(const QString& url);

  void SetDesktop(Desktop d) { desktop_ = std::move(d); }
  void SetLoginManager(std::unique_ptr<LoginManager> m) { login_ = std::move(m); }

 private:
  void Session(const QString& question, QString (LoginManager::*call)());
  void OpenHelp(const ui::HelpRequest& request);
  void Report(const QString& text);  // a message in the window's bar

  Desktop desktop_;
  std::unique_ptr<LoginManager> login_;
  QAction* now_ = nullptr;
};

}  // namespace haruvi::controllers
