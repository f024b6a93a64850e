// Simple edit through the pane itself, headless: entering edit on a loaded file, keys
// typed mid-text each followed by the repaint it asked for (the changed line), undo, the bytes a save writes,
// saving the edited pane (with a backup) and leaving edit. Beside them, from the same
// run, the peers: a Qt plain-text editor taking the same text (what entering edit cost
// when a text widget held it), and cp of the file for the save.
// Usage: pane_edit_bench FILE [KEYS] [--no-peer]
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fileops/save_file.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

// What a keystroke asked to repaint, painted now (as the event loop would paint it next).
void PaintPending() { QApplication::processEvents(); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: pane_edit_bench FILE [KEYS] [--no-peer]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int keys = argc > 2 && std::strcmp(argv[2], "--no-peer") != 0 ? std::max(1, std::atoi(argv[2])) : 200;
  bool peer = true;
  for (int i = 2; i < argc; ++i)
    if (std::strcmp(argv[i], "--no-peer") == 0) peer = false;

  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) return 1;
  const QByteArray data = file.readAll();
  haruvi::viewer::TextPane pane;
  pane.resize(1000, 800);
  pane.show();
  pane.SetText(std::string(data.constData(), static_cast<std::size_t>(data.size())));
  QApplication::processEvents();
  const std::size_t lines = pane.LineCount();
  std::printf("%s\t%.0f MB\t%zu lines\n", argv[1], data.size() / 1e6, lines);

  // Entering edit, with the caret mid-text and the first screen painted.
  pane.MoveCaretTo(pane.OffsetOfLine(lines / 2));
  auto t0 = Clock::now();
  pane.SetReadOnly(false);
  pane.View()->viewport()->repaint();
  std::printf("enter edit + paint\t%.4f s\n", Since(t0));

  // Keys typed one by one; each is timed from the key to the repainted pane.
  std::vector<double> each;
  each.reserve(static_cast<std::size_t>(keys));
  pane.View()->setFocus();
  for (int i = 0; i < keys; ++i) {
    t0 = Clock::now();
    if (i % 10 == 9) QTest::keyClick(pane.View(), Qt::Key_Return);
    else QTest::keyClick(pane.View(), static_cast<char>('a' + i % 26));
    PaintPending();
    each.push_back(Since(t0));
  }
  std::sort(each.begin(), each.end());
  double sum = 0;
  for (double d : each) sum += d;
  std::printf("keystroke + paint\tmean %.3f ms\tmedian %.3f ms\tmax %.3f ms\t(%d keys)\n", 1e3 * sum / each.size(),
              1e3 * each[each.size() / 2], 1e3 * each.back(), keys);

  t0 = Clock::now();
  while (pane.CanUndo()) pane.Undo();
  pane.View()->viewport()->repaint();
  std::printf("undo all\t%.4f s\tunedited again: %s\n", Since(t0), pane.Edited() ? "no" : "yes");

  QTest::keyClicks(pane.View(), "edit");
  t0 = Clock::now();
  const std::size_t saved = pane.BytesView().size();
  std::printf("bytes to save (edited)\t%.4f s\t%zu bytes\n", Since(t0), saved);
  // Saving: twice over a copy of the file, so the second save also makes its backup.
  char folder[] = "/tmp/pane-edit-bench-XXXXXX";
  if (::mkdtemp(folder)) {
    const std::string target = std::string(folder) + "/saved.txt";
    const std::string copy = "cp '" + std::string(argv[1]) + "' " + folder + "/cp.txt";
    t0 = Clock::now();
    const int cp = std::system(copy.c_str());
    const double cp_seconds = Since(t0);
    double save_seconds[2] = {0, 0};
    for (double& s : save_seconds) {
      t0 = Clock::now();
      if (!haruvi::fileops::SaveFile(target, pane.BytesView(), true).ok) std::printf("save failed\n");
      s = Since(t0);
    }
    // The save flushes what it wrote before it renames; cp alone leaves that to later.
    t0 = Clock::now();
    const int synced = std::system((copy + " && sync " + folder + "/cp.txt").c_str());
    const double cp_sync_seconds = Since(t0);
    std::printf("save pane\t%.4f s (new file)\t%.4f s (with backup)\tpeers: cp %.4f s, cp + sync FILE %.4f s%s\n",
                save_seconds[0], save_seconds[1], cp_seconds, cp_sync_seconds,
                cp == 0 && synced == 0 ? "" : " (cp failed)");
    std::system(("rm -rf " + std::string(folder)).c_str());
  }

  t0 = Clock::now();
  pane.SetReadOnly(true);
  pane.View()->viewport()->repaint();
  std::printf("leave edit + paint\t%.4f s\n", Since(t0));

  if (peer) {
    // The peer: the same text decoded into a plain-text editor, as a text widget takes it.
    const QString text = haruvi::viewer::DecodeForDisplay(std::string_view(data.constData(), data.size()),
                                                          haruvi::encoding::CodePage::Cp932);
    QPlainTextEdit editor;
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.resize(1000, 800);
    editor.show();
    t0 = Clock::now();
    editor.setPlainText(text);
    editor.viewport()->repaint();
    std::printf("peer: QPlainTextEdit::setPlainText + paint\t%.4f s\n", Since(t0));
    QTextCursor c(editor.document());
    c.setPosition(static_cast<int>(text.size() / 2));
    editor.setTextCursor(c);
    editor.setFocus();
    PaintPending();
    const int before = editor.document()->characterCount();
    std::vector<double> peer_each;
    for (int i = 0; i < std::min(keys, 50); ++i) {
      t0 = Clock::now();
      QTest::keyClick(&editor, static_cast<char>('a' + i % 26));  // the editor takes its keys itself
      PaintPending();
      peer_each.push_back(Since(t0));
    }
    std::sort(peer_each.begin(), peer_each.end());
    std::printf("peer: keystroke + paint\tmedian %.3f ms\tmax %.3f ms\t(%d characters typed)\n",
                1e3 * peer_each[peer_each.size() / 2], 1e3 * peer_each.back(),
                editor.document()->characterCount() - before);
  }
  return 0;
}
