#include "ui/help_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "bridge/disk_path.h"

namespace haruvi::ui {
namespace {

// A page's bytes (the help pages are small UTF-8 files).
std::string ReadPage(const std::filesystem::path& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return bytes;
  char buffer[16384];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0 && bytes.size() < (8u << 20);)
    bytes.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return bytes;
}

// The page's title and its text without tags.
struct PageText {
  QString title, text;
};

PageText TextOf(const std::string& html) {
  QTextDocument doc;
  doc.setHtml(QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size())));
  return {doc.metaInformation(QTextDocument::DocumentTitle), doc.toPlainText()};
}

}  // namespace

HelpWindow::HelpWindow(std::filesystem::path folder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(std::move(folder)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Haruvi ヘルプ"));
  resize(900, 640);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setSearchPaths({bridge::FromDisk(folder_.string())});
  browser_->setOpenExternalLinks(true);
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("HelpSearch"));
  search_->setPlaceholderText(QStringLiteral("ヘルプを検索"));
  search_->setClearButtonEnabled(true);
  results_ = new QListWidget(this);
  results_->setObjectName(QStringLiteral("HelpResults"));
  auto* back = new QPushButton(QStringLiteral("戻る"), this);
  auto* forward = new QPushButton(QStringLiteral("進む"), this);
  auto* contents = new QPushButton(QStringLiteral("目次"), this);
  auto* find_next = new QPushButton(QStringLiteral("ページ内の次"), this);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, this, [this] { ShowPage(QStringLiteral("index.html")); });
  connect(search_, &QLineEdit::returnPressed, this, &HelpWindow::RunSearch);
  connect(find_next, &QPushButton::clicked, this, [this] {
    if (!browser_->find(search_->text())) {
      browser_->moveCursor(QTextCursor::Start);
      browser_->find(search_->text());
    }
  });
  connect(results_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (!item) return;
    ShowPage(item->data(Qt::UserRole).toString());
    browser_->find(search_->text());
  });
  back->setEnabled(false);
  forward->setEnabled(false);

  auto* tools = new QHBoxLayout;
  tools->addWidget(back);
  tools->addWidget(forward);
  tools->addWidget(contents);
  tools->addSpacing(12);
  tools->addWidget(new QLabel(QStringLiteral("検索:"), this));
  tools->addWidget(search_, 1);
  tools->addWidget(find_next);
  auto* split = new QSplitter(this);
  split->addWidget(results_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 1);
  split->setSizes({200, 700});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(split, 1);
}

void HelpWindow::ShowPage(const QString& page, const QString& anchor) {
  QUrl url(page);
  if (!anchor.isEmpty()) url.setFragment(anchor);
  browser_->setSource(url);
  show();
  raise();
  activateWindow();
}

void HelpWindow::Search(const QString& words) {
  search_->setText(words);
  RunSearch();
  show();
  raise();
  activateWindow();
  search_->setFocus();
  // A window just made gets the keys once the window manager has activated it.
  QTimer::singleShot(0, search_, [this] {
    activateWindow();
    search_->setFocus();
  });
}

void HelpWindow::RunSearch() {
  results_->clear();
  const QStringList words = search_->text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  if (words.isEmpty()) return;
  std::vector<std::filesystem::path> pages;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder_, ec))
    if (e.path().extension() == ".html") pages.push_back(e.path());
  std::sort(pages.begin(), pages.end());
  for (const auto& page : pages) {
    const PageText p = TextOf(ReadPage(page));
    // Every word somewhere on the page; the page ranks by how often they stand there.
    int hits = 0;
    bool all = true;
    for (const QString& w : words) {
      const int n = static_cast<int>(p.text.count(w, Qt::CaseInsensitive));
      all = all && n > 0;
      hits += n;
    }
    if (!all) continue;
    auto* item = new QListWidgetItem(QStringLiteral("%1 (%2)").arg(p.title.isEmpty() ? bridge::FromDisk(page.filename().string()) : p.title).arg(hits));
    item->setData(Qt::UserRole, bridge::FromDisk(page.filename().string()));
    item->setData(Qt::UserRole + 1, hits);
    results_->addItem(item);
  }
  results_->sortItems(Qt::AscendingOrder);
  std::vector<QListWidgetItem*> items;
  while (results_->count() > 0) items.push_back(results_->takeItem(0));
  std::stable_sort(items.begin(), items.end(), [](QListWidgetItem* a, QListWidgetItem* b) {
    return a->data(Qt::UserRole + 1).toInt() > b->data(Qt::UserRole + 1).toInt();
  });
  for (QListWidgetItem* item : items) results_->addItem(item);
  if (results_->count() == 0) {
    auto* none = new QListWidgetItem(QStringLiteral("見つかりませんでした"));
    none->setFlags(Qt::NoItemFlags);
    results_->addItem(none);
    return;
  }
  results_->setCurrentRow(0);
}

}  // namespace haruvi::ui
