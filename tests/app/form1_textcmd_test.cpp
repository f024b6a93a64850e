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
