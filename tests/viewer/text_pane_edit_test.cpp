// Simple edit in the pane: keys, the input method and the clipboard change the bytes as
// a user expects (two-byte characters whole, CR LF as one), typing undoes in one step,
// an edited LF file stays an LF file, and entering or leaving edit keeps the bytes and
// the place.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "viewer/byte_view.h"
#include "viewer/text_pane.h"

namespace haruvi::viewer {
namespace {

class PaneEdit : public ::testing::Test {
 protected:
  void Edit(const std::string& bytes, encoding::TextForm form = encoding::TextForm::Legacy) {
    pane.resize(400, 300);
    pane.SetText(bytes, form);
    pane.SetReadOnly(false);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(pane.View(), key, mods); }
  void Commit(const QString& preedit, const QString& commit) {
    QInputMethodEvent composing(preedit, {});
    QApplication::sendEvent(pane.View(), &composing);
    QInputMethodEvent done;
    done.setCommitString(commit);
    QApplication::sendEvent(pane.View(), &done);
  }
  TextPane pane;
};

TEST_F(PaneEdit, TypedAndComposedJapaneseGoInAsCodePageBytes) {
  Edit("ab\r\n");
  pane.MoveCaretTo(1);
  QTest::keyClicks(pane.View(), "xy");
  EXPECT_EQ(pane.Bytes(), "axyb\r\n");
  // The input method composes, then commits: only the committed text is the text's.
  QInputMethodEvent composing(QStringLiteral("にほん"), {});
  QApplication::sendEvent(pane.View(), &composing);
  EXPECT_EQ(pane.Bytes(), "axyb\r\n");
  EXPECT_TRUE(static_cast<QWidget*>(pane.View())->inputMethodQuery(Qt::ImEnabled).toBool());
  QInputMethodEvent done;
  done.setCommitString(QStringLiteral("日本"));
  QApplication::sendEvent(pane.View(), &done);
  EXPECT_EQ(pane.Bytes(), "axy\x93\xfa\x96\x7b" "b\r\n");
  EXPECT_EQ(pane.Caret(), 7u);
  EXPECT_EQ(pane.Unmappable(), 0u);
}

TEST_F(PaneEdit, DeletingTakesWholeCharactersAndWholeLineEnds) {
  Edit("\x93\xfa\r\n\x96\x7b");  // 日 CR LF 本
  pane.MoveCaretTo(2);
  Key(Qt::Key_Backspace);  // both bytes of 日
  EXPECT_EQ(pane.Bytes(), "\r\n\x96\x7b");
  Key(Qt::Key_Delete);  // CR LF as one
  EXPECT_EQ(pane.Bytes(), "\x96\x7b");
  Key(Qt::Key_Delete);  // 本
  EXPECT_EQ(pane.Bytes(), "");
  Key(Qt::Key_Delete);  // nothing left: nothing happens
  Key(Qt::Key_Backspace);
  EXPECT_EQ(pane.Bytes(), "");
  Key(Qt::Key_Return);
  QTest::keyClicks(pane.View(), "z");
  EXPECT_EQ(pane.Bytes(), "\r\nz");
  EXPECT_EQ(pane.LineCount(), 2u);
  pane.MoveCaretTo(2);
  Key(Qt::Key_Backspace);  // at a line's start: joins it to the line before
  EXPECT_EQ(pane.Bytes(), "z");
}

TEST_F(PaneEdit, TypingUndoesAsOneStepAndEveryOtherEditAsItsOwn) {
  const std::string original = "one\r\ntwo\r\n";
  Edit(original);
  pane.MoveCaretTo(3);
  QTest::keyClicks(pane.View(), "abc");
  Key(Qt::Key_Return);
  QTest::keyClicks(pane.View(), "de");
  EXPECT_EQ(pane.Bytes(), "oneabc\r\nde\r\ntwo\r\n");
  ASSERT_TRUE(pane.CanUndo());
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\n\r\ntwo\r\n");
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\ntwo\r\n");
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), original);
  EXPECT_FALSE(pane.Edited());
  EXPECT_FALSE(pane.CanUndo());
  pane.Redo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\ntwo\r\n");
  EXPECT_EQ(pane.Caret(), 6u);
  // A conversion of the input method is a step of its own, and so is typing elsewhere.
  pane.MoveCaretTo(pane.Text().size());
  QTest::keyClicks(pane.View(), "f");
  Commit(QStringLiteral("か"), QStringLiteral("下"));
  QTest::keyClicks(pane.View(), "g");
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\ntwo\r\nf\x89\xba");
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\ntwo\r\nf");
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\ntwo\r\n");
  pane.MoveCaretTo(0);
  QTest::keyClicks(pane.View(), "X");
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "oneabc\r\ntwo\r\n");
}

TEST_F(PaneEdit, EnterAtTheEndPutsTheCaretOnANewLine) {
  Edit("ab\r\n");
  Key(Qt::Key_End, Qt::ControlModifier);  // after the final line end
  EXPECT_EQ(pane.Caret(), 4u);
  EXPECT_EQ(pane.LineOfOffset(pane.Caret()), 1u);  // the line below "ab", as shown
  EXPECT_EQ(pane.LineCount(), 1u);                 // the text's own lines
  Key(Qt::Key_Up);
  EXPECT_EQ(pane.Caret(), 0u);
  Key(Qt::Key_Down);
  EXPECT_EQ(pane.Caret(), 4u);
  Key(Qt::Key_Return);
  EXPECT_EQ(pane.LineOfOffset(pane.Caret()), 2u);
  QTest::keyClicks(pane.View(), "c");
  EXPECT_EQ(pane.Bytes(), "ab\r\n\r\nc");
}

TEST_F(PaneEdit, AnEditedFileKeepsTheLineEndItUses) {
  Edit("a\nb\n");
  pane.MoveCaretTo(1);
  Key(Qt::Key_Return);
  EXPECT_EQ(pane.Text(), "a\r\n\r\nb\r\n");  // what commands read and offsets count
  EXPECT_EQ(pane.Bytes(), "a\n\nb\n");       // what is saved
  pane.SetReadOnly(true);
  EXPECT_EQ(pane.Bytes(), "a\n\nb\n");
  EXPECT_EQ(pane.LineCount(), 3u);
  Edit("a\rb");
  pane.MoveCaretTo(4);
  Key(Qt::Key_Return);
  EXPECT_EQ(pane.Bytes(), "a\rb\r");
}

TEST_F(PaneEdit, EveryPlacementLandsOnACharacterAndNeverInsideCrLf) {
  const std::string sjis = "\x8A\xBF\x8E\x9A\r\n\x95\\x";  // 漢字 CR LF 表 x (表's trail is '\\')
  Edit(sjis);
  pane.MoveCaretTo(1);  // inside 漢
  EXPECT_EQ(pane.Caret(), 0u);
  pane.MoveCaretTo(5);  // between CR and LF
  EXPECT_EQ(pane.Caret(), 4u);
  pane.SetSelection(3, 4);  // from inside 字 to inside 表
  EXPECT_EQ(pane.SelStart(), 2u);
  EXPECT_EQ(pane.SelLength(), 4u);
  pane.SetSelection(7, 0);
  pane.SetSelection(7, 1);  // a selection inside one character takes the character
  EXPECT_EQ(pane.SelStart(), 6u);
  EXPECT_EQ(pane.SelLength(), 2u);
  pane.MoveCaretTo(5);
  Key(Qt::Key_Z);  // typed before the line end, never between its bytes
  EXPECT_EQ(pane.Bytes(), "\x8A\xBF\x8E\x9Az\r\n\x95\\x");
  Edit("\xE6\xBC\xA2\xF0\xA0\xAE\xB7", encoding::TextForm::Utf8);  // 漢 𠮷
  pane.MoveCaretTo(5);
  EXPECT_EQ(pane.Caret(), 3u);
  pane.MoveCaretTo(2);
  EXPECT_EQ(pane.Caret(), 0u);
  EXPECT_EQ(pane.CharsBefore(7), 2u);  // the caret panel's column counts characters
}

TEST_F(PaneEdit, ALineEndChangeIsAStepOfTheUndoWithTheText) {
  Edit("a\nb\n");
  pane.View()->ReplaceAllBytes("a\r\nb\r\n", "\r\n");  // a line-end command's result
  EXPECT_EQ(pane.Bytes(), "a\r\nb\r\n");
  pane.MoveCaretTo(1);
  Key(Qt::Key_X);
  EXPECT_EQ(pane.Bytes(), "ax\r\nb\r\n");
  pane.Undo();
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), "a\nb\n");
  pane.Redo();
  EXPECT_EQ(pane.Bytes(), "a\r\nb\r\n");
  pane.SetReadOnly(true);  // kept when editing ends, even for a text without a line end
  EXPECT_EQ(pane.LineEnd(), "\r\n");
}

TEST_F(PaneEdit, AltAndCtrlLettersAreTheWindowsNotTyped) {
  Edit("ab");
  pane.MoveCaretTo(2);
  Key(Qt::Key_F, Qt::AltModifier);
  Key(Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(pane.Bytes(), "ab");
  QKeyEvent alt_f(QEvent::ShortcutOverride, Qt::Key_F, Qt::AltModifier, QStringLiteral("f"));
  alt_f.ignore();  // as the shortcut map sends it
  QApplication::sendEvent(pane.View(), &alt_f);
  EXPECT_FALSE(alt_f.isAccepted());  // the menu bar's Alt+F goes ahead
}

TEST_F(PaneEdit, AnEditUndoneHandsBackTheGivenBytesExactly) {
  // Mixed line ends, duplicates of the code page and a cut lead byte.
  const std::string original = "\x87\x90\r\nx\ry\n\xed\x40\x82";
  Edit(original);
  pane.MoveCaretTo(0);
  QTest::keyClicks(pane.View(), "q");
  EXPECT_NE(pane.Bytes(), original);
  pane.Undo();
  EXPECT_EQ(pane.Bytes(), original);
  pane.SetReadOnly(true);
  EXPECT_EQ(pane.Bytes(), original);
}

TEST_F(PaneEdit, CharactersTheCodeCannotHoldAreSubstitutedAndSaid) {
  Edit("");
  QSignalSpy said(&pane, &TextPane::Substituted);
  Commit(QString(), QStringLiteral("a\U0001F600\u00e9"));
  EXPECT_EQ(pane.Bytes(), "a\x81\xac\x81\xac");  // CP932's 〓 twice
  ASSERT_EQ(said.count(), 1);
  EXPECT_EQ(said.at(0).at(0).value<std::size_t>(), 2u);
  EXPECT_EQ(pane.Unmappable(), 2u);
  // A UTF-8 pane holds them all.
  Edit("", encoding::TextForm::Utf8);
  Commit(QString(), QStringLiteral("\U0001F600\u00e9"));
  EXPECT_EQ(pane.Bytes(), "\xF0\x9F\x98\x80\xC3\xA9");
  EXPECT_EQ(pane.Unmappable(), 0u);
}

TEST_F(PaneEdit, AUtf8FilesMarkStaysFirstWhateverIsTypedOrSelected) {
  Edit("\xEF\xBB\xBF" "ab", encoding::TextForm::Utf8Bom);
  pane.MoveCaretTo(0);
  Key(Qt::Key_Backspace);
  QTest::keyClicks(pane.View(), "x");
  pane.SelectAll();
  EXPECT_EQ(pane.SelectedText(), "xab");
  QTest::keyClicks(pane.View(), "y");
  Key(Qt::Key_Home, Qt::ControlModifier);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(pane.Bytes(), "\xEF\xBB\xBFy");
}

TEST_F(PaneEdit, TheClipboardCarriesUnicodeBothWays) {
  Edit("\x93\xfa\x96\x7b\r\nend");
  pane.SetSelection(0, 6);
  pane.Cut();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("日本\n"));  // the desktop's line end
  EXPECT_EQ(pane.Bytes(), "end");
  QApplication::clipboard()->setText(QStringLiteral("語\nx\r\ny"));
  pane.MoveCaretTo(3);
  EXPECT_EQ(pane.Paste(), 0u);
  EXPECT_EQ(pane.Bytes(), "end\x8c\xea\r\nx\r\ny");
  // A selection is replaced by what is typed.
  pane.SetSelection(0, 3);
  QTest::keyClicks(pane.View(), "E");
  EXPECT_EQ(pane.Bytes(), "E\x8c\xea\r\nx\r\ny");
}

TEST_F(PaneEdit, EnteringAndLeavingEditKeepsThePlace) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\r\n";
  pane.resize(400, 300);
  pane.SetText(text);
  pane.ScrollToLine(1500);
  pane.SetSelection(pane.OffsetOfLine(1510) + 2, 3);
  const std::size_t top = pane.FirstVisibleLine();
  ASSERT_GT(top, 1000u);
  pane.SetReadOnly(false);
  EXPECT_EQ(pane.FirstVisibleLine(), top);
  EXPECT_EQ(pane.SelStart(), pane.OffsetOfLine(1510) + 2);
  EXPECT_EQ(pane.SelLength(), 3u);
  QTest::keyClicks(pane.View(), "Z");  // replaces the selection
  EXPECT_EQ(pane.Line(1510), "liZ1510");
  pane.SetReadOnly(true);
  EXPECT_EQ(pane.FirstVisibleLine(), top);
  EXPECT_EQ(pane.Line(1510), "liZ1510");
  EXPECT_EQ(pane.LineCount(), 2000u);
}

TEST_F(PaneEdit, WithWordWrapALongLineTakesTypingAndSplits) {
  pane.SetWordWrap(true);
  const std::string long_line(100000, 'x');
  Edit("short\r\n" + long_line + "\r\nend");
  pane.MoveCaretTo(7 + 50000);
  QTest::keyClicks(pane.View(), "ab");
  pane.View()->grab();
  Key(Qt::Key_Return);  // the line splits: its pieces are counted again
  pane.View()->grab();
  EXPECT_EQ(pane.Bytes(), "short\r\n" + long_line.substr(0, 50000) + "ab\r\n" + long_line.substr(50000) + "\r\nend");
  EXPECT_EQ(pane.LineCount(), 4u);
  EXPECT_EQ(pane.LineOfOffset(pane.Caret()), 2u);
}

// Random keys against a model of the text as characters (a two-byte character and a
// CR LF are one unit each): after every key the pane's text is the model's; undoing
// everything gives the first bytes back exactly.
TEST_F(PaneEdit, RandomKeysKeepTheTextAsAModelOfCharactersHasIt) {
  const std::vector<std::string> alphabet = {"a", "Z", " ", "\x93\xfa", "\x82\xa0", "\x83\x5c"};  // 日 あ ソ
  const std::vector<QString> typed = {"a", "Z", " ", "日", "あ", "ソ"};
  std::mt19937 rng(17);
  for (int round = 0; round < 8; ++round) {
    std::vector<std::string> model;
    for (int i = 0; i < 30; ++i) model.push_back(rng() % 6 == 0 ? "\r\n" : alphabet[rng() % alphabet.size()]);
    std::string original;
    for (const std::string& u : model) original += u;
    Edit(original);
    std::size_t caret = 0;  // in units
    pane.MoveCaretTo(0);
    for (int step = 0; step < 200; ++step) {
      const unsigned op = rng() % 6;
      const std::size_t was = pane.Caret();
      switch (op) {
        case 0: {
          const std::size_t k = rng() % typed.size();
          if (k < 3) QTest::keyClicks(pane.View(), typed[k]);
          else pane.Type(typed[k]);  // what the input method types (the test's keyboard has no kana)
          model.insert(model.begin() + static_cast<std::ptrdiff_t>(caret++), alphabet[k]);
          break;
        }
        case 1:
          Key(Qt::Key_Return);
          model.insert(model.begin() + static_cast<std::ptrdiff_t>(caret++), "\r\n");
          break;
        case 2:
          Key(Qt::Key_Backspace);
          if (caret > 0) model.erase(model.begin() + static_cast<std::ptrdiff_t>(--caret));
          break;
        case 3:
          Key(Qt::Key_Delete);
          if (caret < model.size()) model.erase(model.begin() + static_cast<std::ptrdiff_t>(caret));
          break;
        case 4:
          Key(Qt::Key_Left);
          if (caret > 0) --caret;
          break;
        default:
          Key(Qt::Key_Right);
          if (caret < model.size()) ++caret;
          break;
      }
      std::string text;
      std::size_t offset = 0;
      for (std::size_t u = 0; u < model.size(); ++u) {
        if (u == caret) offset = text.size();
        text += model[u];
      }
      if (caret == model.size()) offset = text.size();
      ASSERT_EQ(pane.Text(), text) << "round " << round << " step " << step;
      ASSERT_EQ(pane.Caret(), offset) << "round " << round << " step " << step << " op " << op << " from " << was
                                      << " text " << ::testing::PrintToString(text);
    }
    while (pane.CanUndo()) pane.Undo();
    ASSERT_EQ(pane.Bytes(), original) << "round " << round;
  }
}

TEST_F(PaneEdit, ReadOnlyPaneTakesNoEdits) {
  pane.SetText(std::string("abc"));
  QTest::keyClicks(pane.View(), "x");
  Key(Qt::Key_Backspace);
  QInputMethodEvent done;
  done.setCommitString(QStringLiteral("y"));
  QApplication::sendEvent(pane.View(), &done);
  EXPECT_EQ(pane.Bytes(), "abc");
  EXPECT_FALSE(static_cast<QWidget*>(pane.View())->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST_F(PaneEdit, ANewTextWhileEditingIsEditedAndForgetsTheOldUndo) {
  Edit("first");
  QTest::keyClicks(pane.View(), "x");
  pane.SetText(std::string("second"));
  EXPECT_FALSE(pane.ReadOnly());
  EXPECT_FALSE(pane.CanUndo());
  EXPECT_EQ(pane.Bytes(), "second");
  pane.MoveCaretTo(6);
  QTest::keyClicks(pane.View(), "!");
  EXPECT_EQ(pane.Bytes(), "second!");
}

}  // namespace
}  // namespace haruvi::viewer
