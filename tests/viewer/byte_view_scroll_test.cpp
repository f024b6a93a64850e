// Scrolling the pane's view: with word wrap a line taller than the pane scrolls by its
// rows (keys, wheel, bar), and without it the view follows the caret along very long
// lines. Also the wrap pieces' count and mapping that this rests on.
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "viewer/byte_view.h"
#include "viewer/text_pane.h"
#include "viewer/wrap_pieces.h"

namespace haruvi::viewer {
namespace {

// A pane shown with its view focused (keys go to the view, as a user's would).
struct ShownPane {
  explicit ShownPane(std::string text, bool wrap) {
    pane.resize(400, 300);
    pane.SetWordWrap(wrap);
    pane.SetText(std::move(text));
    pane.show();
    pane.View()->setFocus();
    QApplication::processEvents();
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(pane.View(), key, mods); }
  // Where a click at the pane's bottom left lands.
  std::size_t BottomOffset() {
    QTest::mouseClick(pane.View()->viewport(), Qt::LeftButton, {}, QPoint(3, pane.View()->viewport()->height() - 4));
    return pane.Caret();
  }
  TextPane pane;
};

// "0123456789" over and over, in one line of `n` bytes.
std::string Digits(std::size_t n) {
  std::string s(n, '0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>('0' + i % 10);
  return s;
}

TEST(WrapScrolling, TheEndOfALineTallerThanThePaneCanBeReached) {
  ShownPane p(Digits(105 * 1024), true);
  EXPECT_GT(p.pane.View()->verticalScrollBar()->maximum(), 0);  // a one-line file has a bar
  p.Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(p.pane.Caret(), 105u * 1024);
  p.Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_GT(p.BottomOffset(), 100u * 1024);  // the last rows are on screen
}

TEST(WrapScrolling, PageDownAndTheWheelMoveThroughTheRows) {
  ShownPane p(Digits(50 * 1024), true);
  p.Key(Qt::Key_PageDown);
  const std::size_t after_one = p.pane.Caret();
  EXPECT_GT(after_one, 500u);
  p.Key(Qt::Key_PageDown);
  EXPECT_GT(p.pane.Caret(), after_one);
  p.Key(Qt::Key_PageUp);
  p.Key(Qt::Key_PageUp);
  EXPECT_LT(p.pane.Caret(), 100u);
  // The wheel scrolls rows without moving the caret.
  const std::size_t before = p.BottomOffset();
  QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120 * 10), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(p.pane.View()->viewport(), &wheel);
  EXPECT_GT(p.BottomOffset(), before);
}

TEST(WrapScrolling, DownAndUpMoveARowAndManyLinesStillScrollByLines) {
  ShownPane p(Digits(20 * 1024), true);
  p.Key(Qt::Key_Down);
  const std::size_t one_row = p.pane.Caret();
  EXPECT_GT(one_row, 10u);
  EXPECT_LT(one_row, 200u);
  p.Key(Qt::Key_Up);
  EXPECT_EQ(p.pane.Caret(), 0u);

  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += "line\r\n";
  ShownPane q(lines, true);
  q.Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(q.pane.View()->FirstVisibleLine() > 1900, true);
  q.pane.ScrollToLine(10);
  EXPECT_EQ(q.pane.View()->FirstVisibleLine(), 10u);
}

TEST(LongLines, EndBringsTheCaretIntoViewAtOnce) {
  ShownPane p(Digits(200 * 1024), false);
  p.Key(Qt::Key_End);
  EXPECT_EQ(p.pane.Caret(), 200u * 1024);
  QScrollBar* h = p.pane.View()->horizontalScrollBar();
  EXPECT_GT(h->value(), h->maximum() - 2 * p.pane.View()->viewport()->width());
  p.Key(Qt::Key_Home);
  EXPECT_EQ(h->value(), 0);
}

TEST(WrapPiecesCount, LongLinesAreCutAndMappedBothWays) {
  TextDocument doc;
  const std::size_t S = WrapPieces::kPieceBytes;
  doc.SetBytes("a\r\n" + std::string(3 * S + 1, 'x') + "\r\nb\r\n" + std::string(S, 'y') + "\r\n" +
               std::string(S + 1, 'z'));
  WrapPieces w;
  w.Build(doc);
  // Lines: a (1), x (4 pieces), b (1), y (1: exactly one piece), z (2).
  EXPECT_EQ(w.Count(), 9u);
  const std::pair<std::size_t, std::size_t> order[] = {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3},
                                                       {2, 0}, {3, 0}, {4, 0}, {4, 1}};
  for (std::size_t g = 0; g < 9; ++g) {
    EXPECT_EQ(w.At(g).line, order[g].first) << g;
    EXPECT_EQ(w.At(g).index, order[g].second) << g;
    EXPECT_EQ(w.Global(order[g].first, order[g].second), g);
  }
  EXPECT_EQ(w.At(100).line, 4u);  // past the end: the last piece
  EXPECT_EQ(WrapPieces::PiecesOf(0), 1u);
}

}  // namespace
}  // namespace haruvi::viewer
