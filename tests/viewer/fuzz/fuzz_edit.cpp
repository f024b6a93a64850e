// libFuzzer target: the edit model on any text and any edits, undo and redo, checked
// against a string edited the same way (its bytes and its line count) after each step.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "viewer/edit_document.h"

namespace {

std::size_t Lines(const std::string& s) {
  std::size_t lines = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' || (s[i] == '\r' && (i + 1 == s.size() || s[i + 1] != '\n'))) ++lines;
  }
  return lines + (!s.empty() && s.back() != '\r' && s.back() != '\n' ? 1 : 0);
}

}  // namespace

// Input: a text up to the first 0xFF byte, then edits of 4 bytes: kind, offset, length
// and the count of bytes to insert that follow.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = std::min(in.find('\xff'), in.size());
  haruvi::viewer::TextDocument shown;
  shown.SetBytes(std::string(in.substr(0, cut)));
  std::string ref = shown.TextCrLf();
  haruvi::viewer::EditDocument doc(std::move(shown));
  std::vector<std::string> undo, redo;
  for (std::size_t p = cut + 1; p + 4 <= in.size();) {
    const auto kind = static_cast<std::uint8_t>(in[p]) % 4;
    const std::size_t at = static_cast<std::uint8_t>(in[p + 1]), length = static_cast<std::uint8_t>(in[p + 2]) % 8;
    const std::size_t count = std::min<std::size_t>(static_cast<std::uint8_t>(in[p + 3]) % 8, in.size() - p - 4);
    const std::string bytes(in.substr(p + 4, count));
    p += 4 + count;
    if (kind == 2) {
      const bool done = doc.Undo() != SIZE_MAX;
      if (done != !undo.empty()) std::abort();
      if (done) redo.push_back(ref), ref = undo.back(), undo.pop_back();
    } else if (kind == 3) {
      const bool done = doc.Redo() != SIZE_MAX;
      if (done != !redo.empty()) std::abort();
      if (done) undo.push_back(ref), ref = redo.back(), redo.pop_back();
    } else {
      const std::size_t a = std::min(at, ref.size()), n = kind == 0 ? 0 : std::min(length, ref.size() - a);
      if (n == 0 && bytes.empty()) continue;
      undo.push_back(ref);
      redo.clear();
      doc.Replace(at, kind == 0 ? 0 : length, bytes);
      ref.replace(a, n, bytes);
    }
    if (doc.TextCrLfLength() != ref.size() || doc.LineCount() != Lines(ref)) std::abort();
    if (doc.LineCount() && doc.LineOfOffset(at) >= doc.LineCount()) std::abort();
  }
  if (doc.Bytes() != ref) std::abort();
  return 0;
}
