// Paths leaving the window: the clipboard, the desktop's opener and other programs.
// Each takes the window's lossless path and hands out the bytes on disk.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

namespace haruvi::ui {

// The names as shown for text readers, and text/uri-list with their bytes.
void CopyPathsToClipboard(const QStringList& paths);

// Starts `program` with `args` in `folder`, all as bytes; false with the reason said in
// `error` when it could not be started.
bool StartProgram(const QString& program, const QStringList& args, const QString& folder, QString* error);

// Opens a file or folder with the desktop's application for its kind (xdg-open).
bool OpenWithDesktop(const QString& path, const QString& folder, QString* error);

// Tests see what would be started instead of starting it (argv and folder as bytes);
// nullptr starts programs again.
using ProgramStarter = std::function<bool(const std::vector<std::string>& argv, const std::string& folder)>;
void SetProgramStarterForTest(ProgramStarter starter);

}  // namespace haruvi::ui
