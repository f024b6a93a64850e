// The hex dump commands of "16進表示(&P)": "標準表示" puts the selected file's bytes into
// the pane sixteen to a line, "行下表示" writes the digit lines under the pane's own lines.
// The text is made by the viewer core on a worker; this shows its lines as they come,
// the progress window and its Cancel, and keeps the main window usable meanwhile.
#pragma once

#include <atomic>
#include <functional>

#include "ui/controller.h"

namespace haruvi::controllers {

class DumpController : public ui::Controller {
  Q_OBJECT

 public:
  explicit DumpController(ui::WindowContext& ctx, QObject* parent = nullptr);

  void Mdump1Click();
  void Mdump1bClick();

  // Called on the dump's worker after each piece it hands over (tests hold it there).
  static inline std::function<void()> piece_made;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs `dump(cancelled, produced)` on a worker with the progress window; the lines it
  // has produced are shown as they come.
  template <class Dump>
  void WithProgress(Dump&& dump);

  std::atomic<bool> cancel_{false};
  bool running_ = false;
};

}  // namespace haruvi::controllers
