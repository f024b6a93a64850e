// Page-by-page printing of pane bytes, and the printer's metrics.
#include "print/pane_printer.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>

#include "systools/print_pieces.h"

namespace haruvi::print {

systools::PrinterMetrics MetricsOf(const QPrinter& printer) {
  systools::PrinterMetrics m;
  m.dpiX = printer.logicalDpiX();
  m.dpiY = printer.logicalDpiY();
  const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
  const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
  m.physW = paper.width();
  m.physH = paper.height();
  m.offX = page.left() - paper.left();
  m.offY = page.top() - paper.top();
  m.pageW = page.width();
  m.pageH = page.height();
  return m;
}

int PaperCodeOf(const QPrinter& printer) { return printer.pageLayout().pageSize().windowsId(); }

namespace {

// A line longer than this is laid out in pieces (cut at a character's start), so one huge
// line never becomes one huge layout.
constexpr std::size_t kPieceBytes = 16 * 1024;

class Pager {
 public:
  Pager(QPrinter& printer, QPainter& painter, const QFont& font, const QRect& area, int tab_width,
        const PrintPoll& poll)
      : printer_(printer), painter_(painter), font_(font), area_(area), poll_(poll), y_(area.top()) {
    QFontMetricsF fm(font_, &printer_);
    spacing_ = fm.lineSpacing();
    option_.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Stops every `tab_width` widths of "M", as the pane sets them. The layout takes the
    // distance in the screen's units and scales it to the printer's resolution itself, so
    // it is measured with the screen's metrics (the printer's would be scaled twice).
    option_.setTabStopDistance(QFontMetricsF(font_).horizontalAdvance(QLatin1Char('M')) * std::max(1, tab_width));
  }

  // Lays out one piece of a line; false once the printing is cancelled.
  bool Piece(const QString& text, bool ends_line, std::size_t done) {
    done_ = done;
    if (text.isEmpty()) {
      if (ends_line) return Advance(spacing_);
      return true;
    }
    QTextLayout layout(text, font_, &printer_);
    layout.setTextOption(option_);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(area_.width());
      const qreal h = line.height();
      if (y_ + h > area_.bottom() + 1 && y_ > area_.top()) {
        if (!NewPage()) {
          layout.endLayout();
          return false;
        }
      }
      line.setPosition(QPointF(0, 0));
      line.draw(&painter_, QPointF(area_.left(), y_));
      y_ += h;
    }
    layout.endLayout();
    return true;
  }

  int Pages() const { return pages_; }
  bool Cancelled() const { return cancelled_; }

  bool Finish() {
    if (poll_ && !poll_(pages_, done_)) cancelled_ = true;
    return !cancelled_;
  }

 private:
  bool Advance(qreal h) {
    if (y_ + h > area_.bottom() + 1 && y_ > area_.top() && !NewPage()) return false;
    y_ += h;
    return true;
  }
  bool NewPage() {
    if (poll_ && !poll_(pages_, done_)) {
      cancelled_ = true;
      return false;
    }
    if (!printer_.newPage()) return false;
    ++pages_;
    y_ = area_.top();
    return true;
  }

  QPrinter& printer_;
  QPainter& painter_;
  QFont font_;
  QRect area_;
  const PrintPoll& poll_;
  QTextOption option_;
  qreal spacing_ = 0;
  qreal y_;
  int pages_ = 1;
  std::size_t done_ = 0;
  bool cancelled_ = false;
};

// The font for the printer: a pixel size (set for the screen) becomes points, so the
// text keeps its size on a 600-dpi page.
QFont PrinterFont(QFont font) {
  if (font.pixelSize() > 0) font.setPointSizeF(font.pixelSize() * 72.0 / 96.0);
  return font;
}

}  // namespace

PrintResult PrintText(QPrinter& printer, std::string_view bytes, encoding::CodePage page, const QFont& font,
                      int tab_width, const systools::PageRect& rect, const PrintPoll& poll) {
  PrintResult result;
  QPainter painter;
  if (!painter.begin(&printer)) {
    result.error = QStringLiteral("印刷を開始できません。");
    return result;
  }
  const QFont f = PrinterFont(font);
  painter.setFont(f);
  painter.setPen(Qt::black);
  QRect area(static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right - rect.left),
             static_cast<int>(rect.bottom - rect.top));
  if (area.width() <= 0 || area.height() <= 0) area = QRect(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
  Pager pager(printer, painter, f, area, tab_width, poll);
  const encoding::PaneCodec& codec = encoding::PaneCodec::For(page);
  systools::PieceReader reader(bytes, codec, kPieceBytes);
  systools::TextPiece piece;
  bool going = true;
  while (going && reader.Next(piece)) {
    const std::u16string units = codec.PlainText(codec.Decode(bytes.substr(piece.begin, piece.end - piece.begin)));
    going = pager.Piece(QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size())), piece.ends_line,
                        piece.next);
  }
  if (going) going = pager.Finish();
  result.pages = pager.Pages();
  result.cancelled = pager.Cancelled();
  if (result.cancelled) printer.abort();
  painter.end();
  return result;
}

}  // namespace haruvi::print
