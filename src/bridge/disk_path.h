// Paths between the file system and Qt without losing bytes (see platform/path_text.h):
// every view, controller and window routine converts with these, never with
// QFile::encodeName.
#pragma once

#include <QString>
#include <string>

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

}  // namespace haruvi::bridge
