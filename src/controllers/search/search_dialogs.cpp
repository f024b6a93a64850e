// The search commands' dialogs: TForm32 (find), TForm25 (pattern), TForm9 (grep) and
// TForm31 (the continuous list), each built when asked and released at once.
#include "controllers/search/search_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bridge/disk_path.h"
#include "controllers/search/pattern_aids.h"
#include "search/line_filter.h"
#include "ui/input_box.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

QComboBox* HistoryCombo(QWidget* parent, const QStringList& history, const QString& name) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  c->addItems(history);
  return c;
}

QDialogButtonBox* OkCancel(QDialog* d, const QString& ok) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, d);
  box->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BitBtn1"));
  box->button(QDialogButtonBox::Ok)->setText(ok);
  box->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BitBtn2"));
  box->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  QObject::connect(box, &QDialogButtonBox::accepted, d, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, d, &QDialog::reject);
  return box;
}

QCheckBox* Check(QWidget* parent, const char* name, const char* caption, bool on) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setObjectName(QString::fromUtf8(name));
  c->setChecked(on);
  return c;
}

// The combo box of the two that had the focus last: the pattern aids insert there.
QComboBox* FocusedCombo(QDialog* d, std::initializer_list<QComboBox*> combos) {
  QWidget* f = d->focusWidget();
  for (QComboBox* c : combos)
    if (c && c->isVisible() && (f == c || f == c->lineEdit())) return c;
  return nullptr;
}

}  // namespace

std::optional<FindAnswer> SearchDialogs::Find(QWidget* parent, const FindSetup& setup) {
  QDialog d(parent);
  d.setObjectName(QStringLiteral("TForm32"));
  d.setWindowTitle(QStringLiteral("検索"));
  auto* v = new QVBoxLayout(&d);
  auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), &d);
  QComboBox* combo = HistoryCombo(&d, setup.history, QStringLiteral("ComboBox1"));
  combo->setEditText(setup.preset.text);
  label->setBuddy(combo);
  QCheckBox* word = Check(&d, "CheckBox1", "単語単位で探す(&W)", setup.preset.whole_word);
  QCheckBox* match_case = Check(&d, "CheckBox2", "大文字と小文字を区別する(&C)", setup.preset.match_case);
  auto* group = new QGroupBox(QStringLiteral("検索する方向"), &d);
  group->setObjectName(QStringLiteral("RadioGroup1"));
  auto* up = new QRadioButton(QStringLiteral("上へ(&U)"), group);
  auto* down = new QRadioButton(QStringLiteral("下へ(&D)"), group);
  (setup.preset.direction == 0 ? up : down)->setChecked(true);
  auto* gl = new QHBoxLayout(group);
  gl->addWidget(up);
  gl->addWidget(down);
  for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(combo), static_cast<QWidget*>(word),
                     static_cast<QWidget*>(match_case), static_cast<QWidget*>(group)})
    v->addWidget(w);
  v->addWidget(OkCancel(&d, QStringLiteral("検索(&F)")));
  combo->setFocus();
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return FindAnswer{combo->currentText(), word->isChecked(), match_case->isChecked(), up->isChecked() ? 0 : 1};
}

std::optional<PatternAnswer> SearchDialogs::Pattern(QWidget* parent, PatternSetup& setup) {
  QDialog d(parent);
  d.setObjectName(QStringLiteral("TForm25"));
  const bool plain = setup.use == PatternUse::PlainReplace;
  const bool lines = setup.use == PatternUse::RegexPick || setup.use == PatternUse::RegexDelete;
  d.setWindowTitle(QString::fromUtf8(plain ? "一括置換"
                                     : setup.use == PatternUse::RegexPick ? "検索－正規表現"
                                     : setup.use == PatternUse::RegexDelete ? "検索行削除－正規表現"
                                                                             : "正規表現置換"));
  auto* v = new QVBoxLayout(&d);
  auto* l1 = new QLabel(QStringLiteral("検索する文字列(&S)"), &d);
  l1->setObjectName(QStringLiteral("Lgrep1"));
  QComboBox* pattern = HistoryCombo(&d, setup.patterns, QStringLiteral("CBRegExp"));
  l1->setBuddy(pattern);
  auto* hint = new QLabel(QStringLiteral("文字列には正規表現が使えます。"), &d);
  hint->setObjectName(QStringLiteral("Label1"));
  hint->setStyleSheet(QStringLiteral("color: blue"));
  auto* l2 = new QLabel(QStringLiteral("置換する文字列(&T)"), &d);
  l2->setObjectName(QStringLiteral("Label2"));
  QComboBox* repl = HistoryCombo(&d, setup.replacements, QStringLiteral("ComboBox1"));
  l2->setBuddy(repl);
  QCheckBox* fuzzy = Check(&d, "CBusefuzzy", "文字の同一視(&D)", true);
  auto* aids = new QWidget(&d);
  aids->setObjectName(QStringLiteral("Panel2"));
  AddPatternAids(aids, [&d, pattern, repl] { return FocusedCombo(&d, {pattern, repl}); });
  for (QWidget* w : {static_cast<QWidget*>(l1), static_cast<QWidget*>(pattern), static_cast<QWidget*>(hint),
                     static_cast<QWidget*>(l2), static_cast<QWidget*>(repl), static_cast<QWidget*>(fuzzy)})
    v->addWidget(w);
  v->addWidget(OkCancel(&d, QString::fromUtf8(lines ? "検索(&S)" : "置換(&R)")));
  v->addWidget(aids);
  if (plain) {
    hint->hide();
    fuzzy->hide();
    aids->hide();
  }
  if (lines) {
    l2->hide();
    repl->hide();
  }
  if (!setup.preset.isEmpty()) pattern->setEditText(setup.preset);
  pattern->setFocus();
  const bool ok = d.exec() == QDialog::Accepted;
  // Both ways the histories are saved: each text goes on top unless already listed.
  auto keep = [](QStringList& list, const QString& text) {
    if (!text.isEmpty() && !list.contains(text)) list.prepend(text);
  };
  keep(setup.patterns, pattern->currentText());
  if (!lines) keep(setup.replacements, repl->currentText());
  if (!ok) return std::nullopt;
  return PatternAnswer{pattern->currentText(), repl->currentText(), !plain && fuzzy->isChecked()};
}

std::optional<GrepAnswer> SearchDialogs::Grep(QWidget* parent, const GrepSetup& setup) {
  QDialog d(parent);
  d.setObjectName(QStringLiteral("TForm9"));
  d.setWindowTitle(QStringLiteral("Grepの実行"));
  auto* v = new QVBoxLayout(&d);
  auto* l1 = new QLabel(QStringLiteral("検索する文字列(&S)"), &d);
  QComboBox* pattern = HistoryCombo(&d, setup.history, QStringLiteral("CBRegExp"));
  pattern->setEditText(QString());
  l1->setBuddy(pattern);
  auto* hint = new QLabel(QStringLiteral("文字列には正規表現が使えます。"), &d);
  hint->setStyleSheet(QStringLiteral("color: blue"));
  auto* dir = new QLabel(bridge::DisplayName(setup.folder), &d);
  dir->setObjectName(QStringLiteral("Ldirectory"));
  auto* count = new QLabel(QString::number(setup.selected_count) + QStringLiteral("個のファイル"), &d);
  count->setObjectName(QStringLiteral("Lfiles"));
  auto* memo = new QPlainTextEdit(&d);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  auto* group = new QGroupBox(QStringLiteral("ファイル"), &d);
  group->setObjectName(QStringLiteral("RadioGroup1"));
  auto* sel = new QRadioButton(QStringLiteral("選択したﾌｧｲﾙ"), group);
  auto* all = new QRadioButton(QStringLiteral("全ファイル"), group);
  auto* gl = new QHBoxLayout(group);
  gl->addWidget(sel);
  gl->addWidget(all);
  const bool any = setup.selected_count > 0;
  (any ? sel : all)->setChecked(true);
  group->setEnabled(any);
  auto fill = [memo, &setup](bool everything) {
    QStringList shown;
    for (const QString& p : everything ? setup.all : setup.selected) shown << bridge::DisplayName(p);
    memo->setPlainText(shown.join(QLatin1Char('\n')));
  };
  fill(!any);
  QObject::connect(all, &QRadioButton::toggled, &d, fill);
  QCheckBox* fuzzy = Check(&d, "CBusefuzzy", "文字の同一視(&D)", true);
  QCheckBox* headers = Check(&d, "CheckBox1", "検索ﾌｧｨﾙ名の表示(&K)", true);
  QCheckBox* numbers = Check(&d, "CheckBox2", "行数の表示(&L)", true);
  QCheckBox* sub = Check(&d, "CheckBox3", "サブフォルダも検索", setup.subfolders);
  auto* aids = new QWidget(&d);
  aids->setObjectName(QStringLiteral("Panel2"));
  AddPatternAids(aids, [&d, pattern] { return FocusedCombo(&d, {pattern}); });
  auto* show = new QPushButton(QStringLiteral("正規表現文字表示"), &d);
  show->setObjectName(QStringLiteral("SpeedButton1"));
  QObject::connect(show, &QPushButton::clicked, &d, [aids, &d] {
    aids->setVisible(!aids->isVisible());
    d.adjustSize();
  });
  for (QWidget* w : std::initializer_list<QWidget*>{l1, pattern, hint, dir, count, memo, group, fuzzy, headers,
                                                    numbers, sub, show})
    v->addWidget(w);
  v->addWidget(OkCancel(&d, QStringLiteral("OK")));
  v->addWidget(aids);
  pattern->setFocus();
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  return GrepAnswer{pattern->currentText(), fuzzy->isChecked(), headers->isChecked(), numbers->isChecked(),
                    sub->isChecked(), all->isChecked()};
}

std::optional<ListAnswer> SearchDialogs::List(QWidget* parent, const ListSetup& setup) {
  QDialog d(parent);
  d.setObjectName(QStringLiteral("TForm31"));
  d.setWindowTitle(setup.caption);
  d.setWindowFlag(Qt::WindowStaysOnTopHint);
  auto* v = new QVBoxLayout(&d);
  auto* l1 = new QLabel(QStringLiteral("削除文字列(&C)"), &d);
  auto* edit = new QLineEdit(setup.preset, &d);
  edit->setObjectName(QStringLiteral("Edit1"));
  l1->setBuddy(edit);
  auto* l2 = new QLabel(QStringLiteral("削除文字列リスト(&I)"), &d);
  auto* list = new QListWidget(&d);
  list->setObjectName(QStringLiteral("ListBox1"));
  list->addItems(setup.entries);
  l2->setBuddy(list);
  QCheckBox* regex = Check(&d, "CheckBox1", "正規表現(&S)", setup.regex);
  auto button = [&d](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), &d);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* add = button("Button1", "リストに追加(&A)");
  QPushButton* del = button("BitBtn3", "リストから削除(&D)");
  QPushButton* clear_all = button("SpeedButton4", "全削除");
  QPushButton* up = button("SpeedButton1", "上へ");
  QPushButton* down = button("SpeedButton2", "下へ");
  QPushButton* clear = button("SpeedButton3", "文字列クリア");
  QPushButton* load = button("BitBtn4", "読み込み(&L)");
  QPushButton* save = button("BitBtn5", "保存(&S)");
  QObject::connect(add, &QPushButton::clicked, &d, [list, edit] {
    list->addItem(edit->text());
    edit->clear();
  });
  QObject::connect(list, &QListWidget::itemClicked, &d, [edit](QListWidgetItem* i) { edit->setText(i->text()); });
  QObject::connect(del, &QPushButton::clicked, &d, [list] {
    const int row = list->currentRow();
    if (row < 0 || !list->currentItem() || !list->currentItem()->isSelected()) return;
    delete list->takeItem(row);
    if (list->count()) list->setCurrentRow(std::max(0, row - 1));
  });
  QObject::connect(clear_all, &QPushButton::clicked, list, &QListWidget::clear);
  auto move = [list](int step) {
    const int row = list->currentRow(), to = row + step;
    if (row < 0 || to < 0 || to >= list->count()) return;
    list->insertItem(to, list->takeItem(row));
    list->setCurrentRow(to);
  };
  QObject::connect(up, &QPushButton::clicked, &d, [move] { move(-1); });
  QObject::connect(down, &QPushButton::clicked, &d, [move] { move(1); });
  QObject::connect(clear, &QPushButton::clicked, edit, &QLineEdit::clear);
  const QString filter = QStringLiteral("テキスト (*.txt);;すべて (*)");
  QString open_at = setup.open_folder, save_at = setup.save_folder;
  QObject::connect(load, &QPushButton::clicked, &d, [&] {
    const QString path = QFileDialog::getOpenFileName(&d, QStringLiteral("連続削除リストの読み込み"), open_at, filter);
    if (path.isEmpty()) return;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
      ui::Warn(&d, f.errorString());
      return;
    }
    const QByteArray bytes = f.readAll();
    list->clear();
    for (const std::string& e : search::ParseListFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
      list->addItem(QString::fromUtf8(e.data(), static_cast<qsizetype>(e.size())));
    save_at = path;
  });
  QObject::connect(save, &QPushButton::clicked, &d, [&] {
    QString path = QFileDialog::getSaveFileName(&d, QStringLiteral("連続削除リストの保存"), save_at, filter);
    if (path.isEmpty()) return;
    if (!path.contains(QLatin1Char('.'))) path += QStringLiteral(".txt");
    std::vector<std::string> entries;
    for (int i = 0; i < list->count(); ++i) entries.push_back(list->item(i)->text().toStdString());
    QFile f(path);
    const std::string bytes = search::FormatListFile(entries);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) {
      ui::Warn(&d, f.errorString());
      return;
    }
    open_at = path;
  });
  for (QWidget* w : std::initializer_list<QWidget*>{l1, edit, l2, list, add, del, clear_all, up, down, clear, regex,
                                                    load, save})
    v->addWidget(w);
  v->addWidget(OkCancel(&d, QStringLiteral("実行")));
  if (d.exec() != QDialog::Accepted) return std::nullopt;
  ListAnswer a;
  for (int i = 0; i < list->count(); ++i) a.entries << list->item(i)->text();
  a.regex = regex->isChecked();
  return a;
}

std::optional<QString> SearchDialogs::Text(QWidget* parent, const QString& caption, const QString& prompt,
                                           const QString& initial) {
  return ui::InputBox(parent, caption, prompt, initial);
}

}  // namespace haruvi::controllers
