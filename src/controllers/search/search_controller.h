// The "検索(&S)" commands: find in the pane (TForm32, F3 and Shift+F3), the replace
// dialog, regex replace and "一括置換" (TForm25), grep over the folder's files run off
// the window's thread (TForm9, "Grepの中止(&Q)"), and the line filters with their
// continuous list (TForm31). The search itself is the search core's; this wires it.
#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "controllers/search/search_dialogs.h"
#include "encoding/text_form.h"
#include "encoding/utf8_standins.h"
#include "search/text_find.h"
#include "ui/controller.h"

class QTimer;

namespace haruvi::controllers {

class ReplaceDialog;

class SearchController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "search";
  static constexpr auto kFindText = platform::Str(kOwner, "FindDialogEx", "Text", "");
  static constexpr auto kFindWord = platform::Bool(kOwner, "FindDialogEx", "Check1", "0");
  static constexpr auto kFindCase = platform::Bool(kOwner, "FindDialogEx", "Check2", "0");
  static constexpr auto kFindUpDown = platform::Int(kOwner, "FindDialogEx", "UpDown", "1", platform::KeyRule::Range, 0, 1);
  static constexpr auto kFindCount = platform::Int(kOwner, "FindDialogEx", "Count", "0");
  static constexpr auto kGrepRCount = platform::Int(kOwner, "GrepR", "DriveCount", "0");
  static constexpr auto kGrepRCount2 = platform::Int(kOwner, "GrepR", "DriveCount2", "0");
  static constexpr auto kGrepCount = platform::Int(kOwner, "Grep", "DriveCount", "0");
  static constexpr auto kGrepSubfolders = platform::Bool(kOwner, "Grep", "SubFolder", "0");
  static constexpr auto kOpen31 = platform::Str(kOwner, "RenzokuDelete", "Open31", "");
  static constexpr auto kSave31 = platform::Str(kOwner, "RenzokuDelete", "Save31", "");
  static constexpr auto kRegCheck = platform::Bool(kOwner, "RenzokuDelete", "RegCheck", "0");
  static constexpr auto kListCount = platform::Int(kOwner, "RenzokuDelete", "ListCount", "0");

  explicit SearchController(ui::WindowContext& ctx, QObject* parent = nullptr);
  ~SearchController() override;
  std::vector<platform::KeyInfo> Keys() const override;

  void SetDialogs(std::unique_ptr<SearchDialogs> dialogs);

  // Find in text.
  void MserchClick();
  void MserchNextClick();
  void Mserchnextup1Click();
  void FindDialog1Find();
  // Replace.
  void Mreplace1Click();
  void ReplaceDialog1Find();
  void ReplaceDialog1Replace(bool all);
  void MreplaceGrep1Click();
  void Mreplaceall1Click();
  // Grep.
  void MgrepClick();
  void Mgrep2Click();
  bool GrepRunning() const { return worker_.joinable(); }
  // Tests: waits for the running grep and lists its results.
  void WaitGrep();
  // Line filters.
  void Mpickupline1Click();
  void MpickuplineSEIKI1Click();
  void Mdeleteline1Click();
  void MdeletelineR1Click();
  void Mstringreplace1Click();
  void Mrenzku1Click();
  void Mrenzokudeleteline1Click();

  // The shared search settings (FindDialog1): the find text as typed (characters, put
  // into each text's own code when it is searched) and the options.
  struct FindState {
    QString text;
    search::FindOptions options;
  };
  FindState& Find() { return find_; }
  // The replace dialog's texts (characters, as typed) and options, as its events read them.
  struct ReplaceState {
    QString find, replace;
    bool match_case = false, whole_word = false;
  };
  ReplaceState& Replace() { return replace_; }

 private:
  std::string PaneBytes(const QString& s) const;
  // A typed text in the shown text's code, or nullopt when the code cannot hold one of its
  // characters: nothing in the text can match it, which is said (`what` names the text:
  // "検索文字列", "置換後の文字列", ...). Never the code's substitute "〓", which would match
  // the text's own "〓".
  std::optional<std::string> InPaneCode(const QString& s, const QString& what);
  // What the code of the shown text is called in a message.
  QString ShownCodeName() const;
  // The pane's text as the Shift_JIS cores see it: a UTF-8 pane's text with stand-ins for
  // what CP932 lacks (encoding/utf8_standins.h), kept for the typed texts converted after
  // it and for turning the result back. nullopt: too many such characters (said).
  std::optional<std::string> CoreText();
  // The regex line filters: the lines that match kept (`keep`) or dropped.
  void FilterLinesMatching(PatternUse use, bool keep);
  // A typed text as the Shift_JIS core reads it beside CoreText(); nullopt (said) when the
  // shown text's code cannot hold it or no stand-in is left.
  std::optional<std::string> CoreBytes(const QString& s, const QString& what = QStringLiteral("検索文字列"));
  std::string FromCore(std::string text) const;
  std::vector<std::string> FromCore(std::vector<std::string> lines) const;
  QString PaneText(std::string_view bytes) const;
  void SelectHit(std::size_t start, std::size_t length);
  void Changed();
  // A pattern command's dialog with the "GrepR" histories.
  std::optional<PatternAnswer> AskPattern(PatternUse use);
  bool ShowPatternError(const std::exception& e);
  // The filter's kept lines in place of the text, as one step back.
  void ReplaceByLines(const std::vector<std::string>& lines);
  void Continuous(bool lines);
  // Grep: the worker's report is collected here and put into the pane in blocks.
  // Greps `files`, or the whole of `tree` when it is not empty (walked by the worker).
  void StartGrep(std::string pattern, std::vector<std::string> files, std::string tree, const GrepAnswer& a);
  // The matching lines the worker found since the last call, put into the pane as one
  // block (the timer calls it while the grep runs; `last` once at its end).
  void Grep1Match(bool last);
  void GrepFinished();

  std::unique_ptr<SearchDialogs> dialogs_;
  FindState find_;
  int direction_ = 1;
  ReplaceState replace_;
  bool replace_found_ = false;
  ReplaceDialog* replace_dialog_ = nullptr;

  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> done_{false};
  std::mutex grep_mu_;
  std::string grep_incoming_;  // the worker's report not yet in the pane
  std::string grep_text_;      // the pane's text while the grep runs
  encoding::TextForm grep_form_ = encoding::TextForm::Legacy;  // and its form
  bool grep_cancelled_ = false;
  QTimer* grep_timer_ = nullptr;
  std::optional<encoding::SjisView> sjis_;  // the text a pattern command reads, while it runs
};

}  // namespace haruvi::controllers
