#include "shellview/item_menu.h"

#include <sys/stat.h>
#include "bridge/disk_path.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeDatabase>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "platform/text_format.h"
#include "viewer/file_info.h"

namespace haruvi::shellview {
namespace {

bool IsFolder(const QString& path) {
  struct stat st {};
  return ::stat(bridge::ToDisk(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

QMenu* MakeItemMenu(QWidget* parent, const QStringList& paths,
                    const std::function<void(const QString&)>& open_folder) {
  auto* menu = new QMenu(parent);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (paths.isEmpty()) return menu;
  const QString first = paths.front();
  QAction* open = menu->addAction(QStringLiteral("開く(&O)"));
  QObject::connect(open, &QAction::triggered, menu, [first, paths, open_folder] {
    if (IsFolder(first)) {
      open_folder(first);
      return;
    }
    for (const QString& p : paths)
      if (!IsFolder(p)) QDesktopServices::openUrl(QUrl::fromLocalFile(p));
  });
  menu->addSeparator();
  QAction* props = menu->addAction(QStringLiteral("プロパティ(&R)"));
  QObject::connect(props, &QAction::triggered, parent, [first, parent] {
    auto dialog = std::make_unique<PropertiesDialog>(first, parent);
    dialog->exec();
  });
  return menu;
}

PropertiesDialog::PropertiesDialog(const QString& path, QWidget* parent) : QDialog(parent) {
  const QFileInfo info(path);
  setWindowTitle(info.fileName().isEmpty() ? path : info.fileName() + QStringLiteral("のプロパティ"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  static QMimeDatabase mime;
  const QString kind = info.isDir() ? QStringLiteral("ファイル フォルダー") : mime.mimeTypeForFile(info).comment();
  auto row = [&](const char* label, const QString& value) {
    auto* v = new QLabel(value, this);
    v->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString::fromUtf8(label), v);
  };
  row("名前:", info.fileName());
  row("種類:", kind);
  row("場所:", info.absolutePath());
  if (!info.isDir())
    row("サイズ:", QString::fromStdString(platform::FormatThousands(static_cast<std::uint64_t>(info.size()))) +
                       QStringLiteral(" byte"));
  if (info.isSymLink()) row("リンク先:", info.symLinkTarget());
  row("更新日時:", info.lastModified().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
  row("アクセス日時:", info.lastRead().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
  QString perms;
  const QFile::Permissions p = info.permissions();
  for (auto [flag, c] : {std::pair{QFile::ReadOwner, 'r'}, {QFile::WriteOwner, 'w'}, {QFile::ExeOwner, 'x'},
                         {QFile::ReadGroup, 'r'}, {QFile::WriteGroup, 'w'}, {QFile::ExeGroup, 'x'},
                         {QFile::ReadOther, 'r'}, {QFile::WriteOther, 'w'}, {QFile::ExeOther, 'x'}})
    perms += (p & flag) ? QLatin1Char(c) : QLatin1Char('-');
  row("アクセス権:", perms);
  row("属性:", QString::fromStdString(viewer::AttributeField(bridge::ToDisk(path))));
  row("所有者:", info.owner() + QLatin1Char(':') + info.group());
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace haruvi::shellview
