// EUC-JP and ISO-2022-JP files through the display pipeline: shown decoded in their pane
// forms with the information line naming the Japanese code as before, the raw view on
// request, and the beginning of a big file shown decoded before the rest is read.
#include <gtest/gtest.h>

#include <atomic>

#include "encoding/japanese_form.h"
#include "support/temp_dir.h"
#include "viewer/file_display.h"

namespace haruvi::viewer {
namespace {

using encoding::TextForm;

const std::string kEuc = "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xE1\xA5\xE2\r\n";  // 日本語のメモ
const std::string kJis = "\x1B$BF|K\\8l\x1B(B mail\r\n";                           // 日本語 mail

TEST(JapaneseDisplay, EucAndJisAreShownDecodedAndNamedByTheirCode) {
  test::TempDir dir;
  const FileDisplay euc = ShowFile(dir.Write("memo", kEuc).string(), DisplaySettings{});
  EXPECT_EQ(euc.form, TextForm::EucJp);
  EXPECT_EQ(std::string(euc.bytes.view()), kEuc);  // the file's bytes, untouched
  EXPECT_TRUE(euc.info_line.ends_with("EUC")) << euc.info_line;

  const FileDisplay jis = ShowFile(dir.Write("mail", kJis).string(), DisplaySettings{});
  EXPECT_EQ(jis.form, TextForm::Jis);
  EXPECT_TRUE(jis.info_line.ends_with("JIS83")) << jis.info_line;
  EXPECT_EQ(encoding::PaneEucToJis(jis.bytes.view()), kJis);
}

TEST(JapaneseDisplay, TheRawViewShowsTheBytesAsTheyAre) {
  test::TempDir dir;
  DisplaySettings raw;
  raw.raw_japanese = true;
  for (const std::string& bytes : {kEuc, kJis}) {
    const FileDisplay d = ShowFile(dir.Write("f", bytes).string(), raw);
    EXPECT_EQ(d.form, TextForm::Legacy);
    EXPECT_EQ(std::string(d.bytes.view()), bytes);
  }
}

TEST(JapaneseDisplay, ABigFileIsDecodedFromItsBeginningAndTheRestReadTheSameWay) {
  test::TempDir dir;
  for (const std::string& line : {kEuc, kJis}) {
    std::string text;
    while (text.size() < 5000) text += line;
    const auto path = dir.Write("big", text);
    DisplaySettings s;
    s.preview_bytes = 1001;
    const FileDisplay d = ShowFile(path.string(), s);
    ASSERT_TRUE(d.preview);
    const TextForm form = line == kEuc ? TextForm::EucJp : TextForm::Jis;
    EXPECT_EQ(d.form, form);
    std::atomic<bool> cancel{false};
    const LoadedRest rest = LoadRest(path.string(), text.size(), cancel, d.raw_japanese);
    ASSERT_TRUE(rest.loaded);
    EXPECT_EQ(rest.form, form);
    EXPECT_EQ(rest.code, form == TextForm::EucJp ? "EUC" : "JIS83");
    const LoadedRest raw = LoadRest(path.string(), text.size(), cancel, true);
    EXPECT_EQ(raw.form, TextForm::Legacy);
    EXPECT_EQ(std::string(raw.document.Bytes()), text);
  }
}

}  // namespace
}  // namespace haruvi::viewer
