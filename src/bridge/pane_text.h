// Window texts (QString) to and from pane bytes in a code page, through the pane's
// lossless codec: a name or message put into the pane keeps what the codec can hold.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "encoding/pane_codec.h"

namespace haruvi::bridge {

inline std::string ToPane(const QString& text, encoding::CodePage page) {
  const std::u16string u(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  return encoding::PaneCodec::For(page).Encode(u);
}

// UTF-8 texts of the cores (messages, information lines) as window text.
inline QString FromUtf8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace haruvi::bridge
