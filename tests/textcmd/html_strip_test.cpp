// HTML stripping: tag rules, PRE blocks, comments, entities and cancellation.
#include <gtest/gtest.h>

#include "textcmd/html_strip.h"
#include "sjis_text.h"

namespace haruvi::textcmd {
namespace {

using namespace test;  // Sj, Views, Strings, V

V Strip(const std::string& text) { return Strings(SplitLines(StripHtml(SplitLines(text)).text)); }

// The empty line after the first output line is there even when the text is one line.
TEST(StripHtml, LineBreakingTagsAndTheInsertedEmptyLine) {
  struct Row {
    std::string html;
    V lines;
  } rows[] = {
      {"<P>Hello<BR>World</P>", {"", "", "Hello", "World"}},
      {"<p align=center>x", {"x", ""}},
      {"<!-- a --> b", {" b", ""}},
      {"<UL><LI>one<LI>two</UL>", {"", "", Sj("・one"), Sj("・two")}},
      {"no tags\r\nat all", {"no tagsat all", ""}},
      {"ab\r\ncd", {"abcd", ""}},
      {"<title>T</title>body<hr size=2>end",
       {"T", "", "body", std::string(60, '-'), "end"}},
      {"<OL>x</ol>", {"", "", "#.x"}},
      {"<h1>Head</H1>text</html>", {"Head", "", "text"}},
      {"a > b <i>c</i>", {" b c", ""}},
      {"", {}},
      {"<b></b>", {}},
  };
  for (const auto& r : rows) EXPECT_EQ(Strip(r.html), r.lines) << r.html;
}

TEST(StripHtml, TagsSpanningLinesAndNestedMarkup) {
  EXPECT_EQ(Strip("<p\r\nclass=x>one<b\r\n>two</b>"), (V{"onetwo", ""}));
  EXPECT_EQ(Strip("<div><table><tr><td>a</td><td>b</td></tr></table></div>"),
            (V{"a", "", "b", ""}));
  EXPECT_EQ(Strip("<a href=\"x\"><b>bold</b></a> after<br>"), (V{"bold after", ""}));
}

TEST(StripHtml, PreKeepsSourceLinesAndEndsWithItsTag) {
  EXPECT_EQ(Strip("<pre>a  b\r\n  c\r\n</PRE>d\r\ne"), (V{"a  b", "", "  c", "de"}));
}

TEST(StripHtml, EntitiesInOrderCaseIgnoredAndAcrossLines) {
  EXPECT_EQ(Strip("a &amp;lt; b"), (V{"a &lt; b", ""}));
  EXPECT_EQ(Strip("&LT;&Gt;&quot;&reg;&COPY;&nbsp;&amp;"), (V{"<>\"(R)(C) &", ""}));
  EXPECT_EQ(Strip("x &am\r\np; y"), (V{"x & y", ""}));
  // Rewritten in place: entities next to each other and at both ends.
  EXPECT_EQ(Strip("&copy;&COPY;x&nbsp;&amp;amp;&lt"), (V{"(C)(C)x &amp;&lt", ""}));
  // Inside PRE the halves stay on their own lines.
  EXPECT_EQ(Strip("<pre>x &am\r\np; y"), (V{"x &am", "", "p; y"}));
}

TEST(StripHtml, UnterminatedCommentsAndTagsDoNotHang) {
  EXPECT_EQ(Strip("a <!-- never closed\r\nstill"), (V{"a <!-- never closedstill", ""}));
  EXPECT_EQ(Strip("a <b never closed"), (V{"a <b never closed", ""}));
  EXPECT_EQ(Strip("<!-- one --><!-- two -->x"), (V{"x", ""}));
  std::string big = "<!--";
  for (int i = 0; i < 100000; ++i) big += "comment line without an end\r\n";
  EXPECT_EQ(Strip(big).size(), 2u);
}

TEST(StripHtml, CancelKeepsOutputAndSkipsEntities) {
  int asked = 0;
  auto cancel_on_second = [&] { return ++asked == 2; };
  V lines = {"&amp;<br>one", "two", "three"};
  std::vector<std::string_view> views(lines.begin(), lines.end());
  HtmlResult r = StripHtml(views, cancel_on_second);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(Strings(SplitLines(r.text)), (V{"&amp;", "one", std::string(kCancelledLine)}));
}

TEST(StripHtml, AWholePage) {
  const std::string page = Sj(
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
      "<HTML>\r\n<HEAD>\r\n<TITLE>日本語の&quot;頁&quot;</TITLE>\r\n"
      "<!-- 更新履歴\r\n  1998/04/01 -->\r\n</HEAD>\r\n"
      "<BODY BGCOLOR=\"#FFFFFF\">\r\n<H1>見出し</H1>\r\n"
      "<P>最初の段落は\r\n二行に渡る。<BR>\r\n"
      "<A HREF=\"next.html\">次へ</A> &amp; <B>太字</B>\r\n"
      "<HR SIZE=2>\r\n<PRE>\r\n  整形済み &lt;x&gt;\r\n\tタブ\r\n</PRE>\r\n"
      "<UL>\r\n<LI>一つ目\r\n<LI>二つ目\r\n</UL>\r\n"
      "<ADDRESS>著者</ADDRESS>&copy; 1998\r\n</BODY>\r\n</HTML>\r\n");
  // "</HEAD>" and "</HTML>" break lines like closing headings; "</ADDRESS>" breaks,
  // "<ADDRESS>" does not.
  const std::vector<std::string> want = Sj(std::vector<std::string>{
      "日本語の\"頁\"",
      "",
      "",
      "見出し",
      "",
      "最初の段落は二行に渡る。",
      "次へ & 太字",
      "------------------------------------------------------------",
      "",
      "  整形済み <x>",
      "\tタブ",
      "",
      "・一つ目",
      "・二つ目著者",
      "(C) 1998",
  });
  EXPECT_EQ(Strip(page), want);
}

TEST(LineBreakingTag, ExactNamesOrTwoLetterPrefixes) {
  for (const char* yes : {"br", "P", "/p", "/tr", "/td", "li", "/dl", "ol", "/blockquote", "/title",
                          "/address", "fn", "/center", "/h2", "/HEAD", "hr", "HR SIZE=2"})
    EXPECT_TRUE(IsLineBreakingTag(yes)) << yes;
  for (const char* no : {"P ALIGN=CENTER", "BR ", "b", "td", "/ul", "h1", "/ol", ""})
    EXPECT_FALSE(IsLineBreakingTag(no)) << no;
}

}  // namespace
}  // namespace haruvi::textcmd
