// Printing the pane to PDF: the Japanese text and the page count as pdftotext and pdfinfo
// read them, the job's title, the shown code page of a UTF-8 pane, Cancel between pages,
// and TForm6's ranges, clamping and paper label.
#include "controllers/print/print_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <QPrinter>
#include <QSpinBox>

#include "bridge/pane_text.h"
#include "controllers/print/margin_dialog.h"
#include "fake_window.h"
#include "support/run_process.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

class PrintTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::SetHeadless(true); }
  void TearDown() override { ui::SetHeadless(false); }

  std::unique_ptr<QPrinter> Pdf(const std::string& name) {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setPageSize(QPageSize(QPageSize::A4));
    pdf_ = (w.dir.path() / name).string();
    p->setOutputFileName(QString::fromStdString(pdf_));
    return p;
  }
  // The text as pdftotext reads it; CJK fonts map some ideographs to their radical forms
  // (U+2F47 for 日), which compatibility normalisation takes back.
  std::string Text() {
    const std::string out = test::RunProcess("/usr/bin/pdftotext", {"-enc", "UTF-8", pdf_, "-"}).out;
    return QString::fromStdString(out).normalized(QString::NormalizationForm_KC).toStdString();
  }
  // A field of pdfinfo's report, its value without the padding.
  std::string Info(const std::string& field) {
    const std::string out = test::RunProcess("/usr/bin/pdfinfo", {pdf_}).out;
    const size_t at = out.find(field + ":");
    if (at == std::string::npos) return "";
    const size_t from = out.find_first_not_of(' ', at + field.size() + 1);
    return out.substr(from, out.find('\n', from) - from);
  }
  static std::string Lines(int n, const char* what) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += std::string(what) + std::to_string(i) + "\r\n";
    return s;
  }

  test::FakeWindow w;
  PrintController print{w};
  std::string pdf_;
};

TEST_F(PrintTest, JapaneseTextComesOutOnAsManyPagesAsItNeeds) {
  w.dir.Write("f/memo.txt", "x");
  w.Select(w.dir / "f", "memo.txt");
  w.Pane().SetText(bridge::ToPane(QString::fromStdString(Lines(150, "日本語の行 ")), encoding::CodePage::Cp932));
  auto printer = Pdf("out.pdf");
  const print::PrintResult r = print.PrintPane(*printer);
  EXPECT_TRUE(r.error.isEmpty());
  EXPECT_FALSE(r.cancelled);
  EXPECT_GT(r.pages, 1);
  const std::string text = Text();
  EXPECT_NE(text.find("日本語の行 1\n"), std::string::npos) << text.substr(0, 200);
  EXPECT_NE(text.find("日本語の行 150"), std::string::npos);
  EXPECT_EQ(Info("Pages"), std::to_string(r.pages));
  EXPECT_EQ(Info("Title"), "memo.txt");
}

TEST_F(PrintTest, AUtf8PaneIsPrintedInItsShownCodePage) {
  w.Pane().SetText(std::string("UTF-8の本文\r\n\r\n二行目"), encoding::TextForm::Utf8);
  auto printer = Pdf("utf8.pdf");
  EXPECT_EQ(print.PrintPane(*printer).pages, 1);
  const std::string text = Text();
  EXPECT_NE(text.find("UTF-8の本文"), std::string::npos) << text;
  EXPECT_NE(text.find("二行目"), std::string::npos) << text;
}

TEST_F(PrintTest, AnOverlongLineIsWrappedAndCancelStopsBetweenPages) {
  // One line of 200 KB without a break: laid out in pieces, over many pages.
  std::string line;
  for (int i = 0; i < 20000; ++i) line += "\x82\xA0\x82\xA2 abcd";  // あい abcd
  auto printer = Pdf("long.pdf");
  int asked = 0;
  const print::PrintResult r = print::PrintText(*printer, line, encoding::CodePage::Cp932, QFont(), 8, {0, 0, 0, 0},
                                                [&](int, std::size_t) { return ++asked < 3; });
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(r.pages, 3);
}

TEST_F(PrintTest, AnyBytesPrintInEitherCodePage) {
  std::string bytes;
  unsigned v = 12345;
  for (int i = 0; i < 20000; ++i) {
    v = v * 1103515245u + 12345u;
    bytes.push_back(static_cast<char>(v >> 16));
  }
  for (encoding::CodePage page : {encoding::CodePage::Cp932, encoding::CodePage::Utf8}) {
    auto printer = Pdf("any.pdf");
    const print::PrintResult r = print::PrintText(*printer, bytes, page, QFont(), 8, {0, 0, 0, 0});
    EXPECT_TRUE(r.error.isEmpty());
    EXPECT_GE(r.pages, 1);
  }
}

TEST_F(PrintTest, StoredMarginsShrinkThePageRectangle) {
  auto printer = Pdf("m.pdf");
  const systools::PrinterMetrics m = print::MetricsOf(*printer);
  EXPECT_EQ(print::PaperCodeOf(*printer), 9);
  EXPECT_EQ(systools::PaperLabel(9, m), "A4 210x297");
  w.Settings().Write(PrintController::kLeft, "25");
  w.Settings().Write(PrintController::kTop, "junk");
  const systools::Margins mm = print.StoredMargins();
  EXPECT_EQ(mm.left, 25);
  EXPECT_EQ(mm.top, 0);
  EXPECT_EQ(mm.right, 0);  // no key: 0
  const systools::PageRect r = systools::ApplyMargins(m, mm);
  EXPECT_GT(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, m.pageW);
}

TEST_F(PrintTest, MarginDialogClampsToItsRangesAndNamesThePaper) {
  systools::PrinterMetrics m;
  m.dpiX = m.dpiY = 600;
  m.physW = 4961;
  m.physH = 7016;
  m.offX = m.offY = 100;
  m.pageW = 4761;
  m.pageH = 6816;
  TForm6 form(m, 9, w.Window());
  EXPECT_EQ(form.LabelP->text(), "A4 210x297");
  form.Load({9999, 15, 0, 3});
  EXPECT_EQ(form.SEpaperTop->value(), 4);  // above the maximum: the minimum
  EXPECT_EQ(form.SEpaperLeft->value(), 15);
  EXPECT_EQ(form.SEpaperBottom->value(), 4);
  EXPECT_EQ(form.SEpaperRight->value(), 4);
  EXPECT_EQ(form.LhaniY->text(), "4-293");
  EXPECT_EQ(form.LhaniX->text(), "4-206");
  EXPECT_EQ(form.LhaniX2->text(), "4-202");
  EXPECT_EQ(form.LhaniY2->text(), "4-289");
  const systools::Margins e = form.Entered();
  EXPECT_EQ(e.top, 4);
  EXPECT_EQ(e.left, 15);
}

}  // namespace
}  // namespace haruvi::controllers

namespace haruvi::controllers {
namespace {

// A TAB prints as the pane shows it: to the next stop, tab width characters apart, on the
// same line; short lines with a TAB take as many pages as lines without one.
TEST_F(PrintTest, ATabMovesToTheNextStopOnTheSameLine) {
  std::string text;
  for (int i = 0; i < 180; ++i) text += "MM\tc\r\n";
  w.Pane().SetText(text);
  auto printer = Pdf("tab.pdf");
  const print::PrintResult r = print.PrintPane(*printer);
  std::string plain_text;
  for (int i = 0; i < 180; ++i) plain_text += "MM c\r\n";
  w.Pane().SetText(plain_text);
  auto plain = Pdf("plain.pdf");
  const print::PrintResult plain_result = print.PrintPane(*plain);
  const int plain_pages = plain_result.pages;
  EXPECT_FALSE(plain_result.cancelled);  // a second print in a row runs to its end
  EXPECT_EQ(r.pages, plain_pages);
  pdf_ = (w.dir.path() / "tab.pdf").string();
  // The first line's words and where they stand, as pdftotext -bbox gives them.
  const std::string box = test::RunProcess("/usr/bin/pdftotext", {"-bbox", "-f", "1", "-l", "1", pdf_, "-"}).out;
  auto x_of = [&](const std::string& word, double* min, double* max) {
    const size_t at = box.find(">" + word + "</word>");
    ASSERT_NE(at, std::string::npos) << box.substr(0, 600);
    const size_t tag = box.rfind("<word", at);
    const std::string head = box.substr(tag, at - tag);
    *min = std::stod(head.substr(head.find("xMin=\"") + 6));
    *max = std::stod(head.substr(head.find("xMax=\"") + 6));
  };
  double ab_min = 0, ab_max = 0, c_min = 0, c_max = 0;
  x_of("MM", &ab_min, &ab_max);
  x_of("c", &c_min, &c_max);
  const double char_width = (ab_max - ab_min) / 2;
  EXPECT_GT(c_min, ab_max);
  // Eight widths of "M" from the line's start: the pane's tab width.
  EXPECT_NEAR((c_min - ab_min) / char_width, 8.0, 0.5) << box.substr(0, 600);
}

// The printer setup prints nothing: its button reads "OK", and printing into a file is
// not offered there (its overwrite question belongs to printing).
TEST_F(PrintTest, ThePrinterSetupOnlySetsUp) {
  bool seen = false;
  QTimer::singleShot(50, [&seen] {
    auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    seen = true;
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("プリンタ設定"));
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    dialog->reject();
  });
  w.Actions().Trigger("Mprinter1");
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace haruvi::controllers
