// Page arithmetic of printing: the page rectangle from the four margins, the range each
// margin may take on the current printer and paper, and the paper's name by its code.
// Millimetres per inch are 25.39999 throughout and rounding goes to the even neighbour.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace haruvi::systools {

inline constexpr double kMmPerInch = 25.39999;

// The integer nearest to x, a tie going to the even one.
long Nearest(double x);

// What the printer reports, in device dots (resolution in dots per inch).
struct PrinterMetrics {
  int dpiX = 0, dpiY = 0;
  int offX = 0, offY = 0;    // physical offsets of the printable area
  int physW = 0, physH = 0;  // the paper
  int pageW = 0, pageH = 0;  // the printable area
  int RightGap() const { return physW - (pageW + offX); }
  int BottomGap() const { return physH - (pageH + offY); }
};

struct Margins {
  long top = 0, left = 0, bottom = 0, right = 0;  // whole millimetres
};

// In device dots of the printable area.
struct PageRect {
  long left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PageRect&) const = default;
};

// The rectangle the text fills; a margin inside the unprintable edge gives the edge.
// A printer reporting no resolution gives the whole printable area.
PageRect ApplyMargins(const PrinterMetrics& m, const Margins& mm);

struct MarginRange {
  long min = 0, max = 0;
  bool operator==(const MarginRange&) const = default;
};
struct MarginRanges {
  MarginRange top, left, right, bottom;
};
MarginRanges RangesOf(const PrinterMetrics& m);

// A spin edit's text after the range step: empty is 0, then below the minimum or above
// the maximum gives the minimum.
long ClampMargin(std::string_view text, const MarginRange& r);
// A stored value: a text that is not a whole number counts as 0.
long MarginValue(std::string_view text);

// The paper's name by the printer's paper-size code; "" for an unknown code.
std::string PaperName(int code);
// "A4 210x297": the name, a blank, the paper's millimetres across and down.
std::string PaperLabel(int code, const PrinterMetrics& m);

}  // namespace haruvi::systools
