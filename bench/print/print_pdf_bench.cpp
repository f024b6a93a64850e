// Prints a Shift_JIS text file to PDF the way "印刷(&P)" prints the pane: the bytes held
// whole (as the pane holds them), laid out and drawn page by page in the pane's font.
// Usage: print_pdf_bench TEXT OUT.pdf ; prints pages and seconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>
#include <cstdio>

#include "print/pane_printer.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: print_pdf_bench TEXT OUT.pdf\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) return 1;
  const QByteArray bytes = in.readAll();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setOutputFileName(QString::fromLocal8Bit(argv[2]));
  QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
  font.setPointSize(10);
  const haruvi::systools::PageRect rect =
      haruvi::systools::ApplyMargins(haruvi::print::MetricsOf(printer), {15, 15, 15, 15});
  QElapsedTimer timer;
  timer.start();
  const haruvi::print::PrintResult r = haruvi::print::PrintText(
      printer, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
      haruvi::encoding::CodePage::Cp932, font, 8, rect);
  std::printf("haruvi\t%d pages\t%.2f s\n", r.pages, static_cast<double>(timer.elapsed()) / 1000.0);
  return r.error.isEmpty() ? 0 : 1;
}
