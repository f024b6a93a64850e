// Peak memory of one text command through its menu item on the main window (offscreen):
// the file is put into the pane, the peak is reset, the item is triggered, and the peak
// the command added is printed as a multiple of the file's size. Linux only (VmHWM).
// Usage: textcmd_window_memory FILE [ACTION (MLineSortU1)]
#include <QApplication>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "app/form1.h"
#include "viewer/text_pane.h"

namespace {

// A field of /proc/self/status in kB.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: textcmd_window_memory FILE [ACTION]\n");
    return 2;
  }
  const char* action = argc > 2 ? argv[2] : "MLineSortU1";
  std::string text;
  {
    std::ifstream in(argv[1], std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char ini[] = "/tmp/textcmd-memory-XXXXXX";
  ::close(::mkstemp(ini));
  ::setenv("HARUVI_INI", ini, 1);
  QApplication app(argc, argv);
  haruvi::app::TForm1 form(QString{});
  form.show();
  QApplication::processEvents();
  const double size = static_cast<double>(text.size());
  form.RichEdit1->SetReadOnly(true);
  form.RichEdit1->SetText(std::move(text));
  QApplication::processEvents();
  // Writing 5 to clear_refs starts the peak (VmHWM) again from the present size.
  { std::ofstream("/proc/self/clear_refs") << "5"; }
  const long before = StatusKb("VmRSS");
  const auto t0 = std::chrono::steady_clock::now();
  form.Action(QString::fromUtf8(action))->trigger();
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  const long peak = StatusKb("VmHWM");
  std::printf("%s on %s (%.0f MB): %.2f s, peak %.0f MB, %.0f MB over the pane's (%.2fx the file)\n", action,
              argv[1], size / 1e6, s, peak / 1024.0, (peak - before) / 1024.0, (peak - before) * 1024.0 / size);
  form.close();
  ::unlink(ini);
  return 0;
}
