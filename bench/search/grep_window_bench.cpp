// Grep from the dialog through the window (offscreen) over a folder's whole tree: the
// dialog answered with a pattern, "全ファイル" and "サブフォルダも検索", timed from its
// OK to the report complete in the pane; beside `haruvi-tool grep -r` on the same
// tree and pattern in the same run (the pane must never be the bottleneck).
// Usage: grep_window_bench TOOL FOLDER PATTERN [RUNS]
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/form1.h"
#include "controllers/search/search_forms.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: grep_window_bench TOOL FOLDER PATTERN [RUNS]\n");
    return 2;
  }
  const std::string tool = argv[1], folder = argv[2];
  const QString pattern = QString::fromLocal8Bit(argv[3]);
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char ini[] = "/tmp/grep-bench-XXXXXX";
  ::close(::mkstemp(ini));
  ::setenv("HARUVI_INI", ini, 1);
  QApplication app(argc, argv);
  haruvi::ui::SetHeadless(true);
  haruvi::app::TForm1 form(QString{});
  form.show();
  form.MoveToFolder(QString::fromLocal8Bit(folder.c_str()));
  QApplication::processEvents();

  std::vector<double> window, cli;
  std::size_t report = 0;
  for (int run = 0; run < runs; ++run) {
    // Timed from the OK click: the time the dialog waits for its answer is the user's.
    auto t0 = std::chrono::steady_clock::now();
    QTimer::singleShot(5, &form, [pattern, &t0] {
      auto* dialog = qobject_cast<haruvi::controllers::TForm9*>(QApplication::activeModalWidget());
      if (!dialog) return;
      dialog->CBRegExp->setEditText(pattern);
      dialog->All->setChecked(true);
      dialog->CheckBox3->setChecked(true);  // the whole tree
      dialog->CBusefuzzy->setChecked(false);  // as the tool greps without --fuzzy
      t0 = std::chrono::steady_clock::now();
      dialog->accept();
    });
    form.Action(QStringLiteral("Mgrep"))->trigger();
    while (form.Action(QStringLiteral("Mgrep2"))->isEnabled()) QTest::qWait(1);
    window.push_back(Seconds(t0));
    report = form.RichEdit1->Text().size();

    const std::string command = tool + " grep -r -n -H '" + argv[3] + "' '" + folder + "' > /dev/null";
    t0 = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) == -1) return 1;
    cli.push_back(Seconds(t0));
  }
  std::printf("%s, pattern %s, %d runs, report %zu bytes\n", folder.c_str(), argv[3], runs, report);
  std::printf("window grep (dialog to report)\t%.4f s median\n", Median(window));
  std::printf("haruvi-tool grep -r -n -H\t%.4f s median\tratio %.2f\n", Median(cli), Median(window) / Median(cli));
  form.close();
  ::unlink(ini);
  return 0;
}
