// Printing the pane: "印刷(&P)" (printer dialog, then the pane page by page with the
// stored margins and the file's name as the job's title), "印刷設定(&U)" (TForm6) and
// "プリンタ設定(&T)..." (the printer dialog only). The margins live in section "Print".
#pragma once

#include <memory>

#include "print/pane_printer.h"
#include "ui/controller.h"

class QPrinter;

namespace haruvi::controllers {

class PrintController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "print";
  static constexpr auto kTop = platform::Str(kOwner, "Print", "Yohaku_T", "0");
  static constexpr auto kLeft = platform::Str(kOwner, "Print", "Yohaku_L", "0");
  static constexpr auto kBottom = platform::Str(kOwner, "Print", "Yohaku_B", "0");
  static constexpr auto kRight = platform::Str(kOwner, "Print", "Yohaku_R", "0");

  explicit PrintController(ui::WindowContext& ctx, QObject* parent = nullptr);
  ~PrintController() override;

  void MprintClick();
  void Mprinter1Click();
  void MprintsetClick();

  std::vector<platform::KeyInfo> Keys() const override;

  // The current printer (made at first use, kept while the window lives).
  QPrinter& Printer();
  // The four stored margins; a missing or non-numeric value is 0.
  systools::Margins StoredMargins() const;
  // Prints the pane on the printer as it is set up now, with the progress window; what
  // the print command does after its dialog.
  print::PrintResult PrintPane(QPrinter& printer);

 private:
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace haruvi::controllers
