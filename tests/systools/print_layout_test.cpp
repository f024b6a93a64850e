// The page rectangle and margin ranges against the metrics of an imaginary 600 dpi A4
// printer with a 4 mm unprintable frame, and the paper names by code.
#include <gtest/gtest.h>

#include "systools/print_layout.h"

namespace haruvi::systools {
namespace {

// A4 at 600 dpi: 4961 x 7016 dots; 100 dots of unprintable edge on every side.
PrinterMetrics A4() {
  PrinterMetrics m;
  m.dpiX = m.dpiY = 600;
  m.physW = 4961;
  m.physH = 7016;
  m.offX = m.offY = 100;
  m.pageW = 4961 - 200;
  m.pageH = 7016 - 200;
  return m;
}

TEST(Nearest, TiesGoToTheEvenNeighbour) {
  EXPECT_EQ(Nearest(0.5), 0);
  EXPECT_EQ(Nearest(1.5), 2);
  EXPECT_EQ(Nearest(2.5), 2);
  EXPECT_EQ(Nearest(-0.5), 0);
  EXPECT_EQ(Nearest(2.4999), 2);
  EXPECT_EQ(Nearest(2.5001), 3);
}

TEST(PageRectangle, ZeroMarginsGiveThePrintableArea) {
  const PrinterMetrics m = A4();
  EXPECT_EQ(ApplyMargins(m, {}), (PageRect{0, 0, m.pageW, m.pageH}));
}

TEST(PageRectangle, MarginInsideTheUnprintableEdgeIsClampedToIt) {
  // 2 mm is 47 dots, less than the 100-dot offset.
  EXPECT_EQ(ApplyMargins(A4(), {2, 2, 0, 0}).left, 0);
  EXPECT_EQ(ApplyMargins(A4(), {2, 2, 0, 0}).top, 0);
}

TEST(PageRectangle, MarginsUseTheOddMillimetresPerInch) {
  const PrinterMetrics m = A4();
  // 20 mm / 25.39999 * 600 = 472.441... -> 472 - 100.
  const PageRect r = ApplyMargins(m, {20, 20, 20, 20});
  EXPECT_EQ(r.left, 372);
  EXPECT_EQ(r.top, 372);
  // right = pageW - (472.441 - 100) = 4761 - 372.44 = 4388.56 -> 4389.
  EXPECT_EQ(r.right, 4389);
  EXPECT_EQ(r.bottom, 6816 - 372);
}

TEST(PageRectangle, MarginsWiderThanThePaperNeverGiveANegativeEdge) {
  const PrinterMetrics m = A4();
  const PageRect r = ApplyMargins(m, {0, 0, 9999, 9999});
  EXPECT_EQ(r.right, m.pageW);
  EXPECT_EQ(r.bottom, m.pageH);
}

TEST(PageRectangle, APrinterWithoutResolutionPrintsTheWholeArea) {
  PrinterMetrics m = A4();
  m.dpiX = 0;
  EXPECT_EQ(ApplyMargins(m, {10, 10, 10, 10}), (PageRect{0, 0, m.pageW, m.pageH}));
}

TEST(MarginRanges, EachEdgeRunsFromItsGapToTheAreaItMayCover) {
  const MarginRanges r = RangesOf(A4());
  EXPECT_EQ(r.left, (MarginRange{4, 206}));   // 100 dots = 4.23 mm; 4861 dots = 205.8 mm
  EXPECT_EQ(r.top, (MarginRange{4, 293}));
  EXPECT_EQ(r.right, (MarginRange{4, 202}));  // the gap is 100 dots; pageW 4761 = 201.5 mm
  EXPECT_EQ(r.bottom, (MarginRange{4, 289}));
}

TEST(MarginRanges, OutOfRangeTextsGoToTheMinimum) {
  const MarginRange r{4, 206};
  EXPECT_EQ(ClampMargin("", r), 4);      // empty is 0, below the minimum
  EXPECT_EQ(ClampMargin("3", r), 4);
  EXPECT_EQ(ClampMargin("207", r), 4);   // above the maximum: the minimum as well
  EXPECT_EQ(ClampMargin("206", r), 206);
  EXPECT_EQ(ClampMargin("15", r), 15);
  EXPECT_EQ(ClampMargin("x1", r), 4);
}

TEST(MarginRanges, StoredValuesThatAreNotNumbersCountAsZero) {
  EXPECT_EQ(MarginValue("12"), 12);
  EXPECT_EQ(MarginValue("12mm"), 0);
  EXPECT_EQ(MarginValue(""), 0);
  EXPECT_EQ(MarginValue("99999999999999999999"), 0);
}

TEST(PaperNames, CodesGiveTheirNamesAndOthersNothing) {
  EXPECT_EQ(PaperName(9), "A4");
  EXPECT_EQ(PaperName(1), "ﾚﾀｰ");
  EXPECT_EQ(PaperName(29), "Envelope C3  324 x 458 mm");
  EXPECT_EQ(PaperName(41), "German Legal Fanfold 8 1/2 x 13 in");
  EXPECT_EQ(PaperName(118), "dmPaper_Fanfold_Lgl_German");
  EXPECT_EQ(PaperName(0), "");
  EXPECT_EQ(PaperName(42), "");
  EXPECT_EQ(PaperName(-1), "");
  EXPECT_EQ(PaperLabel(9, A4()), "A4 210x297");
  EXPECT_EQ(PaperLabel(0, A4()), " 210x297");
}

}  // namespace
}  // namespace haruvi::systools
