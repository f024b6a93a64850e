// Other programs started from the window (the editor, the desktop's opener, user menus,
// terminals): the program, its arguments and its folder go as the bytes on disk.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "bridge/disk_path.h"
#include "platform/start_program.h"

namespace haruvi::bridge {

// Tests see what would be started instead of starting it; an empty function starts
// programs again.
using ProgramStarter = std::function<bool(const std::vector<std::string>& argv, const std::string& folder)>;
inline ProgramStarter& ProgramStarterForTest() {
  static ProgramStarter starter;
  return starter;
}

// Starts `program` with `args` in `folder`; false with the reason in `error` when it
// could not be started.
inline bool StartProgram(const QString& program, const QStringList& args, const QString& folder, QString* error) {
  std::vector<std::string> argv{ToDisk(program)};
  for (const QString& a : args) argv.push_back(ToDisk(a));
  const std::string where = ToDisk(folder);
  if (ProgramStarterForTest()) return ProgramStarterForTest()(argv, where);
  std::string why;
  if (platform::StartDetached(argv, where, &why)) return true;
  if (error) *error = QString::fromLocal8Bit(why.c_str());
  return false;
}

// Opens a file or folder with the desktop's application for its kind.
inline bool OpenWithDesktop(const QString& path, const QString& folder, QString* error) {
  return StartProgram(QStringLiteral("xdg-open"), {path}, folder, error);
}

}  // namespace haruvi::bridge
