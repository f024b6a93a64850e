// UTF-8 to Shift_JIS with stand-ins and back, over the pane codec's CP932 tables (the
// codes that decode back to their character, so the trip is exact).
#include "encoding/utf8_standins.h"

#include "encoding/jis_convert.h"

#include <cstring>

#include "encoding/byte_writer.h"
#include "encoding/jis_convert.h"
#include "encoding/pane_codec.h"
#include "encoding/pane_codec_tables.h"
#include "encoding/utf8.h"
#include "encoding/text_form.h"

namespace haruvi::encoding {
namespace {

constexpr std::uint32_t kUserAreaCodes = 10 * 188;  // leads 0xF0-0xF9, 188 trails each

std::uint16_t UserAreaCode(std::uint32_t index) {
  const std::uint32_t lead = 0xF0 + index / 188, t = index % 188;
  return static_cast<std::uint16_t>(lead << 8 | (t < 63 ? 0x40 + t : 0x80 + (t - 63)));
}

bool IsUserArea(std::uint16_t code) { return code >= 0xF040 && code <= 0xF9FC; }

const PaneCodec::Tables& Cp932() { return PaneCodec::For(CodePage::Cp932).tables(); }

// The code of a character that decodes back to it (its preferred code), or 0.
std::uint32_t RoundTripEntry(char32_t cp) {
  if (cp >= 0x10000) return 0;
  const PaneCodec::Tables& t = Cp932();
  const std::uint32_t entry = t.encode[cp];
  if (!entry) return 0;
  const std::uint32_t code = entry & 0xFFFF;
  const char16_t back = (entry >> 16) == 2 ? t.pair[code] : t.single[code & 0xFF];
  return back == cp ? entry : 0;
}

}  // namespace

std::uint16_t Utf8StandIns::NextFree() {
  while (next_ < kUserAreaCodes) {
    const std::uint16_t code = UserAreaCode(next_++);
    if (!natural_.count(code) && !seq_of_.count(code)) return code;
  }
  return 0;
}

std::optional<std::uint16_t> Utf8StandIns::StandIn(const std::string& key, std::string_view bytes) {
  if (auto it = code_of_.find(key); it != code_of_.end()) return it->second;
  const std::uint16_t code = NextFree();
  if (!code) return std::nullopt;
  code_of_.emplace(key, code);
  seq_of_.emplace(code, std::string(bytes));
  return code;
}

std::optional<std::string> Utf8StandIns::ToSjis(std::string_view utf8) {
  const std::size_t n = utf8.size();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  // Written through a pointer: every byte gives at most two.
  std::string out(2 * n, '\0');
  char* o = out.data();
  const auto put = [&](std::uint16_t code) {
    *o++ = static_cast<char>(code >> 8);
    *o++ = static_cast<char>(code & 0xFF);
  };
  for (std::size_t i = 0; i < n;) {
    const unsigned b = p[i];
    if (b < 0x80) {
      i = CopyAsciiRun(p, i, n, o);
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = Utf8SequenceAt(utf8, i, &cp);
    if (len == 0) {  // a stray byte keeps its place as a character of its own
      const std::string key{'\xFF', static_cast<char>(b)};
      const auto code = StandIn(key, utf8.substr(i, 1));
      if (!code) return std::nullopt;
      put(*code);
      ++i;
      continue;
    }
    const std::string_view seq = utf8.substr(i, len);
    i += len;
    // A character with its own code keeps it unless that code stands in for another
    // (only user-area codes do); only the others are looked up in the table.
    const std::uint32_t entry = RoundTripEntry(cp);
    const auto code = static_cast<std::uint16_t>(entry & 0xFFFF);
    if (entry && (entry >> 16) == 1) {
      *o++ = static_cast<char>(code & 0xFF);
      continue;
    }
    if (entry && !(IsUserArea(code) && seq_of_.count(code))) {
      if (IsUserArea(code)) natural_.insert(code);
      put(code);
      continue;
    }
    if (auto it = code_of_.find(std::string(seq)); it != code_of_.end()) {
      put(it->second);
      continue;
    }
    const auto stand_in = StandIn(std::string(seq), seq);
    if (!stand_in) return std::nullopt;
    put(*stand_in);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string Utf8StandIns::ToUtf8(std::string_view sjis) const {
  const PaneCodec::Tables& t = Cp932();
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 2);
  const std::size_t n = sjis.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(sjis[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    if (t.lead[b] && i + 1 < n) {
      const auto code = static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(sjis[i + 1]));
      if (IsUserArea(code)) {
        if (auto it = seq_of_.find(code); it != seq_of_.end()) {
          out += it->second;
          i += 2;
          continue;
        }
      }
      if (const char16_t u = t.pair[code]) {
        AppendUtf8(out, u);
        i += 2;
        continue;
      }
    }
    const char16_t u = t.single[b];
    if (u >= PaneCodec::kRawByteBase && u < PaneCodec::kRawByteBase + 256) out.push_back(static_cast<char>(b));
    else AppendUtf8(out, u);
    ++i;
  }
  return out;
}

void ToSjisAlike(std::string_view utf8, std::string& out) {
  const std::size_t n = utf8.size();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t at = out.size();
  out.resize(at + 2 * n);  // every byte gives at most two
  char* o = out.data() + at;
  for (std::size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      i = CopyAsciiRun(p, i, n, o);
      continue;
    }
    char32_t cp = 0;
    const std::size_t len = Utf8SequenceAt(utf8, i, &cp);
    const std::uint32_t entry = len ? RoundTripEntry(cp) : 0;
    i += len ? len : 1;
    const auto code = static_cast<std::uint16_t>(entry ? entry & 0xFFFF : kAnyStandIn);
    if ((entry >> 16) == 1) {
      *o++ = static_cast<char>(code & 0xFF);
      continue;
    }
    *o++ = static_cast<char>(code >> 8);
    *o++ = static_cast<char>(code & 0xFF);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
}

Utf8Source Utf8SourceOf(std::string_view sjis) {
  Utf8Source source;
  if (sjis.empty() || sjis.size() > 2) return source;
  const auto b = static_cast<unsigned char>(sjis[0]);
  if (sjis.size() == 1 && b < 0x80) {
    source.kind = Utf8Source::kOne;
    source.utf8 = std::string(sjis);
    return source;
  }
  const auto code = static_cast<std::uint16_t>(sjis.size() == 2 ? b << 8 | static_cast<unsigned char>(sjis[1]) : b);
  if (sjis.size() == 2 && IsUserArea(code)) {
    source.kind = Utf8Source::kStandIns;
    return source;
  }
  const PaneCodec::Tables& t = Cp932();
  const char16_t u = sjis.size() == 2 ? t.pair[code] : t.single[b];
  const std::uint32_t entry = u ? RoundTripEntry(u) : 0;
  if (!entry || (entry & 0xFFFF) != code || (entry >> 16) != sjis.size()) return source;
  source.kind = Utf8Source::kOne;
  AppendUtf8(source.utf8, u);
  return source;
}

SjisView::SjisView(std::string_view pane_bytes, TextForm form) : text_(pane_bytes) {
  if (IsJapaneseForm(form)) {
    // An EUC-JP text (an ISO-2022-JP one's pane form too) goes to a command in Shift_JIS
    // when that brings it back exactly; else as its bytes, as before.
    std::string sjis = EucToSjis(pane_bytes);
    if (SjisToEuc(sjis) == pane_bytes) {
      converted_ = std::move(sjis);
      euc_ = true;
    }
    return;
  }
  if (!IsUnicode(form)) return;
  standins_.emplace();
  if (std::optional<std::string> sjis = standins_->ToSjis(pane_bytes)) {
    converted_ = std::move(*sjis);
  } else {
    standins_.reset();
    text_ = {};
    refused_ = true;
  }
}

std::optional<std::string> SjisView::ToCommand(std::string_view pane_bytes) {
  if (euc_) return EucToSjis(pane_bytes);
  if (!standins_) return std::string(pane_bytes);
  return standins_->ToSjis(pane_bytes);
}

std::string SjisView::ToPane(std::string_view result) const {
  if (euc_) return SjisToEuc(result);
  return standins_ ? standins_->ToUtf8(result) : std::string(result);
}

}  // namespace haruvi::encoding
