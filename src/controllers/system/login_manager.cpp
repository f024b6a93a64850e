// systemd-logind over D-Bus.
#include "controllers/system/login_manager.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace haruvi::controllers {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");

QString Call(const QString& path, const QString& iface, const QString& method, const QVariantList& args) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) return QStringLiteral("システムのD-Busに接続できません。");
  QDBusMessage m = QDBusMessage::createMethodCall(kService, path, iface, method);
  m.setArguments(args);
  m.setInteractiveAuthorizationAllowed(true);
  const QDBusMessage reply = bus.call(m, QDBus::Block, 30000);
  return reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage() : QString();
}

QString Manager(const char* method) {
  // `true`: the user may be asked for authorisation.
  return Call(QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1.Manager"),
              QString::fromLatin1(method), {QVariant(true)});
}

}  // namespace

QString LogindManager::LogOff() {
  // The session this program runs in.
  return Call(QStringLiteral("/org/freedesktop/login1/session/auto"), QStringLiteral("org.freedesktop.login1.Session"),
              QStringLiteral("Terminate"), {});
}
QString LogindManager::Reboot() { return Manager("Reboot"); }
QString LogindManager::PowerOff() { return Manager("PowerOff"); }
QString LogindManager::Suspend() { return Manager("Suspend"); }

}  // namespace haruvi::controllers
