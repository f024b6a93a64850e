// The help: the installed pages are the ones the program makes from its menus (so they
// cannot drift), every command has an entry, every link of a hand-written page leads to
// a page and a place that exist, and without a browser the help window shows and searches.
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <fstream>
#include <set>
#include <sstream>

#include "controllers/help/help_controller.h"
#include "controllers/help/help_pages.h"
#include "ui/action_registry.h"
#include "ui/help_viewer.h"
#include "ui/help_window.h"
#include "window_fixture.h"

namespace haruvi::app {
namespace {

const std::filesystem::path kHelp = std::filesystem::path(HARUVI_SOURCE_DIR) / "docs/help";

QString ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return QString::fromStdString(s.str());
}

class HelpPages : public WindowTest {};

TEST_F(HelpPages, TheInstalledPagesAreTheOnesTheProgramMakesAndNameEveryCommand) {
  Open();
  const std::map<QString, QString> pages = controllers::help::GeneratedPages(*form, form->Actions());
  ASSERT_EQ(pages.size(), 2u);
  for (const auto& [name, html] : pages)
    EXPECT_TRUE(ReadText(kHelp / name.toStdString()) == html)
        << name.toStdString() << " differs from the menus; make it again: haruvi --write-help docs/help";
  const QString& commands = pages.at(QStringLiteral("commands.html"));
  for (const QString& action : form->Actions().Names())
    EXPECT_TRUE(commands.contains(QStringLiteral("id=\"%1\"").arg(action))) << "no help entry for " << action.toStdString();
}

TEST(HelpLinks, EveryLinkLeadsToAPageAndAPlaceThatExist) {
  std::map<std::string, std::set<QString>> ids;  // page -> its anchors
  static const QRegularExpression id(QStringLiteral("id=\"([^\"]+)\""));
  static const QRegularExpression href(QStringLiteral("href=\"([^\"#:]*)(?:#([^\"]*))?\""));
  for (const auto& e : std::filesystem::directory_iterator(kHelp)) {
    if (e.path().extension() != ".html") continue;
    auto& set = ids[e.path().filename().string()];
    for (const auto& m : id.globalMatch(ReadText(e.path()))) set.insert(m.captured(1));
  }
  ASSERT_GE(ids.size(), 8u);
  for (const auto& [page, anchors] : ids) {
    for (const auto& m : href.globalMatch(ReadText(kHelp / page))) {
      const std::string target = m.captured(1).isEmpty() ? page : m.captured(1).toStdString();
      if (target.ends_with(".css")) continue;
      ASSERT_TRUE(ids.count(target)) << page << " links to a missing page " << target;
      if (!m.captured(2).isEmpty()) {
        EXPECT_TRUE(ids.at(target).count(m.captured(2))) << page << " links to a missing place " << target << "#"
                                                        << m.captured(2).toStdString();
      }
    }
  }
}

TEST_F(HelpPages, WithoutABrowserTheHelpWindowShowsAndSearchesEveryPage) {
  Open();
  ui::HelpDesktop none{[] { return false; }, [](const QUrl&) {
                         ADD_FAILURE() << "no browser was to be asked";
                         return false;
                       }};
  ASSERT_EQ(ui::OpenHelp(form.get(), kHelp, {QStringLiteral("grep.html"), QStringLiteral("jump"), false, {}}, none),
            ui::HelpShown::InHelpWindow);
  ui::HelpWindow* help = ui::HelpWindowOf(form.get());
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Browser()->toPlainText().contains(QStringLiteral("結果から開く")));
  // A search lists the pages that hold every word; a second request reuses the window.
  ui::OpenHelp(form.get(), kHelp, {QStringLiteral("index.html"), {}, true, QStringLiteral("サブフォルダ 正規表現")}, none);
  EXPECT_EQ(ui::HelpWindowOf(form.get()), help);
  QStringList found;
  for (int i = 0; i < help->Results()->count(); ++i) found << help->Results()->item(i)->data(Qt::UserRole).toString();
  EXPECT_TRUE(found.contains(QStringLiteral("grep.html"))) << found.join(' ').toStdString();
  EXPECT_FALSE(found.contains(QStringLiteral("archives.html")));
  help->Search(QStringLiteral("ありえない言葉です"));
  ASSERT_EQ(help->Results()->count(), 1);
  EXPECT_EQ(help->Results()->item(0)->text(), QStringLiteral("見つかりませんでした"));
}

TEST_F(HelpPages, WithABrowserTheContentsOpenThere) {
  Open();
  std::vector<QUrl> opened;
  ui::HelpDesktop browser{[] { return true; }, [&opened](const QUrl& u) {
                            opened.push_back(u);
                            return true;
                          }};
  EXPECT_EQ(ui::OpenHelp(form.get(), kHelp, {QStringLiteral("index.html"), QStringLiteral("1001"), false, {}}, browser),
            ui::HelpShown::InBrowser);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_TRUE(opened[0].toString().endsWith(QStringLiteral("docs/help/index.html#1001"))) << opened[0].toString().toStdString();
  EXPECT_EQ(ui::HelpWindowOf(form.get()), nullptr);
  EXPECT_EQ(ui::OpenHelp(form.get(), {}, {}, browser), ui::HelpShown::NoPages);
}

}  // namespace
}  // namespace haruvi::app
