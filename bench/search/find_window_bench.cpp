// Find next on a 100 MB pane through the window (offscreen): "テキストの検索(&F).." answered
// with a text found 50 MB from the caret, then F3 to the next hit 50 MB further and
// Shift+F3 back, each from the trigger to the hit selected and scrolled into view; beside
// std::string_view::find on the same bytes in the same run.
// Usage: find_window_bench [FILE]   (the corpus's text.sjis; 100 MB of made text without)
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTimer>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/form1.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace {

double Ms(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void AnswerFind() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || modal->objectName() != QStringLiteral("TForm32")) return;
  modal->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setEditText(QStringLiteral("Needle_word"));
  static_cast<QDialog*>(modal)->accept();
}

}  // namespace

int main(int argc, char** argv) {
  std::string text;
  if (argc > 1) {
    std::ifstream in(argv[1], std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(in), {});
  }
  if (text.size() < (100u << 20)) {
    const std::string line = "\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8 ABC abc 0123 \x83\x41\x83\x8B\x83\x74\x83\x40\r\n";
    text.clear();
    while (text.size() < (100u << 20)) text += line;
  }
  const std::size_t first = text.find("\r\n", text.size() / 2) + 2;
  text.insert(first, "Needle_word ");
  text.insert(text.size() - 2, " Needle_word");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  char ini[] = "/tmp/find-bench-XXXXXX";
  ::close(::mkstemp(ini));
  ::setenv("HARUVI_INI", ini, 1);
  QApplication app(argc, argv);
  haruvi::ui::SetHeadless(true);
  haruvi::app::TForm1 form(QString{});
  form.show();
  form.RichEdit1->SetText(text);
  QApplication::processEvents();
  QTimer answering;
  QObject::connect(&answering, &QTimer::timeout, &AnswerFind);
  answering.start(5);

  std::printf("%.0f MB, hits at %zu and %zu\n", text.size() / 1e6, first, text.size() - 13);
  std::printf("%-34s %10s\n", "step", "ms");
  auto t0 = std::chrono::steady_clock::now();
  form.Action(QStringLiteral("Mserch"))->trigger();
  std::printf("%-34s %10.1f  (dialog included; at %zu)\n", "テキストの検索 (50 MB down)", Ms(t0), form.RichEdit1->SelStart());
  for (int i = 0; i < 3; ++i) {
    t0 = std::chrono::steady_clock::now();
    form.Action(QStringLiteral("MserchNext"))->trigger();
    std::printf("%-34s %10.1f  (at %zu)\n", "F3 (50 MB down)", Ms(t0), form.RichEdit1->SelStart());
    t0 = std::chrono::steady_clock::now();
    form.Action(QStringLiteral("Mserchnextup1"))->trigger();
    std::printf("%-34s %10.1f  (at %zu)\n", "Shift+F3 (50 MB up)", Ms(t0), form.RichEdit1->SelStart());
  }
  const std::string_view all = text;
  t0 = std::chrono::steady_clock::now();
  volatile std::size_t at = all.find("Needle_word", first + 1);
  std::printf("%-34s %10.1f  (at %zu)\n", "peer: string_view::find (50 MB)", Ms(t0), static_cast<std::size_t>(at));
  t0 = std::chrono::steady_clock::now();
  at = all.rfind("Needle_word", text.size() - 14);
  std::printf("%-34s %10.1f  (at %zu)\n", "peer: string_view::rfind (50 MB)", Ms(t0), static_cast<std::size_t>(at));
  form.close();
  ::unlink(ini);
  return 0;
}
