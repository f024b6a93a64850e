// Walks the menus into rows and writes them as HTML. Each command row carries an anchor
// named like the command (and one for each of its copies), so a hand-written page links
// to "commands.html#Mgrep" and a test finds every command there.
#include "controllers/help/help_pages.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <vector>

#include "ui/action_registry.h"
#include "ui/placement.h"

namespace haruvi::controllers::help {
namespace {

// Commands a hand-written page explains further.
const std::map<QString, QString>& Details() {
  static const std::map<QString, QString> details = {
      {"Mserch", "regex.html"},          {"MserchNext", "regex.html"},        {"Mreplace1", "regex.html#replace"},
      {"MreplaceGrep1", "regex.html#replace"}, {"Mreplaceall1", "regex.html#replace"},
      {"Mgrep", "grep.html"},            {"Mgrep2", "grep.html"},             {"Mreportjump", "grep.html#jump"},
      {"Mreportback", "grep.html#jump"}, {"Mpickupline1", "grep.html#filters"}, {"MpickuplineSEIKI1", "grep.html#filters"},
      {"Mdeleteline1", "grep.html#filters"}, {"MdeletelineR1", "grep.html#filters"},
      {"Mrenzokudeleteline1", "grep.html#filters"}, {"Mstringreplace1", "grep.html#filters"},
      {"Mrenzku1", "grep.html#filters"}, {"MlhaU", "archives.html"},    {"MlhaP", "archives.html"},
      {"Mlhalist", "archives.html"},     {"Marcunpack1", "archives.html"},  {"Marclist1", "archives.html"},
      {"Marcmake", "archives.html"},     {"Mlhashow", "archives.html"},     {"Mchartset", "codes.html"},
      {"Mjistosjis", "codes.html#convert"}, {"Meuctosjis", "codes.html#convert"}, {"Msjistojis1", "codes.html#convert"},
      {"Msjistoutf8", "codes.html#convert"}, {"Mexeopt", "settings.html#apps"}, {"Mtorokufolderset", "settings.html#folders"},
      {"Minifileclear1", "settings.html"}, {"Mtoolbarset", "settings.html#toolbar"}, {"MescExit", "settings.html#esc"},
  };
  return details;
}

QString Esc(const QString& s) { return s.toHtmlEscaped(); }

// "保存(&S)..." -> "保存..."; "&A 表示" -> "A 表示".
QString Plain(QString caption) {
  caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  caption.remove(QLatin1Char('&'));
  return caption.trimmed();
}

// A caption as the menu shows it; one that the program rewrites as it runs (the date
// item) is named for what it is, so the pages stay the same from day to day.
QString CaptionOf(const QAction* a) {
  if (a->objectName() == QLatin1String("Mnow")) return QStringLiteral("今日の日付");
  return Plain(a->text());
}

struct Row {
  QString name, caption, path, hint, key, shortcut, button;
  bool checkable = false;
  QStringList copies;
};

struct Section {
  QString title, id;
  std::vector<Row> rows;
};

void Walk(QMenu* menu, const QString& path, const ui::ActionRegistry& actions, Section& section, QSet<QString>& seen) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    if (a->menu()) {
      Walk(a->menu(), path.isEmpty() ? Plain(a->text()) : path + QStringLiteral(" › ") + Plain(a->text()), actions,
           section, seen);
      continue;
    }
    const QString name = a->objectName();
    if (name.isEmpty() || !actions.Contains(name) || seen.contains(name)) continue;
    seen.insert(name);
    Row row{name, CaptionOf(a), path, a->statusTip(), {}, a->shortcut().toString(QKeySequence::NativeText), {},
            a->isCheckable(), {}};
    section.rows.push_back(std::move(row));
  }
}

QString CommandsPage(const std::vector<Section>& sections) {
  QString h;
  h += QStringLiteral(
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>コマンド一覧 - Haruvi ヘルプ</title>\n"
      "<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n"
      "<p class=\"nav\"><a href=\"index.html\">目次</a> | <a href=\"keys.html\">キー操作</a></p>\n"
      "<h1>コマンド一覧</h1>\n"
      "<p>メニューの順にすべてのコマンドを示します。「キー」はファイル一覧とフォルダーツリーで押す文字キー、"
      "「ツールボタン」はツールバーのボタンです。チェック項目は選ぶたびにオンとオフが切り替わり、設定ファイルに保存されます。"
      "このページはプログラムのメニューから作られています。</p>\n<ul class=\"toc\">\n");
  for (const Section& s : sections)
    h += QStringLiteral("<li><a href=\"#%1\">%2</a></li>\n").arg(s.id, Esc(s.title));
  h += QStringLiteral("</ul>\n");
  for (const Section& s : sections) {
    h += QStringLiteral("<h2 id=\"%1\">%2</h2>\n<table>\n<tr><th>コマンド</th><th>説明</th><th>キー</th><th>ツールボタン</th></tr>\n")
             .arg(s.id, Esc(s.title));
    for (const Row& r : s.rows) {
      QString anchors;
      for (const QString& c : r.copies) anchors += QStringLiteral("<a id=\"%1\"></a>").arg(c);
      QString what = Esc(r.hint);
      if (r.checkable) what += QStringLiteral(" <span class=\"tag\">チェック項目</span>");
      auto detail = Details().find(r.name);
      if (detail != Details().end()) what += QStringLiteral(" <a href=\"%1\">詳しく</a>").arg(detail->second);
      QString keys = Esc(r.key);
      if (!r.shortcut.isEmpty()) keys += (keys.isEmpty() ? QString() : QStringLiteral("<br>")) + Esc(r.shortcut);
      h += QStringLiteral("<tr id=\"%1\"><td>%2%3%4</td><td>%5</td><td>%6</td><td>%7</td></tr>\n")
               .arg(r.name, anchors, Esc(r.caption),
                    r.path.isEmpty() ? QString() : QStringLiteral("<br><small>%1</small>").arg(Esc(r.path)), what, keys,
                    Esc(r.button));
    }
    h += QStringLiteral("</table>\n");
  }
  h += QStringLiteral("</body>\n</html>\n");
  return h;
}

struct KeyRow {
  QString key, entry, name;
};

QString KeysPage(const std::vector<KeyRow>& letters, const std::vector<Row>& shortcuts) {
  QString h = QStringLiteral(
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n<title>キー操作 - Haruvi ヘルプ</title>\n"
      "<link rel=\"stylesheet\" href=\"help.css\">\n</head>\n<body>\n"
      "<p class=\"nav\"><a href=\"index.html\">目次</a> | <a href=\"commands.html\">コマンド一覧</a></p>\n"
      "<h1>キー操作</h1>\n"
      "<h2 id=\"views\">ファイル一覧とフォルダーツリー</h2>\n<table>\n<tr><th>キー</th><th>働き</th></tr>\n"
      "<tr><td><kbd>Enter</kbd></td><td>選んだフォルダーを開きます。</td></tr>\n"
      "<tr><td><kbd>BackSpace</kbd></td><td>一つ上のフォルダーへ移ります。</td></tr>\n"
      "<tr><td><kbd>Delete</kbd></td><td>選んだファイルをごみ箱へ移します。</td></tr>\n"
      "<tr><td><kbd>Shift</kbd>+<kbd>Delete</kbd></td><td>選んだファイルをごみ箱を通さずに削除します。</td></tr>\n"
      "<tr><td><kbd>Shift</kbd>+矢印</td><td>表示せずに選択を広げます。</td></tr>\n"
      "<tr><td>テンキー <kbd>1</kbd>〜<kbd>4</kbd></td><td>大きいアイコン、小さいアイコン、一覧、詳細で表示します。</td></tr>\n"
      "<tr><td><kbd>Esc</kbd></td><td>Haruvi を終了します (設定(O) の「Escで終了」がオンのとき。メニューを閉じた直後や押し続けた Esc では終了しません)。</td></tr>\n"
      "<tr><td><kbd>Shift</kbd>+ドラッグ</td><td>ファイルをほかのプログラムへドラッグします。</td></tr>\n"
      "</table>\n"
      "<h2 id=\"letters\">文字キー</h2>\n<p>ファイル一覧とフォルダーツリーで文字キーを押すと、次のコマンドを実行します。"
      "かな入力のときは同じキーのかなでも働きます。<kbd>Z</kbd> でこの一覧をメニューとして開けます。</p>\n"
      "<table>\n<tr><th>キー</th><th>コマンド</th></tr>\n");
  for (const KeyRow& k : letters) {
    const QString entry = k.name.isEmpty() ? Esc(k.entry) : QStringLiteral("<a href=\"commands.html#%1\">%2</a>").arg(k.name, Esc(k.entry));
    h += QStringLiteral("<tr><td><kbd>%1</kbd></td><td>%2</td></tr>\n").arg(Esc(k.key), entry);
  }
  h += QStringLiteral(
      "</table>\n<h2 id=\"text\">テキスト表示部分</h2>\n<table>\n<tr><th>キー</th><th>働き</th></tr>\n"
      "<tr><td><kbd>Enter</kbd>、ダブルクリック</td><td>Grep の結果の行が示すファイルをその行で開きます "
      "(<a href=\"grep.html#jump\">詳しく</a>)。</td></tr>\n"
      "<tr><td>矢印、<kbd>PageUp</kbd>、<kbd>PageDown</kbd>、<kbd>Home</kbd>、<kbd>End</kbd></td><td>カーソルとスクロール。"
      "<kbd>Shift</kbd> を押しながらで選択します。</td></tr>\n</table>\n"
      "<h2 id=\"shortcuts\">ショートカット</h2>\n<table>\n<tr><th>キー</th><th>コマンド</th></tr>\n");
  for (const Row& r : shortcuts)
    h += QStringLiteral("<tr><td><kbd>%1</kbd></td><td><a href=\"commands.html#%2\">%3</a></td></tr>\n")
             .arg(Esc(r.shortcut), r.name, Esc(r.caption));
  h += QStringLiteral("</table>\n</body>\n</html>\n");
  return h;
}

}  // namespace

std::map<QString, QString> GeneratedPages(QWidget& window, const ui::ActionRegistry& actions) {
  std::vector<Section> sections;
  QSet<QString> seen;
  if (auto* bar = window.findChild<QMenuBar*>()) {
    int n = 0;
    for (QAction* top : bar->actions()) {
      if (!top->menu()) continue;
      Section s{Plain(top->text()), QStringLiteral("menu%1").arg(++n), {}};
      Walk(top->menu(), QString(), actions, s, seen);
      if (!s.rows.empty()) sections.push_back(std::move(s));
    }
  }
  // The key menu (key Z): "&A 書庫内容表示" entries, each running a command by name.
  std::vector<KeyRow> letters;
  std::map<QString, QString> key_of;  // command -> its letter
  if (auto* popup = window.findChild<QMenu*>(QStringLiteral("PopupMenu1"))) {
    static const QRegularExpression entry(QStringLiteral("^&(.) (.*)$"));
    for (QAction* a : popup->actions()) {
      const QRegularExpressionMatch m = entry.match(a->text());
      if (!m.hasMatch()) continue;
      QString name = a->objectName();
      if (name.startsWith(QLatin1String("Key")) && actions.Contains(name.mid(3))) name = name.mid(3);
      if (!actions.Contains(name)) name.clear();
      letters.push_back({m.captured(1), m.captured(2), name});
      if (!name.isEmpty() && !key_of.count(name)) key_of[name] = m.captured(1);
    }
  }
  // Tool buttons, from the commands' places.
  std::map<QString, QString> button_of;
  for (const ui::Placement& p : actions.Placements()) {
    if (p.button.bar == 0) continue;
    const QString bar = p.button.bar == 1 ? QStringLiteral("メイン") : QStringLiteral("テキスト");
    button_of[QString::fromUtf8(p.action)] = QString::fromUtf8(p.button.entry) + QStringLiteral(" (") + bar + QLatin1Char(')');
  }
  // Copies (pop-up twins, a button's own command) join their command's row; whatever is
  // left gets a section of its own.
  std::map<QString, Row*> row_of;
  for (Section& s : sections)
    for (Row& r : s.rows) row_of[r.name] = &r;
  for (const ui::Placement& p : actions.Placements()) {
    auto it = row_of.find(QString::fromUtf8(p.action));
    if (it == row_of.end()) continue;
    if (!p.popup.isEmpty() && !seen.contains(p.popup)) {
      it->second->copies << p.popup;
      seen.insert(p.popup);
    }
    const QString button = QString::fromUtf8(p.ButtonAction());
    if (!seen.contains(button)) {
      it->second->copies << button;
      seen.insert(button);
    }
  }
  Section keyed{QStringLiteral("キーのコマンド"), QStringLiteral("keys"), {}};
  Section buttons{QStringLiteral("ツールボタンのコマンド"), QStringLiteral("buttons"), {}};
  Section rest{QStringLiteral("その他のコマンド"), QStringLiteral("other"), {}};
  for (const QString& name : actions.Names()) {
    if (seen.contains(name)) continue;
    const QString main = actions.TwinOf(name);
    if (!main.isEmpty() && row_of.count(main)) {
      row_of[main]->copies << name;
      continue;
    }
    QAction* a = actions.Get(name);
    // A copy declared on its own: the same caption and hint as a command already listed.
    Row* same = nullptr;
    for (auto& [n, r] : row_of)
      if (r->caption == CaptionOf(a) && r->hint == a->statusTip()) same = r;
    if (same) {
      same->copies << name;
      continue;
    }
    Row row{name, CaptionOf(a), {}, a->statusTip(), {}, a->shortcut().toString(QKeySequence::NativeText),
            {}, a->isCheckable(), {}};
    if (name.startsWith(QLatin1String("ToolButton"))) {
      row.button = row.caption;
      buttons.rows.push_back(std::move(row));
    } else if (name.startsWith(QLatin1String("My")) || name == QLatin1String("Mz") || name == QLatin1String("Mf")) {
      keyed.rows.push_back(std::move(row));  // the key menu's own entries
    } else {
      rest.rows.push_back(std::move(row));
    }
  }
  for (Section* s : {&keyed, &buttons, &rest})
    if (!s->rows.empty()) sections.push_back(std::move(*s));
  std::vector<Row> shortcuts;
  for (Section& s : sections)
    for (Row& r : s.rows) {
      if (key_of.count(r.name)) r.key = key_of[r.name];
      if (button_of.count(r.name)) r.button = button_of[r.name];
      if (!r.shortcut.isEmpty()) shortcuts.push_back(r);
    }
  return {{QStringLiteral("commands.html"), CommandsPage(sections)}, {QStringLiteral("keys.html"), KeysPage(letters, shortcuts)}};
}

}  // namespace haruvi::controllers::help
