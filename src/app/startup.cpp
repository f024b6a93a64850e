#include "app/startup.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <QImageWriter>
#include <QPixmap>
#include <QTimer>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/form1.h"
#include "app/splash_form.h"
#include "platform/font_map.h"
#include "platform/settings_location.h"
#include "bridge/disk_path.h"
#include "haruvi_version.h"
#include "ui/dialog_fit.h"
#include "ui/messages.h"
#include "bridge/japanese.h"

namespace haruvi::app {

StartOptions ParseCommandLine(const QStringList& args) {
  StartOptions o;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (o.file_args.isEmpty() && a == QLatin1String("--screenshot")) {
      if (i + 1 >= args.size()) {
        o.error = QStringLiteral("--screenshot needs a file name for the picture");
        return o;
      }
      o.screenshot_path = args[++i];
    } else if (o.file_args.isEmpty() && a == QLatin1String("--write-help")) {
      if (i + 1 >= args.size()) {
        o.error = QStringLiteral("--write-help needs a folder for the pages");
        return o;
      }
      o.write_help = args[++i];
    } else if (o.file_args.isEmpty() && (a == QLatin1String("--line") || a.startsWith(QLatin1String("--line=")))) {
      QString number = a.mid(7);
      if (a == QLatin1String("--line")) {
        if (i + 1 >= args.size()) {
          o.error = QStringLiteral("--line needs a line number");
          return o;
        }
        number = args[++i];
      }
      bool ok = false;
      const long long n = number.toLongLong(&ok);
      if (!ok || n == 0) {
        o.error = QStringLiteral("--line needs a line number other than 0 (1 is the first, -1 the last): ") + number;
        return o;
      }
      o.line = n;
    } else if (o.file_args.isEmpty() && a.size() > 1 && a.startsWith(QLatin1Char('+')) && i + 1 < args.size() &&
               a.mid(1).toLongLong() > 0) {
      o.line = a.mid(1).toLongLong();  // +N, as pagers and editors take it
    } else if (o.file_args.isEmpty() && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
      o.show_help = true;
    } else if (o.file_args.isEmpty() && a == QLatin1String("--version")) {
      o.show_version = true;
    } else {
      o.file_args << a;
    }
  }
  return o;
}

bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* v = std::getenv(name);
    if (v && *v) return true;
  }
  return false;
}

void MakeStartPathsAbsolute(StartOptions& options, const QString& folder) {
  auto absolute = [&folder](const QString& p) {
    return p.isEmpty() || p.startsWith(QLatin1Char('/')) ? p : bridge::Join(folder, p);
  };
  options.screenshot_path = absolute(options.screenshot_path);
  options.write_help = absolute(options.write_help);
  if (options.file_args.isEmpty()) return;
  // The arguments joined with blanks name the file (an unquoted path with blanks); when
  // they name nothing, the first argument that exists is taken.
  QString start = absolute(options.file_args.join(QLatin1Char(' ')));
  if (!bridge::Exists(start)) {
    for (const QString& a : options.file_args)
      if (bridge::Exists(absolute(a))) {
        start = absolute(a);
        break;
      }
  }
  options.file_args = QStringList{start};
}

namespace {

// Relative paths in the environment are the start folder's: made absolute before the
// window moves its working folder while browsing.
void MakeEnvironmentPathsAbsolute(const std::string& folder) {
  for (const char* name : {"HARUVI_INI", "HARUVI_ARCHIVERS"}) {
    const char* v = std::getenv(name);
    if (!v || !*v || *v == '/' || folder.empty()) continue;
    ::setenv(name, (folder + "/" + v).c_str(), 1);
  }
}

std::string WorkingFolder() {
  std::string folder(4096, '\0');
  while (!::getcwd(folder.data(), folder.size())) {
    if (errno != ERANGE) return {};
    folder.resize(folder.size() * 2);
  }
  folder.resize(std::strlen(folder.c_str()));
  return folder;
}

void PrintUsage(FILE* to) {
  std::fprintf(to,
               "usage: haruvi [--line N | +N] [FILE... | FOLDER]\n"
               "       haruvi --screenshot OUT.png [--line N] [FILE]\n"
               "       haruvi --write-help FOLDER\n"
               "       haruvi --help | --version\n"
               "FILE (all arguments joined with blanks) is selected and shown at start; a FOLDER opens.\n"
               "--line N opens FILE with line N at the top (-1: the last line).\n"
               "--screenshot renders the window headless into OUT.png and exits.\n");
  const std::filesystem::path exe = platform::ExecutablePath();
  const std::filesystem::path help = platform::HelpFolder(exe.parent_path());
  if (help.empty()) {
    std::fprintf(to, "help pages: (not found)\n");
    return;
  }
  std::fprintf(to, "help pages: %s\n", (help / "index.html").c_str());
  std::fprintf(to, "  in Japanese, beside it: the commands, the keys, patterns, grep, archives, codes and settings\n");
  for (const char* page : {"commands.html", "keys.html", "regex.html", "grep.html", "archives.html", "codes.html",
                           "settings.html"})
    std::fprintf(to, "  %s\n", (help / page).c_str());
}

// Renders the window into a PNG; false with a message on standard error on failure.
bool SaveScreenshot(QWidget& window, const QString& path) {
  QPixmap picture = window.grab();
  QImageWriter writer(path, "png");
  if (!writer.write(picture.toImage())) {
    std::fprintf(stderr, "haruvi: cannot write the screenshot %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
  }
  return true;
}

}  // namespace

int RunProgram(int argc, char** argv) {
  QStringList raw;
  for (int i = 1; i < argc; ++i) raw << bridge::FromDisk(argv[i]);  // file names keep every byte
  StartOptions options = ParseCommandLine(raw);
  if (!options.error.isEmpty()) {
    std::fprintf(stderr, "haruvi: %s\n", qPrintable(options.error));
    PrintUsage(stderr);
    return 2;
  }
  if (options.show_help) {
    PrintUsage(stdout);
    return 0;
  }
  if (options.show_version) {
    std::printf("haruvi %s\n", HARUVI_VERSION_STRING);
    return 0;
  }
  const std::string start_folder = WorkingFolder();
  MakeEnvironmentPathsAbsolute(start_folder);
  MakeStartPathsAbsolute(options, bridge::FromDisk(start_folder));
  const bool screenshot = !options.screenshot_path.isEmpty() || !options.write_help.isEmpty();
  if (screenshot) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::SetHeadless(true);  // a message box would wait for a click nobody gives
  } else if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "haruvi: no display found (DISPLAY and WAYLAND_DISPLAY are unset); "
                 "try: haruvi --screenshot OUT.png [FILE]\n");
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral(HARUVI_PRODUCT_NAME));
  QApplication::setApplicationVersion(QStringLiteral(HARUVI_VERSION_STRING));
  // Without a desktop session (offscreen, bare X) Qt knows no icon theme.
  if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
    QStringList paths = QIcon::themeSearchPaths();
    paths << QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                       QStandardPaths::LocateDirectory);
    QIcon::setThemeSearchPaths(paths);
    QIcon::setThemeName(QStringLiteral("Adwaita"));
  }
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("haruvi"), QIcon(QStringLiteral(":/haruvi/haruvi.svg"))));
  // Every dialog at least as wide as its title.
  app.installEventFilter(new ui::DialogFit(&app));
  bridge::UseJapanese();
  QFont font(QString::fromStdString(platform::FontFamilyFor(platform::kWindowFontName)));
  font.setPointSize(9);
  QApplication::setFont(font);

  // The splash shows while the main window reads its settings and opens its folders.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto* splash = new TForm3;
  splash->show();
  QApplication::processEvents();
  TForm1 form(options.file_args);
  if (options.line) form.ShowStartLine(*options.line);
  if (!options.write_help.isEmpty()) {
    std::string failed;
    const bool written = form.WriteHelpPages(options.write_help, &failed);
    if (!written) std::fprintf(stderr, "haruvi: cannot write the help page %s: %s\n", failed.c_str(), std::strerror(errno));
    form.close();
    return written ? 0 : 1;
  }
  splash->CloseWhenActive(&form);
  form.show();
  QApplication::restoreOverrideCursor();
  if (!screenshot) return QApplication::exec();

  // Let the start-up finish its queued work (layout, first paint) before the picture.
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  bool saved = SaveScreenshot(form, options.screenshot_path);
  form.close();
  QApplication::processEvents();
  using Write = platform::IniFile::WriteState;
  if (form.SettingsWrite() == Write::Failed || form.SettingsWrite() == Write::Unwritable) {
    std::fprintf(stderr, "haruvi: the settings could not be written to %s\n", form.Settings().File().Path().c_str());
    saved = false;
  }
  return saved ? 0 : 1;
}

}  // namespace haruvi::app
