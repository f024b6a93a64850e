// Prints pane bytes on a QPrinter page by page: lines are decoded in the pane's code page
// and laid out one at a time into the page rectangle, so a pane of any size is printed
// in bounded memory. The printer's metrics feed the margin arithmetic of systools.
#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <string_view>

#include "encoding/pane_codec.h"
#include "systools/print_layout.h"

class QPrinter;

namespace haruvi::print {

// Resolution, offsets, paper and printable area of the printer as it is set up now.
systools::PrinterMetrics MetricsOf(const QPrinter& printer);
// The Windows-style paper code of the printer's page size; 0 when it has none.
int PaperCodeOf(const QPrinter& printer);

struct PrintResult {
  int pages = 0;
  bool cancelled = false;
  QString error;  // "" when printed
};

// Asked after each page with the pages done and the bytes consumed; false cancels.
using PrintPoll = std::function<bool(int pages, std::size_t done)>;

// Prints `bytes` (lines ended as the pane ends them, in `page`) in `font` inside `rect` (device dots of the
// printable area). The caller sets the document title on the printer.
PrintResult PrintText(QPrinter& printer, std::string_view bytes, encoding::CodePage page, const QFont& font, int tab_width,
                      const systools::PageRect& rect, const PrintPoll& poll = {});

}  // namespace haruvi::print
