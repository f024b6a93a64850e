// Times the display of one file through the main window, headless: from the selection to
// the first paint of the pane with the information line complete. One file per process,
// so the peak resident memory printed is that file's. Usage: display_bench FILE
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/form1.h"
#include "shellview/file_view.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"

namespace {

long PeakRssKiB() {
  rusage u {};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

long CurrentRssKiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: display_bench FILE\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char ini[] = "/tmp/display-bench-XXXXXX";
  const int fd = ::mkstemp(ini);
  if (fd >= 0) ::close(fd);
  ::setenv("HARUVI_INI", ini, 1);
  QApplication app(argc, argv);
  const QFileInfo file(QString::fromLocal8Bit(argv[1]));
  haruvi::app::TForm1 form(QString{});
  form.resize(1200, 900);
  form.show();
  form.MoveToFolder(file.absolutePath());
  QApplication::processEvents();
  const long before = CurrentRssKiB();

  const auto t0 = std::chrono::steady_clock::now();
  form.FileView1->SelectByCaption(file.fileName());  // the selection shows the file
  form.RichEdit1->View()->viewport()->repaint();     // the first screen, painted now
  const auto t1 = std::chrono::steady_clock::now();
  const double seconds = std::chrono::duration<double>(t1 - t0).count();
  const bool complete = !form.LFilestring->text().isEmpty();
  std::printf("%s\t%.0f MB\t%.4f s\t%s\tpeak %.0f MB\tadded %.0f MB (%.2fx file)\n", argv[1],
              static_cast<double>(file.size()) / 1e6, seconds, complete ? "info line complete" : "NO INFO LINE",
              PeakRssKiB() / 1024.0, (CurrentRssKiB() - before) / 1024.0,
              (CurrentRssKiB() - before) * 1024.0 / std::max<qint64>(1, file.size()));
  form.close();
  ::unlink(ini);
  return complete ? 0 : 1;
}
