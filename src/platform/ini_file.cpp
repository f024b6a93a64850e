// Private-profile parsing and atomic rewriting of the settings file.
#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace haruvi::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return SameIniName(a, b); }

// One physical line: its text without the line end, and the line end itself.
struct Line {
  std::string text;
  std::string end;
};

std::vector<Line> SplitLines(const std::string& data) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t nl = data.find('\n', pos);
    Line line;
    if (nl == std::string::npos) {
      line.text = data.substr(pos);
      pos = data.size();
    } else {
      line.text = data.substr(pos, nl - pos);
      line.end = "\n";
      pos = nl + 1;
    }
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.end.insert(0, "\r");
    }
    lines.push_back(std::move(line));
  }
  return lines;
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

// The file's bytes, or nullopt when it is missing, not a regular file or unreadable.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string data;
  char buf[16384];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return data;
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Parsed view of the file with the positions a write needs.
struct Parsed {
  std::string bom;
  std::vector<Line> lines;
  // A file that shows no line end of its own (new, empty or one line) gets CR LF, the
  // line end of the profile files this format comes from; otherwise its first line end.
  std::string newline = "\r\n";
};

Parsed Parse(const std::string& data) {
  Parsed p;
  std::string_view body = data;
  if (body.substr(0, kBom.size()) == kBom) {
    p.bom = std::string(kBom);
    body.remove_prefix(kBom.size());
  }
  p.lines = SplitLines(std::string(body));
  for (const Line& l : p.lines) {
    if (!l.end.empty()) {
      p.newline = l.end;
      break;
    }
  }
  return p;
}

// Index range [first, last) of the lines after the section header; first == npos when
// the section is missing.
struct SectionSpan {
  size_t header = std::string::npos;
  size_t last = 0;
};

SectionSpan FindSection(const std::vector<Line>& lines, std::string_view section) {
  SectionSpan span;
  for (size_t i = 0; i < lines.size(); ++i) {
    auto name = SectionOf(lines[i].text);
    if (!name) continue;
    if (span.header != std::string::npos) {
      span.last = i;
      return span;
    }
    if (SameName(*name, section)) span.header = i;
  }
  span.last = lines.size();
  return span;
}

std::string Join(const Parsed& p) {
  std::string out = p.bom;
  for (const Line& l : p.lines) {
    out += l.text;
    out += l.end;
  }
  return out;
}

// Writes data to a temporary file beside `target` and renames it over `target`.
bool ReplaceFileAtomically(const std::filesystem::path& target, const std::string& data) {
  std::error_code ec;
  std::filesystem::path real = target;
  if (std::filesystem::is_symlink(target, ec)) {
    auto resolved = std::filesystem::canonical(target, ec);
    if (!ec) real = resolved;
  }
  std::filesystem::path dir = real.parent_path();
  if (!dir.empty()) std::filesystem::create_directories(dir, ec);

  mode_t mode = 0644;
  struct stat st {};
  if (::stat(real.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  std::string tmpl = real.string() + ".XXXXXX";
  int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < data.size()) {
    ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else {
      done += static_cast<size_t>(n);
    }
  }
  if (ok && ::fchmod(fd, mode) != 0) ok = false;
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(tmpl.c_str(), real.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmpl.c_str());
  return ok;
}

std::string OneLine(std::string_view value) {
  std::string v(value);
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  return v;
}

}  // namespace

bool SameIniName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  std::string_view t = Trim(text);
  if (t.empty()) return std::nullopt;
  auto hex = [](std::string_view digits) -> std::optional<std::int32_t> {
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : digits) {
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return std::nullopt;
      v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return static_cast<std::int32_t>(v);
  };
  if (t.front() == '$') return hex(t.substr(1));
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) return hex(t.substr(2));
  bool negative = false;
  if (t.front() == '+' || t.front() == '-') {
    negative = t.front() == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || t.size() > 11) return std::nullopt;
  std::int64_t v = 0;
  for (char c : t) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(v);
}

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

bool IniFile::Exists() const {
  std::error_code ec;
  return std::filesystem::is_regular_file(path_, ec);
}

std::optional<std::string> IniFile::ReadValue(std::string_view section,
                                              std::string_view key) const {
  auto data = ReadWholeFile(path_);
  if (!data) return std::nullopt;
  Parsed p = Parse(*data);
  SectionSpan span = FindSection(p.lines, section);
  if (span.header == std::string::npos) return std::nullopt;
  for (size_t i = span.header + 1; i < span.last; ++i) {
    std::string_view value;
    auto k = KeyOf(p.lines[i].text, &value);
    if (k && SameName(*k, key)) return std::string(value);
  }
  return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
  auto v = ReadValue(section, key);
  return v ? *v : std::string(def);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t def) const {
  auto v = ReadValue(section, key);
  if (!v) return def;
  return ParseIniInteger(*v).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSectionKeys(std::string_view section) const {
  std::vector<std::string> keys;
  auto data = ReadWholeFile(path_);
  if (!data) return keys;
  Parsed p = Parse(*data);
  SectionSpan span = FindSection(p.lines, section);
  if (span.header == std::string::npos) return keys;
  for (size_t i = span.header + 1; i < span.last; ++i)
    if (auto k = KeyOf(p.lines[i].text, nullptr)) keys.emplace_back(*k);
  return keys;
}

bool IniFile::SectionExists(std::string_view section) const {
  auto data = ReadWholeFile(path_);
  if (!data) return false;
  Parsed p = Parse(*data);
  return FindSection(p.lines, section).header != std::string::npos;
}

bool IniFile::WriteString(std::string_view section, std::string_view key,
                          std::string_view value) {
  std::string data;
  if (auto existing = ReadWholeFile(path_)) {
    data = std::move(*existing);
  } else {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::status(path_, ec)))
      return false;  // present but unreadable: never replace what we could not read
  }
  Parsed p = Parse(data);
  std::string entry = std::string(key) + "=" + OneLine(value);
  SectionSpan span = FindSection(p.lines, section);
  if (span.header == std::string::npos) {
    if (!p.lines.empty() && p.lines.back().end.empty()) p.lines.back().end = p.newline;
    p.lines.push_back({"[" + std::string(section) + "]", p.newline});
    p.lines.push_back({entry, p.newline});
    return ReplaceFileAtomically(path_, Join(p));
  }
  size_t insert_at = span.header + 1;
  for (size_t i = span.header + 1; i < span.last; ++i) {
    std::string_view old;
    auto k = KeyOf(p.lines[i].text, &old);
    if (k && SameName(*k, key)) {
      if (old == OneLine(value)) return true;
      p.lines[i].text = std::string(*k) + "=" + OneLine(value);
      if (p.lines[i].end.empty() && i + 1 < p.lines.size()) p.lines[i].end = p.newline;
      return ReplaceFileAtomically(path_, Join(p));
    }
    if (!Trim(p.lines[i].text).empty()) insert_at = i + 1;
  }
  if (p.lines[insert_at - 1].end.empty()) p.lines[insert_at - 1].end = p.newline;
  p.lines.insert(p.lines.begin() + static_cast<std::ptrdiff_t>(insert_at), Line{entry, p.newline});
  return ReplaceFileAtomically(path_, Join(p));
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
  auto data = ReadWholeFile(path_);
  if (!data) return !Exists();
  Parsed p = Parse(*data);
  SectionSpan span = FindSection(p.lines, section);
  if (span.header == std::string::npos) return true;
  for (size_t i = span.header + 1; i < span.last; ++i) {
    auto k = KeyOf(p.lines[i].text, nullptr);
    if (k && SameName(*k, key)) {
      p.lines.erase(p.lines.begin() + static_cast<std::ptrdiff_t>(i));
      return ReplaceFileAtomically(path_, Join(p));
    }
  }
  return true;
}

bool IniFile::DeleteFile() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  return !std::filesystem::exists(std::filesystem::symlink_status(path_, ec));
}

}  // namespace haruvi::platform
