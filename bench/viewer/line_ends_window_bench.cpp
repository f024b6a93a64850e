// Times one text with LF, CR LF and lone-CR line ends through the main window (offscreen):
// opening it (the selection until the pane holds the whole file and its line count) and
// "空行を削除" on it (the menu item until the pane holds the result), in wall and processor
// seconds, beside grep dropping the empty lines of the same file from the same run.
// Each form is timed in several rounds taking turns (the first warms the program up); the
// best round of each is printed. Usage: line_ends_window_bench [MB] [ROUNDS]   (4, 3)
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <algorithm>
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
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
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

  std::printf("%.1f MB text, one empty line in six; best of %d rounds\n", mb, rounds);
  std::printf("%-9s %12s %12s %12s %12s %14s\n", "ends", "open wall", "open cpu", "trim wall", "trim cpu",
              "grep -v '^$'");
  struct Best {
    double open_wall = 1e9, open_cpu = 1e9, trim_wall = 1e9, trim_cpu = 1e9, peer = 1e9;
    std::size_t lines = 0, kept = 0;
  };
  Best best[3];
  for (int round = 0; round < rounds; ++round) {
    for (int k = 0; k < 3; ++k) {
      const Form& f = forms[k];
      haruvi::ui::ShownText& text = form.Text();
      text.SetEditing(false);
      form.FileView1->SelectByCaption(QStringLiteral("haruvi.ini"));  // away, so the file is shown anew
      QApplication::processEvents();
      Clock open;
      form.FileView1->SelectByCaption(QString::fromUtf8(f.name));
      while (!text.Complete()) QApplication::processEvents(QEventLoop::AllEvents, 5);
      QApplication::processEvents();
      Best& b = best[k];
      b.open_wall = std::min(b.open_wall, open.Wall());
      b.open_cpu = std::min(b.open_cpu, open.Processor());
      b.lines = text.View().LineCount();
      Clock trim;
      form.Action(QStringLiteral("Mtrim1"))->trigger();
      b.trim_wall = std::min(b.trim_wall, trim.Wall());
      b.trim_cpu = std::min(b.trim_cpu, trim.Processor());
      b.kept = text.View().LineCount();
      // The peer drops the same empty lines, its line ends read as such; its output goes
      // through a pipe, since grep writing to /dev/null stops at its first line.
      const std::string path = folder + "/" + f.name;
      b.peer = std::min(b.peer, f.eol[0] == '\r' && !f.eol[1]
                                    ? PeerSeconds("tr '\\r' '\\n' < " + path + " | grep -v '^$' | cat > /dev/null")
                                    : PeerSeconds("grep -v '^\\r\\?$' " + path + " | cat > /dev/null"));
    }
  }
  for (int k = 0; k < 3; ++k) {
    const Best& b = best[k];
    std::printf("%-9s %12.4f %12.4f %12.4f %12.4f %14.4f   %zu lines -> %zu\n", forms[k].name, b.open_wall,
                b.open_cpu, b.trim_wall, b.trim_cpu, b.peer, b.lines, b.kept);
  }
  std::printf("lone CR against LF (processor time): open %.2fx, 空行を削除 %.2fx\n", best[2].open_cpu / best[0].open_cpu,
              best[2].trim_cpu / best[0].trim_cpu);
  form.close();
  QDir(QString::fromStdString(folder)).removeRecursively();
  return 0;
}
