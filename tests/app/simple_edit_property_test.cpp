// Simple edit driven through the window with random steps, on Shift_JIS and UTF-8 texts
// with CR LF, LF and lone-CR line ends: typing (keys and the input method), Enter,
// Backspace, Delete, the caret keys, mouse clicks, jump to line, 先頭行へ / 最終行へ,
// select all, cut / copy / paste, undo / redo, the line-end commands (with the question
// about unsaved changes answered at random) and saving. After every step the caret and
// the selection's ends stand on character boundaries, the caret panel names the caret's
// line and column in characters, and the bytes a save writes equal a model of the text.
// Then the question itself: leaving changed text for another file, Cancel and Discard.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <random>

#include "shellview/file_view.h"
#include "support/sjis.h"
#include "textcmd/line_end.h"
#include "ui/input_box.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/byte_view.h"
#include "viewer/text_document.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

using Answer = ui::ShownText::LeaveAnswer;

// The text units of a CR LF text, found without the pane: a Shift_JIS pair, a UTF-8
// sequence, CR LF, or one byte. Returns the offsets where units start (and the end).
std::vector<std::size_t> Boundaries(const std::string& t, bool utf8) {
  std::vector<std::size_t> at;
  for (std::size_t i = 0; i < t.size();) {
    at.push_back(i);
    const auto b = static_cast<unsigned char>(t[i]);
    std::size_t n = 1;
    if (b == '\r' && i + 1 < t.size() && t[i + 1] == '\n') n = 2;
    else if (!utf8 && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < t.size()) n = 2;
    else if (utf8 && b >= 0xF0) n = 4;
    else if (utf8 && b >= 0xE0) n = 3;
    else if (utf8 && b >= 0xC0) n = 2;
    i += n;
  }
  at.push_back(t.size());
  return at;
}

// One text as the model holds it: CR LF text, the line end a save writes, the undo
// steps (whole states) and what the clipboard holds.
struct Model {
  struct State {
    std::string text;
    std::string line_end;
  };
  State now;
  std::vector<State> undo, redo;
  bool typing = false;  // the last step typed at the caret: more typing joins its step
  bool unsaved = false;
  std::string clipboard;
  bool utf8 = false;

  std::string Saved() const { return viewer::WithLineEnds(now.text, now.line_end); }
  void Step() {
    undo.push_back(now);
    redo.clear();
  }
  void Edit(std::size_t at, std::size_t length, const std::string& bytes, bool typed) {
    if (!(typed && typing && length == 0)) Step();
    now.text.replace(at, length, bytes);
    typing = typed;
    unsaved = true;
  }
  bool Undo(std::vector<State>* from, std::vector<State>* to) {
    if (from->empty()) return false;
    typing = false;
    to->push_back(now);
    now = from->back();
    from->pop_back();
    unsaved = true;
    return true;
  }
};

struct Text {
  const char* name;
  bool utf8;
  const char* line_end;
};

constexpr Text kTexts[] = {{"SJCRLF.TXT", false, "\r\n"},
                           {"SJLF.TXT", false, "\n"},
                           {"SJCR.TXT", false, "\r"},
                           {"U8LF.TXT", true, "\n"},
                           {"U8CRLF.TXT", true, "\r\n"}};

// A memo of some twenty lines: kanji, kana, half-width kana, tabs, trail bytes 0x5C.
std::string MemoUtf8() {
  const char* lines[] = {"買い物リスト", "牛乳と卵と表ソース", "\tタブの後ろ ｶﾀｶﾅ", "", "abc def 123",
                         "日本語の文章です。句読点、記号！", "ｱｲｳｴｵ漢字かな", "最後から二番目"};
  std::string text;
  for (int i = 0; i < 22; ++i) text += std::string(lines[i % 8]) + (i % 5 == 4 ? "予定" : "") + "\n";
  return text;
}

std::string Encoded(const std::string& utf8, bool to_utf8) { return to_utf8 ? utf8 : test::S(utf8); }

std::string WithEnds(const std::string& lf_text, const std::string& line_end) {
  std::string out;
  for (char c : lf_text) out += c == '\n' ? line_end : std::string(1, c);
  return out;
}

class SimpleEditProperty : public WindowTest {
 protected:
  viewer::TextPane& Pane() { return *form->RichEdit1; }
  viewer::ByteView& View() { return *Pane().View(); }

  void Compose(const QString& text) {
    QInputMethodEvent composing(text, {});
    QApplication::sendEvent(&View(), &composing);
    QInputMethodEvent done;
    done.setCommitString(text);
    QApplication::sendEvent(&View(), &done);
  }

  // The checks after every step.
  void Check(const Model& m, const std::string& step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(Pane().Text(), m.now.text);
    ASSERT_EQ(Pane().Bytes(), m.Saved());
    const std::vector<std::size_t> ok = Boundaries(m.now.text, m.utf8);
    const std::size_t a = Pane().SelStart(), b = a + Pane().SelLength();
    ASSERT_TRUE(std::binary_search(ok.begin(), ok.end(), a)) << "selection start " << a;
    ASSERT_TRUE(std::binary_search(ok.begin(), ok.end(), b)) << "selection end " << b;
    // The caret panel: lines and characters before the selection's start.
    std::size_t line = 0, line_start = 0;
    for (std::size_t i = m.now.text.find("\r\n"); i != std::string::npos && i + 2 <= a; i = m.now.text.find("\r\n", i + 2))
      ++line, line_start = i + 2;
    const auto from = std::lower_bound(ok.begin(), ok.end(), line_start);
    const auto to = std::lower_bound(ok.begin(), ok.end(), a);
    const auto column = static_cast<long long>(to - from) + 1;
    ASSERT_EQ(form->SBarR->Text(0), QStringLiteral(" %1行 %2列 ").arg(line + 1).arg(column));
  }

  // The unit before and after an offset, as the model's Backspace and Delete take them.
  static std::size_t Before(const std::vector<std::size_t>& ok, std::size_t at) {
    return *(std::lower_bound(ok.begin(), ok.end(), at) - 1);
  }
  static std::size_t After(const std::vector<std::size_t>& ok, std::size_t at) {
    return *(std::upper_bound(ok.begin(), ok.end(), at));
  }

  void RunText(std::mt19937& rng, const Text& t, const std::filesystem::path& file, int steps);
};

void SimpleEditProperty::RunText(std::mt19937& rng, const Text& t, const std::filesystem::path& file, int steps) {
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  Model m;
  m.utf8 = t.utf8;
  const std::string loaded = test::ReadFile(file);
  m.now.text = viewer::WithCrLfEnds(loaded);
  m.now.line_end = t.line_end;
  QApplication::clipboard()->clear();

  // A selection asks the keyboard what is held; here that is what the last key event said,
  // which may have been a Shift+arrow of the text before.
  QTest::keyRelease(&View(), Qt::Key_Shift, Qt::NoModifier);
  ASSERT_EQ(form->FileView1->SelectByCaption(QString::fromUtf8(t.name)), 1);
  ASSERT_EQ(Pane().Bytes(), loaded);
  std::optional<Answer> asked;  // the answer given, when the question came
  struct Unhook {
    ~Unhook() { ui::ShownText::ask_leave = nullptr; }  // never left holding this frame's locals
  } unhook;
  ui::ShownText::ask_leave = [&] {
    const Answer a = static_cast<Answer>(pick(3));
    asked = a;
    return a;
  };
  Run("MediterRich");
  ASSERT_FALSE(Pane().ReadOnly());
  Check(m, "entered");

  const char* kanji[] = {"漢", "かな", "ｶﾅ", "表", "ソ", "字！"};
  const struct {
    const char* action;
    textcmd::TLineEnd from, to;
  } line_ends[] = {{"MCRtoCRLF1", textcmd::kLineEndCr, textcmd::kLineEndCrLf},
                   {"MLFtoCRLF1", textcmd::kLineEndLf, textcmd::kLineEndCrLf},
                   {"MCRLFtoCR1", textcmd::kLineEndCrLf, textcmd::kLineEndCr},
                   {"MLFtoCR1", textcmd::kLineEndLf, textcmd::kLineEndCr},
                   {"MCRLFtoLF1", textcmd::kLineEndCrLf, textcmd::kLineEndLf},
                   {"MCRtoLF1", textcmd::kLineEndCr, textcmd::kLineEndLf},
                   {"Mcrauto1", textcmd::kLineEndNone, textcmd::kLineEndNone}};

  for (int i = 0; i < steps; ++i) {
    const std::vector<std::size_t> ok = Boundaries(m.now.text, m.utf8);
    const std::size_t a = Pane().SelStart(), len = Pane().SelLength();
    std::string step;
    const int kind = pick(20);
    if (kind <= 3) {  // typing at the keyboard
      const char c = "abcxyz 019\t"[pick(11)];
      step = c == '\t' ? "Tab" : std::string("key ") + c;
      if (c == '\t') QTest::keyClick(&View(), Qt::Key_Tab);
      else QTest::keyClick(&View(), c);
      m.Edit(a, len, std::string(1, c), true);
    } else if (kind == 4) {  // the input method
      const char* k = kanji[pick(6)];
      step = std::string("compose ") + k;
      Compose(QString::fromUtf8(k));
      m.Edit(a, len, Encoded(k, m.utf8), false);
    } else if (kind == 5) {
      step = "Enter";
      QTest::keyClick(&View(), Qt::Key_Return);
      m.Edit(a, len, "\r\n", false);
    } else if (kind == 6) {
      step = "Backspace";
      QTest::keyClick(&View(), Qt::Key_Backspace);
      if (len > 0) m.Edit(a, len, "", false);
      else if (a > 0) m.Edit(Before(ok, a), a - Before(ok, a), "", false);
    } else if (kind == 7) {
      step = "Delete";
      QTest::keyClick(&View(), Qt::Key_Delete);
      if (len > 0) m.Edit(a, len, "", false);
      else if (a < m.now.text.size()) m.Edit(a, After(ok, a) - a, "", false);
    } else if (kind <= 10) {  // the caret keys, with Shift now and then
      const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                              Qt::Key_Home, Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown};
      const Qt::Key key = keys[pick(8)];
      Qt::KeyboardModifiers mods = pick(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier;
      if ((key == Qt::Key_Home || key == Qt::Key_End) && pick(3) == 0) mods |= Qt::ControlModifier;
      step = "caret key " + std::to_string(key) + " mods " + std::to_string(mods.toInt());
      QTest::keyClick(&View(), key, mods);
      m.typing = false;
    } else if (kind == 11) {
      const QPoint at(pick(std::max(1, View().viewport()->width())), pick(std::max(1, View().viewport()->height())));
      step = "click " + std::to_string(at.x()) + "," + std::to_string(at.y());
      QTest::mouseClick(View().viewport(), Qt::LeftButton, pick(4) == 0 ? Qt::ShiftModifier : Qt::NoModifier, at);
      m.typing = false;
    } else if (kind == 12) {
      const int n = pick(40) - 5;
      step = "jump " + std::to_string(n);
      AnswerNext<ui::InputBoxDialog>([n](ui::InputBoxDialog* d) { d->Edit->setText(QString::number(n)); });
      Run("Mjump");
      m.typing = false;
    } else if (kind == 13) {
      const char* action = pick(2) ? "Mlinebottom1" : "Mlinetop1";
      step = action;
      Run(action);
      m.typing = false;
    } else if (kind == 14) {
      step = "select all";
      Run("Mselectall");
      m.typing = false;
    } else if (kind == 15) {
      const int which = pick(3);
      step = which == 0 ? "cut" : which == 1 ? "copy" : "paste";
      if (which == 0) {
        Run("Mcut");
        if (len > 0) {
          m.clipboard = m.now.text.substr(a, len);
          m.Edit(a, len, "", false);
        }
      } else if (which == 1) {
        Run("Mcopy1");
        if (len > 0) m.clipboard = m.now.text.substr(a, len);
      } else {
        Run("Mpast");
        if (!m.clipboard.empty()) m.Edit(a, len, m.clipboard, false);
      }
    } else if (kind == 16) {
      step = "undo";
      Run("Mundo");
      m.Undo(&m.undo, &m.redo);
    } else if (kind == 17) {
      step = "redo";
      QTest::keyClick(&View(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
      m.Undo(&m.redo, &m.undo);
      m.typing = false;  // Ctrl and Shift went down first
    } else if (kind == 18) {
      const auto& c = line_ends[pick(7)];
      step = c.action;
      asked.reset();
      Run(c.action);
      ASSERT_EQ(asked.has_value(), m.unsaved) << step << ": asked only about unsaved changes";
      if (!asked || *asked != Answer::Cancel) {
        if (asked == Answer::Save) {
          ASSERT_EQ(test::ReadFile(file), m.Saved()) << step << ": saved first";
        }
        const std::string disk = asked == Answer::Save ? m.Saved() : test::ReadFile(file);
        const std::string result = c.from == textcmd::kLineEndNone ? textcmd::crauto(disk)
                                                                     : textcmd::crconvert(disk, c.from, c.to);
        const std::string line_end(viewer::FirstLineEnd(result));
        // Nothing to replace and the same line end: no step (an empty file saved empty).
        if (!(m.now.text.empty() && result.empty() && line_end == m.now.line_end)) m.Step();
        m.now = {viewer::WithCrLfEnds(result), line_end};
        m.unsaved = true;
        m.typing = false;
      }
    } else {
      step = "save";
      Run("MToversave1");
      ASSERT_EQ(test::ReadFile(file), m.Saved());
      m.unsaved = false;
    }
    ASSERT_NO_FATAL_FAILURE(Check(m, std::to_string(i) + " " + step));
    ASSERT_EQ(Pane().CanUndo(), !m.undo.empty()) << step;
  }
}

TEST_F(SimpleEditProperty, RandomStepsKeepTheCaretOnCharactersAndTheSavedBytesAsTheModel) {
  constexpr int kSeeds = 6, kSteps = 150;  // per text: 5 texts x 6 seeds x 150 steps
  const std::string memo = MemoUtf8();
  for (int seed = 1; seed <= kSeeds; ++seed) {
    for (const Text& t : kTexts) {
      const std::string name = std::to_string(seed) + t.name;
      dir.Write("files/" + name, WithEnds(Encoded(memo, t.utf8), t.line_end));
    }
  }
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
  if (form->Action("Mbackup1")->isChecked()) Run("Mbackup1");
  for (int seed = 1; seed <= kSeeds; ++seed) {
    std::mt19937 rng(static_cast<unsigned>(seed));
    for (const Text& t : kTexts) {
      const std::string name = std::to_string(seed) + t.name;
      SCOPED_TRACE("seed " + std::to_string(seed) + " " + name);
      const Text named{name.c_str(), t.utf8, t.line_end};
      // Leaving the last text: its changes are let go.
      ui::ShownText::ask_leave = [] { return Answer::Discard; };
      RunText(rng, named, dir / "files" / name, kSteps);
      if (HasFatalFailure()) return;
    }
  }
}

// ---------------------------------------------------------------- the question

class LeavingChangedText : public SimpleEditProperty {};

TEST_F(LeavingChangedText, AnotherFileAsksCancelKeepsEverythingDiscardShowsItForViewing) {
  dir.Write("files/A.TXT", test::S("一行目\r\n二行目\r\n"));
  dir.Write("files/B.TXT", "other\r\n");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
  SelectHere("A.TXT");
  Run("MediterRich");
  Pane().MoveCaretTo(test::S("一行目\r\n二").size());
  QTest::keyClicks(&View(), "xy");
  Pane().SetSelection(test::S("一").size(), 2);
  const std::string typed = test::S("一行目\r\n二xy行目\r\n");
  int asked = 0;
  Answer answer = Answer::Cancel;
  ui::ShownText::ask_leave = [&] {
    ++asked;
    return answer;
  };

  SelectHere("B.TXT");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Pane().Bytes(), typed);  // the text, its selection and the list as they were
  EXPECT_EQ(Pane().SelStart(), test::S("一").size());
  EXPECT_EQ(Pane().SelLength(), 2u);
  EXPECT_EQ(form->SelectedPath(), Q(dir / "files" / "A.TXT"));
  EXPECT_FALSE(Pane().ReadOnly());

  Run("Mtextnewview");  // showing the file again asks too
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Pane().Bytes(), typed);

  answer = Answer::Discard;
  SelectHere("B.TXT");
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(Pane().Bytes(), "other\r\n");
  EXPECT_TRUE(Pane().ReadOnly());  // the next file is shown for viewing
  EXPECT_EQ(form->SBarR->Text(2), " 閲覧 ");
  EXPECT_EQ(form->SBarR->Text(0), " 1行 1列 ");  // the caret panel follows the new text
  EXPECT_EQ(test::ReadFile(dir / "files" / "A.TXT"), test::S("一行目\r\n二行目\r\n"));

  // Saved on the way out: the file holds the typing, and no question comes twice.
  SelectHere("A.TXT");
  Run("MediterRich");
  Pane().MoveCaretTo(Pane().TextLength());
  QTest::keyClicks(&View(), "z");
  answer = Answer::Save;
  SelectHere("B.TXT");
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(test::ReadFile(dir / "files" / "A.TXT"), test::S("一行目\r\n二行目\r\nz"));
  EXPECT_EQ(Pane().Bytes(), "other\r\n");
  ui::ShownText::ask_leave = nullptr;
}

}  // namespace
}  // namespace haruvi::app
