// What the information line says about a file (name, size, date, attributes, folder,
// kind and character code), which way a file is read under the read settings, and the
// file-kind signatures. No widgets: the window shows the texts these build.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct stat;

namespace haruvi::viewer {

// Step 1 of the information line, UTF-8 text (names shown as encoding::NameForDisplay
// shows them): name + "   " + size + "   " + date + "   " +
// attributes + "    " + folder (with its trailing "/"). The size is 64-bit.
std::string InfoLineStep1(const std::string& path);
// The same from a stat already made (nullptr: the entry could not be read).
std::string InfoLineStep1(const std::string& path, const struct stat* st);
// Step 2 appended: + "    " + kind + "  " + code name.
std::string InfoLineStep2(const std::string& step1, std::string_view kind, std::string_view code_name);

// "%15.0n byte": thousands separators, right-aligned in 15 characters, not trimmed.
std::string SizeField(std::uint64_t size);
// "yyyy.mm.dd(aaa)" in local time with the Japanese short weekday name.
std::string DateField(std::int64_t unix_time);
// "RASH" with "-" for absent attributes ("ｴﾗｰ" first when they cannot be read), and
// "   ﾃﾞｨﾚｸﾄﾘ" after them for a folder.
std::string AttributeField(const std::string& path);
std::string AttributeField(const std::string& path, const struct stat* st);

// The read settings as the settings file holds them.
struct ReadSettings {
  std::int64_t stream_bytes = 10000;  // "StreamRead" "Byte"
  bool stream_check = true;           // "StreamRead" "Check"
  std::int64_t read_max = 0;          // "ReadMax" "Byte": 0 or less, no limit
};
enum class LoadWay { Direct, Stream, Nothing };
LoadWay ReadRule(std::uint64_t size, const ReadSettings& settings);

// The bracketed kind of a file from its first line, or empty. `path` decides the ".HLP"
// rule (its extension compared without case).
std::string filekind(std::string_view first_line, const std::string& path);

}  // namespace haruvi::viewer
