// Bodies of the regex fuzz targets, shared by the libFuzzer programs (clang builds) and
// the randomized GoogleTest that runs the same paths in every build. Each aborts on a
// broken invariant; sanitizers catch the rest.
#pragma once

#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "regex/awk_str.h"
#include "regex/parser.h"
#include "regex/regex_error.h"

namespace haruvi::regex::fuzz {

inline void Require(bool ok) {
  if (!ok) std::abort();
}

// Pattern in, tree or error out; then the pattern compiled and run on a fixed text.
inline void FuzzParser(const std::uint8_t* data, std::size_t size) {
  std::string pattern(reinterpret_cast<const char*>(data), size);
  try {
    TREParser p(pattern);
    p.Run();
    Require(!p.Tree().Dump().empty());
  } catch (const ERegExpParser& e) {
    Require(e.Position() >= 1 && e.Position() <= pattern.size() + 1);
    return;
  }
  for (bool fuzzy : {false, true}) {
    TAWKStr awk;
    try {
      awk.SetUseFuzzyCharDic(fuzzy);
      awk.SetRegExp(pattern);
    } catch (const ERegExpParser&) {
      continue;  // too complex, or an error only the expanded pattern has
    }
    MatchPosition m = awk.Match("ab\r\n\x83\x41\x95\x5C c");
    Require(m.position == 0 || m.position + m.length <= 11);
  }
}

// Input: flags byte, then pattern NUL template NUL subject. GSub through the byte table
// and through the sorted walk must agree, and so must GSub in pieces.
inline void FuzzGSub(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return;
  const std::string_view in(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t a = in.find('\0');
  const std::size_t b = a == std::string_view::npos ? a : in.find('\0', a + 1);
  const std::string pattern(in.substr(0, a));
  const std::string templ(a == std::string_view::npos ? std::string_view{} : in.substr(a + 1, b - a - 1));
  const std::string subject(b == std::string_view::npos ? std::string_view{} : in.substr(b + 1));
  TAWKStr fast, ref;
  ref.SetUseReferenceWalk(true);
  fast.LineSeparator = ref.LineSeparator = (data[0] & 1) ? mcls_LF : mcls_CRLF;
  try {
    fast.SetUseFuzzyCharDic(data[0] & 2);
    ref.SetUseFuzzyCharDic(data[0] & 2);
    fast.SetRegExp(pattern);
    ref.SetRegExp(pattern);
  } catch (const ERegExpParser&) {
    return;
  }
  std::string s1 = subject, s2 = subject;
  int n1 = -1, n2 = -2;
  try {
    n1 = fast.GSub(templ, s1);
  } catch (const ERegExpParser&) {
    n1 = -1;
    s1 = subject;
  }
  try {
    n2 = ref.GSub(templ, s2);
  } catch (const ERegExpParser&) {
    n2 = -1;
    s2 = subject;
  }
  Require(n1 == n2 && s1 == s2);
  Require(n1 != 0 || s1 == subject);
  if (n1 < 0) return;
  // GSub in pieces: windows growing by 1 to 16 bytes (flag bits) give the same text.
  const std::size_t step = 1 + (data[0] >> 2) % 16;
  TAWKStr::PieceState state;
  std::string out;
  for (std::size_t taken = 0, held = 0;;) {
    held = std::min(subject.size(), held + step);
    const bool last = held == subject.size();
    taken += fast.GSubPiece(templ, std::string_view(subject).substr(taken, held - taken), last, out, state);
    if (last) break;
  }
  Require(out == s1 && state.count == n1);
}

}  // namespace haruvi::regex::fuzz
