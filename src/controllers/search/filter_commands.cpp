// The line filters in the window: pick and delete lines (plain and by pattern), delete
// a word, and the two continuous commands with TForm31 and its "RenzokuDelete" section.
// The work is the search core's; a pattern error leaves the pane as it was.
#include <QAction>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "controllers/search/search_controller.h"
#include "regex/regex_error.h"
#include "search/line_filter.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

bool DialogDisp(ui::WindowContext& ctx) {
  const QString name = QStringLiteral("Mdialogdisp1");
  return ctx.Actions().Contains(name) && ctx.Actions().Checked(name);
}

}  // namespace

void SearchController::ReplaceByLines(const std::vector<std::string>& lines) {
  ctx().Text().ReplaceLines(FromCore(lines));
}

void SearchController::Mpickupline1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  const QString preset = pane.HasSelection() ? PaneText(pane.SelectedText()) : QString();
  const std::optional<QString> text =
      dialogs_->Text(ctx().Window(), QStringLiteral("検索行抽出"), QStringLiteral("検索する文字列"), preset);
  if (!text) return;
  search::LineFilterResult r;
  {
    ui::BusyCursor busy;
    const std::optional<std::string> core = CoreText();
    if (!core) return;
    const std::optional<std::string> find = CoreBytes(*text);
    if (!find) return;
    r = search::PickLines(*core, *find);
    ReplaceByLines(r.lines);
  }
  if (DialogDisp(ctx())) ui::Inform(ctx().Window(), QString::number(r.count) + QStringLiteral("　行抽出しました！"));
}

void SearchController::Mdeleteline1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  const QString preset = pane.HasSelection() ? PaneText(pane.SelectedText()) : QString();
  const std::optional<QString> text =
      dialogs_->Text(ctx().Window(), QStringLiteral("検索行削除"), QStringLiteral("検索する文字列"), preset);
  if (!text) return;
  search::LineFilterResult r;
  {
    ui::BusyCursor busy;
    const std::optional<std::string> core = CoreText();
    if (!core) return;
    const std::optional<std::string> find = CoreBytes(*text);
    if (!find) return;
    r = search::DeleteLines(*core, *find);
    if (r.count > 0) ReplaceByLines(r.lines);
  }
  if (DialogDisp(ctx())) ui::Inform(ctx().Window(), QString::number(r.count) + QStringLiteral("　行削除しました！"));
  Changed();
}

void SearchController::MpickuplineSEIKI1Click() { FilterLinesMatching(PatternUse::RegexPick, true); }
void SearchController::MdeletelineR1Click() { FilterLinesMatching(PatternUse::RegexDelete, false); }

void SearchController::FilterLinesMatching(PatternUse use, bool keep) {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  const std::optional<PatternAnswer> a = AskPattern(use);
  if (!a || a->pattern.isEmpty()) return;
  ui::BusyCursor busy;
  try {
    const std::optional<std::string> core = CoreText();
    if (!core) return;
    const std::optional<std::string> pattern = CoreBytes(a->pattern, QStringLiteral("検索正規表現"));
    if (!pattern) return;
    ReplaceByLines((keep ? search::PickLinesMatching(*core, *pattern, a->fuzzy)
                    : search::DeleteLinesMatching(*core, *pattern, a->fuzzy)).lines);
  } catch (const regex::ERegExpParser& e) {
    ShowPatternError(e);
  }
}

void SearchController::Mstringreplace1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  const QString preset = pane.HasSelection() ? PaneText(pane.SelectedText()) : QString();
  const std::optional<QString> word = dialogs_->Text(ctx().Window(), QStringLiteral("検索語句削除"),
                                                     QStringLiteral("削除する語句を入力して下さい"), preset);
  if (!word) return;
  ui::BusyCursor busy;
  const std::optional<std::string> core = CoreText();
  if (!core) return;
  const std::optional<std::string> w = CoreBytes(*word, QStringLiteral("削除する語句"));
  if (w && !w->empty()) ctx().Text().Replace(FromCore(search::DeleteWord(*core, *w)));
  Changed();
}

void SearchController::Mrenzku1Click() { Continuous(false); }
void SearchController::Mrenzokudeleteline1Click() { Continuous(true); }

void SearchController::Continuous(bool lines) {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  if (pane.ReadOnly()) ctx().Text().editmodeon();
  platform::Settings& ini = ctx().Settings();
  ListSetup setup;
  setup.caption = QString::fromUtf8(lines ? "検索行削除 連続" : "検索語句削除　連続");
  const std::string open_folder = ini.Read(kOpen31, bridge::ToDisk(ctx().ProgramFolder()));
  const std::string save_folder = ini.Read(kSave31, bridge::ToDisk(ctx().ProgramFolder()));
  setup.open_folder = bridge::FromDisk(open_folder);
  setup.save_folder = bridge::FromDisk(save_folder);
  setup.regex = ini.Read(kRegCheck);
  const int count = std::min(ini.Read(kListCount), 100000);
  for (int n = 0; n < count; ++n) {
    std::string v = ini.File().ReadString("RenzokuDelete", "Items_" + std::to_string(n), "");
    // The "#" marks around each entry: the first and last characters always go.
    if (!v.empty()) v.erase(0, 1);
    if (!v.empty()) v.pop_back();
    setup.entries << bridge::FromDisk(v);
  }
  if (pane.HasSelection()) setup.preset = PaneText(pane.SelectedText());
  const std::optional<ListAnswer> a = dialogs_->List(ctx().Window(), setup);
  if (!a) return;
  {
    platform::IniFile::Batch batch(ini.File());
    ini.Write(kOpen31, open_folder);
    ini.Write(kSave31, save_folder);
    ini.Write(kRegCheck, a->regex);
    ini.Write(kListCount, static_cast<std::int32_t>(a->entries.size()));
    for (qsizetype n = 0; n < a->entries.size(); ++n) {
      std::string marked(1, '#');
      marked.append(bridge::ToDisk(a->entries[n])).push_back('#');
      ini.File().WriteString("RenzokuDelete", "Items_" + std::to_string(n), marked);
    }
  }
  ui::BusyCursor busy;
  const std::optional<std::string> core = CoreText();
  if (!core) return;
  // An entry the text's code cannot hold matches nothing here: it is said and left out.
  std::vector<std::string> entries;
  for (const QString& e : a->entries)
    if (std::optional<std::string> bytes = CoreBytes(e, QStringLiteral("一覧の語句"))) entries.push_back(std::move(*bytes));
  try {
    // Worked out whole before the pane changes: a bad entry discards the earlier ones too.
    if (lines) {
      ReplaceByLines(search::DeleteLinesOfList(*core, entries, a->regex, false));
    } else {
      ctx().Text().Replace(FromCore(search::DeleteWordsOfList(*core, entries, a->regex, false)));
    }
  } catch (const regex::ERegExpParser& e) {
    ShowPatternError(e);
  }
  Changed();
}

}  // namespace haruvi::controllers
