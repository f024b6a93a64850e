// The session commands' way to the login manager: log off, restart, power off and
// suspend. The window uses systemd-logind over D-Bus; tests put a fake in its place.
#pragma once

#include <QString>

namespace haruvi::controllers {

class LoginManager {
 public:
  virtual ~LoginManager() = default;
  // Each returns "" when the request was accepted, else why not.
  virtual QString LogOff() = 0;
  virtual QString Reboot() = 0;
  virtual QString PowerOff() = 0;
  virtual QString Suspend() = 0;
};

// org.freedesktop.login1 on the system bus; the system asks for authorisation where it must.
class LogindManager : public LoginManager {
 public:
  QString LogOff() override;
  QString Reboot() override;
  QString PowerOff() override;
  QString Suspend() override;
};

}  // namespace haruvi::controllers
