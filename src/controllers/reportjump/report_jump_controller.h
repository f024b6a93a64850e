// From a grep report to the places it names: Enter or a double click on a report line
// opens its file at its line, and "戻る" brings the report back where it was. Any shown
// text whose line names a file on disk counts (a filtered or saved report as well).
#pragma once

#include <QPointer>
#include <QString>
#include <cstddef>
#include <optional>
#include <string>

#include "encoding/text_form.h"
#include "search/report_place.h"
#include "ui/controller.h"

namespace haruvi::viewer {
class TextPane;
}

namespace haruvi::controllers {

class ReportJumpController : public ui::Controller {
  Q_OBJECT

 public:
  explicit ReportJumpController(ui::WindowContext& ctx, QObject* parent = nullptr);

  // Opens the place the caret's line names; false (and a status text) when it names none.
  bool MreportjumpClick();
  // The report the last jump left, as it was.
  void MreportbackClick();
  // The place named by the caret's line of the shown text.
  std::optional<search::ReportPlace> PlaceAtCaret();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct KeptReport {
    std::string bytes;
    encoding::TextForm form = encoding::TextForm::Legacy;
    QString info;
    std::size_t top = 0, caret = 0;
  };
  std::optional<KeptReport> kept_;
  QPointer<viewer::TextPane> pane_;
};

}  // namespace haruvi::controllers
