#include "ui/path_transfer.h"

#include <QClipboard>
#include <QGuiApplication>

#include "bridge/disk_path.h"
#include "bridge/path_mime.h"
#include "platform/start_program.h"

namespace haruvi::ui {
namespace {

ProgramStarter& Starter() {
  static ProgramStarter starter;
  return starter;
}

}  // namespace

void SetProgramStarterForTest(ProgramStarter starter) { Starter() = std::move(starter); }

void CopyPathsToClipboard(const QStringList& paths) {
  if (paths.isEmpty()) return;
  QGuiApplication::clipboard()->setMimeData(bridge::PathsMimeData(paths));
}

bool StartProgram(const QString& program, const QStringList& args, const QString& folder, QString* error) {
  std::vector<std::string> argv{bridge::ToDisk(program)};
  for (const QString& a : args) argv.push_back(bridge::ToDisk(a));
  const std::string where = bridge::ToDisk(folder);
  if (Starter()) return Starter()(argv, where);
  std::string why;
  if (platform::StartDetached(argv, where, &why)) return true;
  if (error) *error = QString::fromLocal8Bit(why.c_str());
  return false;
}

bool OpenWithDesktop(const QString& path, const QString& folder, QString* error) {
  return StartProgram(QStringLiteral("xdg-open"), {path}, folder, error);
}

}  // namespace haruvi::ui
