#include "viewer/byte_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <tuple>

namespace haruvi::viewer {
namespace {

// Lines longer than this are laid out only around what is on screen.
constexpr std::size_t kWholeLineLimit = 64 * 1024;
constexpr int kMaxCachedLines = 2000;

bool IsSelector(char16_t u) { return u >= 0xFE00 && u <= 0xFE0F; }

const char kHex[] = "0123456789ABCDEF";

}  // namespace

ByteView::ByteView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setAutoFillBackground(true);
  viewport()->setBackgroundRole(QPalette::Base);
  horizontalScrollBar()->setSingleStep(16);
  connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { viewport()->update(); });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    // A move of the bar by the user starts at the top of its piece.
    if (!scrolling_) first_row_ = 0;
    viewport()->update();
  });
}

void ByteView::SetDocument(const LineSource* document) {
  doc_ = document;
  edit_ = nullptr;
  Reset();
}

void ByteView::SwapDocument(const LineSource* document) {
  const std::size_t top = FirstVisibleLine();
  const int h = horizontalScrollBar()->value();
  const std::size_t anchor = anchor_, caret = caret_;
  doc_ = document;
  edit_ = nullptr;
  if (wrap_ && doc_) pieces_.Build(*doc_);
  Invalidate();
  UpdateScrollBars();
  anchor_ = Boundary(anchor);
  caret_ = Boundary(caret);
  ScrollToLine(top);
  horizontalScrollBar()->setValue(h);
  viewport()->update();
}

void ByteView::Reset() {
  anchor_ = caret_ = 0;
  first_row_ = 0;
  if (wrap_ && doc_) pieces_.Build(*doc_);
  Invalidate();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  UpdateScrollBars();
  viewport()->update();
}

void ByteView::SetCodePage(encoding::CodePage page) {
  page_ = page;
  Invalidate();
  viewport()->update();
}

void ByteView::SetWordWrap(bool on) {
  if (on == wrap_) return;
  const std::size_t first = FirstVisibleLine();
  wrap_ = on;
  first_row_ = 0;
  if (wrap_ && doc_) pieces_.Build(*doc_);
  Invalidate();
  UpdateScrollBars();
  ScrollToLine(first);
  viewport()->update();
}

void ByteView::SetTabStopDistance(qreal pixels) {
  tab_distance_ = pixels;
  Invalidate();
  viewport()->update();
}

void ByteView::SetTextColor(const QColor& color) {
  text_color_ = color;
  viewport()->update();
}

void ByteView::Invalidate() {
  cache_.clear();
  cache_width_ = viewport()->width();
}

qreal ByteView::CharWidth() const { return std::max<qreal>(1, fontMetrics().horizontalAdvance(QLatin1Char('M'))); }

int ByteView::VisibleLines() const {
  return std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
}

void ByteView::UpdateScrollBars() {
  // Wrap mode scrolls by pieces (a line taller than the pane is several), else by lines.
  const std::size_t units = !doc_ ? 0 : wrap_ ? pieces_.Count() : doc_->LineCount();
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, static_cast<int>(std::min<std::size_t>(units > 0 ? units - 1 : 0, INT32_MAX)));
  v->setPageStep(VisibleLines());
  QScrollBar* h = horizontalScrollBar();
  if (wrap_ || !doc_) {
    h->setRange(0, 0);
  } else {
    const double width = static_cast<double>(doc_->MaxLineLength()) * CharWidth() + 4 * CharWidth();
    h->setRange(0, static_cast<int>(std::min<double>(std::max(0.0, width - viewport()->width()), INT32_MAX / 2)));
    h->setPageStep(viewport()->width());
  }
}

std::size_t ByteView::AlignToChar(std::string_view line, std::size_t byte) const {
  return encoding::PaneCodec::For(page_).CharStart(line, std::min(byte, line.size()));
}

std::size_t ByteView::Boundary(std::size_t offset) const {
  if (!doc_ || doc_->LineCount() == 0) return 0;
  const std::size_t first = TextStart();
  offset = std::clamp(offset, first, std::max(first, doc_->TextCrLfLength()));
  const std::size_t line = doc_->LineOfOffset(offset);
  const std::size_t start = doc_->LineStart(line);
  const std::string_view bytes = doc_->Line(line);
  // Inside a line end (between CR and LF) is before it: CR LF is one.
  if (offset - start >= bytes.size()) return std::min(offset, start + bytes.size());
  return start + AlignToChar(bytes, offset - start);
}

std::pair<std::size_t, std::size_t> ByteView::PieceRange(std::size_t line, std::size_t piece) const {
  const std::string_view bytes = doc_->Line(line);
  const std::size_t n = WrapPieces::PiecesOf(bytes.size());
  const std::size_t from = piece == 0 ? 0 : AlignToChar(bytes, piece * WrapPieces::kPieceBytes);
  const std::size_t to = piece + 1 >= n ? bytes.size() : AlignToChar(bytes, (piece + 1) * WrapPieces::kPieceBytes);
  return {from, to};
}

std::size_t ByteView::PieceOf(std::size_t line, std::size_t byte) const {
  const std::size_t n = WrapPieces::PiecesOf(doc_->Line(line).size());
  std::size_t k = std::min(byte / WrapPieces::kPieceBytes, n - 1);
  if (k > 0 && byte < PieceRange(line, k).first) --k;
  return k;
}

ByteView::LineLayout& ByteView::Layout(std::size_t line, std::size_t piece) {
  const int window = wrap_ ? 0 : horizontalScrollBar()->value() / 4096;
  if (cache_width_ != viewport()->width() || (cache_hscroll_window_ != window && !wrap_)) {
    // Long lines are laid out around the scroll position: a new window lays them out anew.
    if (cache_width_ != viewport()->width()) cache_.clear();
    else
      for (auto it = cache_.begin(); it != cache_.end();)
        it = it->second.byte_from > 0 || doc_->Line(it->first).size() > kWholeLineLimit ? cache_.erase(it) : std::next(it);
    cache_width_ = viewport()->width();
    cache_hscroll_window_ = window;
  }
  const std::size_t key = wrap_ ? pieces_.Global(line, piece) : line;
  if (auto it = cache_.find(key); it != cache_.end()) return it->second;
  if (cache_.size() > kMaxCachedLines) cache_.clear();

  LineLayout& l = cache_[key];
  std::string_view bytes = doc_->Line(line);
  std::size_t from = 0, to = bytes.size();
  const qreal cw = CharWidth();
  if (wrap_) {
    std::tie(from, to) = PieceRange(line, piece);
  } else if (bytes.size() > kWholeLineLimit) {
    const auto first_col = static_cast<std::size_t>(std::max(0, horizontalScrollBar()->value()) / cw);
    from = AlignToChar(bytes, first_col > 2048 ? first_col - 2048 : 0);
    to = AlignToChar(bytes, std::min(bytes.size(), first_col + static_cast<std::size_t>(viewport()->width() / cw) + 2 * 4096));
    if (to < bytes.size() && to <= from) to = std::min(bytes.size(), from + 2);
  }
  l.byte_from = from;
  l.byte_to = to;
  l.x_offset = wrap_ ? 0 : static_cast<qreal>(from) * cw;

  const auto& codec = encoding::PaneCodec::For(page_);
  const std::string_view part = bytes.substr(from, to - from);
  const std::u16string units = codec.Decode(part);
  QString text;
  text.reserve(static_cast<qsizetype>(units.size() + 8));
  QList<QTextLayout::FormatRange> formats;
  l.byte_of_index.clear();
  l.byte_of_index.reserve(units.size() + 1);
  std::size_t pos = 0;  // byte within `part`
  std::size_t u = 0;
  while (u < units.size() && pos < part.size()) {
    const char16_t unit = units[u];
    // Undecodable bytes and control characters (but TAB) are drawn as hex boxes.
    const bool control = unit < 0x20 && unit != u'\t';
    if (codec.IsRawByte(unit) || control) {
      const unsigned char b = control ? static_cast<unsigned char>(unit) : encoding::PaneCodec::RawByteValue(unit);
      QTextLayout::FormatRange box;
      box.start = static_cast<int>(text.size());
      box.length = 2;
      box.format.setBackground(palette().color(QPalette::Mid));
      box.format.setForeground(palette().color(QPalette::Base));
      formats << box;
      text += QLatin1Char(kHex[b >> 4]);
      text += QLatin1Char(kHex[b & 15]);
      l.byte_of_index.push_back(from + pos);
      l.byte_of_index.push_back(from + pos);
      ++u;
      pos += 1;
      continue;
    }
    const std::size_t n = std::max<std::size_t>(1, codec.CharLength(part.substr(pos)));
    // An ISO-2022-JP escape sequence is drawn as nothing (a zero-width space).
    text += QChar(encoding::PaneCodec::IsEscape(unit) && page_ == encoding::CodePage::Iso2022Jp ? char16_t{0x200B} : unit);
    l.byte_of_index.push_back(from + pos);
    ++u;
    // A character past U+FFFF is two units over the same bytes.
    if (QChar::isHighSurrogate(unit) && u < units.size() && QChar::isLowSurrogate(units[u])) {
      text += QChar(units[u]);
      l.byte_of_index.push_back(from + pos);
      ++u;
    }
    if (codec.MarksDuplicates() && u < units.size() && IsSelector(units[u])) {
      text += QChar(units[u]);
      l.byte_of_index.push_back(from + pos);
      ++u;
    }
    pos += n;
  }
  l.byte_of_index.push_back(from + part.size());

  l.layout = std::make_unique<QTextLayout>(text, font());
  QTextOption option;
  option.setWrapMode(wrap_ ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  if (tab_distance_ > 0) option.setTabStopDistance(tab_distance_);
  l.layout->setTextOption(option);
  l.layout->setFormats(formats);
  l.layout->setCacheEnabled(true);
  l.layout->beginLayout();
  qreal y = 0;
  const qreal width = std::max(20, viewport()->width() - 4);
  const int spacing = fontMetrics().lineSpacing();
  for (;;) {
    QTextLine tl = l.layout->createLine();
    if (!tl.isValid()) break;
    if (wrap_) tl.setLineWidth(width);
    tl.setPosition(QPointF(0, y));
    y += spacing;
  }
  l.layout->endLayout();
  l.height = std::max<qreal>(y, spacing);
  return l;
}

int ByteView::DisplayIndex(const LineLayout& l, std::size_t byte) const {
  auto it = std::lower_bound(l.byte_of_index.begin(), l.byte_of_index.end(), byte);
  return static_cast<int>(it - l.byte_of_index.begin());
}

void ByteView::PaintPiece(QPainter& p, LineLayout& l, std::size_t line, qreal y) {
  const qreal hx = wrap_ ? 0 : horizontalScrollBar()->value();
  const std::size_t sel_a = SelStart(), sel_b = SelStart() + SelLength();
  const std::size_t start = doc_->LineStart(line);
  QList<QTextLayout::FormatRange> selections;
  if (sel_b > sel_a && sel_a <= start + l.byte_to && sel_b > start + l.byte_from) {
    const std::size_t a = std::max(l.byte_from, sel_a > start ? sel_a - start : 0);
    const std::size_t b = std::min(l.byte_to, sel_b - start);
    QTextLayout::FormatRange r;
    r.start = DisplayIndex(l, a);
    r.length = DisplayIndex(l, b) - r.start;
    r.format.setBackground(palette().color(QPalette::Highlight));
    r.format.setForeground(palette().color(QPalette::HighlightedText));
    if (r.length > 0) selections << r;
  }
  const QPointF origin(l.x_offset - hx + 2, y);
  l.layout->draw(&p, origin, selections);
  if (hasFocus() && doc_->LineOfOffset(caret_) == line) {
    const std::size_t byte = caret_ - std::min(caret_, start);
    const std::size_t len = doc_->Line(line).size();
    // A caret on a piece boundary belongs to the next piece, but at the line's end.
    const bool here = byte >= l.byte_from && (byte < l.byte_to || l.byte_to == len);
    if (here) {
      const int index = DisplayIndex(l, byte);
      l.layout->drawCursor(&p, origin, index);
      if (!preedit_.isEmpty()) {
        // The input method's text being composed, underlined over the text at the caret.
        const QTextLine tl = l.layout->lineForTextPosition(index);
        const QPointF at(origin.x() + tl.cursorToX(index), origin.y() + tl.y());
        const QFontMetricsF m(font());
        const QRectF box(at, QSizeF(m.horizontalAdvance(preedit_), tl.height()));
        p.fillRect(box, palette().color(QPalette::Base));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, preedit_);
        p.drawLine(box.bottomLeft() - QPointF(0, 1), box.bottomRight() - QPointF(0, 1));
      }
    }
  }
}

void ByteView::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  // Only the lines the event asks for are drawn (a keystroke asks for its line alone).
  const QRect dirty = event->rect();
  if (!doc_ || doc_->LineCount() == 0) {
    // An empty text being edited still shows where typing goes.
    if (edit_ && hasFocus()) p.fillRect(QRectF(2, 0, 1, fontMetrics().lineSpacing()), palette().color(QPalette::Text));
    return;
  }
  p.setPen(text_color_.isValid() ? text_color_ : palette().color(QPalette::Text));
  const int h = viewport()->height();
  if (wrap_) {
    qreal y = -static_cast<qreal>(first_row_) * fontMetrics().lineSpacing();
    for (std::size_t g = TopPiece(); g < pieces_.Count() && y < h; ++g) {
      const WrapPieces::Piece at = pieces_.At(g);
      LineLayout& l = Layout(at.line, at.index);
      PaintPiece(p, l, at.line, y);
      y += l.height;
    }
    return;
  }
  qreal y = 0;
  const qreal spacing = fontMetrics().lineSpacing();
  for (std::size_t line = FirstVisibleLine(); line < doc_->LineCount() && y < std::min<qreal>(h, dirty.bottom() + 1);
       ++line) {
    // Without word wrap every line is one row high.
    if (y + spacing <= dirty.top()) {
      y += spacing;
      continue;
    }
    LineLayout& l = Layout(line);
    PaintPiece(p, l, line, y);
    y += l.height;
  }
}

void ByteView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (wrap_) Invalidate();
  UpdateScrollBars();
}

void ByteView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
    Invalidate();
    UpdateScrollBars();
    viewport()->update();
  }
}

std::size_t ByteView::TopPiece() const { return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value())); }

void ByteView::SetTop(std::size_t unit, int row) {
  scrolling_ = true;
  verticalScrollBar()->setValue(static_cast<int>(std::min<std::size_t>(unit, INT32_MAX)));
  scrolling_ = false;
  first_row_ = row;
  viewport()->update();
}

std::size_t ByteView::FirstVisibleLine() const {
  if (!wrap_) return TopPiece();
  return pieces_.Count() ? pieces_.At(TopPiece()).line : 0;
}

void ByteView::ScrollToLine(std::size_t line) {
  if (wrap_) SetTop(pieces_.Global(line, 0), 0);
  else SetTop(line, 0);
}

void ByteView::ScrollLines(int lines) {
  if (!wrap_) {
    verticalScrollBar()->setValue(verticalScrollBar()->value() + lines);
    return;
  }
  // Wrap mode: by rows, across the pieces' own rows.
  if (!doc_ || pieces_.Count() == 0) return;
  std::size_t g = TopPiece();
  long row = first_row_ + static_cast<long>(lines);
  while (row < 0 && g > 0) {
    --g;
    const WrapPieces::Piece at = pieces_.At(g);
    row += Layout(at.line, at.index).layout->lineCount();
  }
  if (row < 0) row = 0;
  for (;;) {
    const WrapPieces::Piece at = pieces_.At(g);
    const long rows = Layout(at.line, at.index).layout->lineCount();
    if (row < rows) break;
    if (g + 1 >= pieces_.Count()) {
      row = std::max(0L, rows - 1);
      break;
    }
    row -= rows;
    ++g;
  }
  SetTop(g, static_cast<int>(row));
}

void ByteView::wheelEvent(QWheelEvent* event) {
  if (!wrap_) return QAbstractScrollArea::wheelEvent(event);
  // Three rows a notch, as the toolkit scrolls lines.
  const int steps = event->angleDelta().y() / 40;
  if (steps) ScrollLines(-steps);
  event->accept();
}

void ByteView::EnsureCaretVisible() {
  if (!doc_ || doc_->LineCount() == 0) return;
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t byte = caret_ - doc_->LineStart(line);
  if (wrap_) {
    // The caret's row, counted in rows from the top of the pane.
    const std::size_t piece = PieceOf(line, byte);
    LineLayout& l = Layout(line, piece);
    const int row = l.layout->lineForTextPosition(DisplayIndex(l, byte)).lineNumber();
    const std::size_t g = pieces_.Global(line, piece);
    const std::size_t top = TopPiece();
    if (g < top || (g == top && row < first_row_)) {
      SetTop(g, std::max(0, row));
      return;
    }
    const int visible = VisibleLines();
    long rows_above = -first_row_;  // rows from the top of the pane to the caret's piece
    for (std::size_t k = top; k < g && rows_above < visible; ++k) {
      const WrapPieces::Piece at = pieces_.At(k);
      rows_above += Layout(at.line, at.index).layout->lineCount();
    }
    if (rows_above + row >= visible) {
      SetTop(g, std::max(0, row));
      ScrollLines(-(visible - 1));
    }
    return;
  }
  const std::size_t first = FirstVisibleLine();
  const auto visible = static_cast<std::size_t>(VisibleLines());
  if (line < first) ScrollToLine(line);
  else if (line >= first + visible) ScrollToLine(line - visible + 1);
  LineLayout& l = Layout(line);
  // A caret outside the part of a long line laid out lies at its column's width.
  qreal x = static_cast<qreal>(byte) * CharWidth();
  if (byte >= l.byte_from && byte <= l.byte_to) x = l.x_offset + l.layout->lineAt(0).cursorToX(DisplayIndex(l, byte));
  QScrollBar* hb = horizontalScrollBar();
  if (x < hb->value()) hb->setValue(static_cast<int>(x) - 16);
  else if (x > hb->value() + viewport()->width() - 16) hb->setValue(static_cast<int>(x) - viewport()->width() + 32);
}

}  // namespace haruvi::viewer
