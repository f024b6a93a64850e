// TForm32, TForm25, TForm9 and TForm31: layouts, presets and answers; see search_forms.h.
#include "controllers/search/search_forms.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "bridge/disk_path.h"
#include "bridge/pane_text.h"
#include "dialogs/file_name_dialog.h"
#include "fileops/save_file.h"
#include "controllers/search/pattern_aids.h"
#include "search/line_filter.h"
#include "ui/history_combo.h"
#include "ui/messages.h"
#include "platform/system_error.h"

namespace haruvi::controllers {
namespace {

QComboBox* HistoryCombo(QWidget* parent, const QStringList& history, const char* name) {
  QComboBox* c = ui::NewHistoryCombo(parent);
  c->setObjectName(QString::fromUtf8(name));
  c->addItems(history);
  return c;
}

QLabel* Label(QWidget* parent, const char* name, const char* caption, QWidget* buddy = nullptr) {
  auto* l = new QLabel(QString::fromUtf8(caption), parent);
  l->setObjectName(QString::fromUtf8(name));
  if (buddy) l->setBuddy(buddy);
  return l;
}

QCheckBox* Check(QWidget* parent, const char* name, const char* caption, bool on) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setObjectName(QString::fromUtf8(name));
  c->setChecked(on);
  return c;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(QString::fromUtf8(name));
  b->setAutoDefault(false);
  return b;
}

// OK (BitBtn1, with `ok` as its caption) and Cancel (BitBtn2).
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

QRadioButton* Radio(QGroupBox* group, const char* caption) {
  auto* r = new QRadioButton(QString::fromUtf8(caption), group);
  if (!group->layout()) new QHBoxLayout(group);
  group->layout()->addWidget(r);
  return r;
}

// The visible combo box among `combos` that has the focus: the pattern aids insert there.
QComboBox* FocusedCombo(QDialog* d, std::initializer_list<QComboBox*> combos) {
  QWidget* f = d->focusWidget();
  for (QComboBox* c : combos)
    if (c && c->isVisible() && (f == c || f == c->lineEdit())) return c;
  return nullptr;
}

void AddAll(QVBoxLayout* v, std::initializer_list<QWidget*> widgets) {
  for (QWidget* w : widgets) v->addWidget(w);
}

}  // namespace

// ---- TForm32 -------------------------------------------------------------------------

TForm32::TForm32(const FindSetup& setup, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TForm32"));
  setWindowTitle(QStringLiteral("検索"));
  ComboBox1 = HistoryCombo(this, setup.history, "ComboBox1");
  ComboBox1->setEditText(setup.preset.text);
  Label1 = Label(this, "Label1", "検索する文字列(&N):", ComboBox1);
  CheckBox1 = Check(this, "CheckBox1", "単語単位で探す(&W)", setup.preset.whole_word);
  CheckBox2 = Check(this, "CheckBox2", "大文字と小文字を区別する(&C)", setup.preset.match_case);
  RadioGroup1 = new QGroupBox(QStringLiteral("検索する方向"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  Up = Radio(RadioGroup1, "上へ(&U)");
  Down = Radio(RadioGroup1, "下へ(&D)");
  (setup.preset.direction == 0 ? Up : Down)->setChecked(true);
  auto* v = new QVBoxLayout(this);
  AddAll(v, {Label1, ComboBox1, CheckBox1, CheckBox2, RadioGroup1});
  v->addWidget(OkCancel(this, QStringLiteral("検索(&F)")));
  ComboBox1->setFocus();
}

FindAnswer TForm32::Answer() const {
  return FindAnswer{ComboBox1->currentText(), CheckBox1->isChecked(), CheckBox2->isChecked(), Up->isChecked() ? 0 : 1};
}

// ---- TForm25 -------------------------------------------------------------------------

TForm25::TForm25(const PatternSetup& setup, QWidget* parent) : QDialog(parent), use_(setup.use) {
  setObjectName(QStringLiteral("TForm25"));
  const bool plain = use_ == PatternUse::PlainReplace;
  const bool lines = use_ == PatternUse::RegexPick || use_ == PatternUse::RegexDelete;
  setWindowTitle(QString::fromUtf8(plain                               ? "一括置換"
                                   : use_ == PatternUse::RegexPick     ? "検索－正規表現"
                                   : use_ == PatternUse::RegexDelete   ? "検索行削除－正規表現"
                                                                       : "正規表現置換"));
  // The histories' first entries are preset; a selection in the pane wins for the pattern.
  CBRegExp = HistoryCombo(this, setup.patterns, "CBRegExp");
  if (!setup.preset.isEmpty()) CBRegExp->setEditText(setup.preset);
  Lgrep1 = Label(this, "Lgrep1", "検索する文字列(&S)", CBRegExp);
  Label1 = Label(this, "Label1", "文字列には正規表現が使えます。");
  Label1->setStyleSheet(QStringLiteral("color: blue"));
  ComboBox1 = HistoryCombo(this, setup.replacements, "ComboBox1");
  Label2 = Label(this, "Label2", "置換する文字列(&T)", ComboBox1);
  CBusefuzzy = Check(this, "CBusefuzzy", "文字の同一視(&D)", true);
  Panel2 = new QWidget(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  AddPatternAids(Panel2, [this] { return FocusedCombo(this, {CBRegExp, ComboBox1}); });
  auto* v = new QVBoxLayout(this);
  AddAll(v, {Lgrep1, CBRegExp, Label1, Label2, ComboBox1, CBusefuzzy});
  QDialogButtonBox* buttons = OkCancel(this, QString::fromUtf8(lines ? "検索(&S)" : "置換(&R)"));
  BitBtn1 = buttons->button(QDialogButtonBox::Ok);
  v->addWidget(buttons);
  v->addWidget(Panel2);
  if (plain) {
    Label1->hide();
    CBusefuzzy->hide();
    Panel2->hide();
  }
  if (lines) {
    Label2->hide();
    ComboBox1->hide();
  }
  CBRegExp->setFocus();
}

PatternAnswer TForm25::Answer() const {
  return PatternAnswer{CBRegExp->currentText(), ComboBox1->currentText(),
                       use_ != PatternUse::PlainReplace && CBusefuzzy->isChecked()};
}

void TForm25::KeepHistories(PatternSetup& setup) const {
  auto keep = [](QStringList& list, const QString& text) {
    if (!text.isEmpty() && !list.contains(text)) list.prepend(text);
  };
  keep(setup.patterns, CBRegExp->currentText());
  if (!ComboBox1->isHidden()) keep(setup.replacements, ComboBox1->currentText());
}

// ---- TForm9 --------------------------------------------------------------------------

TForm9::TForm9(const GrepSetup& setup, QWidget* parent) : QDialog(parent), setup_(setup) {
  setObjectName(QStringLiteral("TForm9"));
  setWindowTitle(QStringLiteral("Grepの実行"));
  CBRegExp = HistoryCombo(this, setup.history, "CBRegExp");
  CBRegExp->setEditText(QString());
  QLabel* lgrep1 = Label(this, "Lgrep1", "検索する文字列(&S)", CBRegExp);
  QLabel* label1 = Label(this, "Label1", "文字列には正規表現が使えます。");
  label1->setStyleSheet(QStringLiteral("color: blue"));
  Ldirectory = Label(this, "Ldirectory", "");
  Ldirectory->setText(bridge::DisplayName(setup.folder));
  Lfiles = Label(this, "Lfiles", "");
  Lfiles->setText(QString::number(setup.selected_count) + QStringLiteral("個のファイル"));
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  RadioGroup1 = new QGroupBox(QStringLiteral("ファイル"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  Selected = Radio(RadioGroup1, "選択したﾌｧｲﾙ");
  All = Radio(RadioGroup1, "全ファイル");
  const bool any = setup.selected_count > 0;
  (any ? Selected : All)->setChecked(true);
  RadioGroup1->setEnabled(any);
  FillMemo(!any);
  connect(All, &QRadioButton::toggled, this, &TForm9::FillMemo);
  CBusefuzzy = Check(this, "CBusefuzzy", "文字の同一視(&D)", true);
  CheckBox1 = Check(this, "CheckBox1", "検索ﾌｧｨﾙ名の表示(&K)", true);
  CheckBox2 = Check(this, "CheckBox2", "行数の表示(&L)", true);
  CheckBox3 = Check(this, "CheckBox3", "サブフォルダも検索", setup.subfolders);
  Panel2 = new QWidget(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  AddPatternAids(Panel2, [this] { return FocusedCombo(this, {CBRegExp}); });
  SpeedButton1 = Button(this, "SpeedButton1", "正規表現文字表示");
  connect(SpeedButton1, &QPushButton::clicked, this, [this] {
    Panel2->setVisible(Panel2->isHidden());
    adjustSize();
  });
  auto* v = new QVBoxLayout(this);
  AddAll(v, {lgrep1, CBRegExp, label1, Ldirectory, Lfiles, Memo1, RadioGroup1, CBusefuzzy, CheckBox1, CheckBox2,
             CheckBox3, SpeedButton1});
  v->addWidget(OkCancel(this, QStringLiteral("OK")));
  v->addWidget(Panel2);
  CBRegExp->setFocus();
}

void TForm9::FillMemo(bool everything) {
  QStringList shown;
  for (const QString& p : everything ? setup_.all : setup_.selected) shown << bridge::DisplayName(p);
  Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

GrepAnswer TForm9::Answer() const {
  return GrepAnswer{CBRegExp->currentText(),  CBusefuzzy->isChecked(), CheckBox1->isChecked(),
                    CheckBox2->isChecked(),   CheckBox3->isChecked(),  All->isChecked()};
}

// ---- TForm31 -------------------------------------------------------------------------

TForm31::TForm31(const ListSetup& setup, QWidget* parent)
    : QDialog(parent), open_at_(setup.open_folder), save_at_(setup.save_folder) {
  setObjectName(QStringLiteral("TForm31"));
  setWindowTitle(setup.caption);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  Edit1 = new QLineEdit(setup.preset, this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->addItems(setup.entries);
  CheckBox1 = Check(this, "CheckBox1", "正規表現(&S)", setup.regex);
  QPushButton* add = Button(this, "Button1", "リストに追加(&A)");
  QPushButton* del = Button(this, "BitBtn3", "リストから削除(&D)");
  QPushButton* clear_all = Button(this, "SpeedButton4", "全削除");
  QPushButton* up = Button(this, "SpeedButton1", "上へ");
  QPushButton* down = Button(this, "SpeedButton2", "下へ");
  QPushButton* clear = Button(this, "SpeedButton3", "文字列クリア");
  QPushButton* load = Button(this, "BitBtn4", "読み込み(&L)");
  QPushButton* save = Button(this, "BitBtn5", "保存(&S)");
  connect(add, &QPushButton::clicked, this, &TForm31::Button1Click);
  connect(ListBox1, &QListWidget::itemClicked, this, [this](QListWidgetItem* i) { Edit1->setText(i->text()); });
  connect(del, &QPushButton::clicked, this, &TForm31::BitBtn3Click);
  connect(clear_all, &QPushButton::clicked, this, &TForm31::SpeedButton4Click);
  connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(down, &QPushButton::clicked, this, [this] { Move(1); });
  connect(clear, &QPushButton::clicked, Edit1, &QLineEdit::clear);
  const QStringList filters{QStringLiteral("テキスト (*.txt)"), QStringLiteral("すべて (*)")};
  connect(load, &QPushButton::clicked, this, [this, filters] {
    const QString path = dialogs::AskFileName(this, dialogs::FileNameDialog::Mode::Open,
                                              QStringLiteral("連続削除リストの読み込み"), open_at_, filters);
    if (!path.isEmpty() && LoadList(path)) save_at_ = path;
  });
  connect(save, &QPushButton::clicked, this, [this, filters] {
    const QString path = dialogs::AskFileName(this, dialogs::FileNameDialog::Mode::Save,
                                              QStringLiteral("連続削除リストの保存"), save_at_, filters,
                                              QStringLiteral("txt"));
    if (!path.isEmpty() && SaveList(path)) open_at_ = path;
  });
  auto* v = new QVBoxLayout(this);
  AddAll(v, {Label(this, "Label1", "削除文字列(&C)", Edit1), Edit1, Label(this, "Label2", "削除文字列リスト(&I)", ListBox1),
             ListBox1, add, del, clear_all, up, down, clear, CheckBox1, load, save});
  v->addWidget(OkCancel(this, QStringLiteral("実行")));
}

void TForm31::Button1Click() {
  ListBox1->addItem(Edit1->text());  // an empty text too
  Edit1->clear();
}

void TForm31::BitBtn3Click() {
  const int row = ListBox1->currentRow();
  if (row < 0 || ListBox1->selectedItems().isEmpty()) return;
  delete ListBox1->takeItem(row);
  if (ListBox1->count()) ListBox1->setCurrentRow(std::max(0, row - 1));
}

void TForm31::SpeedButton4Click() { ListBox1->clear(); }

void TForm31::Move(int step) {
  const int row = ListBox1->currentRow(), to = row + step;
  if (row < 0 || to < 0 || to >= ListBox1->count()) return;
  ListBox1->insertItem(to, ListBox1->takeItem(row));
  ListBox1->setCurrentRow(to);
}

bool TForm31::LoadList(const QString& path) {
  std::ifstream in(bridge::ToDisk(path), std::ios::binary);
  std::ostringstream read;
  if (in) read << in.rdbuf();
  if (!in || in.bad()) {
    ui::Warn(this, bridge::DisplayName(path) + QStringLiteral(" を読めません: ") +
                       QString::fromStdString(platform::SystemErrorText(errno)));
    return false;
  }
  const std::string bytes = read.str();
  ListBox1->clear();
  for (const std::string& e : search::ParseListFile(bytes)) ListBox1->addItem(bridge::FromDisk(e));
  return true;
}

bool TForm31::SaveList(const QString& path) {
  std::vector<std::string> entries;
  for (int i = 0; i < ListBox1->count(); ++i) entries.push_back(bridge::ToDisk(ListBox1->item(i)->text()));
  const fileops::SaveResult r = fileops::SaveFile(bridge::ToDisk(path), search::FormatListFile(entries), false);
  if (!r.ok) {
    ui::Warn(this, bridge::DisplayName(path) + QStringLiteral(" に保存できませんでした: ") + bridge::FromUtf8(r.error));
    return false;
  }
  return true;
}

ListAnswer TForm31::Answer() const {
  ListAnswer a;
  for (int i = 0; i < ListBox1->count(); ++i) a.entries << ListBox1->item(i)->text();
  a.regex = CheckBox1->isChecked();
  return a;
}

}  // namespace haruvi::controllers
