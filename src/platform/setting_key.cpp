#include "platform/setting_key.h"

#include "platform/settings_values.h"

namespace haruvi::platform {
namespace {

std::int32_t DefaultInt(const KeyInfo& k, std::int32_t current) {
  if (k.def.empty()) return current;
  return ParseIniInteger(k.def).value_or(current);
}

}  // namespace

bool ValueFitsRule(const KeyInfo& k, std::string_view value) {
  switch (k.type) {
    case KeyType::String:
      return k.rule != KeyRule::MaxBytes || value.size() <= static_cast<std::size_t>(k.hi);
    case KeyType::Color:
      return value.empty() || ColorFromString(value).has_value();
    case KeyType::Boolean:
    case KeyType::Integer:
    case KeyType::FontStyle:
      break;
  }
  if (value.empty()) return true;  // "the current value"
  const std::optional<std::int32_t> v = ParseIniInteger(value);
  if (!v) return false;
  switch (k.rule) {
    case KeyRule::Range: return *v >= k.lo && *v <= k.hi;
    case KeyRule::IconStyle: return *v >= 1 && *v <= 4;
    case KeyRule::ColumnWidth: return *v >= -2;
    case KeyRule::StyleBits: return FontStyleFromInt(*v).has_value();
    default: return true;
  }
}

std::int32_t Settings::Read(const IntKey& key, std::int32_t current) const {
  const KeyInfo& k = key.info;
  const std::int32_t def = DefaultInt(k, current);
  const std::int32_t v = file_.ReadInteger(k.section, k.key, def);
  switch (k.rule) {
    case KeyRule::Range: return v >= k.lo && v <= k.hi ? v : def;
    case KeyRule::IconStyle: return IconStyle(v);
    case KeyRule::ColumnWidth: return ColumnWidth(v, current);
    default: return v;
  }
}

bool Settings::Read(const BoolKey& key, bool current) const {
  const KeyInfo& k = key.info;
  return file_.ReadBool(k.section, k.key, DefaultInt(k, current ? 1 : 0) != 0);
}

std::string Settings::Read(const StringKey& key, std::string_view current) const {
  const KeyInfo& k = key.info;
  std::string v = file_.ReadString(k.section, k.key, k.def.empty() ? current : k.def);
  if (k.rule == KeyRule::MaxBytes && v.size() > static_cast<std::size_t>(k.hi)) {
    // A value longer than any use of it (a font name of a megabyte) is cut, at the start
    // of a UTF-8 character.
    std::size_t cut = static_cast<std::size_t>(k.hi);
    while (cut > 0 && (static_cast<unsigned char>(v[cut]) & 0xC0) == 0x80) --cut;
    v.resize(cut);
  }
  return v;
}

std::int32_t Settings::Read(const ColorKey& key, std::int32_t current) const {
  const KeyInfo& k = key.info;
  const std::int32_t def = k.def.empty() ? current : ColorFromString(k.def).value_or(current);
  const std::optional<std::string> v = file_.ReadValue(k.section, k.key);
  if (!v) return def;
  return ColorFromString(*v).value_or(def);
}

std::int32_t Settings::Read(const StyleKey& key) const {
  const KeyInfo& k = key.info;
  const std::int32_t v = file_.ReadInteger(k.section, k.key, 0);
  return FontStyleFromInt(v) ? v : 0;
}

bool Settings::Write(const IntKey& k, std::int32_t v) { return file_.WriteInteger(k.info.section, k.info.key, v); }
bool Settings::Write(const BoolKey& k, bool v) { return file_.WriteBool(k.info.section, k.info.key, v); }
bool Settings::Write(const StringKey& k, std::string_view v) { return file_.WriteString(k.info.section, k.info.key, v); }
bool Settings::Write(const ColorKey& k, std::int32_t v) {
  return file_.WriteString(k.info.section, k.info.key, ColorToString(v));
}
bool Settings::Write(const StyleKey& k, std::int32_t v) { return file_.WriteInteger(k.info.section, k.info.key, v); }
bool Settings::Delete(const KeyInfo& k) { return file_.DeleteKey(k.section, k.key); }

std::int32_t ClampLeft(std::int32_t v, std::int32_t screen_width) { return (v < 0 || v > screen_width) ? 0 : v; }
std::int32_t ClampTop(std::int32_t v, std::int32_t screen_height) { return (v < 0 || v > screen_height) ? 0 : v; }
std::int32_t ClampExtent(std::int32_t v, std::int32_t screen_extent) {
  return (v < 0 || v > screen_extent) ? screen_extent : v;
}
std::int32_t KeepIfOutside(std::int32_t v, std::int32_t limit, std::int32_t current) {
  return (v < 0 || v > limit) ? current : v;
}
std::int32_t IconStyle(std::int32_t v) { return (v >= 1 && v <= 4) ? v : 3; }
std::int32_t ColumnWidth(std::int32_t v, std::int32_t current) { return v < -2 ? current : v; }

}  // namespace haruvi::platform
