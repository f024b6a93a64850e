// Match and GSub of TAWKStr as table rows, each run with the byte-table walk and with the
// sorted-move walk, which must agree.
#include <gtest/gtest.h>

#include "regex/awk_str.h"
#include "regex/regex_error.h"
#include "support/sjis.h"

namespace haruvi::regex {
namespace {

using haruvi::test::S;

struct MatchRow {
  std::string pattern;
  std::string subject;
  TMatchCORE_LineSeparator sep;
  std::size_t position;  // 1-based, 0 = none
  std::size_t length;
};

TEST(AwkMatch, LeftmostLongestWithAnchors) {
  const MatchRow rows[] = {
      {"a|ab", "xabc", mcls_CRLF, 2, 2},
      {"^b", "ab\r\nbc", mcls_CRLF, 5, 1},
      {"c$", "abc\r\nxc", mcls_CRLF, 3, 1},
      {"c$", "abc\r\nxc", mcls_LF, 7, 1},
      {"^$", "abc\r\n", mcls_CRLF, 6, 0},
      {"$", "ab", mcls_CRLF, 3, 0},
      {"a^b", "xa^b", mcls_CRLF, 2, 3},
      {"a$b", "a$b", mcls_CRLF, 1, 3},
      {"(^a|b)", "ca\nab", mcls_CRLF, 4, 1},
      {"(^a|b)", "cb", mcls_CRLF, 2, 1},
      {"x*", "abc", mcls_CRLF, 1, 0},
      {"", "abc", mcls_CRLF, 1, 0},
      {"[0-9]+", "ab123c45", mcls_CRLF, 3, 3},
      {"[^a]", "aab", mcls_CRLF, 3, 1},
      {".", "\r\n", mcls_CRLF, 0, 0},
      {"a.c", "abc", mcls_CRLF, 1, 3},
      {"\\.", "a.b", mcls_CRLF, 2, 1},
      {"\\x00", std::string("a\0b", 3), mcls_CRLF, 0, 0},
      {"[^\\x01-\\xfcfc]", "abc", mcls_CRLF, 0, 0},
      // A "^" or "$" that stands for itself shares its character with the dot.
      {".|$n", "$", mcls_CRLF, 1, 1},
      {".|$n", "$n", mcls_CRLF, 1, 2},
      {"a(.|^x)", "a^x", mcls_CRLF, 1, 3},
      {"a(.|^x)", "a^", mcls_CRLF, 1, 2},
  };
  for (bool reference : {false, true}) {
    for (const auto& r : rows) {
      TAWKStr awk;
      awk.SetUseReferenceWalk(reference);
      awk.LineSeparator = r.sep;
      awk.SetRegExp(r.pattern);
      MatchPosition m = awk.Match(r.subject);
      EXPECT_EQ(m.position, r.position) << r.pattern << " ref=" << reference;
      EXPECT_EQ(m.length, r.length) << r.pattern << " ref=" << reference;
    }
  }
}

TEST(AwkMatch, NeverStartsOnATrailByte) {
  const MatchRow rows[] = {
      {"A", S("ア"), mcls_CRLF, 0, 0},             // ア = 83 41
      {"\\\\", S("表"), mcls_CRLF, 0, 0},          // 表 = 95 5C
      {"A", S("アA"), mcls_CRLF, 3, 1},
      {S("ア"), S("xアア"), mcls_CRLF, 2, 2},
      {".", S("表"), mcls_CRLF, 1, 2},
      {S("[ァ-ヶ]+"), S("aアイウb"), mcls_CRLF, 2, 6},
      {"\\x83", "\x83", mcls_CRLF, 1, 1},        // a lone lead byte at the end is itself
      {".", "\x83", mcls_CRLF, 1, 1},
  };
  for (bool reference : {false, true}) {
    for (const auto& r : rows) {
      TAWKStr awk;
      awk.SetUseReferenceWalk(reference);
      awk.SetRegExp(r.pattern);
      MatchPosition m = awk.Match(r.subject);
      EXPECT_EQ(m.position, r.position) << r.pattern << " ref=" << reference;
      EXPECT_EQ(m.length, r.length) << r.pattern << " ref=" << reference;
    }
  }
}

struct GSubRow {
  std::string pattern;
  std::string templ;
  std::string subject;
  std::string result;
  int count;
};

TEST(AwkGSub, ReplacesEveryMatchWithTheTemplate) {
  const GSubRow rows[] = {
      {"x*", "-", "abc", "-a-b-c", 3},
      {"\\r\\n", "", "a\r\nb\r\nc", "abc", 2},
      {"b", "[&]", "abc", "a[b]c", 1},
      {"b", "\\&", "abc", "a&c", 1},
      {"b", "\\\\", "abc", "a\\c", 1},
      {"b", "\\n\\t", "abc", "a\n\tc", 1},
      {"b", "\\x41\\101", "abc", "aAAc", 1},
      {"b", "\\q", "abc", "aqc", 1},
      {"[0-9]+", "<&>", "a12b3", "a<12>b<3>", 2},
      {"^", "> ", "ab\r\ncd", "> ab\r\n> cd", 2},
      {"z", "-", "abc", "abc", 0},
      {"x*", "-", "", "-", 1},
      {"$", "!", "ab\r\ncd", "ab!\r\ncd!", 2},
      {"x*", "-", "a\r\nb", "-a-\r\n-b", 3},
      {"x*", "-", S("表"), "-" + S("表"), 1},
      {"t", "&&", "C:\\temp", "C:\\ttemp", 1},
      {"%.*$", "", "a%b\r\nc%d", "a\r\nc", 2},
      // A line head stays a line head when the line end before it was replaced.
      {"\\n|^a", "X", "\na", "XX", 2},
      {"\\n|^a", "X", "a\na", "XXX", 3},
      {"\\r\\n|^a", "X", "\r\na\r\na", "XXXX", 4},
      {"\\n|^", "X", "\n", "X", 1},  // the empty line head at the very end is not replaced
      // ... and nothing else is: after a replaced "b" the "a" is mid-line.
      {"b|^a", "X", "ba", "Xa", 1},
      {"\\r|^a", "X", "\ra", "Xa", 1},
  };
  for (bool reference : {false, true}) {
    for (const auto& r : rows) {
      TAWKStr awk;
      awk.SetUseReferenceWalk(reference);
      awk.SetRegExp(r.pattern);
      std::string s = r.subject;
      EXPECT_EQ(awk.GSub(r.templ, s), r.count) << r.pattern << " / " << r.templ;
      EXPECT_EQ(s, r.result) << r.pattern << " / " << r.templ << " ref=" << reference;
    }
  }
}

TEST(AwkGSub, TemplateErrorsRaiseAndLeaveTheSubject) {
  TAWKStr awk;
  awk.SetRegExp("b");
  std::string s = "abc";
  EXPECT_THROW(awk.GSub("x\\", s), ERegExpParser);
  EXPECT_THROW(awk.GSub("\\xz", s), ERegExpParser);
  EXPECT_EQ(s, "abc");
}

TEST(AwkGSub, TexStrippingPatternsCompileAndApply) {
  const char* patterns[] = {
      "\\\\document(class|style)[^{}]*{[^}]*}", "\\\\usepackage[^{}]*{[^}]*}", "\\\\pagestyle{.*}",
      "\\\\begin({.*}|\\[.*\\])+", "\\\\end{.*}", "\\\\[vh]space{.*}", "\\\\parbox\\[.*\\]{.*}",
      "%.*$"};
  std::string text = "\\documentclass[a4j]{jarticle}\r\n\\begin{document}\r\nHello % note\r\n\\end{document}\r\n";
  TAWKStr awk;
  for (const char* p : patterns) {
    awk.SetRegExp(p);
    awk.GSub("", text);
  }
  awk.SetRegExp(S("\\\\[@a-zA-Z０-ω亜-熙]+"));
  awk.GSub("", text);
  EXPECT_EQ(text, "\r\n\r\nHello \r\n\r\n");
}

}  // namespace
}  // namespace haruvi::regex
