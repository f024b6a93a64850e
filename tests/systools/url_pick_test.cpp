// The URL proposal from the caret's line or the selection, and the schemes let through.
#include <gtest/gtest.h>

#include <random>

#include "systools/dir_options.h"
#include "systools/url_pick.h"

namespace haruvi::systools {
namespace {

const std::string kKanji = "\x8A\xBF\x8E\x9A";  // 漢字 in Shift_JIS

TEST(UrlProposal, CaretLineGivesTheFirstRunOnlyWithAScheme) {
  EXPECT_EQ(UrlFromLine(kKanji + " abc://d " + kKanji), "abc://d");
  EXPECT_EQ(UrlFromLine(kKanji + " abc"), "");
  EXPECT_EQ(UrlFromLine("see http://x.jp/a?b=1 now"), "");  // the first run is "see"
  EXPECT_EQ(UrlFromLine("\thttp://x.jp/\r\n"), "http://x.jp/");
  EXPECT_EQ(UrlFromLine(""), "");
  // A trail byte in the printable range belongs to its character, never to the run.
  EXPECT_EQ(UrlFromLine("\x83\x41http://a"), "http://a");
  EXPECT_EQ(UrlFromLine("\x83"), "");  // a lone lead byte at the end
  // Every printable ASCII character is part of the run, "!" and "~" at its two ends too.
  EXPECT_EQ(UrlFromLine("http://x.jp/~user/!a \x7F"), "http://x.jp/~user/!a");
}

TEST(UrlProposal, SelectionDropsLeadingKanjiAndEdgeBlanks) {
  EXPECT_EQ(UrlFromSelection(kKanji + "  http://x.jp/ " + kKanji), "http://x.jp/");
  EXPECT_EQ(UrlFromSelection("abc def"), "abc");  // no scheme test on a selection
  EXPECT_EQ(UrlFromSelection("\x81"), "");
}

TEST(UrlScheme, OnlyWebAndFileUrlsPass) {
  EXPECT_TRUE(UrlSchemeAllowed("http://x.jp"));
  EXPECT_TRUE(UrlSchemeAllowed("HTTPS://x.jp"));
  EXPECT_TRUE(UrlSchemeAllowed("ftp://x.jp/f"));
  EXPECT_TRUE(UrlSchemeAllowed("file:///tmp/a.txt"));
  EXPECT_FALSE(UrlSchemeAllowed("javascript:alert(1)"));
  EXPECT_FALSE(UrlSchemeAllowed("mailto:a@b"));
  EXPECT_FALSE(UrlSchemeAllowed("smb://host/share"));
  EXPECT_FALSE(UrlSchemeAllowed("www.example.jp"));
  EXPECT_FALSE(UrlSchemeAllowed(""));
}

TEST(UntrustedBytes, ProposalsAndCommandTextsTakeAnyBytes) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::string s(rng() % 40, '\0');
    for (char& c : s) c = static_cast<char>(rng() % 6 == 0 ? "/\" :-\x81\xFC"[rng() % 7] : rng() % 256);
    const std::string line = UrlFromLine(s);
    const std::string sel = UrlFromSelection(s);
    EXPECT_LE(line.size(), s.size());
    EXPECT_LE(sel.size(), s.size());
    for (char c : line + sel) EXPECT_TRUE(c >= 0x21 && c <= 0x7E);
    const DirRequest r = ParseDirCommand(s);
    EXPECT_LE(r.path.size(), s.size());
  }
}

}  // namespace
}  // namespace haruvi::systools
