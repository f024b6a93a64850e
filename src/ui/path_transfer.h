// Paths put on the clipboard: the names as shown for text readers, and text/uri-list
// with the bytes on disk for file managers and other windows of the program.
#pragma once

#include <QStringList>

namespace haruvi::ui {

void CopyPathsToClipboard(const QStringList& paths);

}  // namespace haruvi::ui
