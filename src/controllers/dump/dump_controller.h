// The hex dump commands of "16進表示(&P)": "標準表示" puts the selected file's bytes into
// the pane sixteen to a line, "行下表示" writes the digit lines under the pane's own lines.
// The text is made by the viewer core; this shows the progress window and its Cancel.
#pragma once

#include "ui/controller.h"

namespace haruvi::controllers {

class DumpController : public ui::Controller {
  Q_OBJECT

 public:
  explicit DumpController(ui::WindowContext& ctx, QObject* parent = nullptr);

  void Mdump1Click();
  void Mdump1bClick();

 private:
  // Runs `dump` with the progress window; the cancel question is asked between steps.
  template <class Dump>
  void WithProgress(Dump&& dump);
};

}  // namespace haruvi::controllers
