// The program's own help window, for a desktop without a web browser and for the help's
// search: the pages in a text browser, a search box that lists every page holding the
// words, and back, forward and contents buttons.
#pragma once

#include <QString>
#include <QWidget>
#include <filesystem>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace haruvi::ui {

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // The pages of `folder`; one window serves every later request (ShowPage).
  HelpWindow(std::filesystem::path folder, QWidget* parent = nullptr);

  // Shows `page` ("grep.html"), at `anchor` when given, and raises the window.
  void ShowPage(const QString& page, const QString& anchor = {});
  // The search box holding `words`, its results listed, the first one shown.
  void Search(const QString& words);

  QTextBrowser* Browser() const { return browser_; }
  QListWidget* Results() const { return results_; }
  QLineEdit* SearchBox() const { return search_; }

 private:
  void RunSearch();

  std::filesystem::path folder_;
  QTextBrowser* browser_;
  QLineEdit* search_;
  QListWidget* results_;
};

}  // namespace haruvi::ui
