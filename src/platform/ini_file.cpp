// The settings file on disk: reading it when it changed, and writing it whole, atomically.
#include "platform/ini_file.h"

#include "platform/temp_beside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>

#include "platform/text_format.h"
#include "platform/write_all.h"

namespace haruvi::platform {
namespace {

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

  // Unnamed until whole: a write killed half way leaves nothing behind.
  NewFileBeside fresh(real.string());
  if (fresh.Fd() < 0) return false;
  bool ok = WriteAll(fresh.Fd(), data);
  if (ok && ::fchmod(fresh.Fd(), mode) != 0) ok = false;
  if (ok && ::fsync(fresh.Fd()) != 0) ok = false;
  if (!fresh.Close()) ok = false;
  if (ok && ::rename(fresh.Name().c_str(), real.c_str()) != 0) ok = false;
  if (ok) fresh.Taken();
  return ok;
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
  std::string_view t = TrimSpacesAndTabs(text);
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

bool IniFile::ReadOnly() const {
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return false;
  return (st.st_mode & 0222) == 0 || ::access(path_.c_str(), W_OK) != 0;
}

IniFile::Identity IniFile::Stat() const {
  Identity id;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return id;
  id.exists = true;
  id.dev = static_cast<std::uint64_t>(st.st_dev);
  id.ino = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::uint64_t>(st.st_size);
  id.mtime_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return id;
}

const IniText& IniFile::Text() const {
  // Held writes win over the disk; otherwise a change on disk (another window, the user)
  // is read again, so settings read at every use see it.
  if (text_ && (dirty_ || batch_depth_ > 0)) return *text_;
  const Identity now = Stat();
  if (text_ && now == identity_) return *text_;
  identity_ = now;
  unreadable_ = false;
  if (auto data = ReadWholeFile(path_)) {
    text_ = IniText::Parse(*data);
  } else {
    unreadable_ = now.exists;
    text_ = IniText::Parse("");
  }
  return *text_;
}

std::optional<std::string> IniFile::ReadValue(std::string_view section, std::string_view key) const {
  return Text().Get(section, key);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  auto v = ReadValue(section, key);
  return v ? *v : std::string(def);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const {
  auto v = ReadValue(section, key);
  if (!v) return def;
  return ParseIniInteger(*v).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSectionKeys(std::string_view section) const { return Text().Keys(section); }

bool IniFile::SectionExists(std::string_view section) const { return Text().HasSection(section); }

bool IniFile::Commit() {
  if (!dirty_) return last_write_ == WriteState::Written;
  if (unreadable_) {
    last_write_ = WriteState::Failed;  // present but unreadable: never replace what we could not read
  } else if (!text_->Writable()) {
    last_write_ = WriteState::Unwritable;
  } else if (ReadOnly()) {
    last_write_ = WriteState::ReadOnly;  // the user made it read-only: left alone, even by root
  } else if (ReplaceFileAtomically(path_, text_->Serialize())) {
    last_write_ = WriteState::Written;
    dirty_ = false;
    identity_ = Stat();
    return true;
  } else {
    last_write_ = WriteState::Failed;
  }
  return false;
}

bool IniFile::Batch::End() {
  if (ended_) return file_.last_write_ == WriteState::Written;
  ended_ = true;
  if (--file_.batch_depth_ > 0) return true;
  return file_.Commit();
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  Text();
  if (text_->Set(section, key, value)) dirty_ = true;
  if (batch_depth_ > 0) return true;
  return Commit();
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key) {
  Text();
  if (text_->Erase(section, key)) dirty_ = true;
  if (batch_depth_ > 0) return true;
  return Commit();
}

bool IniFile::DeleteFile() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  text_.reset();
  dirty_ = false;
  return !std::filesystem::exists(std::filesystem::symlink_status(path_, ec));
}

int IniFile::RemoveStaleTemporaries() const {
  // Only names that carry our marker for this file are ours; whatever else is named like
  // the settings file (a user's "haruvi.ini.backup", "haruvi.ini.old-01") is the user's.
  std::error_code ec;
  const std::filesystem::path dir = path_.parent_path().empty() ? "." : path_.parent_path();
  const std::string target = path_.filename().string();
  int removed = 0;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsTemporaryOf(it->path().filename().string(), target)) continue;
    struct stat st {};
    if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (std::time(nullptr) - st.st_mtime < 60) continue;  // another window's write in progress
    if (::unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace haruvi::platform
