// Paths between the file system and Qt without losing bytes (see platform/path_text.h):
// every view, controller and window routine converts with these, never with
// QFile::encodeName.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <string>
#include <sys/stat.h>

#include "encoding/display_name.h"
#include "platform/path_text.h"

namespace haruvi::bridge {

inline QString FromDisk(const std::string& bytes) {
  const std::u16string u = platform::PathToUtf16(bytes);
  return QString(reinterpret_cast<const QChar*>(u.data()), static_cast<qsizetype>(u.size()));
}

inline std::string ToDisk(const QString& text) {
  return platform::Utf16ToPath(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

// A name or path as the window shows it (a Shift_JIS name read as Shift_JIS); for
// showing only: whatever acts on the file keeps the FromDisk form.
inline QString DisplayName(const QString& lossless) {
  const std::string shown = encoding::NameForDisplay(ToDisk(lossless));
  return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
}

// A prompt shows a proposed name as shown; when the user leaves it as it is, the name
// meant is the proposal itself, bytes and all; anything else is what the user typed.
inline QString KeptOrTyped(const QString& answer, const QString& proposed) {
  return !proposed.isEmpty() && answer == DisplayName(proposed) ? proposed : answer;
}

// What the window asks of a path, by its bytes: Qt's file classes would write a name
// that is not UTF-8 as U+FFFD and ask about another file, so nothing in the window
// builds a QFileInfo, QDir or QFile from a path.
inline bool Exists(const QString& path) {
  struct stat st {};
  return !path.isEmpty() && ::lstat(ToDisk(path).c_str(), &st) == 0;
}
inline bool IsFolder(const QString& path) {
  struct stat st {};
  return !path.isEmpty() && ::stat(ToDisk(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The last name of a path ("" for "/"), and the folder holding it ("/" for a name in
// the root): plain text work on the lossless form, so the bytes stay.
inline QString FileName(const QString& path) {
  QString p = path;
  while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
  return p == QLatin1String("/") ? QString() : p.section(QLatin1Char('/'), -1);
}
inline QString FolderOf(const QString& path) {
  QString p = path;
  while (p.size() > 1 && p.endsWith(QLatin1Char('/'))) p.chop(1);
  const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
  if (slash < 0) return QString();
  return slash == 0 ? QStringLiteral("/") : p.left(slash);
}
inline QString Join(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}
// What follows the last dot of the name ("" when there is none or the name starts with it).
inline QString Suffix(const QString& path) {
  const QString name = FileName(path);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.mid(dot + 1) : QString();
}

// The home folder ($HOME by its bytes; "/" when it is not set).
inline QString HomeFolder() {
  const QByteArray home = qgetenv("HOME");
  return home.isEmpty() ? QStringLiteral("/") : FromDisk(std::string(home.constData(), static_cast<size_t>(home.size())));
}

// A typed folder: "~" and "~/..." are the home folder, as in a shell.
inline QString ExpandHome(const QString& typed, const QString& home = HomeFolder()) {
  if (typed == QLatin1String("~")) return home;
  if (typed.startsWith(QLatin1String("~/"))) return Join(home, typed.mid(2));
  return typed;
}

// A file: URL carries the path's bytes percent-encoded, whatever they are, and a
// dropped URL gives them back; a URL that names no local file gives an empty path.
inline QUrl FileUrl(const QString& path) {
  const std::string bytes = ToDisk(path);
  const QByteArray encoded =
      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toPercentEncoding("/");
  return QUrl::fromEncoded(QByteArray("file://") + encoded, QUrl::StrictMode);
}
inline QString PathFromUrl(const QUrl& url) {
  if (!url.isLocalFile()) return QString();
  const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  return FromDisk(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

}  // namespace haruvi::bridge
