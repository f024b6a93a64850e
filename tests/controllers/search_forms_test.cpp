// The search dialogs themselves: TForm31's list editing and list files (a file that
// fails leaves the list as it was), TForm25's controls in its four uses and its
// histories, TForm9's file list following its radio group, TForm32's answer.
#include "controllers/search/search_forms.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "support/temp_dir.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

QStringList Entries(const TForm31& f) { return f.Answer().entries; }

TEST(TForm31, ListEditingKeepsTheSelectionAndDoesNothingAtTheEnds) {
  TForm31 f(ListSetup{QStringLiteral("検索語句削除　連続"), {QStringLiteral("a"), QStringLiteral("b")}, false, QStringLiteral("c"), {}, {}});
  f.Button1Click();  // appends Edit1's text and clears it
  EXPECT_EQ(Entries(f), (QStringList{"a", "b", "c"}));
  EXPECT_TRUE(f.Edit1->text().isEmpty());
  f.Button1Click();  // an empty text too
  EXPECT_EQ(Entries(f).size(), 4);
  f.ListBox1->setCurrentRow(0);
  f.Move(-1);  // "上へ" on the first
  EXPECT_EQ(Entries(f).front(), QStringLiteral("a"));
  f.Move(1);
  EXPECT_EQ(Entries(f), (QStringList{"b", "a", "c", ""}));
  EXPECT_EQ(f.ListBox1->currentRow(), 1);
  f.ListBox1->setCurrentRow(3);
  f.Move(1);  // "下へ" on the last
  EXPECT_EQ(Entries(f).back(), QString());
  f.ListBox1->setCurrentRow(2);
  f.BitBtn3Click();  // the one before becomes selected
  EXPECT_EQ(Entries(f), (QStringList{"b", "a", ""}));
  EXPECT_EQ(f.ListBox1->currentRow(), 1);
  f.ListBox1->clearSelection();
  f.BitBtn3Click();  // nothing selected: nothing deleted
  EXPECT_EQ(Entries(f).size(), 3);
  f.SpeedButton4Click();
  EXPECT_TRUE(Entries(f).isEmpty());
}

TEST(TForm31, AListSavedClearedAndLoadedHasTheSameEntries) {
  ui::SetHeadless(true);
  test::TempDir dir;
  const QStringList list = {QStringLiteral(" lead"), QStringLiteral("trail "), QStringLiteral("漢字"), QString()};
  TForm31 f(ListSetup{QStringLiteral("x"), list, true, {}, {}, {}});
  const QString path = QString::fromStdString((dir.path() / "list.txt").string());
  ASSERT_TRUE(f.SaveList(path));
  f.SpeedButton4Click();
  ASSERT_TRUE(f.LoadList(path));
  EXPECT_EQ(Entries(f), list);
  EXPECT_TRUE(f.Answer().regex);
  EXPECT_FALSE(f.LoadList(QString::fromStdString((dir.path() / "none.txt").string())));
  EXPECT_EQ(Entries(f), list);
  EXPECT_FALSE(f.SaveList(QString::fromStdString((dir.path() / "no/such/folder.txt").string())));
  ui::SetHeadless(false);
}

TEST(TForm25, EachUseShowsItsControls) {
  PatternSetup s{PatternUse::RegexReplace, {QStringLiteral("p1"), QStringLiteral("p2")}, {QStringLiteral("r1")}, {}};
  {
    TForm25 f(s);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("正規表現置換"));
    EXPECT_EQ(f.CBRegExp->currentText(), QStringLiteral("p1"));  // entry 0 preset
    EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("r1"));
    EXPECT_FALSE(f.CBusefuzzy->isHidden());
    EXPECT_TRUE(f.CBusefuzzy->isChecked());
    f.CBRegExp->setEditText(QStringLiteral("p2"));  // listed: keeps its place
    f.ComboBox1->setEditText(QStringLiteral("r2"));  // new: goes on top
    PatternSetup kept = s;
    f.KeepHistories(kept);
    EXPECT_EQ(kept.patterns, (QStringList{"p1", "p2"}));
    EXPECT_EQ(kept.replacements, (QStringList{"r2", "r1"}));
  }
  s.use = PatternUse::PlainReplace;
  s.preset = QStringLiteral("sel");
  {
    TForm25 f(s);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("一括置換"));
    EXPECT_EQ(f.CBRegExp->currentText(), QStringLiteral("sel"));
    EXPECT_TRUE(f.Label1->isHidden());
    EXPECT_TRUE(f.CBusefuzzy->isHidden());
    EXPECT_TRUE(f.Panel2->isHidden());
    EXPECT_FALSE(f.Answer().fuzzy);
  }
  s.use = PatternUse::RegexDelete;
  {
    TForm25 f(s);
    EXPECT_EQ(f.windowTitle(), QStringLiteral("検索行削除－正規表現"));
    EXPECT_TRUE(f.Label2->isHidden());
    EXPECT_TRUE(f.ComboBox1->isHidden());
    EXPECT_EQ(f.BitBtn1->text(), QStringLiteral("検索(&S)"));
  }
  s.use = PatternUse::RegexPick;
  EXPECT_EQ(TForm25(s).windowTitle(), QStringLiteral("検索－正規表現"));
}

TEST(TForm9, TheFileListFollowsTheRadioGroup) {
  GrepSetup s;
  s.folder = QStringLiteral("/d/");
  s.selected = {QStringLiteral("/d/a.txt")};
  s.all = {QStringLiteral("/d/a.txt"), QStringLiteral("/d/b.txt")};
  s.selected_count = 1;
  TForm9 f(s);
  EXPECT_EQ(f.Lfiles->text(), QStringLiteral("1個のファイル"));
  EXPECT_TRUE(f.Selected->isChecked());
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("/d/a.txt"));
  f.All->setChecked(true);
  EXPECT_EQ(f.Memo1->toPlainText(), QStringLiteral("/d/a.txt\n/d/b.txt"));
  const GrepAnswer a = f.Answer();
  EXPECT_TRUE(a.all_files && a.fuzzy && a.headers && a.numbers);
  EXPECT_FALSE(a.subfolders);
  s.selected_count = 0;
  TForm9 none(s);
  EXPECT_EQ(none.Lfiles->text(), QStringLiteral("0個のファイル"));
  EXPECT_FALSE(none.RadioGroup1->isEnabled());
  EXPECT_TRUE(none.All->isChecked());
}

TEST(TForm32, AnswersWhatItShows) {
  TForm32 f(FindSetup{{QStringLiteral("old")}, FindAnswer{QStringLiteral("cat"), true, false, 0}});
  EXPECT_EQ(f.ComboBox1->currentText(), QStringLiteral("cat"));
  const FindAnswer a = f.Answer();
  EXPECT_EQ(a.text, QStringLiteral("cat"));
  EXPECT_TRUE(a.whole_word);
  EXPECT_EQ(a.direction, 0);
}

}  // namespace
}  // namespace haruvi::controllers
