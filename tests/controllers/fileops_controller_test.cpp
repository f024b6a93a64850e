// The file commands against a window-less context: copy and move with the target dialog's
// answer, the missing-folder question, delete to the trash and for good, rename never over
// a name, duplicate byte for byte, attributes, make folder, format refused, drops, saved
// name lists, split and merge; and the dialogs' own rules (history, preview, order).
#include "controllers/fileops/fileops_controller.h"

#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "controllers/fileops/op_runner.h"
#include "controllers/fileops/split_dialogs.h"
#include "controllers/layout/layout_controller.h"
#include "controllers/options/options_controller.h"
#include "dialogs/target_dialog.h"
#include "fake_window.h"
#include "shellview/file_view.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

using test::ReadFile;
namespace fs = std::filesystem;

class FileOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.initset();  // "処理後確認表示" on, "処理先フォルダー表示" off
    layout.initset();
    w.dir.Write("f/a.txt", "aaa");
    w.dir.Write("f/b.txt", "bbb");
    fs::create_directories(w.dir / "g");
    ui::SetHeadless(true);
    ::setenv("XDG_DATA_HOME", (w.dir / "data").c_str(), 1);
    w.Select(w.dir / "f", "a.txt");
  }
  void TearDown() override {
    ui::SetHeadless(false);
    FileOpsController::prompts = {};
    OpRunner::ask_create = nullptr;
    OpRunner::ask_conflict = nullptr;
    ::unsetenv("XDG_DATA_HOME");
  }
  QString Q(const char* rel) const { return QString::fromStdString((w.dir / rel).string()); }
  // Adds the items of these names to the list's selection, as a Ctrl+click does.
  void SelectAlso(std::initializer_list<const char*> names) {
    QAbstractItemView* view = w.Files().CurrentView();
    for (const char* n : names) {
      for (int r = 0; r < view->model()->rowCount(); ++r) {
        const QModelIndex i = view->model()->index(r, 0);
        if (i.data().toString() == QString::fromUtf8(n))
          view->selectionModel()->select(i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
      }
    }
  }
  void SelectBoth() { SelectAlso({"b.txt"}); }
  // Runs a command and returns what it said (headless messages go to standard error).
  std::string Said(const char* action) {
    testing::internal::CaptureStderr();
    w.Actions().Trigger(action);
    return testing::internal::GetCapturedStderr();
  }
  test::FakeWindow w;
  OptionsController options{w};
  LayoutController layout{w};
  FileOpsController ops{w};
};

TEST_F(FileOpsTest, CopyTwoFilesSaysTheCountAndCopiesToTheChosenFolder) {
  SelectBoth();
  ASSERT_EQ(w.Files().SelectedCount(), 2);
  QStringList shown;
  FileOpsController::prompts.target = [&](dialogs::TForm2::Operation op, const QStringList& sources) {
    EXPECT_EQ(op, dialogs::TForm2::kCopy);
    shown = sources;
    return std::optional<QString>(Q("g"));
  };
  EXPECT_NE(Said("Mfilecopy").find("2個のファイルをコピーしました。"), std::string::npos);
  EXPECT_EQ(shown.size(), 2);
  EXPECT_EQ(ReadFile(w.dir / "g/a.txt"), "aaa");
  EXPECT_EQ(ReadFile(w.dir / "g/b.txt"), "bbb");
  EXPECT_TRUE(w.Called("viewreset"));
  EXPECT_TRUE(w.Called("viewreselect"));
  EXPECT_TRUE(ops.SHFOP1().FromFFList.empty());
  EXPECT_TRUE(ops.SHFOP1().ToFolder.empty());
  // Onto the current folder: nothing copied, the failure said.
  FileOpsController::prompts.target = [&](auto, auto&) { return std::optional<QString>(Q("f")); };
  EXPECT_NE(Said("Mfilecopy").find("コピーできませんでした。"), std::string::npos);
  // Cancel in the dialog: nothing at all.
  FileOpsController::prompts.target = [](auto, auto&) { return std::optional<QString>(); };
  w.calls.clear();
  EXPECT_EQ(Said("Mfilecopy"), "");
  EXPECT_FALSE(w.Called("viewreset"));
}

TEST_F(FileOpsTest, AMissingTargetIsAskedAboutAndCancelCopiesNothing) {
  QString asked;
  OpRunner::ask_create = [&](const QString& folder) {
    asked = folder;
    return false;
  };
  FileOpsController::prompts.target = [&](auto, auto&) { return std::optional<QString>(Q("new/deeper")); };
  EXPECT_NE(Said("Mfilecopy").find("コピーできませんでした。"), std::string::npos);
  EXPECT_EQ(asked, Q("new/deeper"));
  EXPECT_FALSE(fs::exists(w.dir / "new"));
  OpRunner::ask_create = [](const QString&) { return true; };
  EXPECT_NE(Said("Mfilecopy").find("1個のファイルをコピーしました。"), std::string::npos);
  EXPECT_EQ(ReadFile(w.dir / "new/deeper/a.txt"), "aaa");
}

TEST_F(FileOpsTest, ConflictsAreAskedWithBothSides) {
  w.dir.Write("g/a.txt", "older");
  std::vector<fileops::Conflict> seen;
  int targets_asked = 0;
  OpRunner::ask_conflict = [&](const fileops::Conflict& c) {
    seen.push_back(c);
    // The window is live while the move works: another command waits its turn.
    w.Actions().Trigger("Mfilecopy");
    ops.DropFiles({Q("g/a.txt")});
    QCloseEvent close;
    QCoreApplication::sendEvent(w.Window(), &close);
    EXPECT_FALSE(close.isAccepted());  // the window stays until the work is done
    return fileops::ConflictAnswer{fileops::ConflictChoice::Skip, false};
  };
  FileOpsController::prompts.target = [&](auto, auto&) {
    ++targets_asked;
    return std::optional<QString>(Q("g"));
  };
  w.Actions().Trigger("Mdragdrop1");
  Said("Mfilemove");
  EXPECT_EQ(targets_asked, 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].target.size, 5u);
  EXPECT_EQ(ReadFile(w.dir / "g/a.txt"), "older");
  EXPECT_EQ(ReadFile(w.dir / "f/a.txt"), "aaa");  // skipped: still here
  const QString text = ConflictText(seen[0]);
  EXPECT_TRUE(text.contains(QStringLiteral("5 byte"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("3 byte"))) << text.toStdString();
}

// Tried as a user would: Japanese-named files copied with a name already there (kept
// beside under a new name), moved in from a memory file system, and sent to the trash,
// whose record lets a desktop put the file back where it was.
TEST_F(FileOpsTest, JapaneseNamesCopiedMovedAcrossFileSystemsTrashedAndRestored) {
  w.dir.Write("f/日本語メモ.txt", "メモ");
  w.dir.Write("g/日本語メモ.txt", "old");
  OpRunner::ask_conflict = [](const fileops::Conflict&) {
    return fileops::ConflictAnswer{fileops::ConflictChoice::Rename, false};
  };
  FileOpsController::prompts.target = [&](auto, auto&) { return std::optional<QString>(Q("g")); };
  w.Select(w.dir / "f", "日本語メモ.txt");
  Said("Mfilecopy");
  EXPECT_EQ(ReadFile(w.dir / "g/日本語メモ.txt"), "old");
  EXPECT_EQ(ReadFile(w.dir / "g/日本語メモ (2).txt"), "メモ");

  // From memory (tmpfs) to the disk: the copy lands whole and then the source goes.
  test::TempDir shm("/dev/shm");
  const std::string from = (shm / "一時.txt").string();
  shm.Write("一時.txt", std::string(100000, 'x'));
  w.Select(shm.path(), "一時.txt");
  Said("Mfilemove");
  EXPECT_FALSE(fs::exists(from));
  EXPECT_EQ(ReadFile(w.dir / "g/一時.txt"), std::string(100000, 'x'));

  // To the trash, and back as the desktop restores: the record's Path, percent-decoded.
  FileOpsController::prompts.confirm = [](const QString&) { return true; };
  w.Select(w.dir / "g", "一時.txt");
  Said("Mfiledelete");
  const std::string info = ReadFile(w.dir / "data/Trash/info/一時.txt.trashinfo");
  const std::size_t at = info.find("Path=");
  ASSERT_NE(at, std::string::npos) << info;
  const std::string encoded = info.substr(at + 5, info.find('\n', at) - at - 5);
  const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(QByteArray::fromStdString(encoded)));
  EXPECT_EQ(path.toStdString(), (w.dir / "g/一時.txt").string());
  fs::rename(w.dir / "data/Trash/files/一時.txt", path.toStdString());
  EXPECT_EQ(ReadFile(w.dir / "g/一時.txt"), std::string(100000, 'x'));
}

TEST_F(FileOpsTest, AFolderInTheSelectionIsCopiedWholeAndATildeTargetIsTheHomeFolders) {
  w.dir.Write("f/sub/inner.txt", "in");
  w.Files().Fill();
  w.Files().SelectByCaption(QStringLiteral("sub"));  // the folder is the current item
  SelectAlso({"a.txt"});
  ASSERT_EQ(w.Files().SelectedCount(), 2);
  const QByteArray home = qgetenv("HOME");
  ::setenv("HOME", (w.dir / "home").c_str(), 1);
  fs::create_directories(w.dir / "home/docs");
  FileOpsController::prompts.target = [](auto, auto&) { return std::optional<QString>(QStringLiteral("~/docs")); };
  const std::string said = Said("Mfilecopy");
  ::setenv("HOME", home.constData(), 1);
  EXPECT_NE(said.find("2個のファイルをコピーしました。"), std::string::npos) << said;
  EXPECT_EQ(ReadFile(w.dir / "home/docs/sub/inner.txt"), "in");
  EXPECT_EQ(ReadFile(w.dir / "home/docs/a.txt"), "aaa");
  EXPECT_FALSE(fs::exists(w.dir / "f/~"));  // never a folder named "~"
  // Moved the same way.
  w.Files().Fill();
  w.Files().SelectByCaption(QStringLiteral("sub"));
  FileOpsController::prompts.target = [this](auto, auto&) { return std::optional<QString>(Q("g")); };
  Said("Mfilemove");
  EXPECT_EQ(ReadFile(w.dir / "g/sub/inner.txt"), "in");
  EXPECT_FALSE(fs::exists(w.dir / "f/sub"));
}

TEST_F(FileOpsTest, MoveFollowsTheTargetWhenAsked) {
  w.Actions().Trigger("Mtodiropen");  // on
  FileOpsController::prompts.target = [&](dialogs::TForm2::Operation op, auto&) {
    EXPECT_EQ(op, dialogs::TForm2::kMove);
    return std::optional<QString>(Q("g"));
  };
  EXPECT_NE(Said("Mfilemove").find("1個のファイルを移動しました。"), std::string::npos);
  EXPECT_FALSE(fs::exists(w.dir / "f/a.txt"));
  EXPECT_EQ(ReadFile(w.dir / "g/a.txt"), "aaa");
  EXPECT_EQ(w.CurrentFolder(), Q("g"));
}

TEST_F(FileOpsTest, DeleteGoesToTheTrashAndShiftDeleteForGood) {
  FileOpsController::prompts.confirm = [](const QString&) { return true; };
  EXPECT_NE(Said("Mfiledelete").find("1個のファイルを削除しました。"), std::string::npos);
  EXPECT_FALSE(fs::exists(w.dir / "f/a.txt"));
  EXPECT_EQ(ReadFile(w.dir / "data/Trash/files/a.txt"), "aaa");
  EXPECT_TRUE(fs::exists(w.dir / "data/Trash/info/a.txt.trashinfo"));
  w.Select(w.dir / "f", "b.txt");
  EXPECT_NE(Said("Myd").find("1個のファイルを削除しました。"), std::string::npos);
  EXPECT_FALSE(fs::exists(w.dir / "f/b.txt"));
  w.dir.Write("f/c.txt", "c");
  EXPECT_FALSE(fs::exists(w.dir / "data/Trash/files/b.txt"));
  EXPECT_FALSE(ops.SHFOP1().Options.Has(fileops::ALLOWUNDO));  // until a copy adds it again
  // A copy adds it back.
  w.Select(w.dir / "f", "c.txt");
  FileOpsController::prompts.target = [&](auto, auto&) { return std::optional<QString>(Q("g")); };
  Said("Mfilecopy");
  EXPECT_TRUE(ops.SHFOP1().Options.Has(fileops::ALLOWUNDO));
  // Saying no deletes nothing.
  w.Select(w.dir / "f", "c.txt");
  FileOpsController::prompts.confirm = [](const QString&) { return false; };
  Said("Myd");
  Said("Mfiledelete");
  EXPECT_TRUE(fs::exists(w.dir / "f/c.txt"));
}

TEST_F(FileOpsTest, RenameNeverOverwritesAndDuplicateCopiesBytes) {
  const std::string odd("x\0y\rz\n\r\n\xff", 9);
  w.dir.Write("f/a.txt", odd);
  std::vector<QString> prompts_seen;
  QString answer = QStringLiteral("b.txt");
  FileOpsController::prompts.text = [&](const QString& caption, const QString& prompt, const QString& initial) {
    EXPECT_EQ(caption, QStringLiteral("ファイル名の変更"));
    EXPECT_EQ(initial, QStringLiteral("a.txt"));
    prompts_seen.push_back(prompt);
    return std::optional<QString>(answer);
  };
  EXPECT_NE(Said("Mrename").find("b.txt"), std::string::npos);  // refused, said
  EXPECT_EQ(ReadFile(w.dir / "f/b.txt"), "bbb");
  EXPECT_EQ(ReadFile(w.dir / "f/a.txt"), odd);
  EXPECT_EQ(prompts_seen[0], QStringLiteral("a.txt ->　新しい名前は？"));
  answer = QStringLiteral("a.txt");  // the same name: nothing at all
  w.calls.clear();
  EXPECT_EQ(Said("Mrename"), "");
  EXPECT_FALSE(w.Called("viewreset"));
  answer = QStringLiteral("copy of a.txt");
  Said("Mfilefukisei");
  EXPECT_EQ(ReadFile(w.dir / "f/copy of a.txt"), odd);
  answer = QStringLiteral("renamed $(x).txt");
  Said("Mrename");
  EXPECT_EQ(ReadFile(w.dir / "f/renamed $(x).txt"), odd);
  EXPECT_FALSE(fs::exists(w.dir / "f/a.txt"));
}

TEST_F(FileOpsTest, AttributesFolderFormatAndDiskCopy) {
  FileOpsController::prompts.attributes = [](const std::array<bool, 4>& now) {
    EXPECT_FALSE(now[0]);
    EXPECT_TRUE(now[1]);
    EXPECT_FALSE(now[3]);
    return std::optional<std::array<bool, 4>>({true, true, false, false});
  };
  Said("Mpropaty");
  struct stat st {};
  ASSERT_EQ(::stat((w.dir / "f/a.txt").c_str(), &st), 0);
  EXPECT_FALSE(st.st_mode & S_IWUSR);
  EXPECT_TRUE(w.Called("filedisp"));
  FileOpsController::prompts.attributes = [](const std::array<bool, 4>&) {
    return std::optional<std::array<bool, 4>>({false, true, false, true});
  };
  Said("Mpropaty");
  EXPECT_TRUE(fs::exists(w.dir / "f/.a.txt"));
  FileOpsController::prompts.text = [](const QString& caption, const QString&, const QString&) {
    return std::optional<QString>(caption == QStringLiteral("ﾃﾞｨﾚｸﾄﾘの作成") ? QStringLiteral("新しい") : QStringLiteral("7"));
  };
  Said("Mmkdir");
  EXPECT_TRUE(fs::is_directory(w.dir / "f/新しい"));
  FileOpsController::prompts.text = [](auto&, auto&, auto&) { return std::optional<QString>(QStringLiteral("../out")); };
  EXPECT_NE(Said("Mmkdir").find("名前に使えません"), std::string::npos);  // nothing outside the folder
  EXPECT_FALSE(fs::exists(w.dir / "out"));
  EXPECT_NE(Said("Mformat").find("A から Z の範囲でなければなりません"), std::string::npos);
  FileOpsController::prompts.text = [](auto&, auto&, auto&) { return std::optional<QString>(QStringLiteral("a")); };
  EXPECT_NE(Said("Mformat").find("A: のフォーマットはこのプログラムからは行えません"), std::string::npos);
  EXPECT_NE(Said("Mdiskcopy1").find("ディスク コピー"), std::string::npos);
}

TEST_F(FileOpsTest, DropsAndDragsCopyButNeverOntoTheShownFolder) {
  w.dir.Write("h/x.txt", "x");
  ops.DropFiles({Q("h/x.txt")});  // "ドラッグ&&ドロップ使用" off: ignored
  EXPECT_FALSE(fs::exists(w.dir / "f/x.txt"));
  w.Actions().Trigger("Mdragdrop1");
  testing::internal::CaptureStderr();
  ops.DropFiles({Q("h/x.txt")});
  EXPECT_NE(testing::internal::GetCapturedStderr().find("1個のファイルをコピーしました。"), std::string::npos);
  EXPECT_EQ(ReadFile(w.dir / "f/x.txt"), "x");
  ops.DropFiles({Q("f/a.txt")});  // from the shown folder itself
  EXPECT_FALSE(fs::exists(w.dir / "f/a (2).txt"));
  EXPECT_TRUE(ops.FolderView1DragOver(true));
  EXPECT_FALSE(ops.FolderView1DragOver(false));
  w.Select(w.dir / "f", "a.txt");
  ops.FolderView1DragDrop(Q("g"), false);
  EXPECT_FALSE(fs::exists(w.dir / "g/a.txt"));
  testing::internal::CaptureStderr();
  ops.FolderView1DragDrop(Q("g"), true);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("1個のファイルをコピーしました。"), std::string::npos);
  EXPECT_EQ(ReadFile(w.dir / "g/a.txt"), "aaa");
}

TEST_F(FileOpsTest, SavedNameListsAndCopiedPath) {
  QString title;
  FileOpsController::prompts.save_name = [&](const QString& t, const QString& name) {
    title = t;
    EXPECT_EQ(name, QStringLiteral("f.txt"));
    return Q("names.txt");
  };
  EXPECT_NE(Said("Mfilenamesave1").find("に保存しました。"), std::string::npos);
  EXPECT_EQ(title, QStringLiteral("現在表示のファイル名を保存"));
  EXPECT_EQ(ReadFile(w.dir / "names.txt"), "a.txt\r\nb.txt\r\n");
  Said("Mfilenamesave2");
  EXPECT_EQ(ReadFile(w.dir / "names.txt"),
            (w.dir / "f/a.txt").string() + "\r\n" + (w.dir / "f/b.txt").string() + "\r\n");
  Said("Mfoldersave");
  EXPECT_EQ(ReadFile(w.dir / "names.txt").rfind("/\r\n", 0), 0u);  // the root first, then a TAB a level
  EXPECT_NE(ReadFile(w.dir / "names.txt").find("\r\n\t"), std::string::npos);
  FileOpsController::prompts.save_name = [](auto&, auto&) { return QString(); };  // Cancel
  EXPECT_EQ(Said("Mfilenamesave1"), "");
}

TEST_F(FileOpsTest, SplitThenMergeGivesTheFileBack) {
  std::string data;
  for (int i = 0; i < 2500; ++i) data += static_cast<char>(i * 13);
  w.dir.Write("f/data.zip", data);
  w.Select(w.dir / "f", "data.zip");
  FileOpsController::prompts.split_size = [](const QString&, qint64 size) {
    EXPECT_EQ(size, 2500);
    return QStringLiteral("1000");
  };
  Said("Mfilediv");
  EXPECT_EQ(fs::file_size(w.dir / "f/data.003"), 500u);
  EXPECT_EQ(ReadFile(w.dir / "f/data.bat"),
            "COPY /B data.001 data.zip\r\nCOPY /B data.zip+data.002 data.zip\r\nCOPY /B data.zip+data.003 data.zip\r\n");
  FileOpsController::prompts.split_size = [](const QString&, qint64) { return QStringLiteral("2"); };
  EXPECT_NE(Said("Mfilediv").find("1251個のﾌｧｲﾙに分割できません。"), std::string::npos);
  w.Select(w.dir / "f", "data.001");
  SelectAlso({"data.002", "data.003"});
  FileOpsController::prompts.merge = [](const QStringList& captions) {
    EXPECT_EQ(captions.size(), 3);
    return std::optional<std::pair<QStringList, QString>>({captions, QStringLiteral("joined.zip")});
  };
  EXPECT_NE(Said("Mfilemerge").find("ファイルを結合しました。"), std::string::npos);
  EXPECT_EQ(ReadFile(w.dir / "f/joined.zip"), data);
  EXPECT_TRUE(fs::exists(w.dir / "f/joined.bat"));
  // Into one of its own sources: refused, nothing written.
  w.Select(w.dir / "f", "data.001");
  SelectAlso({"data.002"});
  FileOpsController::prompts.merge = [](const QStringList& captions) {
    return std::optional<std::pair<QStringList, QString>>({captions, QStringLiteral("data.001")});
  };
  EXPECT_NE(Said("Mfilemerge").find("結合先にできません"), std::string::npos);
  EXPECT_EQ(fs::file_size(w.dir / "f/data.001"), 1000u);
  EXPECT_FALSE(fs::exists(w.dir / "f/data.bak"));
}

TEST(FileOpsDialogs, TargetHistoryKeepsTenAndMovesTheChosenUp) {
  test::FakeWindow w;
  platform::IniFile& ini = w.Settings().File();
  for (int i = 0; i < 12; ++i) {
    dialogs::TForm2 d(ini);
    d.CBdir->setEditText(QStringLiteral("/folder%1").arg(i));
    d.accept();
  }
  dialogs::TForm2 d(ini);
  EXPECT_EQ(d.CBdir->count(), 10);
  EXPECT_EQ(d.CBdir->itemText(0), QStringLiteral("/folder11"));
  d.CBdir->setEditText(QStringLiteral("/folder5"));
  d.accept();
  EXPECT_EQ(d.Answer(), QStringLiteral("/folder5"));
  EXPECT_EQ(ini.ReadString("File", "Items_0", ""), "#/folder5#");
  EXPECT_EQ(ini.ReadString("File", "Items_1", ""), "#/folder11#");
  EXPECT_EQ(ini.ReadInteger("File", "ToFileCount", 0), 10);
}

TEST(FileOpsDialogs, SizePreviewEnterRefusalAndMergeOrder) {
  test::FakeWindow w;
  ui::SetHeadless(true);
  TForm17 size(w.Settings().File(), QStringLiteral("/x/data.zip"), 3000000);
  EXPECT_EQ(size.Label3->text(), QStringLiteral("3,000,000 byte"));
  EXPECT_EQ(size.Label4->text(), QStringLiteral("3 個に分割"));
  QStringList names;
  for (int i = 0; i < size.LBdiv->count(); ++i) names << size.LBdiv->item(i)->text();
  EXPECT_EQ(names, (QStringList{"data.001", "data.002", "data.003", "data.bat"}));
  size.CBdiv->setEditText(QStringLiteral("3000"));  // 1001 pieces
  testing::internal::CaptureStderr();
  size.CBdivEnter();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("1001個のﾌｧｲﾙに分割できません。"), std::string::npos);
  EXPECT_EQ(size.LBdiv->count(), 0);
  size.CBdiv->setEditText(QStringLiteral("1000000"));
  size.accept();
  EXPECT_EQ(size.Result(), QStringLiteral("1000000"));
  EXPECT_EQ(w.Settings().File().ReadString("DIV", "Items_0", ""), "#1000000#");
  ui::SetHeadless(false);

  TForm20 merge(QStringLiteral("/x"), {"a.001", "a.002", "a.003"});
  EXPECT_FALSE(merge.BitBtn1->isEnabled());
  merge.MoveUp();  // the first stays first
  EXPECT_EQ(merge.Entries().front(), QStringLiteral("a.001"));
  merge.ListBox1->setCurrentRow(2);
  merge.MoveDown();  // the last stays last
  EXPECT_EQ(merge.Entries().back(), QStringLiteral("a.003"));
  merge.MoveUp();
  EXPECT_EQ(merge.Entries(), (QStringList{"a.001", "a.003", "a.002"}));
  merge.Remove();
  EXPECT_EQ(merge.Lfiles->text(), QStringLiteral("2個のﾌｧｲﾙ"));
  merge.Edit1->setText(QStringLiteral("a.zip"));
  EXPECT_TRUE(merge.BitBtn1->isEnabled());
  EXPECT_EQ(merge.Label4->text(), QStringLiteral("結合情報は a.bat に記録されます。"));
}

}  // namespace
}  // namespace haruvi::controllers
