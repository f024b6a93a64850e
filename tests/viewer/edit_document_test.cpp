// The edit model against a plain string edited the same way: every query after every
// step of random edits, undo and redo, with edits inside CR LF pairs and two-byte
// characters; and an unedited model answers as the shown document does.
#include <gtest/gtest.h>

#include <random>

#include "viewer/edit_document.h"

namespace haruvi::viewer {
namespace {

// The viewer's line rule on a string, the slow way.
struct RefLine {
  std::size_t start, end, next;
};
std::vector<RefLine> SplitLines(const std::string& s) {
  std::vector<RefLine> lines;
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t end = pos;
    while (end < s.size() && s[end] != '\r' && s[end] != '\n') ++end;
    std::size_t next = end;
    if (next < s.size()) next += (s[next] == '\r' && next + 1 < s.size() && s[next + 1] == '\n') ? 2 : 1;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

EditDocument Make(const std::string& text) {
  TextDocument d;
  d.SetBytes(text);
  return EditDocument(std::move(d));
}

// Every query of the model against the string it should hold.
void ExpectSame(const EditDocument& doc, const std::string& ref, const std::string& where) {
  SCOPED_TRACE(where);
  ASSERT_EQ(doc.TextCrLfLength(), ref.size());
  ASSERT_EQ(doc.Bytes(), ref);
  const std::vector<RefLine> lines = SplitLines(ref);
  ASSERT_EQ(doc.LineCount(), lines.size());
  std::size_t longest = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(doc.Line(i), ref.substr(lines[i].start, lines[i].end - lines[i].start)) << "line " << i;
    ASSERT_EQ(doc.LineStart(i), lines[i].start) << "line " << i;
    longest = std::max(longest, lines[i].end - lines[i].start);
  }
  EXPECT_EQ(doc.LineStart(lines.size()), ref.size());
  EXPECT_EQ(doc.Line(lines.size()), "");
  EXPECT_GE(doc.MaxLineLength(), longest);
  std::size_t line = 0;
  for (std::size_t off = 0; off <= ref.size() + 1; ++off) {
    while (line + 1 < lines.size() && lines[line + 1].start <= off) ++line;
    ASSERT_EQ(doc.LineOfOffset(off), line) << "offset " << off;
  }
  for (std::size_t a = 0; a <= ref.size(); a += 3)
    ASSERT_EQ(doc.SliceCrLf(a, 5), ref.substr(a, 5)) << "slice at " << a;
}

// Bytes that make line ends and characters interesting: halves of CR LF, a Shift_JIS
// character (lead 0x82), a NUL.
std::string RandomBytes(std::mt19937& rng, std::size_t max_length) {
  static const char* const kAtoms[] = {"a", "b", "\r", "\n", "\r\n", "\x82\xa0", "\x82", std::string_view("\0", 1).data()};
  std::string out;
  const std::size_t n = rng() % (max_length + 1);
  while (out.size() < n) {
    const std::size_t k = rng() % 8;
    if (k == 7) out.push_back('\0'); else out += kAtoms[k];
  }
  return out;
}

TEST(EditDocument, UneditedAnswersAsTheShownDocument) {
  for (const char* text : {"", "a", "a\r\n", "a\r\nb", "a\nb\n", "a\rb\r", "a\n\r\nb", "\n\n", "a\r\rb",
                           "\r", "\n", "\r\n\r", "x\ry\nz\r\nw", "\x82\xa0\r\x82\n"}) {
    TextDocument shown;
    shown.SetBytes(std::string(text));
    EditDocument doc = Make(text);
    SCOPED_TRACE(testing::PrintToString(std::string(text)));
    ASSERT_EQ(doc.LineCount(), shown.LineCount());
    EXPECT_EQ(doc.Bytes(), shown.TextCrLf());
    EXPECT_EQ(doc.TextCrLfLength(), shown.TextCrLfLength());
    EXPECT_EQ(doc.MaxLineLength(), shown.MaxLineLength());
    for (std::size_t i = 0; i <= shown.LineCount(); ++i) {
      EXPECT_EQ(doc.Line(i), shown.Line(i)) << i;
      EXPECT_EQ(doc.LineStart(i), shown.LineStart(i)) << i;
    }
    for (std::size_t off = 0; off <= shown.TextCrLfLength() + 2; ++off) {
      EXPECT_EQ(doc.LineOfOffset(off), shown.LineOfOffset(off)) << off;
      EXPECT_EQ(doc.SliceCrLf(off, 3), shown.SliceCrLf(off, 3)) << off;
    }
  }
}

TEST(EditDocument, KeepsTheLoadedBytesWhereTheyAre) {
  std::string text(1 << 16, 'a');
  for (std::size_t i = 100; i < text.size(); i += 100) text[i] = '\n';
  TextDocument shown;
  shown.SetBytes(ByteBuffer(std::move(text)));
  const char* before = shown.Bytes().data();
  EditDocument doc(std::move(shown));
  EXPECT_EQ(doc.Original().Bytes().data(), before);
  doc.Insert(doc.LineStart(4) + 49, "xy");  // lines of 99 bytes after the first
  EXPECT_EQ(doc.Original().Bytes().data(), before);
  EXPECT_EQ(doc.Line(4), std::string(49, 'a') + "xy" + std::string(50, 'a'));
}

TEST(EditDocument, EditsThatSplitOrJoinCrLfPairs) {
  struct Row { const char* text; int op; std::size_t at, length; const char* bytes; const char* want; } rows[] = {
      {"a\r\nb", 0, 2, 0, "x", "a\rx\nb"},       // between CR and LF: two line ends
      {"a\r\nb", 1, 1, 1, "", "a\nb"},           // erase the CR half
      {"a\r\nb", 1, 2, 1, "", "a\rb"},           // erase the LF half
      {"a\r\nb\r\nc", 1, 2, 3, "", "a\r\nc"},  // erasing between joins a pair
      {"a\r", 0, 3, 0, "\n", "a\r\n\n"},       // the lone CR is shown as CR LF
      {"a\nb", 0, 1, 0, "\r", "a\r\r\nb"},       // original's lone LF is shown as CR LF
      {"\x82\xa0\x82\xa0", 0, 1, 0, "\r\n", "\x82\r\n\xa0\x82\xa0"},  // inside a character
      {"ab\r\ncd", 2, 1, 3, "\n", "a\ncd"},
  };
  for (const Row& r : rows) {
    EditDocument doc = Make(r.text);
    if (r.op == 0) doc.Insert(r.at, r.bytes);
    if (r.op == 1) doc.Erase(r.at, r.length);
    if (r.op == 2) doc.Replace(r.at, r.length, r.bytes);
    ExpectSame(doc, r.want, r.text);
    doc.Undo();
    TextDocument shown;
    shown.SetBytes(std::string(r.text));
    ExpectSame(doc, shown.TextCrLf(), std::string("undone ") + r.text);
  }
}

TEST(EditDocument, RandomEditsUndoAndRedoMatchAString) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 60; ++round) {
    const std::string start = RandomBytes(rng, 30);
    EditDocument doc = Make(start);
    TextDocument shown;
    shown.SetBytes(start);
    std::string ref = shown.TextCrLf();
    std::vector<std::string> undo, redo;  // the text before each group, and after
    bool open = false, used = false;       // a group is open; it holds an edit
    for (int step = 0; step < 40; ++step) {
      const std::string where = "round " + std::to_string(round) + " step " + std::to_string(step);
      const std::size_t op = rng() % 10;
      const std::size_t at = rng() % (ref.size() + 3), length = rng() % 6;
      if (op < 6) {
        const std::string bytes = op < 2 ? std::string() : RandomBytes(rng, 5);
        const std::size_t a = std::min(at, ref.size()), n = std::min(length, ref.size() - a);
        const std::size_t erase = op < 4 ? n : 0;
        if (erase == 0 && bytes.empty()) continue;
        if (!open || !used) undo.push_back(ref);
        used = open;
        redo.clear();
        if (op < 4) doc.Replace(at, length, bytes); else doc.Insert(at, bytes);
        ref.replace(a, erase, bytes);
      } else if (op == 6) {
        if (!open) doc.BeginGroup(), open = true, used = false;
      } else if (op == 7) {
        doc.EndGroup();
        open = false;
      } else if (op == 8) {
        open = false;
        const std::size_t caret = doc.Undo();
        ASSERT_EQ(caret == SIZE_MAX, undo.empty()) << where;
        if (undo.empty()) continue;
        redo.push_back(ref);
        ref = undo.back();
        undo.pop_back();
        EXPECT_LE(caret, ref.size()) << where;
      } else {
        open = false;
        const std::size_t caret = doc.Redo();
        ASSERT_EQ(caret == SIZE_MAX, redo.empty()) << where;
        if (redo.empty()) continue;
        undo.push_back(ref);
        ref = redo.back();
        redo.pop_back();
      }
      EXPECT_EQ(doc.CanUndo(), !undo.empty()) << where;
      ExpectSame(doc, ref, where);
    }
  }
}

TEST(EditDocument, TypingInAGroupUndoesAtOnce) {
  EditDocument doc = Make("line one\r\nline two\r\n");
  doc.BeginGroup();
  for (std::size_t i = 0; i < 5; ++i) doc.Insert(14 + i, "x");
  doc.EndGroup();
  doc.Insert(0, "\r\n");
  EXPECT_EQ(doc.Line(2), "linexxxxx two");
  EXPECT_EQ(doc.Undo(), 0u);
  EXPECT_EQ(doc.Undo(), 14u);
  EXPECT_EQ(doc.Bytes(), "line one\r\nline two\r\n");
  EXPECT_FALSE(doc.CanUndo());
  EXPECT_EQ(doc.Undo(), SIZE_MAX);
  EXPECT_EQ(doc.Redo(), 19u);
  EXPECT_EQ(doc.Line(1), "linexxxxx two");
  doc.Erase(0, 1);  // a new edit forgets what could be redone
  EXPECT_FALSE(doc.CanRedo());
}

TEST(EditDocument, ManyLinesStayInStepWithAString) {
  std::mt19937 rng(7);
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    text += std::string(rng() % 40, 'k') + "\x82\xa0";
    const char* ends[] = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
    text += ends[rng() % 5];
  }
  EditDocument doc = Make(text);
  TextDocument shown;
  shown.SetBytes(text);
  std::string ref = shown.TextCrLf();
  for (int step = 0; step < 300; ++step) {
    const std::size_t at = rng() % ref.size(), length = rng() % 8;
    const std::string bytes = RandomBytes(rng, 6);
    doc.Replace(at, length, bytes);
    ref.replace(at, std::min(length, ref.size() - at), bytes);
    if (step % 50 == 49) doc.Undo(), doc.Redo();
    if (step % 30 != 0) continue;
    const std::vector<RefLine> lines = SplitLines(ref);
    ASSERT_EQ(doc.LineCount(), lines.size());
    for (int k = 0; k < 50; ++k) {
      const std::size_t i = rng() % lines.size();
      ASSERT_EQ(doc.LineStart(i), lines[i].start);
      ASSERT_EQ(doc.Line(i), ref.substr(lines[i].start, lines[i].end - lines[i].start));
      ASSERT_EQ(doc.LineOfOffset(lines[i].start + (lines[i].next - lines[i].start) / 2), i);
    }
  }
  EXPECT_EQ(doc.Bytes(), ref);
}

}  // namespace
}  // namespace haruvi::viewer
