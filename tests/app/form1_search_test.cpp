// Find, replace, grep and the line filters in the window, tried as a new user would:
// a word found in a long Shift_JIS file and stepped through with F3 and Shift+F3, every
// hit replaced, a folder tree grepped with the fuzzy box, a long grep stopped midway, and
// only the lines holding a word of a list kept.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "controllers/search/search_forms.h"
#include "support/sjis.h"
#include "ui/input_box.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

class SearchTrial : public WindowTest {
 protected:
  viewer::TextPane& Pane() const { return *form->RichEdit1; }
  // The line (from 0) the selection starts on, and the selected bytes.
  std::size_t HitLine() const { return Pane().LineOfOffset(Pane().SelStart()); }
  std::string Selected() const { return Pane().SelectedText(); }
  std::size_t Count(const std::string& text, const std::string& word) const {
    std::size_t n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++n;
    return n;
  }
};

TEST_F(SearchTrial, AWordIsFoundSteppedThroughBothWaysAndReplacedEverywhere) {
  std::string text;
  for (int i = 0; i < 30000; ++i) {
    text += "第" + std::to_string(i) + "行　普通の文章です";
    if (i == 1000 || i == 15000 || i == 29000) text += "。ここに目標があります";
    text += "\r\n";
  }
  dir.Write("long.txt", test::S(text));
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir.path())));
  SelectHere("long.txt");

  AnswerNext<controllers::TForm32>([](controllers::TForm32* find) {
    find->ComboBox1->setEditText(QStringLiteral("目標"));
    find->Down->setChecked(true);
  });
  Run("Mserch");
  EXPECT_EQ(Selected(), test::S("目標"));
  EXPECT_EQ(HitLine(), 1000u);
  // Offscreen, no window manager gives the window back its activation after the dialog;
  // the keys' shortcuts belong to the active window.
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(form->RichEdit1->View(), Qt::Key_F3);
  EXPECT_EQ(HitLine(), 15000u);
  QTest::keyClick(form->RichEdit1->View(), Qt::Key_F3);
  EXPECT_EQ(HitLine(), 29000u);
  QTest::keyClick(form->RichEdit1->View(), Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(HitLine(), 15000u);
  QTest::keyClick(form->RichEdit1->View(), Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(HitLine(), 1000u);
  EXPECT_EQ(Selected(), test::S("目標"));

  // "置換　一括": every hit, and nothing else.
  AnswerNext<controllers::TForm25>([](controllers::TForm25* replace) {
    replace->CBRegExp->setEditText(QStringLiteral("目標"));
    replace->ComboBox1->setEditText(QStringLiteral("ゴール"));
  });
  Run("Mreplaceall1");
  const std::string replaced = Pane().Text();
  EXPECT_EQ(Count(replaced, test::S("ゴール")), 3u);
  EXPECT_EQ(Count(replaced, test::S("目標")), 0u);
  EXPECT_EQ(Count(replaced, "\r\n"), 30000u);
}

TEST_F(SearchTrial, ATreeIsGreppedWithTheFuzzyBoxAndALongGrepStopsMidway) {
  dir.Write("docs/a.txt", test::S("メモ: abc をする\r\n関係ない行\r\n"));
  dir.Write("docs/sub/b.txt", test::S("全角のＡＢＣ\r\n"));
  dir.Write("docs/sub/deep/c.txt", test::S("ABC 大文字\r\n"));
  dir.Write("docs/sub/deep/d.txt", test::S("ａｂ だけ\r\n"));
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "docs")));

  AnswerNext<controllers::TForm9>([](controllers::TForm9* grep) {
    grep->CBRegExp->setEditText(QStringLiteral("abc"));
    grep->All->setChecked(true);
    grep->CBusefuzzy->setChecked(true);
    grep->CheckBox2->setChecked(true);  // line numbers
    grep->CheckBox3->setChecked(true);  // subfolders
  });
  Run("Mgrep");
  WaitWhileEnabled("Mgrep2");
  const std::string report = Pane().Text();
  EXPECT_NE(report.find(test::S("a.txt(1) :メモ: abc をする\r\n")), std::string::npos) << report;
  EXPECT_NE(report.find(test::S("b.txt(1) :全角のＡＢＣ\r\n")), std::string::npos) << report;
  EXPECT_NE(report.find(test::S("c.txt(1) :ABC 大文字\r\n")), std::string::npos) << report;
  EXPECT_EQ(report.find("d.txt("), std::string::npos) << report;
  EXPECT_EQ(report.find(test::S("関係ない")), std::string::npos) << report;

  // A long grep: many big files, each with its hit at the end; stopped at once.
  for (int i = 0; i < 200; ++i)
    dir.Write("docs/big/f" + std::to_string(i) + ".txt", std::string(300000, 'x') + "\r\nabc\r\n");
  AnswerNext<controllers::TForm9>([](controllers::TForm9* grep) {
    grep->CBRegExp->setEditText(QStringLiteral("abc"));
    grep->All->setChecked(true);
    grep->CBusefuzzy->setChecked(false);
    grep->CheckBox3->setChecked(true);
  });
  Run("Mgrep");
  ASSERT_TRUE(form->Action(QStringLiteral("Mgrep2"))->isEnabled());
  CaptureStderr();
  Run("Mgrep2");
  WaitWhileEnabled("Mgrep2");
  EXPECT_NE(GetCapturedStderr().find("Grepを中止しました。"), std::string::npos);
  const std::string stopped = Pane().Text();
  const std::string mark = test::S("[Grepを中止]\r\n");
  ASSERT_GE(stopped.size(), mark.size());
  EXPECT_EQ(stopped.substr(stopped.size() - mark.size()), mark);
  EXPECT_LT(Count(stopped, "big/f"), 200u);
}

TEST_F(SearchTrial, OnlyTheLinesHoldingAWordOfAListAreKept) {
  dir.Write("log.txt", test::S("朝: 晴れ\r\n昼: 雨\r\n夕方: くもり\r\n夜: 雨のち晴れ\r\n深夜: 雪\r\n"));
  dir.Write("other.txt", "other\r\n");
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir.path())));
  SelectHere("log.txt");
  AnswerNext<controllers::TForm25>([](controllers::TForm25* pick) { pick->CBRegExp->setEditText(QStringLiteral("晴れ|雪")); });
  Run("MpickuplineSEIKI1");
  EXPECT_EQ(Pane().Text(), test::S("朝: 晴れ\r\n夜: 雨のち晴れ\r\n深夜: 雪\r\n"));

  // The plain filter on the file shown again.
  SelectHere("other.txt");
  SelectHere("log.txt");
  AnswerNext<ui::InputBoxDialog>([](ui::InputBoxDialog* box) { box->Edit->setText(QStringLiteral("雨")); });
  Run("Mpickupline1");
  EXPECT_EQ(Pane().Text(), test::S("昼: 雨\r\n夜: 雨のち晴れ\r\n"));
}

}  // namespace
}  // namespace haruvi::app
