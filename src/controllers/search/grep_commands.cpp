// Grep in the window: TForm9, then the search core's GrepFiles on a worker thread. The
// report is gathered under a lock and put into the pane in blocks by a timer, so the
// window stays responsive; "Grepの中止(&Q)" sets the stop flag the worker sees at every
// block of the file and every reported line.
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <thread>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "controllers/search/search_controller.h"
#include "encoding/piece_io.h"
#include "fileops/folder_walk.h"
#include "platform/history.h"
#include "regex/regex_error.h"
#include "search/file_grep.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

constexpr platform::HistoryKeys kGrepHistory{"DriveCount", "Items_", 10};

bool IsFileNotFolder(const QString& path) {
  struct stat st {};
  return ::stat(bridge::ToDisk(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace

void SearchController::MgrepClick() {
  if (GrepRunning()) return;
  shellview::TFileView& files = ctx().Files();
  if (files.Count() == 0) return;
  QString folder = ctx().CurrentFolder();
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  GrepSetup setup;
  setup.folder = folder;
  for (const QString& caption : files.Captions())
    if (IsFileNotFolder(folder + caption)) setup.all << folder + caption;
  for (const QString& path : files.SelectedPaths())
    if (IsFileNotFolder(path)) setup.selected << path;
  setup.selected_count = files.SelectedCount();
  platform::Settings& ini = ctx().Settings();
  setup.history.clear();
  for (const std::string& h : platform::LoadHistory(ini.File(), "Grep", kGrepHistory)) setup.history << bridge::FromDisk(h);
  setup.subfolders = ini.Read(kGrepSubfolders);
  const std::optional<GrepAnswer> a = dialogs_->Grep(ctx().Window(), setup);
  if (!a) return;
  {
    std::vector<std::string> history;
    for (const QString& h : setup.history) history.push_back(bridge::ToDisk(h));
    const std::string entry = bridge::ToDisk(a->pattern);
    if (!entry.empty() && std::find(history.begin(), history.end(), entry) == history.end())
      history.insert(history.begin(), entry);
    platform::IniFile::Batch batch(ini.File());
    platform::SaveHistory(ini.File(), "Grep", history, kGrepHistory);
    ini.Write(kGrepSubfolders, a->subfolders);
  }
  if (a->pattern.isEmpty()) return;
  std::vector<std::string> list;
  if (!a->subfolders) {
    const bool everything = a->all_files || setup.selected_count == 0;
    for (const QString& p : everything ? setup.all : setup.selected) list.push_back(bridge::ToDisk(p));
  }
  // A tree is walked by the worker too: a big one never holds the window up.
  // The engine reads patterns in the Japanese code page whatever the pane shows now; a
  // character it cannot hold is refused, never searched as "〓" (which lines of their own
  // hold).
  const std::u16string typed(reinterpret_cast<const char16_t*>(a->pattern.utf16()),
                             static_cast<std::size_t>(a->pattern.size()));
  std::size_t missing = 0;
  std::string pattern = encoding::PaneCodec::For(ctx().Text().View().CodePage()).Encode(typed, &missing);
  if (missing > 0) {
    ui::Warn(ctx().Window(), QStringLiteral("検索正規表現「%1」には Grep の文字コード（%2）にない文字があります。\n"
                                            "Grepできません。")
                                 .arg(a->pattern, QString::fromLatin1(encoding::CodePageName(ctx().Text().View().CodePage()))));
    return;
  }
  StartGrep(std::move(pattern), std::move(list), a->subfolders ? bridge::ToDisk(folder) : std::string(), *a);
}

void SearchController::StartGrep(std::string pattern, std::vector<std::string> files, std::string tree,
                                 const GrepAnswer& a) {
  // The report comes in the form of the text shown before it: after a UTF-8 file, UTF-8
  // (every file's lines as they are, Shift_JIS ones converted), else the Japanese code.
  const bool utf8 = encoding::IsUnicode(ctx().Text().View().TextForm());
  grep_form_ = utf8 ? encoding::TextForm::Utf8 : encoding::TextForm::Legacy;
  const encoding::CodePage page = utf8 ? encoding::CodePage::Utf8 : ctx().Text().View().CodePage();
  search::FileGrepOptions o;
  o.report = {.file_headers = a.headers, .line_numbers = a.numbers, .utf8 = utf8, .names_as_shown = true};
  o.fuzzy = a.fuzzy;
  // Workers as the tool has them; the report still comes in list order, the file at its
  // head line by line as found.
  o.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  o.live = true;
  o.line_limit = encoding::kMaxHeldBytes;
  {
    // A bad pattern: the message, and the pane as it was.
    search::TGrep probe;
    try {
      probe.SetUseFuzzyCharDic(a.fuzzy);
      probe.SetRegExp(pattern);
    } catch (const regex::ERegExpParser& e) {
      ShowPatternError(e);
      return;
    }
  }
  grep_text_ = bridge::ToPane(QStringLiteral("Grepの実行　検索正規表現 = ") + a.pattern, page) + "\r\n\r\n";
  grep_incoming_.clear();
  grep_cancelled_ = false;
  cancel_ = false;
  done_ = false;
  // The report replaces the text as one step back: 元に戻す brings the text before it.
  ctx().Text().BeginReport(grep_text_, grep_form_);
  ctx().Actions().Get(QStringLiteral("Mgrep2"))->setEnabled(true);
  ctx().Actions().Get(QStringLiteral("Mgrep3"))->setEnabled(true);
  worker_ = std::thread([this, pattern = std::move(pattern), files = std::move(files), tree = std::move(tree), o,
                         page]() mutable {
    // The files go to the workers as they are found: a tree is grepped while the walk
    // goes on (links not followed; devices and FIFOs are listed, to be reported).
    search::FileFeed feed;
    auto fill = [&] {
      for (std::string& f : files) feed.Add(std::move(f));
      if (!tree.empty()) {
        fileops::WalkTree(
            tree,
            [&feed](fileops::TreeEntry&& e) {
              if (e.kind == fileops::TreeEntry::File || e.kind == fileops::TreeEntry::Other) feed.Add(std::move(e.path));
            },
            &cancel_);
      }
      feed.Close();
    };
    auto sink = [this](std::string_view text) {
      std::lock_guard lock(grep_mu_);
      grep_incoming_.append(text);
    };
    auto problem = [this, page](const std::string& path, const std::string& message) {
      const std::string line = "// " + bridge::NameToPane(bridge::FromDisk(path), page) + " : " +
                               bridge::ToPane(bridge::FromUtf8(message), page) + "\r\n";
      std::lock_guard lock(grep_mu_);
      grep_incoming_.append(line);
    };
    try {
      const search::FileGrepResult r = search::GrepFiles(pattern, feed, o, sink, problem, &cancel_, fill);
      grep_cancelled_ = r.cancelled || cancel_.load();
    } catch (const std::exception&) {
      // Nothing else escapes GrepFiles once the pattern compiled; keep the window alive.
    }
    done_ = true;
    QMetaObject::invokeMethod(this, [this] { GrepFinished(); }, Qt::QueuedConnection);
  });
  grep_timer_->start(50);
}

namespace {
constexpr std::size_t kQuickReport = 256 * 1024;
}  // namespace

void SearchController::Grep1Match(bool last) {
  std::string block;
  {
    std::lock_guard lock(grep_mu_);
    block.swap(grep_incoming_);
  }
  if (block.empty() && !last) return;
  QElapsedTimer took;
  took.start();
  grep_text_ += block;
  viewer::TextDocument doc;
  // The last block leaves the whole report to the pane; before it the report goes on.
  doc.SetBytes(last ? std::move(grep_text_) : std::string(grep_text_));
  if (last) grep_text_.clear();
  ctx().Text().Continue(std::move(doc));
  // A long report takes longer to show: the window gets at least three quarters of the
  // time between two blocks to itself. Past the first screens only the line count and
  // the scroll bar change, so a long report is shown again less often, leaving the
  // processor to the grep.
  const int least = grep_text_.size() < kQuickReport ? 50 : 250;
  grep_timer_->setInterval(std::max<int>(least, static_cast<int>(4 * took.elapsed())));
}

void SearchController::GrepFinished() {
  if (!worker_.joinable()) return;
  worker_.join();
  grep_timer_->stop();
  if (grep_cancelled_) {
    std::lock_guard lock(grep_mu_);
    grep_incoming_ += bridge::ToPane(QStringLiteral("[Grepを中止]"), ctx().Text().View().ShownPage()) + "\r\n";
  }
  Grep1Match(true);
  ctx().Actions().Get(QStringLiteral("Mgrep2"))->setEnabled(false);
  ctx().Actions().Get(QStringLiteral("Mgrep3"))->setEnabled(false);
  Changed();
  if (grep_cancelled_) ui::Warn(ctx().Window(), QStringLiteral("Grepを中止しました。"));
}

void SearchController::WaitGrep() {
  if (!worker_.joinable()) return;
  while (!done_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  GrepFinished();
}

void SearchController::Mgrep2Click() { cancel_ = true; }

}  // namespace haruvi::controllers
