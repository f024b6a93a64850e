// Typed settings keys: a key is one constant naming its section, key, type, default and
// read rule, declared next to the feature that owns it. Reads and writes go through
// `Settings`, which applies the rules a value can be checked by on its own; rules that
// need the window (screen size, panel extents) are applied by the owner with the pure
// clamp functions below.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_file.h"

namespace haruvi::platform {

enum class KeyType { Integer, Boolean, String, Color, FontStyle };

enum class KeyRule {
  None,
  Range,          // lo..hi, anything else the default
  ScreenLeft,     // below 0 or above the screen width gives 0 (owner applies)
  ScreenTop,      // below 0 or above the screen height gives 0 (owner applies)
  ScreenExtent,   // below 0 or above the screen extent gives the screen extent (owner applies)
  KeepIfOutside,  // below 0 or above the limit keeps the current value (owner applies)
  IconStyle,      // 1 to 4, anything else 3
  ColumnWidth,    // at least -2, else the current value
  StyleBits,      // 0 to 255, else 0
  Informational,  // written at close, never read
  MaxBytes,       // strings: at most hi bytes are read (cut at a character's start)
};

// What every key says about itself, whatever its type: what the consistency checks and
// the settings reset read.
struct KeyInfo {
  std::string_view owner;    // the feature that reads and writes it
  std::string_view section;
  std::string_view key;
  KeyType type;
  std::string_view def;      // the default as the file would hold it; "" = current value
  KeyRule rule = KeyRule::None;
  std::int32_t lo = 0, hi = 0;  // KeyRule::Range; hi for KeyRule::MaxBytes
};

// Typed handles: the type decides which Read/Write applies, so a key cannot be read as
// something it is not.
struct IntKey { KeyInfo info; };
struct BoolKey { KeyInfo info; };
struct StringKey { KeyInfo info; };
struct ColorKey { KeyInfo info; };
struct StyleKey { KeyInfo info; };

constexpr IntKey Int(std::string_view owner, std::string_view section, std::string_view key,
                     std::string_view def, KeyRule rule = KeyRule::None, std::int32_t lo = 0,
                     std::int32_t hi = 0) {
  return {{owner, section, key, KeyType::Integer, def, rule, lo, hi}};
}
constexpr BoolKey Bool(std::string_view owner, std::string_view section, std::string_view key,
                       std::string_view def) {
  return {{owner, section, key, KeyType::Boolean, def}};
}
constexpr StringKey Str(std::string_view owner, std::string_view section, std::string_view key,
                        std::string_view def, KeyRule rule = KeyRule::None, std::int32_t lo = 0,
                        std::int32_t hi = 0) {
  return {{owner, section, key, KeyType::String, def, rule, lo, hi}};
}
constexpr ColorKey Color(std::string_view owner, std::string_view section, std::string_view key,
                         std::string_view def) {
  return {{owner, section, key, KeyType::Color, def}};
}
constexpr StyleKey Style(std::string_view owner, std::string_view section, std::string_view key) {
  return {{owner, section, key, KeyType::FontStyle, "0", KeyRule::StyleBits}};
}

// Whether `value` (as the file would hold it) passes the key's own rule. Rules that need
// the window's extents accept any integer here.
bool ValueFitsRule(const KeyInfo& key, std::string_view value);

// Reads and writes through typed keys over the settings file.
class Settings {
 public:
  explicit Settings(IniFile& file) : file_(file) {}
  IniFile& File() { return file_; }
  const IniFile& File() const { return file_; }

  // `current` stands in for a missing key whose default is "the current value"; a value
  // that breaks the key's rule gives the default (or `current`, as the rule says).
  std::int32_t Read(const IntKey& k, std::int32_t current = 0) const;
  bool Read(const BoolKey& k, bool current = false) const;
  std::string Read(const StringKey& k, std::string_view current = {}) const;
  // Colours as their stored number (a standard name or "$" and eight hex digits).
  std::int32_t Read(const ColorKey& k, std::int32_t current = 0) const;
  std::int32_t Read(const StyleKey& k) const;

  bool Write(const IntKey& k, std::int32_t v);
  bool Write(const BoolKey& k, bool v);
  bool Write(const StringKey& k, std::string_view v);
  bool Write(const ColorKey& k, std::int32_t v);
  bool Write(const StyleKey& k, std::int32_t v);
  bool Delete(const KeyInfo& k);

 private:
  IniFile& file_;
};

// The clamping rules of the start-up keys, as pure functions of the limits.
std::int32_t ClampLeft(std::int32_t v, std::int32_t screen_width);
std::int32_t ClampTop(std::int32_t v, std::int32_t screen_height);
std::int32_t ClampExtent(std::int32_t v, std::int32_t screen_extent);
std::int32_t KeepIfOutside(std::int32_t v, std::int32_t limit, std::int32_t current);
std::int32_t IconStyle(std::int32_t v);
std::int32_t ColumnWidth(std::int32_t v, std::int32_t current);

}  // namespace haruvi::platform
