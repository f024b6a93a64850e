#include "viewer/byte_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace haruvi::viewer {
namespace {

// Lines longer than this are laid out only around what is on screen.
constexpr std::size_t kWholeLineLimit = 64 * 1024;
// In wrap mode a line is laid out up to this many bytes (a 100 MB line shows its start).
constexpr std::size_t kWrapLimit = 256 * 1024;
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
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { viewport()->update(); });
}

void ByteView::SetDocument(const TextDocument* document) {
  doc_ = document;
  Reset();
}

void ByteView::Reset() {
  anchor_ = caret_ = 0;
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
  wrap_ = on;
  Invalidate();
  UpdateScrollBars();
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
  const std::size_t lines = doc_ ? doc_->LineCount() : 0;
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, static_cast<int>(std::min<std::size_t>(lines > 0 ? lines - 1 : 0, INT32_MAX)));
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
  // Walk back to a byte that cannot be a trail byte, then forward by characters.
  std::size_t p = std::min(byte, line.size());
  std::size_t back = p;
  while (back > 0 && p - back < 4096 && static_cast<unsigned char>(line[back - 1]) >= 0x40) --back;
  const auto& codec = encoding::PaneCodec::For(page_);
  std::size_t at = back;
  while (at < p) {
    std::size_t n = std::max<std::size_t>(1, codec.CharLength(line.substr(at)));
    if (at + n > p) break;
    at += n;
  }
  return at;
}

ByteView::LineLayout& ByteView::Layout(std::size_t line) {
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
  if (auto it = cache_.find(line); it != cache_.end()) return it->second;
  if (cache_.size() > kMaxCachedLines) cache_.clear();

  LineLayout& l = cache_[line];
  std::string_view bytes = doc_->Line(line);
  std::size_t from = 0, to = bytes.size();
  const qreal cw = CharWidth();
  if (wrap_) {
    if (to > kWrapLimit) to = AlignToChar(bytes, kWrapLimit);
  } else if (bytes.size() > kWholeLineLimit) {
    const auto first_col = static_cast<std::size_t>(std::max(0, horizontalScrollBar()->value()) / cw);
    from = AlignToChar(bytes, first_col > 2048 ? first_col - 2048 : 0);
    to = AlignToChar(bytes, std::min(bytes.size(), first_col + static_cast<std::size_t>(viewport()->width() / cw) + 2 * 4096));
    if (to < bytes.size() && to <= from) to = std::min(bytes.size(), from + 2);
  }
  l.byte_from = from;
  l.x_offset = static_cast<qreal>(from) * cw;

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
    text += QChar(unit);
    l.byte_of_index.push_back(from + pos);
    ++u;
    if (u < units.size() && IsSelector(units[u])) {
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

void ByteView::paintEvent(QPaintEvent*) {
  QPainter p(viewport());
  if (!doc_ || doc_->LineCount() == 0) return;
  p.setPen(text_color_.isValid() ? text_color_ : palette().color(QPalette::Text));
  const int h = viewport()->height();
  const qreal hx = wrap_ ? 0 : horizontalScrollBar()->value();
  const std::size_t sel_a = SelStart(), sel_b = SelStart() + SelLength();
  qreal y = 0;
  for (std::size_t line = FirstVisibleLine(); line < doc_->LineCount() && y < h; ++line) {
    LineLayout& l = Layout(line);
    const std::size_t start = doc_->LineStart(line);
    QList<QTextLayout::FormatRange> selections;
    const std::size_t len = doc_->Line(line).size();
    if (sel_b > sel_a && sel_a <= start + len && sel_b > start) {
      const std::size_t a = sel_a > start ? sel_a - start : 0;
      const std::size_t b = std::min(len, sel_b - start);
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
      const std::size_t byte = std::min(len, caret_ - std::min(caret_, start));
      if (byte >= l.byte_from) l.layout->drawCursor(&p, origin, DisplayIndex(l, byte));
    }
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

std::size_t ByteView::FirstVisibleLine() const { return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value())); }

void ByteView::ScrollToLine(std::size_t line) { verticalScrollBar()->setValue(static_cast<int>(std::min<std::size_t>(line, INT32_MAX))); }

void ByteView::ScrollLines(int lines) { verticalScrollBar()->setValue(verticalScrollBar()->value() + lines); }

void ByteView::EnsureCaretVisible() {
  if (!doc_) return;
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t first = FirstVisibleLine();
  const auto visible = static_cast<std::size_t>(VisibleLines());
  if (line < first) ScrollToLine(line);
  else if (line >= first + visible) ScrollToLine(line - visible + 1);
  if (!wrap_) {
    LineLayout& l = Layout(line);
    const std::size_t byte = caret_ - doc_->LineStart(line);
    if (byte >= l.byte_from) {
      const qreal x = l.x_offset + l.layout->lineAt(0).cursorToX(DisplayIndex(l, byte));
      QScrollBar* hb = horizontalScrollBar();
      if (x < hb->value()) hb->setValue(static_cast<int>(x) - 16);
      else if (x > hb->value() + viewport()->width() - 16) hb->setValue(static_cast<int>(x) - viewport()->width() + 32);
    }
  }
}

void ByteView::SetSelection(std::size_t start, std::size_t length) {
  const std::size_t total = doc_ ? doc_->TextCrLfLength() : 0;
  anchor_ = std::min(start, total);
  caret_ = std::min(total, anchor_ + length);
  emit CaretMoved();
  viewport()->update();
}

void ByteView::SelectAll() { SetSelection(0, doc_ ? doc_->TextCrLfLength() : 0); }

QString ByteView::SelectedDisplayText() const {
  if (!doc_ || SelLength() == 0) return {};
  const std::u16string units = encoding::PaneCodec::For(page_).Decode(doc_->SliceCrLf(SelStart(), SelLength()));
  QString text;
  for (char16_t u : units)
    if (!encoding::PaneCodec::For(page_).IsRawByte(u) && !IsSelector(u)) text += QChar(u);
  return text;
}

std::size_t ByteView::OffsetAt(const QPoint& pos) {
  if (!doc_ || doc_->LineCount() == 0) return 0;
  qreal y = 0;
  const qreal hx = wrap_ ? 0 : horizontalScrollBar()->value();
  std::size_t line = FirstVisibleLine();
  for (; line < doc_->LineCount(); ++line) {
    LineLayout& l = Layout(line);
    if (pos.y() < y + l.height || line + 1 == doc_->LineCount()) {
      const qreal local_y = std::clamp<qreal>(pos.y() - y, 0, l.height - 1);
      QTextLine tl = l.layout->lineAt(std::max(0, std::min(l.layout->lineCount() - 1,
                                                           static_cast<int>(local_y / fontMetrics().lineSpacing()))));
      int index = tl.isValid() ? tl.xToCursor(pos.x() + hx - l.x_offset - 2) : 0;
      index = std::clamp(index, 0, static_cast<int>(l.byte_of_index.size()) - 1);
      return doc_->LineStart(line) + l.byte_of_index[static_cast<size_t>(index)];
    }
    y += l.height;
  }
  return doc_->TextCrLfLength();
}

void ByteView::MoveCaret(std::size_t offset, bool extend) {
  caret_ = std::min(offset, doc_ ? doc_->TextCrLfLength() : 0);
  if (!extend) anchor_ = caret_;
  EnsureCaretVisible();
  emit CaretMoved();
  viewport()->update();
}

std::size_t ByteView::PrevCharStart(std::size_t line, std::size_t byte) const {
  if (byte == 0) return 0;
  return AlignToChar(doc_->Line(line), byte - 1);
}

std::size_t ByteView::NextCharEnd(std::size_t line, std::size_t byte) const {
  std::string_view s = doc_->Line(line);
  if (byte >= s.size()) return s.size();
  return byte + std::max<std::size_t>(1, encoding::PaneCodec::For(page_).CharLength(s.substr(byte)));
}

void ByteView::keyPressEvent(QKeyEvent* event) {
  if (!doc_ || doc_->LineCount() == 0) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    SelectAll();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(SelectedDisplayText());
    return;
  }
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const std::size_t line = doc_->LineOfOffset(caret_);
  const std::size_t byte = caret_ - doc_->LineStart(line);
  const std::size_t len = doc_->Line(line).size();
  auto at = [this](std::size_t l, std::size_t b) {
    l = std::min(l, doc_->LineCount() - 1);
    return doc_->LineStart(l) + AlignToChar(doc_->Line(l), b);
  };
  switch (event->key()) {
    case Qt::Key_Left:
      if (byte > 0) MoveCaret(doc_->LineStart(line) + PrevCharStart(line, byte), extend);
      else if (line > 0) MoveCaret(doc_->LineStart(line - 1) + doc_->Line(line - 1).size(), extend);
      return;
    case Qt::Key_Right:
      if (byte < len) MoveCaret(doc_->LineStart(line) + NextCharEnd(line, byte), extend);
      else if (line + 1 < doc_->LineCount()) MoveCaret(doc_->LineStart(line + 1), extend);
      return;
    case Qt::Key_Up:
      if (line > 0) MoveCaret(at(line - 1, byte), extend);
      return;
    case Qt::Key_Down:
      if (line + 1 < doc_->LineCount()) MoveCaret(at(line + 1, byte), extend);
      return;
    case Qt::Key_PageUp:
      MoveCaret(at(line > static_cast<std::size_t>(VisibleLines()) ? line - VisibleLines() : 0, byte), extend);
      return;
    case Qt::Key_PageDown:
      MoveCaret(at(line + static_cast<std::size_t>(VisibleLines()), byte), extend);
      return;
    case Qt::Key_Home:
      MoveCaret(ctrl ? 0 : doc_->LineStart(line), extend);
      return;
    case Qt::Key_End:
      MoveCaret(ctrl ? doc_->TextCrLfLength() : doc_->LineStart(line) + len, extend);
      return;
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void ByteView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  MoveCaret(OffsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ByteView::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() & Qt::LeftButton) MoveCaret(OffsetAt(event->position().toPoint()), true);
}

void ByteView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click selects the line: words are not delimited in Japanese text.
  if (!doc_ || doc_->LineCount() == 0) return;
  const std::size_t line = doc_->LineOfOffset(OffsetAt(event->position().toPoint()));
  SetSelection(doc_->LineStart(line), doc_->Line(line).size());
}

}  // namespace haruvi::viewer
