// The text commands and conversions in the window, tried as a user would: an EUC mail
// converted to Shift_JIS, an HTML page stripped, lines numbered, columns extracted and
// joined into CSV through the real dialogs, then undone; and where the menus put them.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTimer>
#include <deque>
#include <functional>

#include "controllers/textcmd/column_dialog.h"
#include "shellview/file_view.h"
#include "support/sjis.h"
#include "ui/input_box.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class TextCommandsTest : public WindowTest {
 protected:
  void Select(const char* name) {
    ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
    ASSERT_EQ(form->FileView1->SelectByCaption(name), 1);
  }
  QColor InfoColor() const { return form->LFilestring->palette().color(QPalette::WindowText); }
  std::string Text() const { return form->RichEdit1->Bytes(); }
  // Answers the modal dialogs as they open: a text for the input box, "start,count" for
  // the column dialog.
  void AnswerDialogs(std::deque<QString> answers) {
    pending_ = std::move(answers);
    auto* timer = new QTimer(form.get());
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || pending_.empty()) {
        if (pending_.empty()) timer->deleteLater();
        return;
      }
      const QString answer = pending_.front();
      if (auto* box = qobject_cast<ui::InputBoxDialog*>(modal)) {
        box->Edit->setText(answer);
      } else if (auto* columns = qobject_cast<controllers::TForm30*>(modal)) {
        columns->SpinEdit1->setValue(answer.section(',', 0, 0).toInt());
        columns->SpinEdit2->setValue(answer.section(',', 1, 1).toInt());
      } else {
        return;
      }
      pending_.pop_front();
      static_cast<QDialog*>(modal)->accept();
    });
    timer->start(10);
  }

  std::deque<QString> pending_;
};

TEST_F(TextCommandsTest, AMailConvertedStrippedNumberedCutJoinedAndUndone) {
  dir.Write("files/mail.eml",
            "Subject: x\r\n\r\n<html><title>\xC6\xFC\xCB\xDC</title><body><p>ab &amp; cd</p>"
            "<p>0123456789</p></body></html>\r\n");
  Open();
  Select("mail.eml");
  Run("Meuctosjis");
  EXPECT_EQ(InfoColor(), QColor(Qt::blue));
  EXPECT_NE(Text().find(test::S("日本")), std::string::npos);

  Run("ToolButton51");  // "htmlタグ削除"
  EXPECT_EQ(InfoColor(), QColor(255, 0, 0));
  EXPECT_NE(Text().find("ab & cd\r\n"), std::string::npos) << Text();

  Run("Mtrim1");
  Run("MlinenoaddLeft1");
  EXPECT_FALSE(form->RichEdit1->ReadOnly());
  EXPECT_EQ(form->SBarR->Text(2), " 編集 ");
  EXPECT_EQ(Text(), test::S("1 Subject: x日本\r\n2 ab & cd\r\n3 0123456789\r\n"));

  AnswerDialogs({"3,4"});
  Run("Mcolumncopy1");
  const std::string extracted = Text();
  EXPECT_EQ(extracted, "Subj\r\nab &\r\n0123\r\n");
  AnswerDialogs({"2"});
  Run("MlineCSVa");
  EXPECT_EQ(Text(), "\"Subj\",\"ab &\"\r\n\"0123\"\r\n");

  Run("Mundo");
  EXPECT_EQ(Text(), extracted);
  // In simple edit each command is a step of the text's undo: one more goes back further.
  ASSERT_TRUE(form->Action("Mundo")->isEnabled());
  Run("Mundo");
  EXPECT_EQ(Text(), test::S("1 Subject: x日本\r\n2 ab & cd\r\n3 0123456789\r\n"));
}

TEST_F(TextCommandsTest, TheMenusAndThePopUpHoldTheCommands) {
  Open();
  auto find = [&](QMenu* menu, const QString& name) {
    std::function<bool(QMenu*)> deep = [&](QMenu* m) {
      for (QAction* a : m->actions()) {
        if (a->objectName() == name) return true;
        if (a->menu() && deep(a->menu())) return true;
      }
      return false;
    };
    return deep(menu);
  };
  QMenu* edit = nullptr;
  QMenu* del = nullptr;
  QMenu* conv = nullptr;
  for (QAction* a : form->menuBar()->actions()) {
    if (a->text() == "編集(&E)") edit = a->menu();
    if (a->text() == "削除(&K)") del = a->menu();
    if (a->text() == "変換(&C)") conv = a->menu();
  }
  ASSERT_TRUE(edit && del && conv);
  EXPECT_TRUE(find(edit, "Mundo"));
  EXPECT_TRUE(find(edit, "MLineSortU1"));
  EXPECT_TRUE(find(del, "Mopacdelete"));
  EXPECT_TRUE(find(conv, "Mtojis1"));
  EXPECT_TRUE(find(conv, "MUnicodeD1"));  // in "文字コード変換(&J)"
  EXPECT_TRUE(find(conv, "MlineCSVh"));
  EXPECT_TRUE(find(form->PopupMenu1, "MLineSortU1P"));
  EXPECT_TRUE(find(form->PopupMenu1, "Mtojis3"));
  EXPECT_TRUE(find(form->PopupMenu1, "MBase642"));
  EXPECT_EQ(form->Action("MLineSortU1P")->text(), "昇順");
  EXPECT_EQ(form->Action("Mundo")->statusTip(), "テキスト処理を戻します。");
  EXPECT_EQ(form->Action("ToolButton52")->toolTip(), "文字コード(T)");
}

// A menu on one line: each entry's name, "-" for a line, a submenu as "[caption: entries]"
// ("文字コード変換(&J)" by its caption alone: its entries are the code conversions').
QString MenuLine(QMenu* menu) {
  QStringList parts;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) parts << "-";
    else if (a->menu() && a->text() == "文字コード変換(&J)") parts << "[" + a->text() + "]";
    else if (a->menu()) parts << "[" + a->text() + ": " + MenuLine(a->menu()) + "]";
    else parts << a->objectName();
  }
  return parts.join(' ');
}

// The three text menus and their copies in the pop-up menu, entry by entry.
TEST_F(TextCommandsTest, TheTextMenusAndTheirPopUpCopiesKeepTheirLayout) {
  Open();
  const char* const captions[] = {"編集(&E)", "削除(&K)", "変換(&C)"};
  const char* const on_bar[] = {
      "Mundo - [行の並び替え: MLineSortU1 MLineSortD1] [行番号を追加: MlinenoaddLeft1 MlinenoaddLeftc1 "
      "MlinenoaddRight1 MlinenoaddRightc1] Mrenban1 Mreverse1 Mupperlinecopy1 - [桁位置に挿入: MinsertCR1 "
      "MinsertChr1 MinsertChar1] Mcolumncopy1 - MediterRich Mcut Mcopy1 Mpast Mtextdelete Mselectall - Mjump "
      "Mlinetop1 Mlinebottom1 - MTsave2 - MeditView1",
      "Monelinedelete1 [空白を削除: MtrimL1 MtrimR1 Mall1bytetrim1 Mall2bytetrim1] [TAB文字を削除: Malltabdelete1 "
      "Mtoptabdelete1] Mcrdel Mtrim1 Msameline1 Mopacdelete - Mcolumndelete1 Mtextotxt2",
      "Mtojis1 [文字コード変換(&J)] - Mcrauto1 [改行コード変換: MCRtoCRLF1 MLFtoCRLF1 MCRLFtoCR1 MLFtoCR1 "
      "MCRLFtoLF1 MCRtoLF1] - [TAB文字->: Mtabtospace1 Mtabtocomma1 Mtabtounderscore1] M2byteto1bytenull1 - "
      "Mhanktozen1 Mzentohank1 Mhkanatozkana1 - [html->テキスト: Mhtml Mhtmlall html2 htmlTAB1] Mtextotxt1 - "
      "[16進表示(&P): Mdump1 Mdump1b] [行->CSVデータ変換: MlineCSVa MlineCSVb MlineCSVc MlineCSVd MlineCSVf "
      "MlineCSVe MlineCSVh MlineCSVg]"};
  const char* const in_popup[] = {
      "MundoP - [行の並び替え: MLineSortU1P MLineSortD1P] [行番号を追加: MlinenoaddLeft1P MlinenoaddLeftc1P "
      "MlinenoaddRight1P MlinenoaddRightc1P] Mrenban1P Mreverse1P Mupperlinecopy1P - [桁位置に挿入: MinsertCR1P "
      "MinsertChr1P MinsertChar1P] Mcolumncopy1P",
      "Monelinedelete1P [空白を削除: MtrimL1P MtrimR1P Mall1bytetrim1P Mall2bytetrim1P] [TAB文字を削除: "
      "Malltabdelete1P Mtoptabdelete1P] McrdelP Mtrim1P Msameline1P MopacdeleteP - Mcolumndelete1P Mtextotxt2P",
      "Mtojis3 [文字コード変換(&J)] - Mcrauto1P [改行コード変換: MCRtoCRLF1P MLFtoCRLF1P MCRLFtoCR1P MLFtoCR1P "
      "MCRLFtoLF1P MCRtoLF1P] - [TAB文字->: Mtabtospace1P Mtabtocomma1P Mtabtounderscore1P] M2byteto1bytenull1P - "
      "Mhanktozen1P Mzentohank1P Mhkanatozkana1P - [html->テキスト: MhtmlP MhtmlallP html2P htmlTAB1P] "
      "Mtextotxt1P - [16進表示(&P): Mdump1P Mdump1bP] [行->CSVデータ変換: MlineCSVaP MlineCSVbP MlineCSVcP "
      "MlineCSVdP MlineCSVfP MlineCSVeP MlineCSVhP MlineCSVgP]"};
  auto sub = [](const QList<QAction*>& entries, const char* caption) -> QMenu* {
    for (QAction* a : entries)
      if (a->menu() && a->text() == QString::fromUtf8(caption)) return a->menu();
    return nullptr;
  };
  for (int i = 0; i < 3; ++i) {
    QMenu* bar = sub(form->menuBar()->actions(), captions[i]);
    QMenu* popup = sub(form->PopupMenu1->actions(), captions[i]);
    ASSERT_TRUE(bar && popup) << captions[i];
    EXPECT_EQ(MenuLine(bar).toStdString(), on_bar[i]) << captions[i];
    EXPECT_EQ(MenuLine(popup).toStdString(), in_popup[i]) << captions[i];
  }
}

TEST_F(TextCommandsTest, SimpleEditModeIsEnteredOnceAndKeptOn) {
  dir.Write("files/a.txt", "b\r\na\r\n");
  Open();
  Select("a.txt");
  EXPECT_EQ(form->SBarR->Text(2), " 閲覧 ");
  form->Text().editmodeon();
  EXPECT_FALSE(form->RichEdit1->ReadOnly());
  EXPECT_EQ(form->SBarR->Text(2), " 編集 ");
  EXPECT_EQ(InfoColor(), QColor(255, 0, 0));
  Run("MLineSortU1");  // a command in simple-edit mode keeps it
  EXPECT_EQ(Text(), "a\r\nb\r\n");
  EXPECT_FALSE(form->RichEdit1->ReadOnly());
}

}  // namespace
}  // namespace haruvi::app
