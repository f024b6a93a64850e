// UTF-8 and UTF-16 files through the display pipeline: named by their form, held in the
// pane as UTF-8 (UTF-16 in its lossless UTF-8 form), shown from their beginning cut at a
// whole line, and read whole by the rest loader in the same form.
#include <gtest/gtest.h>

#include <atomic>

#include "encoding/unicode_convert.h"
#include "support/temp_dir.h"
#include "viewer/file_display.h"

namespace haruvi::viewer {
namespace {

using encoding::TextForm;

const std::string kUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80 e\xCC\x81\n";  // 日本語 😀 é

std::string Utf16Le(std::string_view utf8) { return encoding::ConvertUnicode(encoding::UnicodeOp::kUtf8ToUtf16, utf8); }

TEST(UnicodeDisplay, EachFormIsNamedAndHeldAsUtf8) {
  test::TempDir dir;
  const struct {
    std::string bytes;
    TextForm form;
    std::string code;
    std::string pane;
  } rows[] = {
      {kUtf8, TextForm::Utf8, "UTF-8", kUtf8},
      {"\xEF\xBB\xBF" + kUtf8, TextForm::Utf8Bom, "UTF-8(BOM)", "\xEF\xBB\xBF" + kUtf8},
      {Utf16Le(kUtf8), TextForm::Utf16Le, "UTF-16LE", "\xEF\xBB\xBF" + kUtf8},
      {encoding::ConvertUnicode(encoding::UnicodeOp::kUtf8ToUtf16Be, kUtf8), TextForm::Utf16Be, "UTF-16BE", kUtf8},
      {"\x93\xFA\x96\x7B\r\n", TextForm::Legacy, "\xEF\xBD\xBC\xEF\xBE\x8C\xEF\xBE\x84JIS", "\x93\xFA\x96\x7B\r\n"},
  };
  for (const auto& row : rows) {
    const auto path = dir.Write("f", row.bytes);
    const FileDisplay d = ShowFile(path.string(), DisplaySettings{});
    EXPECT_EQ(d.form, row.form) << row.code;
    EXPECT_EQ(d.code, row.code);
    EXPECT_TRUE(d.info_line.ends_with(row.code)) << d.info_line;
    EXPECT_EQ(std::string(d.bytes.view()), row.pane) << row.code;
    if (encoding::IsUtf16(d.form)) {
      EXPECT_EQ(encoding::PaneUtf8ToUtf16(d.bytes.view(), d.form == TextForm::Utf16Le), row.bytes);
    }
  }
}

TEST(UnicodeDisplay, TheBeginningOfABigFileEndsAtAWholeLineInEveryForm) {
  test::TempDir dir;
  std::string text;
  while (text.size() < 3000) text += kUtf8 + "\xE3\x81\x82\xE3\x81\x84\r\n";
  DisplaySettings s;
  s.preview_bytes = 1001;  // odd, and inside a character of either form
  for (const std::string& bytes : {text, Utf16Le(text)}) {
    const auto path = dir.Write("big", bytes);
    const FileDisplay d = ShowFile(path.string(), s);
    ASSERT_TRUE(d.preview);
    const std::string shown(d.bytes.view());
    EXPECT_TRUE(shown.ends_with("\n")) << shown.size();
    EXPECT_TRUE(text.starts_with(shown.substr(shown.starts_with("\xEF\xBB\xBF") ? 3 : 0)));
    std::atomic<bool> cancel{false};
    const LoadedRest rest = LoadRest(path.string(), bytes.size(), cancel);
    ASSERT_TRUE(rest.loaded);
    EXPECT_EQ(rest.form, d.form);
    EXPECT_EQ(rest.code, encoding::TextFormName(d.form));
    EXPECT_EQ(std::string(rest.document.Bytes()).size(), text.size() + (d.form == TextForm::Utf16Le ? 3 : 0));
  }
}

TEST(UnicodeDisplay, TheInformationLineAloneNamesTheFormToo) {
  test::TempDir dir;
  DisplaySettings only;
  only.info_only = true;
  EXPECT_TRUE(ShowFile(dir.Write("a", kUtf8).string(), only).info_line.ends_with("UTF-8"));
  EXPECT_TRUE(ShowFile(dir.Write("b", Utf16Le("abc\r\n")).string(), only).info_line.ends_with("UTF-16LE"));
}

}  // namespace
}  // namespace haruvi::viewer
