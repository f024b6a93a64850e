// Times each text command through its menu item on the main window (offscreen), from the
// trigger to the pane holding the result, beside the same command's core alone (the
// table's run and the result's text). Prompts are answered as they open.
// Usage: textcmd_window_bench FILE [LINES]   (the first LINES lines, 1,000,000 by default)
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/form1.h"
#include "controllers/textcmd/column_dialog.h"
#include "encoding/width.h"
#include "textcmd/command_table.h"
#include "ui/input_box.h"
#include "viewer/text_pane.h"

namespace {

struct Job {
  const char* action;
  const char* command;  // the table's name; nullptr for the width conversions
  std::vector<std::string> core_answers;
  std::deque<QString> prompts;  // texts, or "start,count" for the column dialog
  std::string (*width)(std::string_view) = nullptr;
};

double Seconds(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

std::deque<QString> pending;

void AnswerPrompts() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || pending.empty()) return;
  const QString answer = pending.front();
  if (auto* box = qobject_cast<haruvi::ui::InputBoxDialog*>(modal)) {
    box->Edit->setText(answer);
  } else if (auto* columns = qobject_cast<haruvi::controllers::TForm30*>(modal)) {
    columns->SpinEdit1->setValue(answer.section(',', 0, 0).toInt());
    columns->SpinEdit2->setValue(answer.section(',', 1, 1).toInt());
  } else {
    return;
  }
  pending.pop_front();
  static_cast<QDialog*>(modal)->accept();
}

double CoreSeconds(const Job& job, const std::string& text) {
  const auto t0 = std::chrono::steady_clock::now();
  const haruvi::textcmd::LineIndex lines(text);  // as the window walks them
  std::string out;
  if (job.width) {
    out = job.width(haruvi::textcmd::JoinLines(lines));
  } else {
    const auto* command = haruvi::textcmd::FindTextCommand(job.command);
    auto run = haruvi::textcmd::RunTextCommand(*command, job.core_answers, {text, lines});
    out = run.output.PaneText();
  }
  const double s = Seconds(t0);
  if (out.empty()) std::fprintf(stderr, "%s: empty result\n", job.action);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: textcmd_window_bench FILE [LINES]\n");
    return 2;
  }
  const long want = argc > 2 ? std::atol(argv[2]) : 1000000;
  std::ifstream in(argv[1], std::ios::binary);
  std::string text, line;
  for (long n = 0; n < want && std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    text += line;
    text += "\r\n";
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char ini[] = "/tmp/textcmd-bench-XXXXXX";
  ::close(::mkstemp(ini));
  ::setenv("HARUVI_INI", ini, 1);
  QApplication app(argc, argv);
  haruvi::app::TForm1 form(QString{});
  form.show();
  QApplication::processEvents();
  QTimer answering;
  QObject::connect(&answering, &QTimer::timeout, &AnswerPrompts);
  answering.start(5);

  const std::string n = std::to_string(std::count(text.begin(), text.end(), '\n'));
  const std::vector<Job> jobs = {
      {"MLineSortU1", "sort-asc", {}, {}},
      {"MLineSortD1", "sort-desc", {}, {}},
      {"Mreverse1", "reverse", {}, {}},
      {"Mupperlinecopy1", "dup-line", {"1"}, {}},
      {"Monelinedelete1", "del-line", {"1"}, {}},
      {"Mrenban1", "serial-lines", {"X0000", "1", "1", n}, {"X0000", "1"}},
      {"Malltabdelete1", "del-tabs", {}, {}},
      {"Mtoptabdelete1", "del-leading-tabs", {}, {}},
      {"Mtabtospace1", "tab-to", {" "}, {}},
      {"M2byteto1bytenull1", "fullwidth-space-to-spaces", {}, {}},
      {"Mcolumncopy1", "extract-columns", {"5", "6"}, {"5,6"}},
      {"Mcolumndelete1", "del-columns", {"5", "6"}, {"5,6"}},
      {"MinsertCR1", "break", {"40"}, {"40,1"}},
      {"MinsertChar1", "insert", {"10", "|"}, {"|", "10,1"}},
      {"MlineCSVa", "csv", {"2", "\"", ","}, {"2"}},
      {"Mhtml", "html", {}, {}},
      {"Mhanktozen1", nullptr, {}, {}, &haruvi::encoding::HankakuToZenkaku},
      {"Mzentohank1", nullptr, {}, {}, &haruvi::encoding::ZenkakuToHankaku},
      {"Mhkanatozkana1", nullptr, {}, {}, &haruvi::encoding::HalfKanaToFull},
      // These enter simple-edit mode: the pane's editor takes the whole text.
      {"Mtrim1", "del-empty", {}, {}},
      {"Msameline1", "del-repeated", {}, {}},
      {"MtrimL1", "trim-left", {}, {}},
      {"MtrimR1", "trim-right", {}, {}},
      {"Mall1bytetrim1", "del-spaces", {}, {}},
      {"MlinenoaddLeft1", "number", {"1"}, {}},
      {"Mopacdelete", "del-same-key", {"4"}, {"4"}},
      {"Mcrdel", "del-line-ends", {}, {}},
      {"Mtextotxt1", "tex", {}, {}},
  };
  std::printf("%s: %s lines, %.0f MB\n", argv[1], n.c_str(), text.size() / 1e6);
  std::printf("%-20s %10s %10s %8s\n", "command", "core s", "window s", "ratio");
  for (const Job& job : jobs) {
    form.RichEdit1->SetReadOnly(true);
    form.RichEdit1->SetText(text);
    QApplication::processEvents();
    const double core = CoreSeconds(job, text);
    pending = job.prompts;
    const auto t0 = std::chrono::steady_clock::now();
    form.Action(QString::fromUtf8(job.action))->trigger();
    const double window = Seconds(t0);
    std::printf("%-20s %10.3f %10.3f %8.2f%s\n", job.action, core, window, window / core,
                pending.empty() ? "" : "  (prompts left unanswered)");
    std::fflush(stdout);
  }
  form.close();
  ::unlink(ini);
  return 0;
}
