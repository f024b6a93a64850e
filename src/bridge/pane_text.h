// Window texts (QString) to and from pane bytes in a code page, through the pane's
// lossless codec: a name or message put into the pane keeps what the codec can hold.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "bridge/disk_path.h"
#include "encoding/pane_codec.h"

namespace haruvi::bridge {

inline std::string ToPane(const QString& text, encoding::CodePage page) {
  const std::u16string u(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  return encoding::PaneCodec::For(page).Encode(u);
}

// A file name (or path) put into the pane, one name of the path at a time: a name in
// UTF-8 is converted to the pane's code page; a name that is not UTF-8 as a whole
// (Shift_JIS from an old archive, say, whose bytes may hold valid UTF-8 runs by chance)
// goes in as the bytes it has, so it reads as itself in a Shift_JIS pane.
inline std::string NameToPane(const QString& path, encoding::CodePage page) {
  std::string out;
  const QStringList names = path.split(QLatin1Char('/'));
  for (qsizetype n = 0; n < names.size(); ++n) {
    if (n) out.push_back('/');
    const QString& name = names[n];
    bool utf8 = true;
    for (QChar c : name) utf8 = utf8 && !(c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF);
    // In a UTF-8 pane such a name is put in as it is shown, else it would show as stray bytes.
    if (utf8) out += ToPane(name, page);
    else out += page == encoding::CodePage::Utf8 ? ToPane(DisplayName(name), page) : ToDisk(name);
  }
  return out;
}

// UTF-8 texts of the cores (messages, information lines) as window text.
inline QString FromUtf8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace haruvi::bridge
