// How the search commands ask the user: TForm32 (find), TForm25 (pattern and
// replacement, in its four uses), TForm9 (grep), TForm31 (the continuous list), the input
// box, and the replace dialog's events. The window's dialogs by default; tests script the
// answers in their place. Texts are window texts; the controller turns them into pane bytes.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace haruvi::controllers {

struct FindAnswer {
  QString text;
  bool whole_word = false;
  bool match_case = false;
  int direction = 1;  // 0 up, 1 down
};

// TForm32's setup: the history and the preset answer.
struct FindSetup {
  QStringList history;
  FindAnswer preset;
};

enum class PatternUse { RegexReplace, PlainReplace, RegexPick, RegexDelete };

struct PatternAnswer {
  QString pattern;
  QString replacement;
  bool fuzzy = true;
};

struct PatternSetup {
  PatternUse use = PatternUse::RegexReplace;
  QStringList patterns;      // "GrepR" histories
  QStringList replacements;
  QString preset;            // the pane's selection, when there is one
};

struct GrepSetup {
  QString folder;
  QStringList selected;  // full paths of the selected files (folders dropped)
  QStringList all;       // of every file in the list
  int selected_count = 0;
  QStringList history;
  bool subfolders = false;
};

struct GrepAnswer {
  QString pattern;
  bool fuzzy = true;
  bool headers = true;   // "検索ﾌｧｨﾙ名の表示(&K)"
  bool numbers = true;   // "行数の表示(&L)"
  bool subfolders = false;
  bool all_files = false;  // "全ファイル"
};

struct ListSetup {
  QString caption;
  QStringList entries;
  bool regex = false;
  QString preset;  // Edit1's text
  QString open_folder, save_folder;
};

struct ListAnswer {
  QStringList entries;
  bool regex = false;
};

class SearchDialogs {
 public:
  virtual ~SearchDialogs() = default;
  virtual std::optional<FindAnswer> Find(QWidget* parent, const FindSetup& setup);
  // On OK and on Cancel the histories are handed back in `setup` (TForm25 saves both ways).
  virtual std::optional<PatternAnswer> Pattern(QWidget* parent, PatternSetup& setup);
  virtual std::optional<GrepAnswer> Grep(QWidget* parent, const GrepSetup& setup);
  virtual std::optional<ListAnswer> List(QWidget* parent, const ListSetup& setup);
  virtual std::optional<QString> Text(QWidget* parent, const QString& caption, const QString& prompt,
                                      const QString& initial);
};

}  // namespace haruvi::controllers
