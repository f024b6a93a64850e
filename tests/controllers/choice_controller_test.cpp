// The choice commands against a window-less context: the extension mask and its history,
// a typed folder (a file's folder with the file selected, a missing one said on the status
// bar), the jump's way back, and the prompt's history rules through the dialog itself.
#include "controllers/choice/choice_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include "fake_window.h"
#include "platform/history.h"
#include "ui/prompt_dialog.h"

namespace haruvi::controllers {
namespace {

// Answers the next modal prompt with `text` (OK), or cancels it when `text` is null.
void AnswerNextPrompt(const char* text) {
  QTimer::singleShot(0, [text] {
    auto* dialog = qobject_cast<ui::TForm33*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    if (!text) {
      dialog->reject();
      return;
    }
    dialog->ComboBox1->setEditText(QString::fromUtf8(text));
    dialog->accept();
  });
}

class ChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.dir.Write("f/a.txt", "a");
    w.dir.Write("f/b.bmp", "b");
    w.dir.Write("f/c.doc", "c");
    w.dir.Write("g/sub/d.txt", "d");
    w.MoveToFolder(Q("f"));
    w.calls.clear();
  }
  QString Q(const char* rel) const { return QString::fromStdString((w.dir / rel).string()); }
  test::FakeWindow w;
  ChoiceController choice{w};
};

TEST_F(ChoiceTest, TheMaskLimitsTheListShowsItselfAndIsRemembered) {
  AnswerNextPrompt("txt;bmp");
  w.Actions().Trigger("Mmask");
  EXPECT_EQ(w.Files().Captions(), (QStringList{"a.txt", "b.bmp"}));
  EXPECT_TRUE(w.Actions().Checked("Mmask"));
  EXPECT_EQ(w.TextStatus().Text(6), " 拡張子: txt;bmp ");
  EXPECT_EQ(platform::LoadHistory(w.Settings().File(), "Ext"), (std::vector<std::string>{"txt;bmp"}));
  AnswerNextPrompt(nullptr);  // Cancel changes nothing
  w.Actions().Trigger("Mmask");
  EXPECT_TRUE(w.Actions().Checked("Mmask"));
  EXPECT_EQ(w.Files().Count(), 2);
  AnswerNextPrompt("*");  // every file again
  w.Actions().Trigger("Mmask");
  EXPECT_EQ(w.Files().Count(), 3);
  EXPECT_FALSE(w.Actions().Checked("Mmask"));
  EXPECT_EQ(w.TextStatus().Text(6), "");
  EXPECT_EQ(platform::LoadHistory(w.Settings().File(), "Ext"), (std::vector<std::string>{"*", "txt;bmp"}));
}

TEST_F(ChoiceTest, MaskAnswers) {
  EXPECT_TRUE(ChoiceController::MaskOfAnswer("").empty());
  EXPECT_TRUE(ChoiceController::MaskOfAnswer("*").empty());
  EXPECT_EQ(ChoiceController::MaskOfAnswer("txt;bmp"), (std::vector<std::string>{".TXT", ".BMP"}));
}

TEST_F(ChoiceTest, ATypedFileOpensItsFolderWithTheFileSelected) {
  const std::string file = (w.dir / "g/sub/d.txt").string();
  AnswerNextPrompt(file.c_str());
  w.Actions().Trigger("Mfolderm");
  EXPECT_EQ(w.CurrentFolder(), Q("g/sub"));
  EXPECT_EQ(w.SelectedPath(), Q("g/sub/d.txt"));
  EXPECT_TRUE(w.Called("folderinfo"));
  EXPECT_EQ(platform::LoadHistory(w.Settings().File(), "FolderSet").front(), file);
}

TEST_F(ChoiceTest, AMissingFolderIsSaidAndTheViewsStay) {
  AnswerNextPrompt("no/such/folder");
  w.Actions().Trigger("Mfolderm");
  EXPECT_EQ(w.CurrentFolder(), Q("f"));
  EXPECT_TRUE(w.Status().Text(4).contains("no/such/folder"));
}

TEST_F(ChoiceTest, AFailedJumpGoesBackAndTheViewsShowFilesAgain) {
  EXPECT_FALSE(choice.Jump(Q("f/a.txt"), Q("f")));  // a file is no folder to go to
  EXPECT_EQ(w.CurrentFolder(), Q("f"));
  EXPECT_EQ(w.Flags().viewenabled, 1);
  EXPECT_TRUE(choice.Jump(Q("g"), Q("f")));
  EXPECT_EQ(w.SelectedPath(), Q("g/sub"));  // the first item selected
}

}  // namespace
}  // namespace haruvi::controllers
