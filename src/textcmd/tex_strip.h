// "TeX->テキスト": TeX commands and comments removed from a text with the regular-expression
// engine, leaving the words; braces and brackets that end up empty go too.
#pragma once

#include <string>
#include <string_view>

namespace haruvi::textcmd {

// The whole text (lines ending in CR LF) with every match of the command patterns removed
// in turn, then every "{}" and every "[]".
std::string StripTex(std::string_view text);

}  // namespace haruvi::textcmd
