// Times one text with LF, CR LF and lone-CR line ends through the main window (offscreen):
// opening it (the selection until the pane holds the whole file and its line count) and
// "空行を削除" on it (the menu item until the pane holds the result), in wall and processor
// seconds, beside grep dropping the empty lines of the same file from the same run.
// Usage: line_ends_window_bench [MB]   (4 by default)
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

#include "app/form1.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace {

struct Clock {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  double cpu0 = Cpu();
  static double Cpu() {
    timespec t {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
  }
  double Wall() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(); }
  double Processor() const { return Cpu() - cpu0; }
};

// A Japanese-looking text in Shift_JIS with an empty line after every fifth.
std::string MakeText(std::size_t bytes, const char* eol) {
  std::string text;
  for (long n = 0; text.size() < bytes; ++n) {
    text += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x8d\x73 ";  // 日本語の行
    text += std::to_string(n);
    text += " the quick brown fox jumps over the lazy dog";
    text += eol;
    if (n % 5 == 4) text += eol;
  }
  return text;
}

double PeerSeconds(const std::string& command) {
  const auto t0 = std::chrono::steady_clock::now();
  const int rc = std::system(command.c_str());
  if (rc != 0 && WEXITSTATUS(rc) > 1) std::fprintf(stderr, "peer failed: %s\n", command.c_str());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace

int main(int argc, char** argv) {
  const double mb = argc > 1 ? std::atof(argv[1]) : 4.0;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char dir[] = "/tmp/line-ends-bench-XXXXXX";
  if (!::mkdtemp(dir)) return 2;
  const std::string folder = dir;
  ::setenv("HARUVI_INI", (folder + "/haruvi.ini").c_str(), 1);
  struct Form {
    const char* name;
    const char* eol;
  };
  const Form forms[] = {{"lf.txt", "\n"}, {"crlf.txt", "\r\n"}, {"cr.txt", "\r"}};
  for (const Form& f : forms) std::ofstream(folder + "/" + f.name, std::ios::binary) << MakeText(static_cast<std::size_t>(mb * 1e6), f.eol);

  QApplication app(argc, argv);
  haruvi::app::TForm1 form(QString{});
  form.show();
  form.MoveToFolder(QString::fromStdString(folder));
  QApplication::processEvents();

  std::printf("%.1f MB text, one empty line in six\n", mb);
  std::printf("%-9s %12s %12s %12s %12s %14s\n", "ends", "open wall", "open cpu", "trim wall", "trim cpu",
              "grep -v '^$'");
  double open_lf = 0, trim_lf = 0;
  for (const Form& f : forms) {
    haruvi::ui::ShownText& text = form.Text();
    text.SetEditing(false);
    Clock open;
    form.FileView1->SelectByCaption(QString::fromUtf8(f.name));
    while (!text.Complete()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    const double open_wall = open.Wall(), open_cpu = open.Processor();
    const std::size_t lines = text.View().LineCount();
    Clock trim;
    form.Action(QStringLiteral("Mtrim1"))->trigger();
    const double trim_wall = trim.Wall(), trim_cpu = trim.Processor();
    // The peer drops the same empty lines, its line ends read as such.
    const std::string path = folder + "/" + f.name;
    const double peer = f.eol[0] == '\r' && !f.eol[1]
                            ? PeerSeconds("tr '\\r' '\\n' < " + path + " | grep -v '^$' > /dev/null")
                            : PeerSeconds("grep -v '^\\r\\?$' " + path + " > /dev/null");
    std::printf("%-9s %12.4f %12.4f %12.4f %12.4f %14.4f   %zu lines -> %zu\n", f.name, open_wall, open_cpu,
                trim_wall, trim_cpu, peer, lines, text.View().LineCount());
    if (f.eol[0] == '\n') {
      open_lf = open_cpu;
      trim_lf = trim_cpu;
    } else if (!f.eol[1]) {
      std::printf("lone CR against LF (processor time): open %.2fx, 空行を削除 %.2fx\n", open_cpu / open_lf,
                  trim_cpu / trim_lf);
    }
    std::fflush(stdout);
  }
  form.close();
  QDir(QString::fromStdString(folder)).removeRecursively();
  return 0;
}
