// Simple edit in the window, tried as a user would: a Shift_JIS memo opened, switched to
// simple edit, Japanese typed through the input method, a slip undone, saved over with a
// backup and saved as rich text, both reopened.
#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>

#include "controllers/save/save_controller.h"
#include "shellview/file_view.h"
#include "support/sjis.h"
#include "ui/panel_bar.h"
#include "viewer/byte_view.h"
#include "viewer/text_pane.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

class EditInWindow : public WindowTest {
 protected:
  void Compose(const QString& text) {
    QWidget* view = form->RichEdit1->View();
    QInputMethodEvent composing(text, {});
    QApplication::sendEvent(view, &composing);
    QInputMethodEvent done;
    done.setCommitString(text);
    QApplication::sendEvent(view, &done);
  }
  std::string Pane() const { return form->RichEdit1->Bytes(); }
};

TEST_F(EditInWindow, AMemoTypedIntoUndoneSavedWithABackupAndAsRichText) {
  const std::string memo = test::S("買い物\r\n牛乳\r\n");
  dir.Write("files/MEMO.TXT", memo);
  Open();
  ASSERT_TRUE(form->MoveToFolder(Q(dir / "files")));
  SelectHere("MEMO.TXT");
  EXPECT_EQ(Pane(), memo);

  Run("MediterRich");
  EXPECT_FALSE(form->RichEdit1->ReadOnly());
  EXPECT_EQ(form->SBarR->Text(2), " 編集 ");
  form->RichEdit1->MoveCaretTo(form->RichEdit1->Text().size());
  Compose(QStringLiteral("卵"));
  QTest::keyClicks(form->RichEdit1->View(), "xx");  // a slip
  EXPECT_EQ(form->SBarR->Text(0), " 3行 4列 ");  // the caret after 卵xx, counted in characters
  Run("Mundo");  // takes back the slip's typing alone
  EXPECT_EQ(Pane(), memo + test::S("卵"));

  if (!form->Action("Mbackup1")->isChecked()) Run("Mbackup1");
  Run("MToversave1");
  EXPECT_EQ(test::ReadFile(dir / "files" / "MEMO.TXT"), memo + test::S("卵"));
  EXPECT_EQ(test::ReadFile(dir / "files" / "MEMO.$$$"), memo);  // the old bytes kept

  controllers::SaveController::ask_name = [&](QWidget*, const QString&, const QString&) {
    return Q(dir / "files" / "MEMO.RTF");
  };
  Run("MTsave1");
  const std::string rtf = test::ReadFile(dir / "files" / "MEMO.RTF");
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);

  // Reopened: the plain text as saved, the rich text shown formatted with the same words.
  // (The save over the file with its backup showed the file again, for viewing.)
  ASSERT_TRUE(form->RichEdit1->ReadOnly());
  if (!form->Action("Mrtf")->isChecked()) Run("Mrtf");  // rich text shown formatted
  SelectHere("MEMO.TXT");
  EXPECT_EQ(Pane(), memo + test::S("卵"));
  SelectHere("MEMO.RTF");
  EXPECT_TRUE(form->RichEdit1->ShowingRichText());
  EXPECT_EQ(form->RichEdit1->Text(), memo + test::S("卵"));
}

}  // namespace
}  // namespace haruvi::app
