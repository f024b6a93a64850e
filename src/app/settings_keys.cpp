#include "app/settings_keys.h"

#include <array>

namespace haruvi::app::settings {
namespace {

constexpr Key I(std::string_view s, std::string_view k, std::string_view d, bool cur,
                Rule r = Rule::None) {
  return {s, k, Type::Integer, d, cur, r};
}
constexpr Key B(std::string_view s, std::string_view k, std::string_view d, bool cur = false) {
  return {s, k, Type::Boolean, d, cur, Rule::None};
}
constexpr Key S(std::string_view s, std::string_view k, std::string_view d, bool cur) {
  return {s, k, Type::String, d, cur, Rule::None};
}
constexpr Key Info(std::string_view s, std::string_view k) {
  return {s, k, Type::String, "", false, Rule::Informational};
}

constexpr auto kKeys = std::to_array<Key>({
    // Read at start, written at close, in read order.
    S("File", "Save", "", true),
    S("File", "Dir", "", true),
    I("Form", "Left", "", true, Rule::ScreenLeft),
    I("Form", "Top", "", true, Rule::ScreenTop),
    I("Form", "Width", "", true, Rule::ScreenWidth),
    I("Form", "Height", "", true, Rule::ScreenHeight),
    I("PanelL", "Width", "", true, Rule::KeepIfOutside),
    I("PanelRB", "Height", "", true, Rule::KeepIfOutside),
    S("FontR", "Name", "ＭＳ ゴシック", true),
    {"FontR", "Style", Type::FontStyle, "0", false, Rule::StyleBits},
    {"FontR", "Color", Type::Color, "clWindowText", true, Rule::None},
    I("FontR", "Size", "", true),
    S("FontF", "Name", "", true),
    {"FontF", "Style", Type::FontStyle, "0", false, Rule::StyleBits},
    I("FontF", "Size", "", true),
    {"FontF", "Color", Type::Color, "", true, Rule::None},
    S("FolderView", "Directory", "", true),
    S("InitFolder", "InitFolderName", "", false),
    I("FileView", "Icon", "", true, Rule::IconStyle),
    I("FileView", "Colum1", "", true, Rule::ColumnWidth),
    I("FileView", "Colum2", "", true, Rule::ColumnWidth),
    I("FileView", "Colum3", "", true, Rule::ColumnWidth),
    B("FileView", "Hottrack", "0", true),
    B("RichEdit", "WordWrap", "0", true),
    I("RichEdit", "richtabwidth", "8", false),
    B("Menu", "Mdisp", "1"),
    B("Menu", "Mmousepoint", "0"),
    B("Menu", "Mlhashow", "0"),
    B("Menu", "Mrtf", "0"),
    B("Menu", "Mtoolbar", "1"),
    B("Menu", "Msubtoolbar", "1"),
    B("Menu", "Msubfolderview", "1"),
    B("Menu", "Mtodiropen", "0"),
    B("Menu", "Mdialogdisp1", "1"),
    B("Menu", "Mcloseinitview1", "1"),
    B("Menu", "Mbackup1", "1"),
    B("Menu", "Mdragdrop1", "0"),
    // Written at close only.
    Info("System", "Program"),
    Info("System", "Version"),
    Info("System", "Date"),
    Info("System", "Time"),
    Info("System", "Drive"),
    Info("System", "DiskSize"),
    Info("System", "DiskFree"),
    Info("System", "Filename"),
    Info("Form", "Pixelsperinch"),
    Info("Form", "State"),
    // Read and written by the commands that use them.
    I("StreamRead", "Byte", "10000", false),
    B("StreamRead", "Check", "1"),
    I("ReadMax", "Byte", "0", false),
    S("Editer", "Editer", "", false),
    S("Print", "Yohaku_T", "0", false),
    S("Print", "Yohaku_L", "0", false),
    S("Print", "Yohaku_B", "0", false),
    S("Print", "Yohaku_R", "0", false),
    I("Mexe", "Count", "0", false),
    I("PopupMenu2", "Count", "0", false),
});

}  // namespace

std::span<const Key> AllKeys() { return kKeys; }

const Key* Find(std::string_view section, std::string_view key) {
  for (const Key& k : kKeys)
    if (platform::SameIniName(k.section, section) && platform::SameIniName(k.key, key)) return &k;
  return nullptr;
}

std::int32_t ClampLeft(std::int32_t v, std::int32_t screen_width) {
  return (v < 0 || v > screen_width) ? 0 : v;
}
std::int32_t ClampTop(std::int32_t v, std::int32_t screen_height) {
  return (v < 0 || v > screen_height) ? 0 : v;
}
std::int32_t ClampExtent(std::int32_t v, std::int32_t screen_extent) {
  return (v < 0 || v > screen_extent) ? screen_extent : v;
}
std::int32_t KeepIfOutside(std::int32_t v, std::int32_t limit, std::int32_t current) {
  return (v < 0 || v > limit) ? current : v;
}
std::int32_t IconStyle(std::int32_t v) { return (v >= 1 && v <= 4) ? v : 3; }
std::int32_t ColumnWidth(std::int32_t v, std::int32_t current) { return v < -2 ? current : v; }

}  // namespace haruvi::app::settings
