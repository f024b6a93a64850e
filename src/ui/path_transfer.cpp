#include "ui/path_transfer.h"

#include <QClipboard>
#include <QGuiApplication>

#include "bridge/path_mime.h"

namespace haruvi::ui {

void CopyPathsToClipboard(const QStringList& paths) {
  if (paths.isEmpty()) return;
  QGuiApplication::clipboard()->setMimeData(bridge::PathsMimeData(paths));
}

}  // namespace haruvi::ui
