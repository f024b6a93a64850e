// Every settings key of the window and its controllers, checked against each other and
// against the settings file a full start and close writes; and every action name the
// program's code calls by name resolves.
#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <set>

#include "window_fixture.h"
#include "platform/setting_key.h"
#include "ui/action_registry.h"

namespace haruvi::app {
namespace {

std::string Name(const platform::KeyInfo& k) {
  std::string s = std::string(k.section) + "/" + std::string(k.key);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

using SettingsKeysTest = WindowTest;

TEST_F(SettingsKeysTest, EveryKeyHasOneOwnerAndADefaultWithinItsRule) {
  const std::vector<platform::KeyInfo> keys = Open().AllKeys();
  std::map<std::string, std::string> owners;
  for (const platform::KeyInfo& k : keys) {
    auto [it, fresh] = owners.emplace(Name(k), std::string(k.owner));
    EXPECT_TRUE(fresh) << Name(k) << " owned by " << it->second << " and " << k.owner;
    EXPECT_TRUE(platform::ValueFitsRule(k, k.def)) << Name(k) << " default " << k.def;
    EXPECT_FALSE(k.owner.empty()) << Name(k);
  }
  EXPECT_GE(keys.size(), 40u);  // the window and every controller contributed
}

TEST_F(SettingsKeysTest, AFullStartAndCloseWritesExactlyTheKnownKeys) {
  Open().close();
  const std::vector<platform::KeyInfo> keys = form->AllKeys();
  // Keys their commands write when the user answers a dialog, never at close.
  const std::set<std::string> by_commands = {"streamread/byte", "streamread/check", "readmax/byte",
                                             "initfolder/initfoldername", "folderset/drivecount", "ext/drivecount", "lhapack/drivecount", "arcpack/drivecount", "file/save", "editer/editer",
                                             "file/dir", "finddialogex/text", "finddialogex/check1",
                                             "finddialogex/check2", "finddialogex/updown", "finddialogex/count",
                                             "grepr/drivecount", "grepr/drivecount2", "grep/drivecount",
                                             "grep/subfolder", "renzokudelete/open31", "renzokudelete/save31",
                                             "renzokudelete/regcheck", "renzokudelete/listcount",
                                             "print/yohaku_t", "print/yohaku_l", "print/yohaku_b", "print/yohaku_r"};
  std::set<std::string> known;
  for (const platform::KeyInfo& k : keys) known.insert(Name(k));
  platform::IniFile ini(IniPath());
  std::set<std::string> written;
  for (const char* section : {"System", "Form", "PanelL", "PanelRB", "FontR", "FontF", "FolderView", "InitFolder",
                              "FileView", "RichEdit", "Menu", "StreamRead", "ReadMax"}) {
    for (const std::string& key : ini.ReadSectionKeys(section)) {
      platform::KeyInfo probe{"", section, key, platform::KeyType::String, ""};
      written.insert(Name(probe));
      EXPECT_TRUE(known.count(Name(probe))) << Name(probe) << " is written but owned by no one";
    }
  }
  // The tool-button keys are written by the configuration dialog's OK, the user menus'
  // lists by their dialogs when they close.
  auto by_command = [&](const platform::KeyInfo& k) {
    return by_commands.count(Name(k)) || k.section == "ToolBar1" || k.section == "ToolBar2" || k.section == "Mexe" ||
           k.section == "PopupMenu2";
  };
  for (const platform::KeyInfo& k : keys) {
    if (by_command(k)) {
      EXPECT_FALSE(written.count(Name(k))) << Name(k);
    } else {
      EXPECT_TRUE(written.count(Name(k))) << Name(k) << " is not written at close";
    }
    // What was written reads back within the key's own rule.
    if (auto v = ini.ReadValue(k.section, k.key); v && k.rule != platform::KeyRule::Informational) {
      EXPECT_TRUE(platform::ValueFitsRule(k, *v)) << Name(k) << "=" << *v;
    }
  }
}

TEST_F(SettingsKeysTest, EveryActionNameTheCodeCallsResolves) {
  TForm1& f = Open();  // building the menus and tool bars resolves every name they list
  // Names handed to the registry as literals anywhere in the window's code.
  const QRegularExpression call(
      QStringLiteral(R"re((?:Get|Trigger|Checked|SetChecked|Twin|Action)\((?:QStringLiteral\()?"([A-Za-z0-9]+)")re"));
  int seen = 0;
  for (const char* folder : {"src/app", "src/controllers", "src/ui"}) {
    QDirIterator it(QStringLiteral(HARUVI_SOURCE_DIR "/") + QString::fromUtf8(folder), {"*.cpp", "*.h"},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      QFile file(it.next());
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      const QString text = QString::fromUtf8(file.readAll());
      for (const QRegularExpressionMatch& m : call.globalMatch(text)) {
        ++seen;
        EXPECT_TRUE(f.Actions().Contains(m.captured(1))) << m.captured(1).toStdString() << " in " << file.fileName().toStdString();
      }
    }
  }
  EXPECT_GT(seen, 10);
  EXPECT_THROW(f.Actions().Get(QStringLiteral("Mwordwarp")), ui::UnknownAction);
}

}  // namespace
}  // namespace haruvi::app
