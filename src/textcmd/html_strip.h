// "html->テキスト": HTML tags and comments removed, lines broken where block tags stood,
// list items and rules marked, preformatted lines kept, and seven entities decoded.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "textcmd/lines.h"

namespace haruvi::textcmd {

// Asked once per input line and between the entity steps; true stops the work.
using CancelCheck = std::function<bool()>;

// "中断しました！" and "・" in Shift_JIS: they go into the pane's text.
inline constexpr std::string_view kCancelledLine =
    "\x92\x86\x92\x66\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x49";
inline constexpr std::string_view kListItemMark = "\x81\x45";

struct HtmlResult {
  std::string text;  // the pane's new whole text, lines ending in CR LF
  bool cancelled = false;
};

// Strips the pane's lines. Outside a PRE block text flows on across source lines; block
// tags end the output line. Unless cancelled, the entities are decoded and an empty line
// follows the first line; a cancelled run keeps what was output and ends with
// kCancelledLine.
HtmlResult StripHtml(LineSpan lines, const CancelCheck& cancelled = {});

// True for the tags that end an output line ("BR", "P", "/H1", "HR SIZE=2", ...), given
// the text between "<" and ">".
bool IsLineBreakingTag(std::string_view tag);

// "&lt;" "&gt;" "&amp;" "&quot;" "&reg;" "&copy;" "&nbsp;", case ignored, one entity after
// the other over the whole text (so "&amp;lt;" becomes "&lt;"). Stops early, returning
// false, when `cancelled` says so.
bool DecodeEntities(std::string& text, const CancelCheck& cancelled = {});

}  // namespace haruvi::textcmd
