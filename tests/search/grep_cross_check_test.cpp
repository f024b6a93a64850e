// Random patterns over random files: every scanner, with tiny and real block sizes, must
// report exactly the lines an independent oracle finds by decoding the whole file into
// the grep character stream and trying the automaton from every character.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "../regex/random_text.h"
#include "../regex/test_seed.h"
#include "regex/regex_error.h"
#include "search/grep.h"
#include "support/temp_dir.h"

namespace haruvi::search {
namespace {

using haruvi::test::TempDir;
using regex::Code;
using Lines = std::vector<std::pair<std::int64_t, std::string>>;

// The file as the grep automaton sees it, and which line each character starts belongs to.
Lines Oracle(const regex::TRE_DFA& dfa, const std::string& raw) {
  std::string t = raw;
  if (!t.empty() && t.back() != '\n') t.push_back('\n');
  std::vector<Code> codes{'\n'};
  for (std::size_t i = 0; i < t.size();) {
    auto b = static_cast<unsigned char>(t[i]);
    if (b == '\r') {
      codes.push_back('\n');
      i += (i + 1 < t.size() && t[i + 1] == '\n') ? 2 : 1;
    } else if (b == 0) {
      codes.push_back(' ');
      ++i;
    } else if (regex::IsLeadByte(b) && i + 1 < t.size() && t[i + 1] != '\n' && t[i + 1] != '\r') {
      auto n = static_cast<unsigned char>(t[i + 1]);
      codes.push_back(static_cast<Code>(b << 8 | (n == 0 ? ' ' : n)));
      i += 2;
    } else {
      codes.push_back(b);
      ++i;
    }
  }
  // Raw lines.
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r' || t[i] == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
    } else {
      cur.push_back(t[i]);
    }
  }
  std::vector<int> territory;
  int line = 0;
  for (Code c : codes) {
    if (c == '\n') ++line;
    territory.push_back(line);
  }
  std::vector<bool> hit(lines.size() + 2, false);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    int s = dfa.FindMove(dfa.Initial(), codes[i]);
    std::size_t j = i + 1;
    while (s >= 0) {
      if (dfa.States()[static_cast<std::size_t>(s)].accepting) {
        hit[static_cast<std::size_t>(territory[i])] = true;
        break;
      }
      if (j >= codes.size()) break;
      s = dfa.FindMove(s, codes[j++]);
    }
  }
  Lines out;
  for (std::size_t l = 1; l <= lines.size(); ++l)
    if (hit[l]) out.emplace_back(static_cast<int>(l), lines[l - 1]);
  return out;
}

std::string Hex(const std::string& s) {
  std::string out;
  char buf[4];
  for (unsigned char c : s) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    out += buf;
  }
  return out;
}

std::string RandomPattern(std::mt19937& rng, int depth) {
  static const char* atoms[] = {"a",  "A", "\x83\x41", "\x95\x5C", "\\\\", "\\n", "^", "$", ".",
                                "[a-z]", "[^a]", "[\x83\x40-\x83\x96]", " ", "x", "@", "\\r", "()"};
  std::uniform_int_distribution<int> pick(0, 9);
  int k = depth > 2 ? 0 : pick(rng);
  std::string p;
  if (k <= 4) {
    p = atoms[std::uniform_int_distribution<std::size_t>(0, std::size(atoms) - 1)(rng)];
  } else if (k <= 6) {
    p = RandomPattern(rng, depth + 1) + RandomPattern(rng, depth + 1);
  } else if (k == 7) {
    p = "(" + RandomPattern(rng, depth + 1) + "|" + RandomPattern(rng, depth + 1) + ")";
  } else {
    p = "(" + RandomPattern(rng, depth + 1) + ")";
  }
  int post = pick(rng);
  if (post == 0) p += "*";
  else if (post == 1) p += "+";
  else if (post == 2) p += "?";
  return p;
}

std::string RandomText(std::mt19937& rng) {
  static const char bytes[] = {'a', 'A', 'x', ' ', '\0', '\r', '\n', '\x83', '\x41', '\x95', '\x5C', '\x81', '@', 'b'};
  std::string t(std::uniform_int_distribution<std::size_t>(0, 40)(rng), 'a');
  for (char& c : t) c = bytes[std::uniform_int_distribution<std::size_t>(0, std::size(bytes) - 1)(rng)];
  return t;
}

TEST(GrepCrossCheck, EveryScannerAgreesWithTheOracle) {
  std::mt19937 rng(test::Seed(5));
  TempDir dir;
  const TGrep::Scanner scanners[] = {TGrep::Scanner::Nothing, TGrep::Scanner::LineAutomaton,
                                     TGrep::Scanner::Automaton};
  int compared = 0;
  for (int round = 0; round < 400; ++round) {
    std::string pattern = RandomPattern(rng, 0);
    TGrep g;
    try {
      g.SetUseFuzzyCharDic(round % 5 == 0);
      g.SetRegExp(pattern);
    } catch (const regex::ERegExpParser&) {
      continue;
    }
    for (int file = 0; file < 4; ++file) {
      std::string text = RandomText(rng);
      auto path = dir.Write("r.txt", text);
      Lines want = g.CurrentScanner() == TGrep::Scanner::Nothing ? Lines{} : Oracle(g.CurrentDFA(), text);
      for (auto scanner : scanners) {
        for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, TTxtFile::kBlockSize}) {
          g.ForceScanner(scanner);
          g.SetBlockSize(block);
          g.SetMapFrom(block == 2 ? 1 : TTxtFile::kMapFrom);  // mapped windows too
          g.SetUsePrefilter(block != 3);  // the line automaton on every line, or on candidates
          Lines got;
          g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { got.emplace_back(li.LineNo, li.Line); };
          g.GrepFile(path);
          ASSERT_EQ(got, want) << "pattern '" << pattern << "' scanner " << static_cast<int>(scanner)
                               << " block " << block << " text " << Hex(text);
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 3000);
}

}  // namespace
}  // namespace haruvi::search

namespace haruvi::search {
namespace {

// Patterns that run past line ends use the automaton scanner; on long files its walks
// pass the memo's checkpoints, and the lines must be the oracle's all the same.
TEST(GrepCrossCheck, CrossLinePatternsOnLongFiles) {
  std::mt19937 rng(test::Seed(31));
  TempDir dir;
  const char* patterns[] = {"a(.|\\n)*z", "(a|\\n)*b", "x\\n*y", "^a(\\n|a)*$", "(\x83\x41|\\n)+z", "b\\n\\na"};
  for (int round = 0; round < 36; ++round) {
    const std::string text = test::MostlyCommon(
        rng, std::uniform_int_distribution<std::size_t>(300, 4000)(rng),
        {"a", "aaa", "\r\n", "\n", "\r", "x", " "}, {"b", "y", "z", "\x83\x41"});
    auto path = dir.Write("long.txt", text);
    TGrep g;
    g.SetRegExp(patterns[round % std::size(patterns)]);
    Lines want = Oracle(g.CurrentDFA(), text);
    for (bool memo : {true, false}) {
      for (std::size_t block : {std::size_t{7}, TTxtFile::kBlockSize}) {
        g.ForceScanner(TGrep::Scanner::Automaton);
        g.SetUseWalkMemo(memo);
        g.SetBlockSize(block);
        Lines got;
        g.OnMatch = [&](TGrep&, RE_LineInfo_t& li) { got.emplace_back(li.LineNo, li.Line); };
        g.GrepFile(path);
        ASSERT_EQ(got, want) << patterns[round % std::size(patterns)] << " memo " << memo << " block " << block;
      }
    }
  }
}

}  // namespace
}  // namespace haruvi::search
