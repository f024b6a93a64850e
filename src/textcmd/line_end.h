// Line ends: detecting the kind a text uses, converting between kinds, and removing the
// CR LF pairs of a text or of a part of it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace haruvi::textcmd {

// `TLineEnd`
enum TLineEnd : int { kLineEndNone = 0, kLineEndCrLf = 1, kLineEndCr = 2, kLineEndLf = 3 };

// The kind of the first line end of `text`.
TLineEnd DetectLineEnd(std::string_view text);

// Every occurrence of the `from` sequence becomes the `to` sequence; from none, or from a
// kind to itself, gives the text unchanged.
std::string ConvertLineEnd(std::string_view text, TLineEnd from, TLineEnd to);

// `crconvert` of the selected file, and "改行コード自動変換" (detected kind to CR LF). They
// convert the file's own bytes rather than its lines joined again with CR LF, so that a
// CR or LF file converts as the command names it.
std::string crconvert(std::string_view file_bytes, TLineEnd from, TLineEnd to);
std::string crauto(std::string_view file_bytes);

// "改行コードを削除": every CR LF of the text, or only those lying wholly inside the byte
// range [start, start + length) (clamped to the text), is removed.
std::string RemoveLineEnds(std::string_view text);
std::string RemoveLineEnds(std::string_view text, std::size_t start, std::size_t length);

}  // namespace haruvi::textcmd
