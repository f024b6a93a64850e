// Saving the pane: byte for byte what it holds, rich text by the name, the backup when
// checked, "上書き保存" over the selected file, and a failure said without losing the text.
#include "controllers/save/save_controller.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QTimer>
#include <random>

#include "controllers/options/options_controller.h"
#include "dialogs/file_name_dialog.h"
#include "shellview/path_edit.h"
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
    // These tests put text in the pane by hand; the question of a text that is not the
    // file's own is answered in its own tests.
    SaveController::ask_over = [](const QString&) { return SaveController::OverAnswer::Overwrite; };
    w.dir.Write("f/memo.txt", "old text");
    w.MoveToFolder(Q("f"));
    ui::SetHeadless(true);
  }
  void TearDown() override {
    ui::SetHeadless(false);
    SaveController::ask_name = nullptr;
    SaveController::ask_form = nullptr;
    SaveController::ask_over = nullptr;
    dialogs::FileNameDialog::confirm_overwrite = nullptr;
  }
  // Shows `path` in the pane as selecting it does.
  void ShowAsSelected(const std::filesystem::path& path) {
    viewer::FileDisplay shown = viewer::ShowFile(path.string(), viewer::DisplaySettings{});
    ASSERT_TRUE(w.Text().ShowFile(shown, path.string(), ui::TextOrigin::File));
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

TEST_F(SaveTest, SavingOverAFileWhoseTextIsNotShownAsksNamingBoth) {
  const std::string sjis_name = "\x93\xfa\x96\x7b.txt";  // 日本.txt in Shift_JIS bytes
  w.dir.Write("f/" + sjis_name, "the file");
  w.dir.Write("f/other.txt", "other file");
  w.Files().Fill();
  std::vector<QString> asked;
  auto answer = SaveController::OverAnswer::Cancel;
  SaveController::ask_over = [&](const QString& q) {
    asked.push_back(q);
    return answer;
  };
  // A grep-like report shown after the file: the selected file keeps its bytes on Cancel.
  w.Files().SelectByCaption(bridge::FromDisk(sjis_name));
  ShowAsSelected(w.dir / ("f/" + sjis_name));
  w.Text().BeginReport("report line\r\n", encoding::TextForm::Legacy);
  w.Actions().Trigger("MToversave1");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].contains(QStringLiteral("ファイルの内容ではありません")));
  EXPECT_TRUE(asked[0].contains(QStringLiteral("日本.txt")));  // the selected file by the name shown
  EXPECT_EQ(test::ReadFile(w.dir / ("f/" + sjis_name)), "the file");
  // Another file's text: the question names where it came from; "名前を付けて保存" goes there.
  ShowAsSelected(w.dir / "f/other.txt");
  answer = SaveController::OverAnswer::SaveAs;
  SaveController::ask_name = [&](QWidget*, const QString&, const QString&) { return Q("f/copy.txt"); };
  w.Actions().Trigger("MToversave1");
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_TRUE(asked[1].contains(QStringLiteral("other.txt")));
  EXPECT_EQ(test::ReadFile(w.dir / "f/copy.txt"), "other file");
  EXPECT_EQ(test::ReadFile(w.dir / ("f/" + sjis_name)), "the file");
  // The file's own text, changed by a command, is saved over it without a question.
  w.Files().SelectByCaption(bridge::FromDisk(sjis_name));
  ShowAsSelected(w.dir / ("f/" + sjis_name));
  w.Text().Replace("changed");
  w.Actions().Trigger("MToversave1");
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(test::ReadFile(w.dir / ("f/" + sjis_name)), "changed");
}

TEST_F(SaveTest, TheNameDialogKeepsAShiftJisNameAndAsksBeforeSavingOverIt) {
  const std::string sjis_name = "\x93\xfa\x96\x7b.txt";
  w.dir.Write("g/" + sjis_name, "the file");
  const QString folder = bridge::FromDisk((w.dir / "g").string());
  const QString name = bridge::FromDisk(sjis_name);
  int asked = 0;
  bool overwrite = false;
  dialogs::FileNameDialog::confirm_overwrite = [&](QWidget*, const QString&) {
    ++asked;
    return overwrite;
  };
  for (bool answer : {false, true}) {
    overwrite = answer;
    dialogs::FileNameDialog dialog(dialogs::FileNameDialog::Mode::Save, QStringLiteral("保存"));
    dialog.SetFilters({QStringLiteral("テキスト (*.txt)")}, QStringLiteral("txt"));
    dialog.SetStart(folder, name);
    auto* edit = dialog.findChild<shellview::PathEdit*>(QStringLiteral("Name"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), QStringLiteral("日本.txt"));  // shown as Shift_JIS, never as stray bytes
    auto* files = dialog.findChild<QListWidget*>(QStringLiteral("Files"));
    ASSERT_EQ(files->count(), 1);  // the file is listed, by its name as shown
    EXPECT_EQ(files->item(0)->text(), QStringLiteral("日本.txt"));
    dialog.accept();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, answer);
    if (answer) {
      EXPECT_EQ(bridge::ToDisk(dialog.Path()), (w.dir / ("g/" + sjis_name)).string());
    }
  }
  EXPECT_EQ(asked, 2);
  // A typed name is the user's own: a new file, with the default suffix, and no question.
  dialogs::FileNameDialog dialog(dialogs::FileNameDialog::Mode::Save, QStringLiteral("保存"));
  dialog.SetFilters({QStringLiteral("テキスト (*.txt)")}, QStringLiteral("txt"));
  dialog.SetStart(folder, name);
  dialog.findChild<shellview::PathEdit*>(QStringLiteral("Name"))->setText(QStringLiteral("新しい"));
  dialog.accept();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(bridge::ToDisk(dialog.Path()), (w.dir / "g/新しい.txt").string());
}

}  // namespace
}  // namespace haruvi::controllers
