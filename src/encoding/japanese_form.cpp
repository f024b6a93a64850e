// The pane forms of EUC-JP and ISO-2022-JP texts; see japanese_form.h.
#include "encoding/japanese_form.h"

#include "encoding/pane_codec.h"
#include "encoding/pane_codec_tables.h"

namespace haruvi::encoding {
namespace {

enum class Mode { Single, Kanji, Supplementary, Kana };

Mode ModeOf(int escape) {
  switch (escape) {
    case 2: return Mode::Kana;
    case 3:
    case 4:
    case 5: return Mode::Kanji;
    case 6: return Mode::Supplementary;
    default: return Mode::Single;
  }
}

bool Jis7(unsigned char b) { return b >= 0x21 && b <= 0x7E; }
bool Euc8(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }

// The mode a character of the pane form needs, for one at p[i]: its length in *len.
Mode NeededBy(const unsigned char* p, size_t i, size_t n, Mode file_mode, size_t* len) {
  const unsigned char b = p[i];
  if (b == 0x8E && i + 1 < n && p[i + 1] >= 0xA1 && p[i + 1] <= 0xDF) return *len = 2, Mode::Kana;
  if (b == 0x8F && i + 2 < n && Euc8(p[i + 1]) && Euc8(p[i + 2])) return *len = 3, Mode::Supplementary;
  if (Euc8(b) && i + 1 < n && Euc8(p[i + 1])) return *len = 2, Mode::Kanji;
  *len = 1;
  return file_mode;
}

}  // namespace

bool ReadsAsEuc(std::string_view bytes) {
  const PaneCodec& euc = PaneCodec::For(CodePage::EucJp);
  for (size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t n = euc.CharLength(bytes.substr(i));
    if (n == 1) return false;  // a byte 0x80-0xFF alone is no character
    i += n;
  }
  return true;
}

TextForm JapaneseFormOf(std::string_view bytes, TCharCode code) {
  switch (code) {
    case ccEuc: return TextForm::EucJp;
    case ccEucOrSjis: return ReadsAsEuc(bytes) ? TextForm::EucJp : TextForm::Legacy;
    case ccJis83:
    case ccJis78: return JisToPaneEuc(bytes) ? TextForm::Jis : TextForm::Legacy;
    default: return TextForm::Legacy;
  }
}

std::optional<std::string> JisToPaneEuc(std::string_view jis) {
  const auto* p = reinterpret_cast<const unsigned char*>(jis.data());
  const size_t n = jis.size();
  std::string out;
  out.reserve(n + n / 8);
  Mode mode = Mode::Single;
  for (size_t i = 0; i < n;) {
    const unsigned char b = p[i];
    if (b >= 0x80) return std::nullopt;
    if (b == 0x1B) {
      if (const int e = JisEscapeAt(jis.substr(i)); e >= 0) {
        out += kJisEscapes[e];
        i += kJisEscapes[e].size();
        if (e != 7) mode = ModeOf(e);  // ESC & @ only announces the next escape
        continue;
      }
    }
    if ((mode == Mode::Kanji || mode == Mode::Supplementary) && i + 1 < n && Jis7(b) && Jis7(p[i + 1])) {
      if (mode == Mode::Supplementary) out.push_back('\x8F');
      out.push_back(static_cast<char>(b | 0x80));
      out.push_back(static_cast<char>(p[i + 1] | 0x80));
      i += 2;
      continue;
    }
    if (mode == Mode::Kana && b >= 0x21 && b <= 0x5F) {
      out.push_back('\x8E');
      out.push_back(static_cast<char>(b | 0x80));
      ++i;
      continue;
    }
    out.push_back(static_cast<char>(b));
    ++i;
  }
  if (PaneEucToJis(out) != jis) return std::nullopt;
  return out;
}

std::string PaneEucToJis(std::string_view pane) {
  const auto* p = reinterpret_cast<const unsigned char*>(pane.data());
  const size_t n = pane.size();
  std::string out;
  out.reserve(n + 16);
  Mode file_mode = Mode::Single;  // as the pane's own escapes say
  Mode written = Mode::Single;    // as the escapes written so far say
  std::string_view file_escape = kJisEscapes[0];
  for (size_t i = 0; i < n;) {
    if (p[i] == 0x1B) {
      if (const int e = JisEscapeAt(pane.substr(i)); e >= 0) {
        out += kJisEscapes[e];
        i += kJisEscapes[e].size();
        if (e != 7) {
          file_mode = written = ModeOf(e);
          file_escape = kJisEscapes[e];
        }
        continue;
      }
    }
    size_t len = 1;
    const Mode need = NeededBy(p, i, n, file_mode, &len);
    if (need != written) {
      out += need == file_mode ? file_escape
             : need == Mode::Kana ? kJisEscapes[2]
             : need == Mode::Supplementary ? kJisEscapes[6]
                                           : kJisEscapes[4];
      written = need;
    }
    if (len == 1) {
      out.push_back(static_cast<char>(p[i]));
    } else {
      for (size_t k = len == 3 ? 1 : (p[i] == 0x8E ? 1 : 0); k < len; ++k) out.push_back(static_cast<char>(p[i + k] & 0x7F));
    }
    i += len;
  }
  if (written != file_mode) out += file_escape;
  return out;
}

}  // namespace haruvi::encoding
