// Random patterns over the alphabet {a, A, ア, 表, ｱ, LF, CR}: the byte-table walk, the
// sorted-move walk and a small set-of-ends matcher written here over the pattern's own
// syntax tree must find the same leftmost-longest matches and GSub results.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "regex/awk_str.h"
#include "random_text.h"
#include "test_seed.h"
#include "regex/regex_error.h"

namespace haruvi::regex {
namespace {

struct Ast {
  enum Kind { Chars, Cat, Alt, Star, Plus, Opt } kind = Chars;
  std::string text;                                  // pattern text of a Chars atom
  std::vector<std::pair<Code, Code>> ranges;         // what it matches
  std::shared_ptr<Ast> a, b;
};
using AstPtr = std::shared_ptr<Ast>;

const std::vector<std::pair<Code, Code>> kDot = {{0x01, 0x09}, {0x0B, 0x0C}, {0x0E, 0xFCFC}};

std::vector<std::pair<Code, Code>> Minus(std::vector<std::pair<Code, Code>> set, Code lo, Code hi) {
  std::vector<std::pair<Code, Code>> out;
  for (auto [l, h] : set) {
    if (h < lo || l > hi) {
      out.emplace_back(l, h);
      continue;
    }
    if (l < lo) out.emplace_back(l, static_cast<Code>(lo - 1));
    if (h > hi) out.emplace_back(static_cast<Code>(hi + 1), h);
  }
  return out;
}

AstPtr Atom(std::mt19937& rng, bool anchor_chars) {
  struct A { const char* text; std::vector<std::pair<Code, Code>> ranges; };
  static const std::vector<A> atoms = {
      {"a", {{'a', 'a'}}},
      {"A", {{'A', 'A'}}},
      {"\x83\x41", {{0x8341, 0x8341}}},
      {"\x95\x5C", {{0x955C, 0x955C}}},
      {"\xB1", {{0xB1, 0xB1}}},
      {"\\n", {{'\n', '\n'}}},
      {"\\r", {{'\r', '\r'}}},
      {"\\\\", {{'\\', '\\'}}},
      {".", kDot},
      {"[aA]", {{'a', 'a'}, {'A', 'A'}}},
      {"[\x83\x41-\x95\x5C]", {{0x8341, 0x955C}}},
      {"[^a]", Minus(kDot, 'a', 'a')},
      {"[^\x95\x5C\xB1]", Minus(Minus(kDot, 0x955C, 0x955C), 0xB1, 0xB1)},
      {"[\\n\\r]", {{'\n', '\n'}, {'\r', '\r'}}},
  };
  static const std::vector<A> anchors = {{"^", {{'^', '^'}}}, {"$", {{'$', '$'}}}};
  const bool anchor = anchor_chars && std::uniform_int_distribution<int>(0, 3)(rng) == 0;
  const auto& from = anchor ? anchors : atoms;
  const A& pick = from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
  auto n = std::make_shared<Ast>();
  n->text = pick.text;
  n->ranges = pick.ranges;
  return n;
}

AstPtr Random(std::mt19937& rng, int depth, bool anchor_chars = false) {
  int k = depth >= 3 ? 0 : std::uniform_int_distribution<int>(0, 7)(rng);
  AstPtr n;
  if (k <= 3) {
    n = Atom(rng, anchor_chars);
  } else {
    n = std::make_shared<Ast>();
    n->kind = k <= 5 ? Ast::Cat : Ast::Alt;
    n->a = Random(rng, depth + 1, anchor_chars);
    n->b = Random(rng, depth + 1, anchor_chars);
  }
  int post = std::uniform_int_distribution<int>(0, 6)(rng);
  if (post <= 2) {
    auto p = std::make_shared<Ast>();
    p->kind = post == 0 ? Ast::Star : post == 1 ? Ast::Plus : Ast::Opt;
    p->a = n;
    return p;
  }
  return n;
}

std::string Text(const AstPtr& n) {
  switch (n->kind) {
    case Ast::Chars: return n->text;
    case Ast::Cat: return "(" + Text(n->a) + Text(n->b) + ")";
    case Ast::Alt: return "(" + Text(n->a) + "|" + Text(n->b) + ")";
    case Ast::Star: return "(" + Text(n->a) + ")*";
    case Ast::Plus: return "(" + Text(n->a) + ")+";
    case Ast::Opt: return "(" + Text(n->a) + ")?";
  }
  return "";
}

// Every end position of a match of n that starts at p.
std::set<std::size_t> Ends(const AstPtr& n, std::string_view s, std::size_t p) {
  std::set<std::size_t> out;
  switch (n->kind) {
    case Ast::Chars: {
      if (p >= s.size()) break;
      CharAt c = ReadChar(s, p);
      for (auto [lo, hi] : n->ranges)
        if (c.code >= lo && c.code <= hi) out.insert(c.next);
      break;
    }
    case Ast::Cat:
      for (std::size_t m : Ends(n->a, s, p))
        for (std::size_t e : Ends(n->b, s, m)) out.insert(e);
      break;
    case Ast::Alt:
      out = Ends(n->a, s, p);
      for (std::size_t e : Ends(n->b, s, p)) out.insert(e);
      break;
    case Ast::Opt:
      out = Ends(n->a, s, p);
      out.insert(p);
      break;
    case Ast::Star:
    case Ast::Plus: {
      std::set<std::size_t> frontier = n->kind == Ast::Star ? std::set<std::size_t>{p} : Ends(n->a, s, p);
      out = frontier;
      if (n->kind == Ast::Star) out.insert(p);
      while (!frontier.empty()) {
        std::set<std::size_t> next;
        for (std::size_t q : frontier)
          for (std::size_t e : Ends(n->a, s, q))
            if (out.insert(e).second) next.insert(e);
        frontier.swap(next);
      }
      break;
    }
  }
  return out;
}

MatchRange Search(const AstPtr& n, std::string_view s, std::size_t start) {
  for (std::size_t p = start;; p = ReadChar(s, p).next) {
    auto e = Ends(n, s, p);
    if (!e.empty()) return {true, p, *e.rbegin()};
    if (p >= s.size()) return {};
  }
}

// The GSub loop over the set-of-ends search (patterns here have no anchors).
int GSub(const AstPtr& n, const std::string& templ, std::string& subject) {
  MatchRange m = Search(n, subject, 0);
  if (!m.found) return 0;
  if (subject.empty()) {
    subject = templ;
    return 1;
  }
  std::string out;
  std::size_t rest = 0;
  int count = 0;
  while (m.found) {
    out += subject.substr(rest, m.start - rest) + templ;
    rest = m.end;
    if (m.start == m.end && rest < subject.size()) {
      std::size_t step = ReadChar(subject, rest).next - rest;
      if (subject[rest] == '\r' && rest + 1 < subject.size() && subject[rest + 1] == '\n') step = 2;
      out += subject.substr(rest, step);
      rest += step;
    }
    ++count;
    if (rest >= subject.size()) break;
    m = Search(n, subject, rest);
    if (m.found && m.start == subject.size()) break;  // the walk never starts at the very end
  }
  subject = out + subject.substr(rest);
  return count;
}

std::string RandomSubject(std::mt19937& rng, bool anchor_chars = false) {
  static const char* pieces[] = {"a", "A", "\x83\x41", "\x95\x5C", "\xB1", "\n", "\r", "^", "$", "x"};
  std::string s;
  int len = std::uniform_int_distribution<int>(0, 12)(rng);
  const std::size_t last = anchor_chars ? std::size(pieces) - 1 : 6;
  for (int i = 0; i < len; ++i) s += pieces[std::uniform_int_distribution<std::size_t>(0, last)(rng)];
  return s;
}

TEST(MatcherCrossCheck, TableWalkSortedWalkAndSetOfEndsAgree) {
  std::mt19937 rng(test::Seed(2024));
  int checked = 0;
  for (int round = 0; round < 1000; ++round) {
    AstPtr ast = Random(rng, 0);
    std::string pattern = Text(ast);
    TAWKStr fast, ref;
    ref.SetUseReferenceWalk(true);
    fast.SetRegExp(pattern);
    ref.SetRegExp(pattern);
    ASSERT_NE(fast.CurrentTable(), nullptr) << pattern;
    for (int k = 0; k < 8; ++k) {
      std::string s = RandomSubject(rng);
      MatchRange want = Search(ast, s, 0);
      if (want.found && want.start == s.size() && !s.empty()) want = {};
      MatchRange f = fast.Search(s), r = ref.Search(s);
      ASSERT_EQ(std::make_tuple(f.found, f.start, f.end), std::make_tuple(want.found, want.start, want.end))
          << "pattern " << pattern << " subject size " << s.size();
      ASSERT_EQ(std::make_tuple(r.found, r.start, r.end), std::make_tuple(f.found, f.start, f.end)) << pattern;
      std::string g1 = s, g2 = s, g3 = s;
      int n1 = fast.GSub("<>", g1), n2 = ref.GSub("<>", g2), n3 = GSub(ast, "<>", g3);
      ASSERT_EQ(n1, n3) << pattern;
      ASSERT_EQ(g1, g3) << pattern;
      ASSERT_EQ(n2, n1) << pattern;
      ASSERT_EQ(g2, g1) << pattern;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 1000 * 8);
}

// Inside x(...)x no "^" is reached from the start and no "$" leads to the end, so each
// stands for itself and shares its character with the dot and the negated classes.
TEST(MatcherCrossCheck, CaretAndDollarInsideArePlainCharacters) {
  std::mt19937 rng(test::Seed(4242));
  for (int round = 0; round < 600; ++round) {
    auto inner = Random(rng, 0, true);
    auto x = std::make_shared<Ast>();
    x->text = "x";
    x->ranges = {{'x', 'x'}};
    auto left = std::make_shared<Ast>();
    left->kind = Ast::Cat;
    left->a = x;
    left->b = inner;
    auto ast = std::make_shared<Ast>();
    ast->kind = Ast::Cat;
    ast->a = left;
    ast->b = x;
    const std::string pattern = Text(ast);
    TAWKStr fast, ref;
    ref.SetUseReferenceWalk(true);
    fast.SetRegExp(pattern);
    ref.SetRegExp(pattern);
    ASSERT_FALSE(fast.AnchoredHead() || fast.AnchoredTail()) << pattern;
    for (int k = 0; k < 8; ++k) {
      std::string s = RandomSubject(rng, true);
      MatchRange want = Search(ast, s, 0);
      if (want.found && want.start == s.size() && !s.empty()) want = {};
      MatchRange f = fast.Search(s), r = ref.Search(s);
      ASSERT_EQ(std::make_tuple(f.found, f.start, f.end), std::make_tuple(want.found, want.start, want.end)) << pattern;
      ASSERT_EQ(std::make_tuple(r.found, r.start, r.end), std::make_tuple(want.found, want.start, want.end)) << pattern;
    }
  }
}

// Anchors have no counterpart in the set-of-ends matcher: the two walks are compared.
TEST(MatcherCrossCheck, WalksAgreeWithAnchors) {
  std::mt19937 rng(test::Seed(77));
  for (int round = 0; round < 600; ++round) {
    std::string pattern = Text(Random(rng, 1));
    int where = round % 4;
    if (where == 0) pattern = "^" + pattern;
    else if (where == 1) pattern += "$";
    else if (where == 2) pattern = "(^" + pattern + "|a$)";
    else pattern = "^" + pattern + "$";
    for (auto sep : {mcls_CRLF, mcls_LF}) {
      TAWKStr fast, ref;
      fast.LineSeparator = ref.LineSeparator = sep;
      ref.SetUseReferenceWalk(true);
      fast.SetRegExp(pattern);
      ref.SetRegExp(pattern);
      for (int k = 0; k < 6; ++k) {
        std::string s = RandomSubject(rng);
        MatchRange f = fast.Search(s), r = ref.Search(s);
        ASSERT_EQ(std::make_tuple(f.found, f.start, f.end), std::make_tuple(r.found, r.start, r.end)) << pattern;
        std::string g1 = s, g2 = s;
        ASSERT_EQ(fast.GSub("[&]", g1), ref.GSub("[&]", g2)) << pattern;
        ASSERT_EQ(g1, g2) << pattern;
      }
    }
  }
}

}  // namespace
}  // namespace haruvi::regex

namespace haruvi::regex {
namespace {

// Long texts, where walks pass the memo's checkpoints: results with and without the memo
// must be equal (the memo-free walk is the one checked against the set-of-ends matcher).
TEST(MatcherCrossCheck, WalkMemoKeepsResultsOnLongTexts) {
  std::mt19937 rng(test::Seed(99));
  const char* shapes[] = {"a(.|\\r|\\n)*z", "(a|\\n|\\r)*b", "x(\\n|\\r|a|b)*y|a", "(b\\r\\n)+", "a.*$|^b",
                          "(.|\\r|\\n)*\x83\x41"};
  for (int round = 0; round < 60; ++round) {
    std::string pattern = shapes[round % std::size(shapes)];
    if (round >= 12) pattern = "(" + Text(Random(rng, 1)) + ")(.|\\r|\\n)*(" + Text(Random(rng, 2)) + ")";
    const std::string s = test::MostlyCommon(
        rng, std::uniform_int_distribution<std::size_t>(200, 3000)(rng),
        {"a", "x", "\r\n", "\n", "aaaa", "\x95\x5C"}, {"b", "y", "z", "\x83\x41"});
    for (auto sep : {mcls_CRLF, mcls_LF}) {
      TAWKStr with, without;
      with.LineSeparator = without.LineSeparator = sep;
      without.SetUseWalkMemo(false);
      with.SetRegExp(pattern);
      without.SetRegExp(pattern);
      for (std::size_t start : {std::size_t{0}, s.size() / 3}) {
        MatchRange a = with.Search(s, start), b = without.Search(s, start);
        ASSERT_EQ(std::make_tuple(a.found, a.start, a.end), std::make_tuple(b.found, b.start, b.end)) << pattern;
      }
      std::string g1 = s, g2 = s;
      ASSERT_EQ(with.GSub("<&>", g1), without.GSub("<&>", g2)) << pattern;
      ASSERT_EQ(g1, g2) << pattern;
    }
  }
}

// A closure over line ends made every start walk to the end of the text; with the memo a
// search over many such starts stays linear.
TEST(MatcherCrossCheck, CrossLineClosureOverManyStartsStaysFast) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "a" + std::string(48, 'x') + "\r\n";  // ~1 MB, no "z"
  TAWKStr awk;
  awk.SetRegExp("a(.|\\r|\\n)*z");
  auto t0 = std::chrono::steady_clock::now();
  std::string s = text;
  EXPECT_EQ(awk.GSub("", s), 0);
  text += "z";
  s = text;
  EXPECT_EQ(awk.GSub("", s), 1);
  EXPECT_EQ(s, "");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(seconds, 20.0);  // without the memo: about 20,000 walks of half a megabyte each
}

}  // namespace
}  // namespace haruvi::regex
