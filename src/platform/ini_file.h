// The settings file: a private-profile (INI) file. Its text is read once into memory and
// read again only when the file changed on disk; a write changes the text in memory and
// writes the whole file at once (inside a Batch, once when the batch ends). Every write
// goes to a temporary file in the same folder that is then renamed over the old one, so
// a failed or killed write never leaves a truncated or mixed settings file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_text.h"

namespace haruvi::platform {

// Integer read rule of the settings file: optional sign and decimal digits; "$" and hex
// digits; or "0x"/"0X" and hex digits when the text is longer than two characters.
// Hex values may use all 32 bits ("$80000008" is a negative int32). Surrounding blanks
// are ignored. Anything else, or a decimal value outside int32, is not an integer.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// Section, key and colour names compare without regard to ASCII case.
bool SameIniName(std::string_view a, std::string_view b);

class IniFile {
 public:
  explicit IniFile(std::filesystem::path path);
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  // Holds writes in memory until the outermost batch ends, then writes the file once.
  class Batch {
   public:
    explicit Batch(IniFile& file) : file_(file) { ++file_.batch_depth_; }
    ~Batch() { End(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;
    // Ends the batch now; false when the file could not be written.
    bool End();

   private:
    IniFile& file_;
    bool ended_ = false;
  };

  enum class WriteState { Written, ReadOnly, Unwritable, Failed };
  // How the last write to disk went: ReadOnly when the file exists without write
  // permission (it is left alone), Unwritable when its bytes could not be read back as
  // they are (it is never written over), Failed when the system refused.
  WriteState LastWrite() const { return last_write_; }

  const std::filesystem::path& Path() const { return path_; }
  bool Exists() const;
  // The file is there but the user made it read-only (no write permission bits, or no
  // access): writes leave it alone, whoever runs the program.
  bool ReadOnly() const;

  // The raw value after the first "=", exactly as written (blanks and "#" marks kept);
  // nullopt when the file, the section or the key is missing. Section and key names
  // compare without regard to ASCII case.
  std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
  // Booleans are read as integers: any non-zero value is true.
  bool ReadBool(std::string_view section, std::string_view key, bool def) const;
  // Key names of a section in file order (empty when the section is missing).
  std::vector<std::string> ReadSectionKeys(std::string_view section) const;
  bool SectionExists(std::string_view section) const;

  // Writes one value, keeping every other line, its order and its comments. Line
  // breaks inside a value are written as blanks (they would split the entry).
  // Returns false when the file could not be written; the old file is then intact
  // (inside a batch the value is held and the batch's end reports).
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  // Removes one key (a no-op when it is missing).
  bool DeleteKey(std::string_view section, std::string_view key);
  // Removes the whole file. True when there is no file afterwards.
  bool DeleteFile();
  // Removes temporary files that an earlier write left when it was killed (older than a
  // minute, so another window's write in progress is left alone). Returns how many.
  int RemoveStaleTemporaries() const;

 private:
  struct Identity {
    std::uint64_t dev = 0, ino = 0, size = 0;
    std::int64_t mtime_ns = 0;
    bool exists = false;
    bool operator==(const Identity&) const = default;
  };
  Identity Stat() const;
  // The text, read again when the file changed (never while writes are held).
  const IniText& Text() const;
  bool Commit();

  std::filesystem::path path_;
  mutable std::optional<IniText> text_;
  mutable Identity identity_;
  mutable bool unreadable_ = false;  // present but could not be read: never replaced
  int batch_depth_ = 0;
  bool dirty_ = false;
  WriteState last_write_ = WriteState::Written;
};

}  // namespace haruvi::platform
