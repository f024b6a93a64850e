// Page rectangle, margin ranges and paper names of printing.
#include "systools/print_layout.h"

#include <charconv>
#include <cmath>

namespace haruvi::systools {

long Nearest(double x) { return static_cast<long>(std::nearbyint(x)); }  // default mode: ties to even

namespace {

double Dots(long mm, int dpi) { return static_cast<double>(mm) / kMmPerInch * dpi; }
long Mm(long dots, int dpi) { return dpi > 0 ? Nearest(static_cast<double>(dots) / dpi * kMmPerInch) : 0; }

}  // namespace

PageRect ApplyMargins(const PrinterMetrics& m, const Margins& mm) {
  PageRect r{0, 0, m.pageW, m.pageH};
  if (m.dpiX <= 0 || m.dpiY <= 0) return r;
  r.left = Nearest(Dots(mm.left, m.dpiX) - m.offX);
  if (r.left < 0) r.left = 0;
  r.top = Nearest(Dots(mm.top, m.dpiY) - m.offY);
  if (r.top < 0) r.top = 0;
  r.right = Nearest(m.pageW - (Dots(mm.right, m.dpiX) - m.RightGap()));
  if (r.right < 0) r.right = m.pageW;
  r.bottom = Nearest(m.pageH - (Dots(mm.bottom, m.dpiY) - m.BottomGap()));
  if (r.bottom < 0) r.bottom = m.pageH;
  // A right margin inside the unprintable gap would reach past the printable area.
  if (r.right > m.pageW) r.right = m.pageW;
  if (r.bottom > m.pageH) r.bottom = m.pageH;
  return r;
}

MarginRanges RangesOf(const PrinterMetrics& m) {
  MarginRanges r;
  r.left = {Mm(m.offX, m.dpiX), Mm(m.offX + m.pageW, m.dpiX)};
  r.top = {Mm(m.offY, m.dpiY), Mm(m.offY + m.pageH, m.dpiY)};
  r.right = {Mm(m.RightGap(), m.dpiX), Mm(m.pageW, m.dpiX)};
  r.bottom = {Mm(m.BottomGap(), m.dpiY), Mm(m.pageH, m.dpiY)};
  return r;
}

long MarginValue(std::string_view text) {
  long v = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return 0;
  return v;
}

long ClampMargin(std::string_view text, const MarginRange& r) {
  const long v = MarginValue(text);
  return (v < r.min || v > r.max) ? r.min : v;
}

std::string PaperName(int code) {
  static constexpr std::array<const char*, 42> kNames = {
      "", "ﾚﾀｰ", "ﾚﾀｰS", "ﾀﾌﾞﾛｲﾄ", "Ledger", "Legal", "ｽﾃｰﾄﾒﾝﾄ", "ｴｸﾞｾﾞｸﾃｨﾌﾞ", "A3", "A4", "A4S", "A5",
      "B4", "B5", "ﾌｫﾘｵ", "ｸﾜﾄﾛ", "10x14 ｲﾝﾁ", "11x17 ｲﾝﾁ", "ﾉｰﾄ", "#9", "#10", "#11", "#12", "#14", "C", "D",
      "E", "Envelope DL 110 x 220mm", "Envelope C5 162 x 229 mm", "Envelope C3  324 x 458 mm",
      "Envelope C4  229 x 324 mm", "Envelope C6  114 x 162 mm", "Envelope C65 114 x 229 mm",
      "Envelope B4  250 x 353 mm", "Envelope B5  176 x 250 mm", "Envelope B6  176 x 125 mm",
      "Envelope 110 x 230 mm", "Envelope Monarch 3.875 x 7.5 in", "6 3/4 Envelope 3 5/8 x 6 1/2 in",
      "US Std Fanfold 14 7/8 x 11 in", "German Std Fanfold 8 1/2 x 12 in", "German Legal Fanfold 8 1/2 x 13 in"};
  if (code == 118) return "dmPaper_Fanfold_Lgl_German";
  if (code < 0 || code >= static_cast<int>(kNames.size())) return "";
  return kNames[static_cast<size_t>(code)];
}

std::string PaperLabel(int code, const PrinterMetrics& m) {
  const auto mm = [](int dots, int dpi) {
    return dpi > 0 ? Nearest(static_cast<double>(dots) * kMmPerInch / dpi) : 0L;
  };
  return PaperName(code) + " " + std::to_string(mm(m.physW, m.dpiX)) + "x" + std::to_string(mm(m.physH, m.dpiY));
}

}  // namespace haruvi::systools
