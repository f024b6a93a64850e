// The archive commands against the window-less context: the listing on selection, LHA
// and general unpack, list and create, their messages, and the LHA items without the
// LHA library.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <map>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

#include "archive/archive_fixture.h"
#include "archive/archiver_library.h"
#include "archive/create.h"
#include "archive/listing.h"
#include "archive/lzh_writer.h"
#include "controllers/archive/archive_controller.h"
#include "dialogs/progress_dialog.h"
#include "fake_window.h"
#include "support/run_process.h"
#include "ui/shown_text.h"
#include "support/sjis.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetHeadless(true);  // warnings go to standard error, never a modal box
    w.dir.Write("shown/plain.exe", "MZ plain program");
    w.dir.Write("shown/note.txt", "a note");
    w.dir.Write("src/one.txt", "first file");
    w.dir.Write("src/two.txt", "second file");
    ASSERT_EQ(archive::CreateArchive(archive::CreateFormat::kLzh, (w.dir / "shown/box.lzh").string(),
                                     {"src"}, w.dir.path().string()).code, archive::kOk);
    ASSERT_EQ(archive::CreateArchive(archive::CreateFormat::kZip, (w.dir / "shown/box.zip").string(),
                                     {"src"}, w.dir.path().string()).code, archive::kOk);
    ctl.ChooseTarget = [this](const QString&) { return target; };
    ctl.AskName = [this](const QString&, const QString&, const std::string& section, const QString& initial) {
      asked_section = section;
      asked_initial = initial;
      return answer;
    };
  }
  void Select(const char* name) {
    w.Select(w.dir / "shown", QString::fromUtf8(name));
    w.calls.clear();
  }
  QString Q(const char* rel) const { return bridge::FromDisk((w.dir / rel).string()); }
  std::string PaneText() { return w.Pane().Text(); }

  test::FakeWindow w;
  ArchiveController ctl{w};
  std::optional<QString> target;
  std::optional<QString> answer;
  std::string asked_section;
  QString asked_initial;
};

TEST_F(ArchiveTest, TheListingShowsOnSelectionOnlyForLhaArchivesWhileSwitchedOn) {
  w.Actions().DeclareSwitch({"Mlhashow", "LHA書庫内容表示(&L)", ""});
  w.Actions().DeclareSwitch({"Mtodiropen", "", ""});
  Select("box.lzh");
  EXPECT_FALSE(ctl.PreviewSelection());  // switched off
  ctl.MlhashowClick();
  EXPECT_TRUE(w.Actions().Checked("Mlhashow"));
  EXPECT_TRUE(ctl.PreviewSelection());
  EXPECT_NE(PaneText().find("Listing of archive"), std::string::npos);
  EXPECT_NE(PaneText().find("src/two.txt"), std::string::npos);
  EXPECT_TRUE(w.InfoLine().text().startsWith("box.lzh"));
  EXPECT_TRUE(w.Called("folderinfo"));  // named as a file is: the folder's totals too
  EXPECT_TRUE(w.Text().SourcePath().empty());  // a listing is not the archive's text
  Select("plain.exe");
  EXPECT_FALSE(ctl.PreviewSelection());  // not an archive: shown as usual
  Select("box.zip");
  EXPECT_FALSE(ctl.PreviewSelection());
}

TEST_F(ArchiveTest, AListingLongerThanTheLibrarysBufferIsShownWhole) {
  std::string bytes;
  archive::LzhWriter lzh(bytes);
  std::string error;
  for (int i = 0; i < 1500; ++i) ASSERT_TRUE(lzh.AddFile("folder/file" + std::to_string(i) + ".txt", "x", 0, 0644, &error));
  lzh.Finish();
  w.dir.Write("shown/many.lzh", bytes);
  w.Actions().DeclareSwitch({"Mlhashow", "", ""});
  w.Actions().SetChecked("Mlhashow", true);
  Select("many.lzh");
  ASSERT_TRUE(ctl.PreviewSelection());
  EXPECT_GT(PaneText().size(), 65536u);
  EXPECT_NE(PaneText().find("  1500 files"), std::string::npos);
}

TEST_F(ArchiveTest, LhaUnpackWritesIntoTheTargetAndShowsTheReport) {
  w.Actions().DeclareSwitch({"Mtodiropen", "", ""});
  Select("box.lzh");
  target = Q("out");
  ctl.MlhaUClick();
  EXPECT_EQ(test::ReadFile(w.dir / "out/src/one.txt"), "first file");
  EXPECT_TRUE(w.Called("viewreset"));
  EXPECT_NE(PaneText().find(test::S("展開しました")), std::string::npos);
  EXPECT_TRUE(w.Flags().worktext.isEmpty());
  // Without folders.
  target = Q("flat");
  ctl.Mlha_EClick();
  EXPECT_EQ(test::ReadFile(w.dir / "flat/two.txt"), "second file");
  EXPECT_TRUE(w.Called("viewreselect"));
  // Cancel does nothing.
  target.reset();
  w.calls.clear();
  ctl.MlhaUClick();
  EXPECT_TRUE(w.calls.empty());
}

TEST_F(ArchiveTest, GeneralListingOfAZip) {
  Select("box.zip");
  ctl.MlhalistClick();  // not .LZH: the general listing
  const std::string text = PaneText();
  EXPECT_NE(text.find("Listing of archive : "), std::string::npos);
  EXPECT_NE(text.find("+ one.txt"), std::string::npos) << text;
  EXPECT_NE(text.find("     3 files"), std::string::npos) << text;  // the folder and its two files
}

TEST_F(ArchiveTest, GeneralUnpackShowsTheResultMessage) {
  Select("box.zip");
  target = Q("zout");
  ctl.Marcunpack1Click();
  EXPECT_EQ(test::ReadFile(w.dir / "zout/src/two.txt"), "second file");
  EXPECT_EQ(w.Flags().worktext, Q("zout"));
  // Again: the files are there, so they are kept and the code says so.
  ctl.Marcunpack1Click();
  EXPECT_NE(PaneText().find(test::S("ファイルは既に存在しています。")), std::string::npos) << PaneText();
  // A text file is no archive: nothing happens.
  Select("note.txt");
  w.Pane().SetText("kept");
  ctl.Marcunpack1Click();
  EXPECT_EQ(PaneText(), "kept");
}

TEST_F(ArchiveTest, CancelInTheProgressWindowStopsTheUnpackingAndWritesNothing) {
  // Enough entries that the progress window comes up before they are all written.
  std::vector<test::RawEntry> entries;
  for (int i = 0; i < 30000; ++i) entries.emplace_back("many/f" + std::to_string(i) + ".txt", std::string(700, 'x'));
  test::WriteRawArchive((w.dir / "shown/many.tar.gz").string(), entries, "ustar", "gzip");
  Select("many.tar.gz");
  target = Q("cout");
  QString shown;
  QTimer press;
  QObject::connect(&press, &QTimer::timeout, [&] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<dialogs::TForm24*>(top); window && window->isVisible()) {
        EXPECT_TRUE(window->BitBtn1->isVisible());
        shown = window->Ldump2->text();
        // Through the window system, as a click reaches it: the unpacking must let it in.
        const QPoint at = window->BitBtn1->mapTo(window, window->BitBtn1->rect().center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
      }
  });
  press.start(20);
  ctl.Marcunpack1Click();
  press.stop();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("%"))) << shown.toStdString();
  EXPECT_NE(PaneText().find(test::S("ユーザーによって処理を中断されました。")), std::string::npos) << PaneText();
  EXPECT_TRUE(test::TreeOf(w.dir / "cout").empty());
}

TEST_F(ArchiveTest, UnpackingIntoTheShownFolderGoesToTheCurrentDirectory) {
  // The window keeps the current directory on the shown folder; no destination is named.
  char before[4096];
  ASSERT_NE(getcwd(before, sizeof before), nullptr);
  ASSERT_EQ(chdir((w.dir / "shown").c_str()), 0);
  Select("box.zip");
  target = Q("shown");
  ctl.Marcunpack1Click();
  EXPECT_EQ(chdir(before), 0);
  EXPECT_EQ(test::ReadFile(w.dir / "shown/src/one.txt"), "first file");
}

TEST_F(ArchiveTest, LhaCreateNamesTheArchiveLzhAndReportsTheCount) {
  Select("note.txt");
  answer = QStringLiteral("data.txt");
  ctl.MlhaPClick();
  EXPECT_EQ(asked_section, "LHApack");
  EXPECT_EQ(asked_initial, QStringLiteral("note.lzh"));
  EXPECT_TRUE(std::filesystem::exists(w.dir / "shown/data.lzh"));
  EXPECT_TRUE(w.InfoLine().text().endsWith(QStringLiteral("   1個のファイル")));
  const archive::Listing l = archive::ListArchive((w.dir / "shown/data.lzh").string());
  ASSERT_EQ(l.entries.size(), 1u);
  EXPECT_EQ(l.entries[0].name, "note.txt");
}

TEST_F(ArchiveTest, GeneralCreateReplacesAnOldArchiveOnlyWhenMade) {
  Select("note.txt");
  w.dir.Write("shown/x.zip", "old contents");
  answer = QStringLiteral("x.zip");
  ctl.MarcmakeClick();
  EXPECT_EQ(asked_section, "ARCpack");
  EXPECT_NE(PaneText().find("Result code = 0"), std::string::npos) << PaneText();
  const archive::Listing l = archive::ListArchive((w.dir / "shown/x.zip").string());
  ASSERT_TRUE(l.ok) << l.error;
  ASSERT_EQ(l.entries.size(), 1u);
  EXPECT_EQ(l.entries[0].name, "note.txt");
  // No temporary file is left in the folder.
  for (const auto& e : std::filesystem::directory_iterator(w.dir / "shown"))
    EXPECT_EQ(e.path().filename().string().rfind(".haruvi", 0), std::string::npos);
}

// Archives as people make them, unpacked and listed from the window: Windows names with
// a 0x5C second byte, GNU tar's "./", 7z and xz, a cut ZIP, an entry past 4 GiB.
class EverydayArchiveTest : public ArchiveTest {
 protected:
  void Shell(const std::string& line) {
    const test::ProcessResult r =
        test::RunProcess("/usr/bin/bash", {"-c", "cd '" + (w.dir / "src").string() + "' && " + line});
    ASSERT_EQ(r.exit_code, 0) << line << "\n" << r.err;
  }
  // Unpacks the shown archive `name` through "解凍" into a new folder; its files.
  std::map<std::string, std::string> UnpackShown(const char* name, const char* into) {
    Select(name);
    target = Q(into);
    ctl.Marcunpack1Click();
    std::map<std::string, std::string> files;
    for (const std::string& rel : test::TreeOf(w.dir / into))
      if (std::filesystem::is_regular_file(w.dir / into / rel)) files[rel] = test::ReadFile(w.dir / into / rel);
    return files;
  }
};

TEST_F(EverydayArchiveTest, WindowsNamesOfArjAndLzhKeepEachCharacterWhole) {
  w.Actions().DeclareSwitch({"Mtodiropen", "", ""});
  const std::string hyo = "\x95\x5c", so_no = "\x83\x5c\x94\x5c";
  w.dir.Write("src/" + hyo + "/" + so_no + ".txt", "so-no");
  Shell("/usr/bin/arj a -r -y ../shown/win.arj '" + hyo + "' >/dev/null");
  EXPECT_EQ(UnpackShown("win.arj", "arj"), (std::map<std::string, std::string>{{"表/ソ能.txt", "so-no"}}));
  w.dir.Write("shown/win.lzh", test::LzhOfLevel(0, {{hyo + "\\" + so_no + ".txt", "so-no"}}));
  Select("win.lzh");
  target = Q("lzh");
  ctl.MlhaUClick();
  EXPECT_EQ(test::ReadFile(w.dir / "lzh/表/ソ能.txt"), "so-no");
  ctl.Marclist1Click();
  EXPECT_NE(PaneText().find(test::S("表/ソ能.txt")), std::string::npos) << PaneText();
}

TEST_F(EverydayArchiveTest, TarOfDotSevenZipAndXzUnpackFromTheWindow) {
  const std::map<std::string, std::string> want = {{"one.txt", "first file"}, {"two.txt", "second file"}};
  Shell("/usr/bin/tar czf ../shown/backup.tgz .");
  EXPECT_EQ(UnpackShown("backup.tgz", "tgz"), want);
  EXPECT_EQ(PaneText().find(test::S("外を指しています")), std::string::npos) << PaneText();
  EXPECT_EQ(PaneText().find(test::S("ユーザーによって")), std::string::npos) << PaneText();
  EXPECT_NE(PaneText().find(test::S(" : 2 個のファイルを展開しました")), std::string::npos) << PaneText();
  Shell("/usr/bin/7z a -bd ../shown/box.7z . >/dev/null");
  EXPECT_EQ(UnpackShown("box.7z", "7z"), want);
  Shell("/usr/bin/tar cJf ../shown/box.tar.xz one.txt two.txt");
  EXPECT_EQ(UnpackShown("box.tar.xz", "xz"), want);
}

TEST_F(EverydayArchiveTest, UnpackingOverwritesOnlyWhenAsked) {
  w.dir.Write("over/src/one.txt", "older");
  EXPECT_EQ(UnpackShown("box.zip", "over").at("src/one.txt"), "older");
  EXPECT_NE(PaneText().find(test::S("既に存在するため展開しませんでした")), std::string::npos) << PaneText();
  EXPECT_NE(PaneText().find(test::S(" : 1 個のファイルを展開しました")), std::string::npos) << PaneText();
  ctl.UnpackOverwrites = true;
  EXPECT_EQ(UnpackShown("box.zip", "over").at("src/one.txt"), "first file");
  // The tar library takes the wish too.
  Shell("/usr/bin/tar cf ../shown/box.tar one.txt");
  w.dir.Write("over/one.txt", "older");
  EXPECT_EQ(UnpackShown("box.tar", "over").at("one.txt"), "first file");
}

TEST_F(EverydayArchiveTest, LhaUnpackWithARefusedEntryShowsWhatItWroteAndWhy) {
  w.Actions().DeclareSwitch({"Mtodiropen", "", ""});
  std::string bytes;
  archive::LzhWriter lzh(bytes);
  std::string error;
  ASSERT_TRUE(lzh.AddFile("../evil.txt", "e", 0, 0644, &error));
  ASSERT_TRUE(lzh.AddFile("good.txt", "g", 0, 0644, &error));
  lzh.Finish();
  w.dir.Write("shown/mixed.lzh", bytes);
  Select("mixed.lzh");
  target = Q("lha");
  ctl.MlhaUClick();
  EXPECT_EQ(test::ReadFile(w.dir / "lha/good.txt"), "g");
  const std::string text = PaneText();
  EXPECT_NE(text.find(test::S("展開しなかった項目があります。")), std::string::npos) << text;
  EXPECT_NE(text.find(test::S("../evil.txt : 展開先フォルダーの外を指しています")), std::string::npos) << text;
  EXPECT_NE(text.find("good.txt\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find(test::S("ユーザーによって")), std::string::npos) << text;
}

TEST_F(EverydayArchiveTest, ACutZipListsWhatWasReadAndEndsWithTheDamage) {
  for (int i = 0; i < 9; ++i) w.dir.Write("src/f" + std::to_string(i) + ".txt", std::string(3000, 'a' + i));
  Shell("/usr/bin/zip -q -0 ../whole.zip f*.txt");
  const std::string bytes = test::ReadFile(w.dir / "whole.zip");
  w.dir.Write("shown/cut.zip", bytes.substr(0, bytes.size() * 6 / 10));
  Select("cut.zip");
  ctl.Marclist1Click();
  const std::string text = PaneText();
  EXPECT_NE(text.find("f0.txt"), std::string::npos) << text;
  EXPECT_EQ(text.find("f8.txt"), std::string::npos) << text;
  EXPECT_NE(text.find(test::S("読めた所までの項目を表示しました。")), std::string::npos) << text;
  // Unpacking it keeps the whole files and says what it could not read.
  target = Q("cut");
  ctl.Marcunpack1Click();
  EXPECT_EQ(test::ReadFile(w.dir / "cut/f0.txt"), std::string(3000, 'a'));
  EXPECT_NE(PaneText().find(test::S("壊れている所より前の項目は展開しました。")), std::string::npos) << PaneText();
}

TEST_F(EverydayArchiveTest, AnEntryPastFourGibibytesListsItsWholeSize) {
  // A tar header for a file of 5 GiB, its data cut short.
  std::string h(512, '\0');
  const auto field = [&h](std::size_t at, const std::string& v) { h.replace(at, v.size(), v); };
  field(0, "huge.bin");
  field(100, "0000644");
  field(124, "50000000000");  // 5 GiB in octal
  field(136, "14000000000");
  field(156, "0");
  field(257, std::string("ustar\0" "00", 8));
  field(148, "        ");
  unsigned sum = 0;
  for (const char c : h) sum += static_cast<unsigned char>(c);
  char octal[8];
  std::snprintf(octal, sizeof octal, "%06o", sum);
  field(148, std::string(octal, 6) + std::string("\0 ", 2));
  w.dir.Write("shown/huge.tar", h + std::string(4096, 'z'));
  Select("huge.tar");
  ctl.Marclist1Click();
  EXPECT_NE(PaneText().find("5368709120"), std::string::npos) << PaneText();
  EXPECT_EQ(PaneText().find("4294967295"), std::string::npos) << PaneText();
}

TEST(ArchiveWithoutLha, TheLhaItemsAreDisabledAndThePreviewStepsAside) {
  ui::SetHeadless(true);
  test::TempDir empty;
  archive::SetArchiverFolder(empty.path().string());
  {
    test::FakeWindow w;
    w.Actions().DeclareSwitch({"Mlhashow", "", ""});
    ArchiveController ctl{w};
    EXPECT_EQ(ctl.LhaVersion(), 0u);
    for (const char* item : {"MlhaU", "MlhaP", "Mlhalist", "Mlhacommand"}) EXPECT_FALSE(w.Actions().Get(item)->isEnabled());
    EXPECT_TRUE(w.Actions().Get("Marcunpack1")->isEnabled());
    w.Actions().SetChecked("Mlhashow", true);
    w.dir.Write("f/a.lzh", "whatever");
    w.Select(w.dir / "f", "a.lzh");
    EXPECT_FALSE(ctl.PreviewSelection());
    // The general list meets the missing library's message (shown as a warning).
    w.calls.clear();
    ctl.Marclist1Click();
    EXPECT_TRUE(w.calls.empty());
  }
  archive::SetArchiverFolder("");
}

}  // namespace
}  // namespace haruvi::controllers
