// SearchController: the actions, the settings keys, find in text and the replace
// commands. Grep is in grep_commands.cpp, the line filters in line_commands.cpp.
#include "controllers/search/search_controller.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QLabel>
#include <QTimer>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "encoding/text_form.h"
#include "controllers/search/replace_dialog.h"
#include "platform/history.h"
#include "regex/awk_str.h"
#include "regex/regex_error.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

namespace {

// The form of the text searched: UTF-8 for a Unicode text, EUC-JP's character starts for
// an EUC-JP or ISO-2022-JP one (held as EUC-JP), else Shift_JIS's.
void SetForm(search::FindOptions& o, encoding::TextForm form) {
  o.utf8 = encoding::IsUnicode(form);
  o.codec = !encoding::IsJapaneseForm(form) ? nullptr
            : &encoding::PaneCodec::For(form == encoding::TextForm::Jis ? encoding::CodePage::Iso2022Jp
                                                                        : encoding::CodePage::EucJp);
}


struct Item {
  ui::ActionItem action;
  void (SearchController::*handler)();
  const char* twin;  // the pop-up copy's name
};

const Item kItems[] = {
    {{"Mserch", "テキストの検索(&F)..", "検索|テキストを検索します。"}, &SearchController::MserchClick, "Mserch1"},
    {{"MserchNext", "下へ検索(&N)", "下へ検索|下へ向かって検索します。"}, &SearchController::MserchNextClick, nullptr},
    {{"Mserchnextup1", "上へ検索(&T)", "上へ検索|上へ向かって検索します。"}, &SearchController::Mserchnextup1Click,
     "Mserchnextup2"},
    {{"Mserchnext2", "下へ検索(&N)", "下へ検索|前回の方向へ検索します。"}, &SearchController::FindDialog1Find, nullptr},
    {{"Mreplace1", "置換(&R)", "置換|文字列を置換します。"}, &SearchController::Mreplace1Click, "Mreplace2"},
    {{"MreplaceGrep1", "置換　正規表現(&P)", "正規表現置換|正規表現で置換します。"}, &SearchController::MreplaceGrep1Click,
     "MreplaceGrep2"},
    {{"Mreplaceall1", "置換　一括(&I)", "一括置換|文字列をすべて置換します。"}, &SearchController::Mreplaceall1Click,
     "Mreplaceall2"},
    {{"Mgrep", "Grepの実行(&G)", "Grep|フォルダーのファイルから正規表現で検索します。"}, &SearchController::MgrepClick, "Mgrep1"},
    {{"Mgrep2", "Grepの中止(&Q)", "Grepの中止|実行中のGrepを中止します。"}, &SearchController::Mgrep2Click, "Mgrep3"},
    {{"Mpickupline1", "検索行抽出(&C)", "検索行抽出|文字列を含む行を抜き出します。"}, &SearchController::Mpickupline1Click,
     "Mpickupline2"},
    {{"MpickuplineSEIKI1", "検索行抽出　正規表現", "検索行抽出|正規表現に一致する行を抜き出します。"},
     &SearchController::MpickuplineSEIKI1Click, "MpickuplineSEIKI2"},
    {{"Mdeleteline1", "検索行削除(&L)", "検索行削除|文字列を含む行を削除します。"}, &SearchController::Mdeleteline1Click,
     "Mdeleteline2"},
    {{"MdeletelineR1", "検索行削除　正規表現", "検索行削除|正規表現に一致する行を削除します。"},
     &SearchController::MdeletelineR1Click, "MdeletelineR2"},
    {{"Mrenzokudeleteline1", "検索行削除　連続", "検索行削除　連続|リストの文字列を含む行を削除します。"},
     &SearchController::Mrenzokudeleteline1Click, "Mrenzokudeleteline2"},
    {{"Mstringreplace1", "検索語句削除", "検索語句削除|語句をすべて削除します。"}, &SearchController::Mstringreplace1Click,
     "Mstringreplace2"},
    {{"Mrenzku1", "検索語句削除　連続", "検索語句削除　連続|リストの語句をすべて削除します。"},
     &SearchController::Mrenzku1Click, "Mrenzku2"},
};

// Pop-up captions that differ from the menu's.
const struct {
  const char* name;
  const char* caption;
} kPopupCaptions[] = {
    {"MreplaceGrep2", "置換 正規表現(&P)"},
    {"MpickuplineSEIKI2", "検索行抽出 正規表現(&C)"},
    {"MdeletelineR2", "検索行削除　正規表現(&C)"},
    {"Mstringreplace2", "検索語句削除(&I)"},
};

constexpr platform::HistoryKeys kFindHistory{"Count", "Items_", 21};
constexpr platform::HistoryKeys kPatternHistory{"DriveCount", "Items_", 20};
constexpr platform::HistoryKeys kTemplateHistory{"DriveCount2", "Items2_", 20};

QStringList ToList(const std::vector<std::string>& v) {
  QStringList l;
  for (const std::string& s : v) l << bridge::FromDisk(s);
  return l;
}
std::vector<std::string> FromList(const QStringList& l) {
  std::vector<std::string> v;
  for (const QString& s : l) v.push_back(bridge::ToDisk(s));
  return v;
}

}  // namespace

SearchController::SearchController(ui::WindowContext& ctx, QObject* parent)
    : Controller(ctx, parent), dialogs_(std::make_unique<SearchDialogs>()) {
  ui::ActionRegistry& a = ctx.Actions();
  for (const Item& item : kItems) {
    QAction* action = a.Declare(item.action, [this, h = item.handler] { (this->*h)(); });
    if (item.twin) a.Twin(action->objectName(), QString::fromUtf8(item.twin));
  }
  for (const auto& p : kPopupCaptions) a.Get(QString::fromUtf8(p.name))->setText(QString::fromUtf8(p.caption));
  a.Get(QStringLiteral("Mserch"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  a.Get(QStringLiteral("MserchNext"))->setShortcut(QKeySequence(Qt::Key_F3));
  a.Get(QStringLiteral("Mserchnextup1"))->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  a.Get(QStringLiteral("Mreplace1"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  // The text tool bar's buttons.
  a.Declare({"ToolButton33", "検索", "検索(F)|テキストを検索します。"}, [this] { MserchClick(); });
  a.Declare({"ToolButton53", "置換", "置換|文字列を置換します。"}, [this] { Mreplace1Click(); });
  a.Get(QStringLiteral("Mgrep2"))->setEnabled(false);
  a.Get(QStringLiteral("Mgrep3"))->setEnabled(false);
  grep_timer_ = new QTimer(this);
  grep_timer_->setInterval(50);
  connect(grep_timer_, &QTimer::timeout, this, [this] { Grep1Match(false); });
}

SearchController::~SearchController() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

std::vector<platform::KeyInfo> SearchController::Keys() const {
  return {kFindText.info,   kFindWord.info,       kFindCase.info, kFindUpDown.info, kFindCount.info,
          kGrepRCount.info, kGrepRCount2.info,    kGrepCount.info, kGrepSubfolders.info, kOpen31.info,
          kSave31.info,     kRegCheck.info,       kListCount.info};
}

void SearchController::SetDialogs(std::unique_ptr<SearchDialogs> dialogs) { dialogs_ = std::move(dialogs); }

std::string SearchController::PaneBytes(const QString& s) const { return bridge::ToPane(s, ctx().Text().View().ShownPage()); }

QString SearchController::ShownCodeName() const {
  switch (const encoding::CodePage page = ctx().Text().View().ShownPage()) {
    case encoding::CodePage::Cp932: return QStringLiteral("Shift_JIS");
    case encoding::CodePage::Iso2022Jp: return QStringLiteral("JIS");
    default: return QString::fromLatin1(encoding::CodePageName(page));
  }
}

std::optional<std::string> SearchController::InPaneCode(const QString& s, const QString& what) {
  const std::u16string u(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
  std::size_t missing = 0;
  std::string bytes = encoding::PaneCodec::For(ctx().Text().View().ShownPage()).Encode(u, &missing);
  if (missing == 0) return bytes;
  ui::Inform(ctx().Window(), QStringLiteral("%1「%2」には、このテキストの文字コード（%3）にない文字があります。\n"
                                            "このテキストには見つかりません。")
                                 .arg(what, s, ShownCodeName()));
  return std::nullopt;
}

std::optional<std::string> SearchController::CoreText() {
  ui::ShownText& shown = ctx().Text();
  std::string whole = shown.WholeText();  // never a big file's beginning alone
  sjis_.emplace(shown.Sjis(whole));
  if (sjis_->Refused()) {
    sjis_.reset();
    ui::Warn(ctx().Window(), bridge::FromUtf8(std::string(encoding::kTooManyWithoutSjis)));
    return std::nullopt;
  }
  // Legacy text is its own Shift_JIS view: it is handed over, not copied.
  return sjis_->Converted() ? std::string(sjis_->Text()) : std::move(whole);
}

std::optional<std::string> SearchController::CoreBytes(const QString& s, const QString& what) {
  std::optional<std::string> bytes = InPaneCode(s, what);
  if (!bytes || !sjis_) return bytes;
  std::optional<std::string> sjis = sjis_->ToCommand(*bytes);
  if (!sjis) ui::Warn(ctx().Window(), bridge::FromUtf8(std::string(encoding::kTooManyWithoutSjis)));
  return sjis;
}

std::string SearchController::FromCore(std::string text) const { return sjis_ ? sjis_->ToPane(text) : text; }

std::vector<std::string> SearchController::FromCore(std::vector<std::string> lines) const {
  if (sjis_)
    for (std::string& l : lines) l = sjis_->ToPane(l);
  return lines;
}

QString SearchController::PaneText(std::string_view bytes) const {
  return viewer::DecodeForDisplay(bytes, ctx().Text().View().ShownPage());
}

void SearchController::Changed() { ctx().Text().MarkChanged(); }

void SearchController::SelectHit(std::size_t start, std::size_t length) {
  viewer::TextPane& pane = ctx().Text().View();
  pane.SetSelection(start, length);
  // The hit moves halfway toward the top of the view.
  const long long caret_line = static_cast<long long>(pane.LineOfOffset(start + length));
  const long long top = static_cast<long long>(pane.FirstVisibleLine());
  pane.ScrollLines(static_cast<int>((caret_line - top) / 2));
  pane.setFocus();
}

// ---- Find in text ------------------------------------------------------------------

void SearchController::MserchClick() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  platform::Settings& ini = ctx().Settings();
  FindSetup setup;
  setup.history = ToList(platform::LoadHistory(ini.File(), "FindDialogEx", kFindHistory));
  setup.preset.whole_word = ini.Read(kFindWord);
  setup.preset.match_case = ini.Read(kFindCase);
  setup.preset.direction = ini.Read(kFindUpDown);
  setup.preset.text = bridge::FromDisk(ini.Read(kFindText));
  if (pane.HasSelection()) setup.preset.text = PaneText(pane.SelectedText());
  const std::optional<FindAnswer> answer = dialogs_->Find(ctx().Window(), setup);
  pane.setFocus();
  if (!answer) return;
  if (!answer->text.isEmpty()) {
    // A text already listed changes places with the first entry; a new one goes first.
    QStringList h = setup.history;
    const qsizetype at = h.indexOf(answer->text);
    if (at > 0) h.swapItemsAt(0, at);
    else if (at < 0) h.prepend(answer->text);
    platform::IniFile::Batch batch(ini.File());
    ini.Write(kFindText, bridge::ToDisk(answer->text));
    ini.Write(kFindWord, answer->whole_word);
    ini.Write(kFindCase, answer->match_case);
    ini.Write(kFindUpDown, answer->direction);
    platform::SaveHistory(ini.File(), "FindDialogEx", FromList(h), kFindHistory);
  }
  find_.text = answer->text;
  find_.options.whole_word = answer->whole_word;
  find_.options.match_case = answer->match_case;
  direction_ = answer->direction;
  find_.options.down = direction_ == 1;
  FindDialog1Find();
}

void SearchController::MserchNextClick() {
  ctx().Text().View().setFocus();
  if (find_.text.isEmpty()) return MserchClick();
  find_.options.down = true;
  FindDialog1Find();
}

void SearchController::Mserchnextup1Click() {
  ctx().Text().View().setFocus();
  if (find_.text.isEmpty()) return MserchClick();
  find_.options.down = false;
  FindDialog1Find();
}

void SearchController::FindDialog1Find() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  if (find_.text.isEmpty()) return MserchClick();
  // The text as typed, in the code of the text searched now (another file's, maybe).
  const std::optional<std::string> find = InPaneCode(find_.text, QStringLiteral("検索文字列"));
  if (!find) return;
  std::string scratch;
  const std::string_view text = ctx().Text().WholeText(scratch);
  SetForm(find_.options, pane.TextForm());
  const auto hit = search::FindInText(*find, text, find_.options, pane.SelStart(), pane.SelLength());
  if (!hit) {
    ui::Inform(ctx().Window(), find_.text + QStringLiteral(" 見つかりませんでした"));
    return;
  }
  SelectHit(*hit, find->size());
}

// ---- Replace -----------------------------------------------------------------------

void SearchController::Mreplace1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  if (!replace_dialog_) {
    replace_dialog_ = new ReplaceDialog(ctx().Window());
    replace_dialog_->OnFind = [this] { ReplaceDialog1Find(); };
    replace_dialog_->OnReplace = [this](bool all) { ReplaceDialog1Replace(all); };
    auto sync = [this] {
      replace_.find = replace_dialog_->FindText->text();
      replace_.replace = replace_dialog_->ReplaceText->text();
      replace_.whole_word = replace_dialog_->WholeWord->isChecked();
      replace_.match_case = replace_dialog_->MatchCase->isChecked();
    };
    connect(replace_dialog_->FindText, &QLineEdit::textChanged, this, sync);
    connect(replace_dialog_->ReplaceText, &QLineEdit::textChanged, this, sync);
    connect(replace_dialog_->WholeWord, &QCheckBox::toggled, this, sync);
    connect(replace_dialog_->MatchCase, &QCheckBox::toggled, this, sync);
  }
  if (pane.HasSelection()) replace_dialog_->FindText->setText(PaneText(pane.SelectedText()));
  replace_found_ = false;
  replace_dialog_->show();
  replace_dialog_->raise();
}

void SearchController::ReplaceDialog1Find() {
  replace_found_ = false;
  viewer::TextPane& pane = ctx().Text().View();
  const std::optional<std::string> find = InPaneCode(replace_.find, QStringLiteral("検索文字列"));
  if (!find) return;
  std::string scratch;
  const std::string_view text = ctx().Text().WholeText(scratch);
  search::FindOptions o{true, replace_.whole_word, replace_.match_case};
  SetForm(o, pane.TextForm());
  // From the selection on, then once more from the top.
  auto hit = search::FindInText(*find, text, o, pane.SelStart(), pane.SelLength());
  if (!hit) hit = search::FindInText(*find, text, o, 0, 0);
  if (!hit) {
    ui::Inform(ctx().Window(), QStringLiteral("見つかりませんでした！"));
    return;
  }
  if (QWidget* w = ctx().Window()) w->activateWindow();
  SelectHit(*hit, find->size());
  replace_found_ = true;
  Changed();
}

void SearchController::ReplaceDialog1Replace(bool all) {
  viewer::TextPane& pane = ctx().Text().View();
  const std::optional<std::string> find = InPaneCode(replace_.find, QStringLiteral("検索文字列"));
  if (!find) return;
  // A replacement the text's code cannot hold is refused whole: no "〓" goes into the text.
  const std::optional<std::string> replacement = InPaneCode(replace_.replace, QStringLiteral("置換後の文字列"));
  if (!replacement) return;
  search::FindOptions o{true, replace_.whole_word, replace_.match_case};
  SetForm(o, pane.TextForm());
  // The selection must still be a hit: the text may have changed since it was found.
  if (replace_found_) {
    std::string scratch;
    const std::string_view text = pane.TextView(scratch);
    replace_found_ = pane.SelLength() == find->size() &&
                     search::FindInText(*find, text, o, pane.SelStart(), 0) == pane.SelStart();
  }
  if (!replace_found_) ReplaceDialog1Find();
  if (!all) {
    if (!replace_found_) return;
    ctx().Text().ReplaceSelection(*replacement);  // one step back
    Changed();
    // On from just after the inserted text, so a replacement holding the find text is
    // not found again.
    ReplaceDialog1Find();
    return;
  }
  if (!replace_found_) return;
  search::ReplaceResult r;
  {
    ui::BusyCursor busy;
    r = search::ReplaceAll(ctx().Text().WholeText(), *find, *replacement, o, pane.SelStart());
  }
  if (r.count == 0) return;
  ctx().Text().Replace(std::move(r.text));
  ui::Inform(ctx().Window(), QString::number(r.count) + QStringLiteral(" 個置換！"));
  SelectHit(r.caret, 0);
}

std::optional<PatternAnswer> SearchController::AskPattern(PatternUse use) {
  platform::Settings& ini = ctx().Settings();
  PatternSetup setup;
  setup.use = use;
  setup.patterns = ToList(platform::LoadHistory(ini.File(), "GrepR", kPatternHistory));
  setup.replacements = ToList(platform::LoadHistory(ini.File(), "GrepR", kTemplateHistory));
  if (ctx().Text().View().HasSelection()) setup.preset = PaneText(ctx().Text().View().SelectedText());
  std::optional<PatternAnswer> answer = dialogs_->Pattern(ctx().Window(), setup);
  platform::IniFile::Batch batch(ini.File());
  platform::SaveHistory(ini.File(), "GrepR", FromList(setup.patterns), kPatternHistory);
  platform::SaveHistory(ini.File(), "GrepR", FromList(setup.replacements), kTemplateHistory);
  return answer;
}

bool SearchController::ShowPatternError(const std::exception& e) {
  ui::Warn(ctx().Window(), bridge::FromUtf8(e.what()));
  return false;
}

void SearchController::MreplaceGrep1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  const std::optional<PatternAnswer> a = AskPattern(PatternUse::RegexReplace);
  if (!a || a->pattern.isEmpty()) return;
  int count = 0;
  std::string text;
  {
    ui::BusyCursor busy;
    regex::TAWKStr awk;
    awk.LineSeparator = regex::mcls_CRLF;
    std::optional<std::string> core = CoreText();
    if (!core) return;
    const std::optional<std::string> pattern = CoreBytes(a->pattern, QStringLiteral("検索正規表現"));
    if (!pattern) return;
    const std::optional<std::string> replacement = CoreBytes(a->replacement, QStringLiteral("置換後の文字列"));
    if (!replacement) return;
    try {
      awk.SetUseFuzzyCharDic(a->fuzzy);
      awk.SetRegExp(*pattern);
      text = std::move(*core);
      count = awk.GSub(*replacement, text);
      text = FromCore(std::move(text));
    } catch (const regex::ERegExpParser& e) {
      ShowPatternError(e);
      return;
    }
  }
  if (count == 0) {
    ui::Warn(ctx().Window(), QStringLiteral("置換しませんでした"));
  } else {
    ctx().Text().Replace(std::move(text));
    if (ctx().Actions().Contains(QStringLiteral("Mdialogdisp1")) && ctx().Actions().Checked(QStringLiteral("Mdialogdisp1")))
      ui::Inform(ctx().Window(), QStringLiteral("置換回数 = ") + QString::number(count));
  }
  Changed();
}

void SearchController::Mreplaceall1Click() {
  viewer::TextPane& pane = ctx().Text().View();
  if (pane.IsEmpty()) return;
  const std::optional<PatternAnswer> a = AskPattern(PatternUse::PlainReplace);
  if (!a) return;
  const std::optional<std::string> find = InPaneCode(a->pattern, QStringLiteral("検索文字列"));
  if (!find) return;
  const std::optional<std::string> replacement = InPaneCode(a->replacement, QStringLiteral("置換後の文字列"));
  if (!replacement) return;
  {
    ui::BusyCursor busy;
    search::FindOptions o{true, false, true};
    SetForm(o, pane.TextForm());
    search::ReplaceResult r = search::ReplaceAll(ctx().Text().WholeText(), *find, *replacement, o);
    if (r.count > 0) ctx().Text().Replace(std::move(r.text));
  }
  Changed();
}

}  // namespace haruvi::controllers
