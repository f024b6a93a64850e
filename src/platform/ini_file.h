// The settings file: a private-profile (INI) file read and written one value at a time.
// Every call opens and closes the file; nothing is cached. Writes go to a temporary
// file in the same folder that is then renamed over the old one, so a failed write
// never leaves a truncated or half-written settings file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

  const std::filesystem::path& Path() const { return path_; }
  bool Exists() const;

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
  // Returns false when the file could not be written; the old file is then intact.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  bool WriteBool(std::string_view section, std::string_view key, bool value);
  // Removes one key (a no-op when it is missing).
  bool DeleteKey(std::string_view section, std::string_view key);
  // Removes the whole file. True when there is no file afterwards.
  bool DeleteFile();

 private:
  std::filesystem::path path_;
};

}  // namespace haruvi::platform
