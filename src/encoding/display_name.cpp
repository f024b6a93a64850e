#include "encoding/display_name.h"

#include "encoding/pane_codec.h"
#include "encoding/utf8.h"

namespace haruvi::encoding {
namespace {

void AppendName(std::string& out, std::string_view name) {
  if (IsValidUtf8(name)) {
    out += name;
    return;
  }
  const std::u16string cp932 = PaneCodec::For(CodePage::Cp932).Decode(name);
  bool reads = true;
  for (char16_t c : cp932) {
    // Undecodable bytes come back as lone low surrogates; so does nothing else.
    if (c >= 0xDC80 && c <= 0xDCFF) reads = false;
    // Control characters and the user-defined area make an unlikely name.
    if (c < 0x20 || (c >= 0xE000 && c <= 0xF8FF)) reads = false;
  }
  if (reads) {
    for (std::size_t i = 0; i < cp932.size(); ++i) {
      char32_t c = cp932[i];
      if (c >= 0xFE00 && c <= 0xFE0F) continue;  // the codec's marks for duplicate codes
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < cp932.size()) c = 0x10000 + ((c - 0xD800) << 10) + (cp932[++i] - 0xDC00);
      AppendUtf8(out, c);
    }
    return;
  }
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t n = Utf8SequenceAt(name, i);
    if (n) out += name.substr(i, n);
    else out += "\xEF\xBF\xBD";  // U+FFFD
    i += n ? n : 1;
  }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = Utf8SequenceAt(bytes, i);
    if (!n) return false;
    i += n;
  }
  return true;
}

std::string NameForDisplay(std::string_view path) {
  std::string out;
  out.reserve(path.size() + path.size() / 2);
  std::size_t start = 0;
  for (;;) {
    const std::size_t slash = path.find('/', start);
    AppendName(out, path.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start));
    if (slash == std::string_view::npos) break;
    out.push_back('/');
    start = slash + 1;
  }
  return out;
}

}  // namespace haruvi::encoding
