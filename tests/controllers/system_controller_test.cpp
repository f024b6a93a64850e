// The system commands in the window: the session commands never reach the login manager
// without a yes, URLs pass the scheme filter, the caret's URL is proposed, the "dir"
// listing and the report land in the pane, and desktop programs start without a shell.
#include "controllers/system/system_controller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QButtonGroup>

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QRegularExpression>

#include "bridge/pane_text.h"
#include "controllers/system/dir_dialog.h"
#include "controllers/system/drive_info_dialog.h"
#include "fake_window.h"
#include "ui/shown_text.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

struct FakeLogin : LoginManager {
  std::vector<std::string>* calls;
  explicit FakeLogin(std::vector<std::string>* c) : calls(c) {}
  QString LogOff() override { return calls->push_back("logoff"), QString(); }
  QString Reboot() override { return calls->push_back("reboot"), QString(); }
  QString PowerOff() override { return calls->push_back("poweroff"), QString(); }
  QString Suspend() override { return calls->push_back("suspend"), QString(); }
};

class SystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetHeadless(true);
    Desktop d;
    d.open_url = [this](const QUrl& u) { opened.push_back(u.toString()); return true; };
    d.start = [this](const QString& p, const QStringList& a, const QString& f) {
      started.push_back(p + "|" + a.join(",") + "|" + f);
      return true;
    };
    d.find = [](const QString& name) { return "/usr/bin/" + name; };
    d.confirm = [this](const QString& q) { questions.push_back(q); return answer; };
    sys.SetDesktop(d);
    sys.SetLoginManager(std::make_unique<FakeLogin>(&session));
  }
  void TearDown() override { ui::SetHeadless(false); }
  std::string Pane(const char* utf8) {
    return bridge::ToPane(QString::fromUtf8(utf8), w.Pane().CodePage());
  }

  test::FakeWindow w;
  SystemController sys{w};
  std::vector<QString> opened, started, questions;
  std::vector<std::string> session;
  bool answer = false;
};

TEST_F(SystemTest, SessionCommandsNeverRunWithoutAYes) {
  for (const char* name : {"MexitW", "Msysreboot1", "Msyslogoff1", "Msysstandby1"}) w.Actions().Trigger(name);
  EXPECT_TRUE(session.empty());
  EXPECT_EQ(questions.size(), 4u);
  answer = true;
  for (const char* name : {"MexitW", "Msysreboot1", "Msyslogoff1", "Msysstandby1"}) w.Actions().Trigger(name);
  EXPECT_EQ(session, (std::vector<std::string>{"poweroff", "reboot", "logoff", "suspend"}));
}

TEST_F(SystemTest, RealDesktopRefusesSessionCommandsInAHeadlessRun) {
  EXPECT_FALSE(Desktop::Real().confirm(QStringLiteral("?")));
}

TEST_F(SystemTest, OnlyWebAndFileUrlsReachTheDesktop) {
  EXPECT_TRUE(sys.OpenUrl("https://example.jp/a"));
  EXPECT_TRUE(sys.OpenUrl("file:///tmp/x.txt"));
  EXPECT_FALSE(sys.OpenUrl("javascript:alert(1)"));
  EXPECT_FALSE(sys.OpenUrl("/usr/bin/xterm"));
  EXPECT_FALSE(sys.OpenUrl("smb://host/share"));
  EXPECT_EQ(opened, (std::vector<QString>{"https://example.jp/a", "file:///tmp/x.txt"}));
  w.Actions().Trigger("Mtekuna1");
  EXPECT_TRUE(opened.back().startsWith("https://"));
}

TEST_F(SystemTest, TheCaretsLineProposesItsUrl) {
  EXPECT_EQ(sys.UrlProposal(), "");
  w.Pane().SetText(Pane("一行目\r\n漢字 abc://d 漢字\r\n漢字 abc\r\n"));
  w.Pane().SetSelection(w.Pane().OffsetOfLine(1) + 2, 0);
  EXPECT_EQ(sys.UrlProposal(), "abc://d");
  w.Pane().SetSelection(w.Pane().OffsetOfLine(2), 0);
  EXPECT_EQ(sys.UrlProposal(), "");
}

TEST_F(SystemTest, DirListingGoesIntoThePaneWithItsLabel) {
  w.dir.Write("t/b.txt", "12345");
  w.dir.Write("t/日本語.txt", "1");
  const QString folder = QString::fromStdString((w.dir / "t").string());
  sys.RunDir("\"" + folder + "\" /O:-N");
  const std::string text = w.Pane().Bytes();
  EXPECT_NE(text.find(Pane("日本語.txt\r\n")), std::string::npos);
  EXPECT_LT(text.find(Pane("日本語.txt")), text.find("b.txt"));
  EXPECT_NE(text.find(Pane("2 個のファイル")), std::string::npos);
  EXPECT_EQ(w.InfoLine().text(), "dir   \"" + folder + "\" /O:-N   の結果");
  sys.RunDir("/no/such/folder");  // a message, and the pane is left empty
  EXPECT_TRUE(w.Pane().IsEmpty());
  w.Text().Undo();  // the listing before it comes back
  EXPECT_EQ(w.Pane().Bytes(), text);
}

TEST_F(SystemTest, SystemReportHasItsLabelsInOrder) {
  w.Actions().Trigger("Msysteminfo1");
  const std::string text = w.Pane().Bytes();
  size_t at = 0;
  for (const char* label : {"Windowsﾃﾞｨﾚｸﾄﾘ = ", "Systemﾃﾞｨﾚｸﾄﾘ = ", "ｶﾚﾝﾄﾃﾞｨﾚｸﾄﾘ = ", "ｺﾝﾋﾟｭｰﾀｰ名 = ",
                            "ﾊﾞｰｼﾞｮﾝ = ", "環境変数 = ", "日付 = ", "時間 = ", "起動時間 = "}) {
    const size_t found = text.find(Pane(label), at);
    ASSERT_NE(found, std::string::npos) << label;
    at = found;
  }
  EXPECT_EQ(w.InfoLine().text(), "");
}

TEST_F(SystemTest, DesktopProgramsStartDetachedWithTheirArguments) {
  w.MoveToFolder(QString::fromStdString(w.dir.path().string()));
  w.Actions().Trigger("Mdos");
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0], "/usr/bin/x-terminal-emulator||" + QString::fromStdString(w.dir.path().string()));
  w.Pane().SetText(Pane("本文です"));
  w.Actions().Trigger("Msend");
  ASSERT_EQ(started.size(), 2u);
  EXPECT_EQ(started[1], "/usr/bin/xdg-email|--body,本文です|");
  w.Actions().Trigger("Mgomi");
  EXPECT_EQ(opened.back(), "trash:///");
}

TEST_F(SystemTest, DateItemCarriesTodaysDate) {
  const QString caption = w.Actions().Get("Mnow")->text();
  EXPECT_TRUE(QRegularExpression("^ \\d{4}\\.\\d{1,2}\\.\\d{1,2} \\(.\\)$").match(caption).hasMatch()) << caption.toStdString();
  w.Actions().Trigger("Mnow");  // the message goes to standard error in a headless run
}

TEST_F(SystemTest, DirDialogRebuildsTheCommandAfterEveryChange) {
  TForm7 form("/tmp", {"/home", "/usr"}, w.Window());
  EXPECT_EQ(form.Edit1->text(), "\"/tmp\"     ");
  form.CB3->setCurrentIndex(2);  // "-N 名前－逆順"
  EXPECT_EQ(form.CB3->currentText(), "-N 名前－逆順");
  EXPECT_EQ(form.Edit1->text(), "\"/tmp\"  /O:-N   ");
  form.CB4->setChecked(true);
  form.RG1->button(3)->click();
  form.CB1->setChecked(true);
  form.CB2->setCurrentIndex(1);
  EXPECT_EQ(form.Edit1->text(), "\"/tmp\" /A:D /O:-N /S /W /L");
  EXPECT_EQ(form.CBpath->count(), 2);
}

TEST_F(SystemTest, DriveDialogNamesTheMountPointAndItsFigures) {
  systools::DriveUsage u;
  u.total = 2000000;
  u.free = 500000;
  u.sectors_per_cluster = 8;
  u.bytes_per_sector = 512;
  u.total_clusters = 488;
  u.free_clusters = 122;
  DriveInfoDialog dialog(QStringLiteral("/"), u, w.Window());
  EXPECT_EQ(dialog.Title(), "ドライブ情報 / 2,000,000 byte");
  EXPECT_EQ(dialog.Totals->text(), "/ 全容量 2,000,000 byte  使用 1,500,000 byte  未使用 500,000 byte");
  dialog.grab();  // the chart paints
}

TEST_F(SystemTest, WithoutACurrentFolderTheDriveCommandDoesNothing) {
  ASSERT_TRUE(w.CurrentFolder().isEmpty());
  w.Actions().Trigger("MdriveInfo");  // would block on its dialog if it opened one
}

}  // namespace
}  // namespace haruvi::controllers
