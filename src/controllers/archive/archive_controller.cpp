// The archive commands: LHA commands through the LHA binding, general ones through
// TArchiveFile; results go into the pane as the libraries' text.
#include "controllers/archive/archive_controller.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <future>
#include <memory>
#include <thread>
#include <unistd.h>

#include "archive/archive_file.h"
#include "archive/listing.h"
#include "archive/result_codes.h"
#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "dialogs/target_dialog.h"
#include "dialogs/progress_dialog.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "ui/prompt_dialog.h"
#include "viewer/file_info.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

constexpr std::uint32_t kLhaOutput = 65536;
// An unpacking's report names every file written: room for many.
constexpr std::uint32_t kUnpackOutput = 4u << 20;
constexpr std::uint32_t kLhaOutputMax = 256u << 20;

// The upper-cased extension of a path's name (".LZH"), "" without one.
QString UpperExtension(const QString& path) {
  const QString name = bridge::FileName(path);
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot).toUpper();
}

QString WithSlash(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

// A name with its extension replaced by ".lzh".
QString AsLzh(const QString& name) {
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  const int slash = name.lastIndexOf(QLatin1Char('/'));
  return (dot > slash && dot > 0 ? name.left(dot) : name) + QStringLiteral(".lzh");
}

// The heading of an unpacking's report: the result's message, except for entries refused
// for their own sake (no user skipped them; the report names each with its reason).
std::string UnpackHeading(int rc) {
  return rc == archive::kErrSkipped ? "展開しなかった項目があります。" : archive::ResultMessage(rc);
}

// An entry record as the listing core takes it (the name back from the pane's CP932);
// the library's whole sizes where it gives them, the record's 32 bits otherwise.
archive::Entry FromRecord(const HaruviIndividualInfo& r, archive::TArchiveFile& file) {
  archive::Entry e;
  e.name = archive::NameCodec().ToDisk(std::string(r.file_name, strnlen(r.file_name, sizeof r.file_name)));
  if (!file.EntrySizes(&e.size, &e.packed)) {
    e.size = r.original_size;
    e.packed = r.compressed_size;
  }
  e.crc = r.crc;
  e.has_crc = r.crc != 0;
  e.method = std::string(r.method, strnlen(r.method, sizeof r.method));
  const std::string attr(r.attribute, strnlen(r.attribute, sizeof r.attribute));
  e.kind = !attr.empty() && attr[0] == 'd' ? archive::EntryKind::kFolder : archive::EntryKind::kFile;
  e.mode = (attr.size() > 1 && attr[1] == 'r' ? 0400 : 0) | (attr.size() > 2 && attr[2] == 'w' ? 0200 : 0) |
           (attr.size() > 3 && attr[3] == 'x' ? 0100 : 0);
  std::tm tm{};
  tm.tm_year = ((r.date >> 9) & 0x7F) + 80;
  tm.tm_mon = ((r.date >> 5) & 0x0F) - 1;
  tm.tm_mday = r.date & 0x1F;
  tm.tm_hour = (r.time >> 11) & 0x1F;
  tm.tm_min = (r.time >> 5) & 0x3F;
  tm.tm_sec = (r.time & 0x1F) * 2;
  tm.tm_isdst = -1;
  e.mtime = static_cast<std::int64_t>(std::mktime(&tm));
  return e;
}

}  // namespace

ArchiveController::ArchiveController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  const auto on = [this](void (ArchiveController::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  a.Declare({"MlhaU", "LHA解凍(&X)", "LHA解凍|LHA書庫を解凍します。"}, on(&ArchiveController::MlhaUClick));
  a.Declare({"MlhaP", "LHA作成(&A)", "書庫作成(P)|選択したファイルからLHA書庫を作成します。"},
            on(&ArchiveController::MlhaPClick));
  a.Declare({"Mlhalist", "LHA一覧(&L)", "LHA一覧|LHA書庫の内容を表示します。"}, on(&ArchiveController::MlhalistClick));
  // The submenu "LHAコマンド(&C)" follows this action's enabled state.
  a.Declare({"Mlhacommand", "LHAコマンド(&C)", "LHAコマンド|LHAのその他のコマンドです。"}, [] {});
  a.Declare({"Mlha_V", "LHA一覧-拡張（&V）", "LHA一覧-拡張|LHA書庫の詳しい内容を表示します。"},
            on(&ArchiveController::Mlha_VClick));
  a.Declare({"Mlha_E", "LHA解凍-書庫のみ(&E)", "LHA解凍-書庫のみ|フォルダーを作らずにLHA書庫を解凍します。"},
            on(&ArchiveController::Mlha_EClick));
  a.Declare({"Marcunpack1", "解凍(&U)", "書庫解凍(U)|書庫を解凍します。"}, on(&ArchiveController::Marcunpack1Click));
  a.Declare({"Marclist1", "一覧(&V)", "書庫内一覧(I)|書庫の内容を一覧表示します。"},
            on(&ArchiveController::Marclist1Click));
  a.Declare({"Marcmake", "作成(&M)", "書庫作成|選択したファイルから書庫を作成します。"},
            on(&ArchiveController::MarcmakeClick));
  // The pop-up menu's copies.
  for (const auto& [main, twin] : {std::pair{"MlhaU", "MlhaU1"}, {"MlhaP", "MlhaP1"}, {"Mlhalist", "Mlhalist1"},
                                   {"Marcunpack1", "Marcunpack2"}, {"Marclist1", "Marclist2"}, {"Marcmake", "Marcmake1"}})
    a.Twin(QString::fromUtf8(main), QString::fromUtf8(twin));

  ChooseTarget = [this](const QString& archive) { return DefaultChooseTarget(archive); };
  AskName = [this](const QString& caption, const QString& prompt, const std::string& section,
                   const QString& initial) {
    return ui::Ask(this->ctx().Window(), caption, prompt, this->ctx().Settings().File(), section, initial);
  };

  // Without the LHA library its items are disabled from the start.
  lha_.Load();
  if (lha_.Version() == 0)
    for (const char* item : {"MlhaU", "MlhaP", "Mlhalist", "Mlhacommand"}) a.Get(QString::fromUtf8(item))->setEnabled(false);
}

template <typename Work>
auto ArchiveController::WhileWorking(const QString& what, const QString& path, Work work, HaruviProgress* progress)
    -> decltype(work()) {
  using Result = decltype(work());
  std::packaged_task<Result()> task(std::move(work));
  std::future<Result> done = task.get_future();
  std::thread worker(std::move(task));
  ui::BusyCursor busy;
  std::unique_ptr<dialogs::TForm24> window;
  QElapsedTimer clock;
  clock.start();
  while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
    if (!window && clock.elapsed() > 400) {
      window = std::make_unique<dialogs::TForm24>(QStringLiteral("書庫"), what, bridge::DisplayName(path), ctx().Window());
      // Without a progress the library cannot be stopped halfway: no Cancel then.
      if (progress)
        connect(window.get(), &dialogs::TForm24::Cancelled, window.get(), [progress] { progress->cancel = true; });
      else
        window->BitBtn1->hide();
      window->show();
    }
    if (window && progress && progress->total > 0)
      window->Ldump2->setText(what + QStringLiteral("  %1%").arg(std::min<std::uint64_t>(progress->done * 100 / progress->total, 100)));
    // The progress window shuts out the rest of the program while it is up, so the keys
    // and clicks can go through then: they reach its Cancel and nothing else. Before it
    // comes up (and once Cancel closed it) they wait.
    QCoreApplication::processEvents(window && window->isVisible() ? QEventLoop::AllEvents
                                                                  : QEventLoop::ExcludeUserInputEvents,
                                    20);
  }
  worker.join();
  return done.get();
}

QString ArchiveController::Quoted() const { return QStringLiteral("\"") + ctx().SelectedPath() + QStringLiteral("\""); }
std::string ArchiveController::Quoted(const QString& path) const { return "\"" + bridge::ToDisk(path) + "\""; }

void ArchiveController::Warn(const QString& text) { ui::Warn(ctx().Window(), text); }

std::optional<QString> ArchiveController::DefaultChooseTarget(const QString& archive) {
  // The file operations' target dialog, its operation set to unpacking.
  std::optional<QString> target =
      dialogs::AskTargetFolder(ctx().Settings().File(), ctx().Window(), ctx().CurrentFolder(), dialogs::TForm2::kUnpack,
                               QStringLiteral("1個のファイル"), {bridge::DisplayName(archive)}, &UnpackOverwrites);
  if (!target || target->isEmpty()) return std::nullopt;
  return target;
}

// ---------------------------------------------------------------- the LHA preview

bool ArchiveController::PreviewSelection() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty() || !ctx().Actions().Checked(QStringLiteral("Mlhashow"))) return false;
  const QString ext = UpperExtension(path);
  if (ext != QStringLiteral(".LZH") && ext != QStringLiteral(".EXE")) return false;
  if (!lha_.CheckArchive(Quoted(path), 0)) return false;
  ShowLhaListing();
  return true;
}

void ArchiveController::ShowLhaListing(const char* word) {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty()) return;
  if (!lha_.Loaded()) {
    ctx().filedisp();
    return;
  }
  ctx().Text().fileinfo(bridge::ToDisk(path));
  ctx().folderinfo();
  if (!lha_.CheckArchive(Quoted(path), 4)) {
    ctx().filedisp();
    return;
  }
  const std::string command = std::string(word) + " " + Quoted(path);
  std::string out;
  HaruviProgress progress;
  const int rc = WhileWorking(QStringLiteral("書庫の内容を読んでいます"), path,
                              [&, owner = static_cast<void*>(ctx().Window())] {
                                // A listing that fills the buffer was cut: it is asked for
                                // again with room for all of it, rather than shown cut.
                                int result = 0;
                                for (std::uint32_t size = kLhaOutput; size <= kLhaOutputMax; size *= 8) {
                                  result = lha_.Unlha(owner, command, &out, size, &progress);
                                  if (result != 0 || out.size() + 1 < size) break;
                                }
                                return result;
                              }, &progress);
  if (rc == 0) ctx().Text().Show(std::move(out), ui::TextOrigin::Listing);
}

// ---------------------------------------------------------------- LHA commands

void ArchiveController::MlhaUClick() {
  const QString path = ctx().SelectedPath();
  const QString ext = UpperExtension(path);
  if (ext == QStringLiteral(".LZH") || (ext == QStringLiteral(".EXE") && lha_.CheckArchive(Quoted(path), 0)))
    LhaUnpack("x");
  else
    Marcunpack1Click();
}

void ArchiveController::Mlha_EClick() { LhaUnpack("e"); }

void ArchiveController::LhaUnpack(const char* word) {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty() || !lha_.Loaded() || !lha_.CheckArchive(Quoted(path), 4)) return;
  const std::optional<QString> target = ChooseTarget(path);
  if (!target) return;
  ctx().Flags().worktext = *target;
  const QString dest = WithSlash(*target);
  const std::string command =
      std::string(word) + (UnpackOverwrites ? " -c1 " : " ") + Quoted(path) + " " + Quoted(dest);
  std::string out;
  HaruviProgress progress;
  const int rc = WhileWorking(
      QStringLiteral("解凍しています"), path,
      [&, owner = static_cast<void*>(ctx().Window())] { return lha_.Unlha(owner, command, &out, kLhaOutput, &progress); },
      &progress);
  const bool folders = std::string(word) == "x";
  if (rc != 0 && out.empty()) {
    Warn(QStringLiteral("解凍できませんでした。"));
    if (folders) ctx().filedisp();
  } else {
    // A report (entries refused or kept, a damaged archive) says what was written.
    const std::string heading = UnpackHeading(rc);
    if (!heading.empty()) out = bridge::ToPane(QString::fromStdString(heading), ctx().Text().View().CodePage()) + "\r\n" + out;
    if (folders) {
      if (ctx().Actions().Checked(QStringLiteral("Mtodiropen"))) ctx().MoveToFolder(*target);
      ctx().viewreset();
    }
    ctx().Text().Show(std::move(out), ui::TextOrigin::Listing);
  }
  ctx().Flags().worktext.clear();
  if (!folders) ctx().viewreselect(path);
}

void ArchiveController::MlhaPClick() {
  if (!lha_.Loaded()) return;
  ctx().Flags().worktext.clear();
  const QString folder = WithSlash(ctx().CurrentFolder());
  const QString proposed = AsLzh(bridge::FileName(ctx().SelectedPath()));
  const std::optional<QString> typed =
      AskName(QStringLiteral("ＬＨＡファイルに圧縮"), QStringLiteral("圧縮ファイル名を指定します。　ex) haruv.lzh"),
              "LHApack", bridge::DisplayName(proposed));
  if (!typed || typed->isEmpty()) return;
  const QString answer = bridge::KeptOrTyped(*typed, proposed);
  const QString name = answer.toLower().endsWith(QStringLiteral(".lzh")) ? answer : AsLzh(answer);
  const QString archive = folder + name;
  ctx().Text().Clear();
  const QStringList selected = ctx().Files().SelectedPaths();
  std::string files;
  for (const QString& item : selected) files += " " + Quoted(item);
  const std::string command = "a " + Quoted(archive) + files;
  std::string out;
  HaruviProgress progress;
  if (WhileWorking(
          QStringLiteral("圧縮しています"), archive,
          [&, owner = static_cast<void*>(ctx().Window())] { return lha_.Unlha(owner, command, &out, kLhaOutput, &progress); },
          &progress) == 0)
    ctx().Text().Show(std::move(out), ui::TextOrigin::Listing);
  ctx().Text().SetInfo(bridge::DisplayName(archive) + QStringLiteral("   %1個のファイル").arg(selected.size()));
  ctx().viewreselect(archive);
}

void ArchiveController::MlhalistClick() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty() || ctx().Files().SelectedCount() == 0) return;
  const QString ext = UpperExtension(path);
  if (ext == QStringLiteral(".LZH") || (ext == QStringLiteral(".EXE") && lha_.CheckArchive(Quoted(path), 0)))
    ShowLhaListing();
  else
    Marclist1Click();
}

void ArchiveController::Mlha_VClick() { ShowLhaListing("v"); }

void ArchiveController::MlhashowClick() {
  ui::ActionRegistry& a = ctx().Actions();
  a.SetChecked(QStringLiteral("Mlhashow"), !a.Checked(QStringLiteral("Mlhashow")));
}

// ---------------------------------------------------------------- general commands

void ArchiveController::Marclist1Click() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty() || ctx().Files().SelectedCount() == 0) return;
  try {
    const std::string disk = bridge::ToDisk(path);
    std::vector<archive::Entry> entries;
    void* owner = ctx().Window();  // opaque to the libraries: they never draw
    HaruviProgress progress;
    int end = -1;  // how the walk ended: -1 at the last entry, a result code at a damage
    bool opened = false;
    const bool listed = WhileWorking(QStringLiteral("書庫の内容を読んでいます"), path, [&] {
      archive::TArchiveFile file;
      file.Progress = &progress;
      file.SetFileName(disk);
      if (file.CheckArchive(1, 4) == 0) return false;
      if (file.OpenArchive(owner, 0)) {
        opened = true;
        HaruviIndividualInfo info;
        for (end = file.FindFirst("*.*", &info); end == 0; end = file.FindNext(&info))
          entries.push_back(FromRecord(info, file));
        file.CloseArchive();
      }
      return true;
    }, &progress);
    if (!listed || progress.cancel) return;
    if (!opened) {
      Warn(QString::fromStdString(archive::ResultMessage(archive::kErrNotArchive)));
      return;
    }
    std::string text = archive::FormatListing(bridge::NameToPane(path, ctx().Text().View().CodePage()), entries);
    // A damaged archive lists what could be read, and says so on its last line.
    if (end > 0)
      text += "\r\n" +
              bridge::ToPane(QString::fromStdString(archive::ResultMessage(end)) +
                                 QStringLiteral(" 読めた所までの項目を表示しました。"),
                             ctx().Text().View().CodePage()) +
              "\r\n";
    ctx().Text().Show(std::move(text), ui::TextOrigin::Listing);
  } catch (const archive::EArchiver& e) {
    Warn(QString::fromUtf8(e.what()));
  }
}

void ArchiveController::Marcunpack1Click() {
  const QString path = ctx().SelectedPath();
  if (path.isEmpty() || ctx().Files().SelectedCount() == 0) return;
  // Every archive a library reads is unpacked, whatever its name (.tgz, .tar.xz, .7z,
  // .iso...): the libraries are asked before the target is.
  {
    archive::TArchiveFile probe;
    probe.SetFileName(bridge::ToDisk(path));
    bool known = false;
    try {
      known = probe.CheckArchive(1, 4) != 0;
    } catch (const archive::EArchiver& e) {
      Warn(QString::fromUtf8(e.what()));
      return;
    }
    if (!known) {
      Warn(QString::fromStdString(archive::ResultMessage(archive::kErrNotArchive)));
      return;
    }
  }
  const std::optional<QString> target = ChooseTarget(path);
  if (!target) return;
  ctx().Flags().worktext = *target;
  // Into the shown folder: no destination, the unpacking goes to the current directory.
  const QString dest = WithSlash(*target) == WithSlash(ctx().CurrentFolder()) ? QString() : WithSlash(*target);
  try {
    const std::string disk = bridge::ToDisk(path), dest_disk = bridge::ToDisk(dest);
    std::string output;
    void* owner = ctx().Window();
    HaruviProgress progress;
    const int rc = WhileWorking(QStringLiteral("解凍しています"), path, [&] {
      archive::TArchiveFile file;
      file.Progress = &progress;
      file.SetFileName(disk);
      file.Options.Set("x", 1);
      if (UnpackOverwrites) {
        file.Options.Set("c", 1);  // replace without asking
        file.Options.Set("m", 1);
      }
      file.OutputSize = kUnpackOutput;
      const int result = file.Unpack(owner, nullptr, {}, dest_disk);
      output = file.GetOutput();
      return result;
    }, &progress);
    ctx().viewreset();
    std::string text;
    const std::string message = UnpackHeading(rc);
    if (!message.empty()) text = bridge::ToPane(QString::fromStdString(message), ctx().Text().View().CodePage()) + "\r\n";
    ctx().Text().Show(text + output, ui::TextOrigin::Listing);
  } catch (const archive::EArchiver& e) {
    Warn(QString::fromUtf8(e.what()));
  }
}

void ArchiveController::MarcmakeClick() {
  ctx().Flags().worktext.clear();
  if (ctx().Files().Count() == 0) return;
  const QString folder = WithSlash(ctx().CurrentFolder());
  const QString proposed = AsLzh(bridge::FileName(ctx().SelectedPath()));
  const std::optional<QString> typed =
      AskName(QStringLiteral("書庫ファイルを作成"), QStringLiteral("圧縮ファイル名 拡張子指定。ex)haruvt.zip"), "ARCpack",
              bridge::DisplayName(proposed));
  if (!typed || typed->isEmpty()) return;
  const QString answer = bridge::KeptOrTyped(*typed, proposed);
  const QString archive = answer.startsWith(QLatin1Char('/')) ? answer : folder + answer;
  ctx().Text().Clear();
  // The new archive is made under a temporary name beside the old one, which it
  // replaces only when made: a failure never costs the old archive.
  // (A name near the 255-byte limit leaves no room for the prefix: then a short one.)
  QString temp_leaf = QStringLiteral(".haruvi-new-%1-").arg(::getpid()) + bridge::FileName(archive);
  if (bridge::ToDisk(temp_leaf).size() > 255)  // the kind of archive follows the extension
    temp_leaf = QStringLiteral(".haruvi-new-%1").arg(::getpid()) + UpperExtension(archive).toLower();
  const QString temp = bridge::Join(bridge::FolderOf(archive), temp_leaf);
  QStringList captions;
  for (const QString& p : ctx().Files().SelectedPaths()) captions << bridge::FileName(p);
  std::vector<std::string> files;
  for (const QString& c : captions) files.push_back(bridge::ToDisk(c));
  try {
    const std::string temp_name = bridge::ToDisk(temp), base = bridge::ToDisk(ctx().CurrentFolder());
    std::string output;
    void* owner = ctx().Window();
    HaruviProgress progress;
    int rc = WhileWorking(QStringLiteral("圧縮しています"), archive, [&] {
      archive::TArchiveFile file;
      file.Progress = &progress;
      file.SetFileName(temp_name);
      file.Options.Set("x", 1);
      file.OutputSize = 8192;
      const int result = file.Pack(owner, nullptr, files, base);
      output = file.GetOutput();
      return result;
    }, &progress);
    const std::string temp_disk = bridge::ToDisk(temp);
    if (rc == 0 && ::access(temp_disk.c_str(), F_OK) == 0) {
      if (::rename(temp_disk.c_str(), bridge::ToDisk(archive).c_str()) != 0) rc = archive::kErrWrite;
    }
    ::unlink(temp_disk.c_str());
    ctx().viewrefresh();
    ctx().textclear();
    ctx().Text().Show(output + "\r\nResult code = " + std::to_string(rc) + "\r\n", ui::TextOrigin::Listing);
  } catch (const archive::EArchiver& e) {
    ::unlink(bridge::ToDisk(temp).c_str());
    Warn(QString::fromUtf8(e.what()));
  }
}

}  // namespace haruvi::controllers
