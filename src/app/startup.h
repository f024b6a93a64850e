// The window program's command line: normal runs, headless screenshots, and the check
// that a display exists. Kept apart from main() so tests can drive it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace haruvi::app {

struct StartOptions {
  QString screenshot_path;  // --screenshot OUT.png: render the window and exit
  QStringList file_args;    // joined with single blanks: the file to show at start
  // --line N (or +N): the shown file opens with line N at the top; N < 0 counts from the
  // end (-1: the last line).
  std::optional<long long> line;
  QString write_help;  // --write-help FOLDER: the pages made from the menus, then exit
  bool show_help = false;
  bool show_version = false;
  QString error;            // a bad command line
};

StartOptions ParseCommandLine(const QStringList& args);

// Relative names on the command line are the start folder's (`folder`, lossless form):
// made absolute before the window moves its working folder; the file arguments become
// the one file they name.
void MakeStartPathsAbsolute(StartOptions& options, const QString& folder);

// True when a windowing system can be reached (or Qt was told which platform to use).
bool DisplayAvailable();

// Runs the program; returns the process exit code.
int RunProgram(int argc, char** argv);

}  // namespace haruvi::app
