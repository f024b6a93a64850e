// Saving the pane: byte for byte what it holds, rich text by the name, the backup when
// checked, "上書き保存" over the selected file, and a failure said without losing the text.
#include "controllers/save/save_controller.h"

#include <gtest/gtest.h>

#include <random>

#include "controllers/options/options_controller.h"
#include "encoding/unicode_convert.h"
#include "fake_window.h"
#include "ui/messages.h"
#include "ui/shown_text.h"
#include "viewer/file_display.h"
#include "viewer/rtf_reader.h"

namespace haruvi::controllers {
namespace {

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.initset();  // backups on, as by default
    w.dir.Write("f/memo.txt", "old text");
    w.MoveToFolder(Q("f"));
    ui::SetHeadless(true);
  }
  void TearDown() override {
    ui::SetHeadless(false);
    SaveController::ask_name = nullptr;
    SaveController::ask_form = nullptr;
  }
  QString Q(const char* rel) const { return QString::fromStdString((w.dir / rel).string()); }
  test::FakeWindow w;
  OptionsController options{w};
  SaveController save{w};
};

TEST_F(SaveTest, OverwriteWritesThePaneBytesAndKeepsTheOldAsBackup) {
  w.Files().SelectByCaption("memo.txt");
  w.Pane().SetText(std::string("\x93\xfa\x96\x7b\r\nline\r\n"));
  w.Actions().Trigger("MToversave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/memo.txt"), "\x93\xfa\x96\x7b\r\nline\r\n");
  EXPECT_EQ(test::ReadFile(w.dir / "f/memo.$$$"), "old text");
  EXPECT_TRUE(w.Called("viewreselect"));
  w.Actions().Trigger("Mbackup1");  // off
  w.Pane().SetText(std::string("newer"));
  w.Actions().Trigger("MToversave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/memo.$$$"), "old text");
}

TEST_F(SaveTest, ABigFileStillBeingReadIsSavedWholeNeverItsBeginning) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i) + "\n";
  w.dir.Write("f/big.txt", text);
  w.Files().Fill();
  w.Files().SelectByCaption("big.txt");
  const std::string path = (w.dir / "f/big.txt").string();
  viewer::DisplaySettings settings;
  settings.preview_bytes = 512;
  viewer::FileDisplay shown = viewer::ShowFile(path, settings);
  ASSERT_TRUE(shown.preview);
  ASSERT_TRUE(w.Text().ShowFile(shown, path, ui::TextOrigin::File));
  w.Actions().Trigger("MToversave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/big.txt"), text);
}

TEST_F(SaveTest, AnUneditedPaneSavesTheBytesItWasGivenWhateverTheyAre) {
  std::mt19937 rng(5);
  for (int round = 0; round < 20; ++round) {
    w.Files().SelectByCaption("memo.txt");  // the list is filled anew after a save with a backup
    std::string bytes(1 + rng() % 3000, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 4 == 0 ? "\r\n\x82\xff"[rng() % 4] : rng() & 0xFF);
    w.Pane().SetText(bytes);
    if (round % 2) {
      // Through simple edit and back, once with an edit undone.
      w.Pane().SetReadOnly(false);
      if (round % 4 == 1) {
        w.Pane().Type(QStringLiteral("typed"));
        w.Pane().Undo();
      }
      w.Pane().SetReadOnly(true);
    }
    w.Actions().Trigger("MToversave1");
    ASSERT_EQ(test::ReadFile(w.dir / "f/memo.txt"), bytes) << "round " << round;
  }
}

TEST_F(SaveTest, NothingSelectedIsSaidAndNothingWritten) {
  w.Pane().SetText(std::string("x"));
  w.Actions().Trigger("MToversave1");
  EXPECT_TRUE(w.Status().Text(4).contains("選択されていません"));
}

TEST_F(SaveTest, SaveAsByExtensionAndRemembered) {
  w.Pane().SetText(std::string("\x93\xfa\x96\x7b\r\n{x}"));
  SaveController::ask_name = [&](QWidget*, const QString&, const QString& name) {
    EXPECT_TRUE(name.isEmpty());
    return Q("f/out.rtf");
  };
  w.Actions().Trigger("MTsave1");
  auto doc = viewer::ReadRtf(test::ReadFile(w.dir / "f/out.rtf"));
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->PlainText(), u"日本\n{x}");
  EXPECT_TRUE(w.Pane().PlainTextMode());  // the pane's own mode is untouched
  EXPECT_EQ(w.Settings().File().ReadString("File", "Save", ""), "out.rtf");
  SaveController::ask_name = [&](QWidget*, const QString&, const QString&) { return Q("f/plain.log"); };
  w.Actions().Trigger("MTsave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/plain.log"), "\x93\xfa\x96\x7b\r\n{x}");  // the pane's mode: plain
  SaveController::ask_name = [](QWidget*, const QString&, const QString&) { return QString(); };  // Cancel
  w.calls.clear();
  w.Actions().Trigger("MTsave1");
  EXPECT_FALSE(w.Called("viewreset"));
}

TEST_F(SaveTest, ATextKeepsItsFormUnlessAnotherCodeIsPicked) {
  const std::string utf16 = std::string("\xFF\xFE" "B0\r\0\n\0", 8);  // あ
  w.dir.Write("f/u16.txt", utf16);
  w.Files().SelectByCaption("u16.txt");
  w.Pane().SetText(encoding::Utf16ToPaneUtf8(utf16, true), encoding::TextForm::Utf16Le);
  w.Actions().Trigger("MToversave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/u16.txt"), utf16);  // byte for byte in its own form
  // Picked beside the name: Shift_JIS (what it lacks becomes "〓"), UTF-8 with its mark.
  w.Pane().SetText(std::string("\xE3\x81\x82\xF0\x9F\x98\x80\r\n"), encoding::TextForm::Utf8);
  SaveController::ask_name = [&](QWidget*, const QString&, const QString&) { return Q("f/sjis.txt"); };
  SaveController::ask_form = [] { return encoding::TextForm::Legacy; };
  w.Actions().Trigger("MTsave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/sjis.txt"), "\x82\xA0\x81\xAC\r\n");
  w.Pane().SetText(std::string("\x82\xA0\r\n"));
  SaveController::ask_name = [&](QWidget*, const QString&, const QString&) { return Q("f/bom.txt"); };
  SaveController::ask_form = [] { return encoding::TextForm::Utf8Bom; };
  w.Actions().Trigger("MTsave1");
  EXPECT_EQ(test::ReadFile(w.dir / "f/bom.txt"), "\xEF\xBB\xBF\xE3\x81\x82\r\n");
}

TEST_F(SaveTest, AFailedSaveKeepsTheTextAndTheFile) {
  w.Files().SelectByCaption("memo.txt");
  w.Pane().SetText(std::string("precious"));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(save.SaveTo(Q("f/memo.txt/not-a-folder")));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("保存できませんでした"), std::string::npos);
  EXPECT_EQ(w.Pane().Bytes(), "precious");
  EXPECT_EQ(test::ReadFile(w.dir / "f/memo.txt"), "old text");
}

}  // namespace
}  // namespace haruvi::controllers
