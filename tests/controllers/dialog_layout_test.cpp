// The dialogs as a user reads and answers them: every dialog shows each caption whole (no
// label, button or frame title narrower than it needs, the title bar wide enough for its
// title), in the default font and at twice the scale (ctest runs this file again with
// QT_SCALE_FACTOR=2); and the prompts with a history return the typed text.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "controllers/choice/drive_letter_dialog.h"
#include "controllers/display/display_dialogs.h"
#include "controllers/fileops/attr_dialog.h"
#include "controllers/fileops/op_runner.h"
#include "controllers/fileops/split_dialogs.h"
#include "controllers/help/about_box.h"
#include "controllers/layout/sort_dialog.h"
#include "controllers/search/replace_dialog.h"
#include "controllers/search/search_dialogs.h"
#include "controllers/search/search_forms.h"
#include "controllers/system/dir_dialog.h"
#include "controllers/textcmd/column_dialog.h"
#include "dialogs/folder_dialog.h"
#include "dialogs/progress_dialog.h"
#include "dialogs/target_dialog.h"
#include "fake_window.h"
#include "platform/history.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "ui/dialog_fit.h"
#include "ui/input_box.h"
#include "ui/messages.h"
#include "ui/prompt_dialog.h"

namespace haruvi::controllers {
namespace {

using Make = std::function<std::unique_ptr<QDialog>()>;

// What of `dialog` a user cannot read whole, one line each.
std::vector<std::string> Clipped(QDialog& dialog) {
  std::vector<std::string> cut;
  const auto name = [](QWidget* w, const QString& text) {
    return (w->objectName().isEmpty() ? std::string(w->metaObject()->className()) : w->objectName().toStdString()) +
           " \"" + text.toStdString() + "\"";
  };
  for (QLabel* l : dialog.findChildren<QLabel*>()) {
    if (!l->isVisible() || l->wordWrap() || l->text().isEmpty() || !l->pixmap().isNull()) continue;
    if (l->width() < l->sizeHint().width())
      cut.push_back(name(l, l->text()) + " " + std::to_string(l->width()) + " < " + std::to_string(l->sizeHint().width()));
  }
  for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>()) {
    if (!b->isVisible() || b->text().isEmpty()) continue;
    if (b->width() < b->sizeHint().width())
      cut.push_back(name(b, b->text()) + " " + std::to_string(b->width()) + " < " + std::to_string(b->sizeHint().width()));
  }
  for (QGroupBox* g : dialog.findChildren<QGroupBox*>()) {
    if (!g->isVisible() || g->title().isEmpty()) continue;
    if (g->width() < g->minimumSizeHint().width())
      cut.push_back(name(g, g->title()) + " " + std::to_string(g->width()) + " < " +
                    std::to_string(g->minimumSizeHint().width()));
  }
  if (dialog.width() < ui::TitleRoom(&dialog))
    cut.push_back("title \"" + dialog.windowTitle().toStdString() + "\" " + std::to_string(dialog.width()) + " < " +
                  std::to_string(ui::TitleRoom(&dialog)));
  return cut;
}

TEST(DialogLayout, EveryCaptionIsShownWhole) {
  test::FakeWindow w;
  ui::DialogFit fit;  // as the program installs it
  qApp->installEventFilter(&fit);
  platform::IniFile& ini = w.Settings().File();
  const std::vector<std::pair<const char*, Make>> dialogs = {
      {"prompt", [] {
         auto d = std::make_unique<ui::TForm33>();
         d->setWindowTitle(QStringLiteral("拡張子の指定"));
         d->Label1->setText(QStringLiteral("表示する拡張子を指定します。"));
         return std::unique_ptr<QDialog>(std::move(d));
       }},
      {"input box", [] {
         return std::unique_ptr<QDialog>(std::make_unique<ui::InputBoxDialog>(
             QStringLiteral("指定桁位置に文字＋改行を挿入"), QStringLiteral("挿入する文字"), QString()));
       }},
      {"target", [&ini] { return std::unique_ptr<QDialog>(std::make_unique<dialogs::TForm2>(ini)); }},
      {"split size", [&ini] {
         return std::unique_ptr<QDialog>(std::make_unique<TForm17>(ini, QStringLiteral("/x/data.zip"), 3000000));
       }},
      {"split progress", [] {
         auto d = std::make_unique<TForm18>();
         d->Label1->setText(QStringLiteral("data.zip を分割中"));
         return std::unique_ptr<QDialog>(std::move(d));
       }},
      {"merge", [] {
         return std::unique_ptr<QDialog>(
             std::make_unique<TForm20>(QStringLiteral("/x"), QStringList{"a.001", "a.002"}));
       }},
      {"html progress", [] {
         return std::unique_ptr<QDialog>(std::make_unique<dialogs::TForm24>(
             QStringLiteral("html->テキスト"), QStringLiteral("htmlをテキストに変換中．．．"), QStringLiteral("/x/a.html")));
       }},
      {"stream", [] { return std::unique_ptr<QDialog>(std::make_unique<TForm26>(true, true, 1000)); }},
      {"read limit", [] { return std::unique_ptr<QDialog>(std::make_unique<TForm26>(false, true, 1000)); }},
      {"regex replace", [] {
         PatternSetup s;
         s.use = PatternUse::RegexReplace;
         return std::unique_ptr<QDialog>(std::make_unique<TForm25>(s));
       }},
      {"replace all", [] {
         PatternSetup s;
         s.use = PatternUse::PlainReplace;
         return std::unique_ptr<QDialog>(std::make_unique<TForm25>(s));
       }},
      {"grep", [] { return std::unique_ptr<QDialog>(std::make_unique<TForm9>(GrepSetup{})); }},
      {"find", [] { return std::unique_ptr<QDialog>(std::make_unique<TForm32>(FindSetup{})); }},
      {"replace", [] { return std::unique_ptr<QDialog>(std::make_unique<ReplaceDialog>()); }},
      {"columns", [] { return std::unique_ptr<QDialog>(std::make_unique<TForm30>()); }},
      {"sort", [] { return std::unique_ptr<QDialog>(std::make_unique<TForm15>()); }},
      {"drives", [] {
         return std::unique_ptr<QDialog>(std::make_unique<TForm10>(
             std::vector<platform::LetteredDrive>{{'C', "/"}, {'D', "/tmp"}}));
       }},
      {"about", [] { return std::unique_ptr<QDialog>(std::make_unique<TAboutBox>()); }},
      {"dir", [&w] {
         return std::unique_ptr<QDialog>(
             std::make_unique<TForm7>(QString::fromStdString(w.dir.path().string()), std::vector<std::string>{}));
       }},
      {"attributes", [&w] {
         return std::unique_ptr<QDialog>(std::make_unique<TForm5>(QString::fromStdString(w.dir.path().string())));
       }},
      {"file progress", [] {
         return std::unique_ptr<QDialog>(std::make_unique<OpProgress>(nullptr, QStringLiteral("ファイルのコピー")));
       }},
  };
  for (const auto& [what, make] : dialogs) {
    std::unique_ptr<QDialog> d = make();
    d->show();
    QCoreApplication::processEvents();
    for (const std::string& cut : Clipped(*d)) ADD_FAILURE() << what << ": " << cut;
    d->hide();
  }
  qApp->removeEventFilter(&fit);
}

// The list style gives every name the room its item asks for; a deep folder selected in
// a narrow tree is scrolled sideways to its name.
TEST(ViewWidths, NamesInTheListAndTheTreeAreShownWhole) {
  test::FakeWindow w;
  for (const char* n : {"data.001", "data.002", "data.bat", "短い.txt"}) w.dir.Write(std::string("f/") + n, "x");
  std::string deep = "f";
  for (const char* part : {"日本語のフォルダー", "さらに深いフォルダー", "もっと深いフォルダー", "一番深いフォルダー"}) {
    deep += std::string("/") + part;
    std::filesystem::create_directories(w.dir / deep);
  }
  shellview::TFileView& files = w.Files();
  files.resize(400, 300);
  files.show();
  w.MoveToFolder(QString::fromStdString((w.dir / "f").string()));
  files.SetViewStyle(shellview::ViewStyle::List);
  auto* list = qobject_cast<QListView*>(files.CurrentView());
  ASSERT_TRUE(list);
  QStyleOptionViewItem option;
  option.initFrom(list);
  option.decorationSize = list->iconSize();
  option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
  for (int r = 0; r < list->model()->rowCount(); ++r) {
    const QModelIndex i = list->model()->index(r, 0);
    EXPECT_GE(list->gridSize().width(), list->itemDelegate()->sizeHint(option, i).width()) << i.data().toString().toStdString();
  }

  shellview::TFolderView& tree = w.Folders();
  tree.resize(137, 300);
  tree.show();
  ASSERT_TRUE(tree.SelectPath(QString::fromStdString((w.dir / deep).string())));
  QCoreApplication::processEvents();
  const QRect shown = tree.visualItemRect(tree.currentItem());
  EXPECT_GE(shown.left(), 0);
  EXPECT_LT(shown.left(), tree.viewport()->width() / 2);
}

// Types into the focused prompt once it is open, then presses `key` there.
void TypeWhenOpen(const QString& text, Qt::Key key) {
  QTimer::singleShot(0, [text, key] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_TRUE(d);
    auto* combo = d->findChild<QComboBox*>();
    ASSERT_TRUE(combo);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), text);
    QTest::keyClick(combo->lineEdit(), key);
    if (d->isVisible()) d->close();  // Enter did not end it: the test then sees Cancel
  });
}

TEST(HistoryPrompts, TheTypedTextComesBackNotAnEntryItStartsLike) {
  test::FakeWindow w;
  platform::IniFile& ini = w.Settings().File();
  platform::SaveHistory(ini, "Ext", {"*.txt", "ABC", "/usr/share/doc"});
  // A prefix of an entry, a case twin of one, a folder's beginning: each as typed.
  for (const char* typed : {"*", "abc", "/usr"}) {
    TypeWhenOpen(QString::fromUtf8(typed), Qt::Key_Return);
    const std::optional<QString> answer = ui::Ask(w.Window(), "c", "p", ini, "Ext", QString());
    ASSERT_TRUE(answer) << typed;
    EXPECT_EQ(answer->toStdString(), typed);
  }
  // The history is a list to pick from, one Alt+Down away.
  ui::TForm33 prompt;
  prompt.LoadHistory(ini, "Ext");
  EXPECT_EQ(prompt.ComboBox1->count(), 6);  // the three typed texts went on top
  EXPECT_FALSE(prompt.ComboBox1->completer() && prompt.ComboBox1->completer()->completionCount() > 0);
}

TEST(HistoryPrompts, CancelLeavesTheReplaceHistoriesAsTheyWere) {
  QWidget parent;
  SearchDialogs dialogs;
  PatternSetup setup;
  setup.use = PatternUse::PlainReplace;
  setup.patterns = {"old"};
  setup.replacements = {"new"};
  QTimer::singleShot(0, [] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_TRUE(d);
    for (QComboBox* c : d->findChildren<QComboBox*>()) QTest::keyClicks(c->lineEdit(), "typed");
    QTest::keyClick(d, Qt::Key_Escape);
  });
  EXPECT_FALSE(dialogs.Pattern(&parent, setup));
  EXPECT_EQ(setup.patterns, QStringList{"old"});
  EXPECT_EQ(setup.replacements, QStringList{"new"});
}

TEST(HistoryPrompts, EnterInThePieceSizeIsItsOwnStepNotOk) {
  test::FakeWindow w;
  ui::SetHeadless(true);
  TForm17 size(w.Settings().File(), QStringLiteral("/x/data.zip"), 3000000);
  size.show();
  size.CBdiv->setEditText(QStringLiteral("3000"));  // 1001 pieces: refused with a warning
  testing::internal::CaptureStderr();
  QTest::keyClick(size.CBdiv->lineEdit(), Qt::Key_Return);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("1001個のﾌｧｲﾙに分割できません。"), std::string::npos);
  EXPECT_TRUE(size.isVisible());
  EXPECT_EQ(size.result(), 0);
  size.CBdiv->setEditText(QStringLiteral("1000000"));
  QTest::keyClick(size.CBdiv->lineEdit(), Qt::Key_Return);
  EXPECT_TRUE(size.isVisible());  // the preview is made and OK has the focus
  EXPECT_EQ(size.Label4->text(), QStringLiteral("4 個に分割"));  // 3,000,000 / 1,000,000, plus one
  ui::SetHeadless(false);
}

}  // namespace
}  // namespace haruvi::controllers
