// The pattern error of the regular-expression engine: a message for the user and the
// 1-based byte position in the pattern just past the character that was found wrong.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace haruvi::regex {

class ERegExpParser : public std::runtime_error {
 public:
  ERegExpParser(const std::string& message, std::size_t position)
      : std::runtime_error(message),
        position_(static_cast<std::uint16_t>(position > 0xFFFF ? 0xFFFF : position)) {}
  std::uint16_t Position() const { return position_; }

 private:
  std::uint16_t position_;
};

// Messages as the user sees them (UTF-8).
namespace msg {
inline constexpr const char* kBadDoubleByte = "不正な２バイト文字コードです。";
inline constexpr const char* kBackslashAtEnd = "\"\\\"の次には文字が必要です。";
inline constexpr const char* kBadHex = "不正な１６進数コード表記です。";
inline constexpr const char* kBadOctal = "不正な８進数コード表記です。";
inline constexpr const char* kNeedRightBracket = "右ブラケット\"]\"が必要です";
inline constexpr const char* kBadRange = "不正なキャラクタ範囲です";
inline constexpr const char* kBadClass = "不正なキャラクタクラス指定です。";
inline constexpr const char* kNeedRightParen = "右(閉じ)括弧が必要です";
inline constexpr const char* kNeedPrimary = "普通の文字、または左括弧\"(\"が必要です";
inline constexpr const char* kExtraChars = "正規表現に余分な文字があります";
// Raised instead of exhausting memory or stack on patterns whose automaton explodes.
inline constexpr const char* kTooComplex = "正規表現が複雑すぎます。";
}  // namespace msg

}  // namespace haruvi::regex
