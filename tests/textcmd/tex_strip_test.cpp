// TeX stripping: each command pattern, comments, and the empty braces left over.
#include <gtest/gtest.h>

#include "textcmd/tex_strip.h"
#include "sjis_text.h"

namespace haruvi::textcmd {
namespace {

using test::Sj;

TEST(StripTex, CommandsCommentsAndEmptyBraces) {
  struct Row {
    std::string tex, text;
  } rows[] = {
      {"\\section{Intro} text % note", "{Intro} text "},
      {"\\documentclass[a4j]{jarticle}\r\nbody\r\n", "\r\nbody\r\n"},
      {"\\documentstyle{article}x", "x"},
      {"\\usepackage[dvips]{graphicx}\r\n", "\r\n"},
      {"\\pagestyle{empty}\r\n", "\r\n"},
      {"\\begin{document}\r\nA\r\n\\end{document}\r\n", "\r\nA\r\n\r\n"},
      {"\\begin{tabular}[t]{ll}x", "x"},
      {"\\vspace{1cm}a\r\n\\hspace{2em}b", "a\r\nb"},
      // ".*" takes the longest match: up to the last brace of the line.
      {"\\vspace{1cm}a\\hspace{2em}b", "b"},
      {"\\parbox[t]{5cm}{z}", ""},
      {"\\textbf{bold} and \\item[] done", "{bold} and  done"},
      {"100\\% sure", "100\\"},
      {"a % one\r\nb % two\r\nc", "a \r\nb \r\nc"},
      {"{} [] {{}}", "  {}"},
      {"", ""},
  };
  for (const auto& r : rows) EXPECT_EQ(StripTex(r.tex), r.text) << r.tex;
}

TEST(StripTex, FullWidthAndKanjiCommandNames) {
  EXPECT_EQ(StripTex(Sj("\\見出し{題}本文")), Sj("{題}本文"));
  EXPECT_EQ(StripTex(Sj("\\ＡＢ あ")), Sj(" あ"));
}

TEST(StripTex, PatternsStayOnTheirLine) {
  // ".*" stops at the line end: the brace on the next line is not part of the match.
  EXPECT_EQ(StripTex("\\end{a\r\nb}"), "{a\r\nb}");
}

}  // namespace
}  // namespace haruvi::textcmd
