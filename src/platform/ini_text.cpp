#include "platform/ini_text.h"

#include <algorithm>

#include "encoding/utf8.h"
#include "platform/ini_file.h"

namespace haruvi::platform {
namespace {

using encoding::AppendUtf8;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionOf(std::string_view text) {
  std::string_view t = Trim(text);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line (value returned through *value), or nullopt.
std::optional<std::string_view> KeyOf(std::string_view text, std::string_view* value) {
  std::string_view t = text;
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  if (value) *value = text.substr(eq + 1);
  return Trim(text.substr(0, eq));
}

std::string OneLine(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  return v;
}

// UTF-16 (after its mark) to UTF-8; false when it is not well formed.
bool FromUtf16(std::string_view data, bool big_endian, std::string* out) {
  if (data.size() % 2) return false;
  auto unit = [&](size_t i) {
    const auto a = static_cast<unsigned char>(data[i]), b = static_cast<unsigned char>(data[i + 1]);
    return static_cast<char16_t>(big_endian ? (a << 8 | b) : (b << 8 | a));
  };
  for (size_t i = 0; i < data.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 3 >= data.size()) return false;
      const char16_t lo = unit(i + 2);
      if (lo < 0xDC00 || lo > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (lo - 0xDC00);
      i += 2;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
    AppendUtf8(*out, c);
  }
  return true;
}

// UTF-8 to UTF-16; bytes that are not UTF-8 (values written from another form) are taken
// as Latin-1 rather than lost.
std::string ToUtf16(std::string_view s, bool big_endian) {
  std::string out;
  auto put = [&](char16_t u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    if (big_endian) { out.push_back(hi); out.push_back(lo); }
    else { out.push_back(lo); out.push_back(hi); }
  };
  for (size_t i = 0; i < s.size();) {
    char32_t cp = static_cast<unsigned char>(s[i]);
    size_t n = encoding::Utf8SequenceAt(s, i, &cp);
    if (n == 0) {
      cp = static_cast<unsigned char>(s[i]);
      n = 1;
    }
    if (cp >= 0x10000) {
      put(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      put(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      put(static_cast<char16_t>(cp));
    }
    i += n;
  }
  return out;
}

}  // namespace

IniText IniText::Parse(std::string_view data) {
  IniText t;
  std::string converted;
  std::string_view body = data;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") {
    t.encoding_ = IniEncoding::Utf8Bom;
    body.remove_prefix(3);
  } else if (body.substr(0, 2) == "\xFF\xFE" || body.substr(0, 2) == "\xFE\xFF") {
    const bool be = body[0] == '\xFE';
    t.encoding_ = be ? IniEncoding::Utf16Be : IniEncoding::Utf16Le;
    t.writable_ = FromUtf16(body.substr(2), be, &converted);
    body = converted;
  }
  bool have_newline = false;
  size_t pos = 0;
  while (pos < body.size()) {
    const size_t stop = body.find_first_of("\r\n", pos);
    IniLine line;
    if (stop == std::string_view::npos) {
      line.text = std::string(body.substr(pos));
      pos = body.size();
    } else {
      line.text = std::string(body.substr(pos, stop - pos));
      const bool crlf = body[stop] == '\r' && stop + 1 < body.size() && body[stop + 1] == '\n';
      line.end = crlf ? "\r\n" : std::string(1, body[stop]);
      pos = stop + line.end.size();
      if (!have_newline) {
        t.newline_ = line.end;
        have_newline = true;
      }
    }
    t.lines_.push_back(std::move(line));
  }
  return t;
}

std::string IniText::Serialize() const {
  std::string body;
  for (const IniLine& l : lines_) {
    body += l.text;
    body += l.end;
  }
  switch (encoding_) {
    case IniEncoding::Utf8: return body;
    case IniEncoding::Utf8Bom: return "\xEF\xBB\xBF" + body;
    case IniEncoding::Utf16Le: return "\xFF\xFE" + ToUtf16(body, false);
    case IniEncoding::Utf16Be: return "\xFE\xFF" + ToUtf16(body, true);
  }
  return body;
}

IniText::Span IniText::FindSection(std::string_view section) const {
  Span span;
  for (size_t i = 0; i < lines_.size(); ++i) {
    auto name = SectionOf(lines_[i].text);
    if (!name) continue;
    if (span.header != std::string::npos) {
      span.last = i;
      return span;
    }
    if (SameIniName(*name, section)) span.header = i;
  }
  span.last = lines_.size();
  return span;
}

namespace {

std::string IndexKey(std::string_view section, std::string_view key) {
  std::string k;
  k.reserve(section.size() + key.size() + 1);
  for (char c : section) k.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c);
  k.push_back('\0');
  for (char c : key) k.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c);
  return k;
}

}  // namespace

void IniText::Index() const {
  index_.clear();
  std::vector<std::string> seen;  // sections met: a later one of the same name is not read
  bool reading = false;
  std::string section;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (auto name = SectionOf(lines_[i].text)) {
      section = IndexKey(*name, "");
      section.pop_back();
      reading = std::find(seen.begin(), seen.end(), section) == seen.end();
      if (reading) seen.push_back(section);
      continue;
    }
    if (!reading) continue;
    if (auto k = KeyOf(lines_[i].text, nullptr)) index_.emplace_back(IndexKey(section, *k), i);
  }
  // Sorted, the first of equal keys first: that is the one Get returns.
  std::stable_sort(index_.begin(), index_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  indexed_ = true;
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
  if (!indexed_) Index();
  const std::string wanted = IndexKey(section, key);
  const auto it = std::lower_bound(index_.begin(), index_.end(), wanted,
                                   [](const auto& entry, const std::string& k) { return entry.first < k; });
  if (it == index_.end() || it->first != wanted) return std::nullopt;
  std::string_view value;
  KeyOf(lines_[it->second].text, &value);
  return std::string(value);
}

std::vector<std::string> IniText::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  const Span span = FindSection(section);
  if (span.header == std::string::npos) return keys;
  for (size_t i = span.header + 1; i < span.last; ++i)
    if (auto k = KeyOf(lines_[i].text, nullptr)) keys.emplace_back(*k);
  return keys;
}

bool IniText::HasSection(std::string_view section) const { return FindSection(section).header != std::string::npos; }

bool IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  indexed_ = false;  // lines move
  const std::string entry = std::string(key) + "=" + OneLine(value);
  const Span span = FindSection(section);
  if (span.header == std::string::npos) {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = newline_;
    lines_.push_back({"[" + std::string(section) + "]", newline_});
    lines_.push_back({entry, newline_});
    return true;
  }
  size_t insert_at = span.header + 1;
  for (size_t i = span.header + 1; i < span.last; ++i) {
    std::string_view old;
    auto k = KeyOf(lines_[i].text, &old);
    if (k && SameIniName(*k, key)) {
      if (old == OneLine(value)) return false;
      lines_[i].text = std::string(*k) + "=" + OneLine(value);
      if (lines_[i].end.empty() && i + 1 < lines_.size()) lines_[i].end = newline_;
      return true;
    }
    if (!Trim(lines_[i].text).empty()) insert_at = i + 1;
  }
  if (lines_[insert_at - 1].end.empty()) lines_[insert_at - 1].end = newline_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), IniLine{entry, newline_});
  return true;
}

bool IniText::Erase(std::string_view section, std::string_view key) {
  indexed_ = false;
  const Span span = FindSection(section);
  if (span.header == std::string::npos) return false;
  for (size_t i = span.header + 1; i < span.last; ++i) {
    auto k = KeyOf(lines_[i].text, nullptr);
    if (k && SameIniName(*k, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

}  // namespace haruvi::platform
