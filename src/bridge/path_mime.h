// Paths as the desktop passes them in a drag or on the clipboard: text/uri-list with
// the exact bytes percent-encoded, and the names as shown for a plain-text reader.
#pragma once

#include <QList>
#include <QMimeData>
#include <QStringList>

#include "bridge/disk_path.h"

namespace haruvi::bridge {

inline QMimeData* PathsMimeData(const QStringList& paths) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  QStringList shown;
  for (const QString& p : paths) {
    urls << FileUrl(p);
    shown << DisplayName(p);
  }
  data->setUrls(urls);
  data->setText(shown.join(QLatin1Char('\n')));
  return data;
}

// The local files a drop or the clipboard names, bytes as they were sent.
inline QStringList PathsFromMimeData(const QMimeData* data) {
  QStringList paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& u : data->urls())
    if (const QString p = PathFromUrl(u); !p.isEmpty()) paths << p;
  return paths;
}

}  // namespace haruvi::bridge
