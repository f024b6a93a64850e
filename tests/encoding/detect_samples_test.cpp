// Detection of texts written by the system's converters (iconv, nkf), not by us.
#include <gtest/gtest.h>
#include <unistd.h>

#include "encoding/char_code.h"
#include "support/run_process.h"

namespace haruvi::encoding {
namespace {

// A paragraph with kanji, hiragana, katakana, ASCII and full-width symbols (UTF-8).
const char kSample[] =
    "文字コードの判定テスト: 漢字とひらがな、カタカナ、ASCII text 123。\r\n"
    "東京都の天気は晴れです。「引用」と（括弧）も入れておきます。\r\n";

std::string Convert(const std::string& program, const std::vector<std::string>& args, const std::string& in) {
  if (::access(program.c_str(), X_OK) != 0) return {};
  const auto r = test::RunProcess(program, args, in);
  return r.exit_code == 0 ? r.out : std::string();
}

TEST(DetectSamples, TextsMadeByIconv) {
  const struct {
    const char* to;
    TCharCode code;
  } rows[] = {{"SHIFT_JIS", ccSjis}, {"CP932", ccSjis}, {"EUC-JP", ccEuc}, {"ISO-2022-JP", ccJis83}};
  for (const auto& row : rows) {
    const std::string text = Convert("/usr/bin/iconv", {"-f", "UTF-8", "-t", row.to}, kSample);
    ASSERT_FALSE(text.empty()) << row.to;
    EXPECT_EQ(DetectCharCode(text), row.code) << row.to;
  }
  EXPECT_EQ(DetectCharCode(Convert("/usr/bin/iconv", {"-f", "UTF-8", "-t", "ASCII//TRANSLIT"}, "plain text\r\n")), ccAscii);
}

TEST(DetectSamples, TextsMadeByNkf) {
  const struct {
    const char* option;
    TCharCode code;
  } rows[] = {{"-s", ccSjis}, {"-e", ccEuc}, {"-j", ccJis83}};
  for (const auto& row : rows) {
    const std::string text = Convert("/usr/bin/nkf", {"-W", row.option}, kSample);
    ASSERT_FALSE(text.empty()) << row.option;
    EXPECT_EQ(DetectCharCode(text), row.code) << row.option;
  }
  // Hiragana only, in EUC: every byte pair fits Shift_JIS too.
  EXPECT_EQ(DetectCharCode(Convert("/usr/bin/nkf", {"-W", "-e"}, "ひらがなだけのぶんしょう")), ccEucOrSjis);
}

}  // namespace
}  // namespace haruvi::encoding
