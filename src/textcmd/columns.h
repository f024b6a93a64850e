// Column commands: every line is a row of byte columns counted from 1, a two-byte
// character taking two. Breaking, inserting, deleting and extracting never cut one.
#pragma once

#include <cstddef>
#include <string_view>

#include "textcmd/lines.h"

namespace haruvi::textcmd {

// Highest value the column dialog accepts.
inline constexpr int kMaxColumn = 65353;

// "指定位置で改行": lines longer than `column` bytes are cut into pieces of `column` bytes
// (one less where the cut would split a character; the whole character where it starts
// the piece at column 1). With `text`, it is appended to every cut piece, not to the rest.
// A column below 1 counts as 1.
Lines BreakAtColumn(LineSpan lines, std::size_t column, std::string_view text = {});

// "指定桁位置に文字を挿入": in lines longer than `column` bytes, `text` goes before byte
// `column`, or before the character that byte belongs to.
Lines InsertAtColumn(LineSpan lines, std::size_t column, std::string_view text);

// "桁削除" and "桁抽出" of `count` bytes from column `start`: deleting widens the range to
// whole characters, extracting narrows it to them.
Lines DeleteColumns(LineSpan lines, std::size_t start, std::size_t count);
Lines ExtractColumns(LineSpan lines, std::size_t start, std::size_t count);

}  // namespace haruvi::textcmd
