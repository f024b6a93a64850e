#include "shellview/item_menu.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "bridge/disk_path.h"
#include "bridge/programs.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeDatabase>
#include <QVBoxLayout>
#include <memory>

#include "platform/text_format.h"
#include "viewer/file_info.h"
#include "platform/system_error.h"

namespace haruvi::shellview {
namespace {

// The first bytes, for telling the kind of a file whose extension says nothing.
QByteArray Head(const std::string& disk) {
  QByteArray head(512, '\0');
  const int fd = ::open(disk.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);  // never wait on a FIFO or a device
  const ssize_t n = regular ? ::read(fd, head.data(), static_cast<size_t>(head.size())) : 0;
  ::close(fd);
  head.resize(n > 0 ? n : 0);
  return head;
}

QString Owner(uid_t uid, gid_t gid) {
  const struct passwd* user = ::getpwuid(uid);
  const QString u = user ? QString::fromLocal8Bit(user->pw_name) : QString::number(uid);
  const struct group* g = ::getgrgid(gid);
  return u + QLatin1Char(':') + (g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid));
}

}  // namespace

QMenu* MakeItemMenu(QWidget* parent, const QStringList& paths,
                    const std::function<void(const QString&)>& open_folder, const QList<QAction*>& commands) {
  auto* menu = new QMenu(parent);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  if (paths.isEmpty()) return menu;
  const QString first = paths.front();
  QAction* open = menu->addAction(QStringLiteral("開く(&O)"));
  QObject::connect(open, &QAction::triggered, menu, [first, paths, open_folder] {
    if (bridge::IsFolder(first)) {
      open_folder(first);
      return;
    }
    for (const QString& p : paths)
      if (!bridge::IsFolder(p)) bridge::OpenWithDesktop(p, bridge::FolderOf(p), nullptr);
  });
  menu->addSeparator();
  if (!commands.isEmpty()) {
    for (QAction* c : commands) {
      if (c) menu->addAction(c);
      else menu->addSeparator();
    }
    menu->addSeparator();
  }
  QAction* props = menu->addAction(QStringLiteral("プロパティ(&R)"));
  QObject::connect(props, &QAction::triggered, parent, [first, parent] {
    auto dialog = std::make_unique<PropertiesDialog>(first, parent);
    dialog->exec();
  });
  return menu;
}

PropertiesDialog::PropertiesDialog(const QString& path, QWidget* parent) : QDialog(parent) {
  // Read by the path's bytes: Qt's file classes would ask about another name.
  const std::string disk = bridge::ToDisk(path);
  struct stat st {};
  struct stat link {};
  const bool known = ::stat(disk.c_str(), &st) == 0;
  const bool is_link = ::lstat(disk.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
  const bool is_dir = known && S_ISDIR(st.st_mode);
  const QString name = bridge::DisplayName(bridge::FileName(path));
  setWindowTitle(name.isEmpty() ? bridge::DisplayName(path) : name + QStringLiteral("のプロパティ"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  static QMimeDatabase mime;
  QString kind = QStringLiteral("ファイル フォルダー");
  if (!is_dir) {
    kind = mime.mimeTypeForFileNameAndData(bridge::FileName(path), Head(disk)).comment();
  }
  auto row = [&](const char* label, const QString& value) {
    auto* v = new QLabel(value, this);
    v->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString::fromUtf8(label), v);
  };
  auto when = [](const struct timespec& t) {
    return QDateTime::fromSecsSinceEpoch(t.tv_sec).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
  };
  row("名前:", name);
  row("種類:", kind);
  row("場所:", bridge::DisplayName(bridge::FolderOf(path)));
  if (!known) {
    row("状態:", QStringLiteral("読めません: ") + QString::fromStdString(platform::SystemErrorText(errno)));
  } else {
    if (!is_dir)
      row("サイズ:", QString::fromStdString(platform::FormatThousands(static_cast<std::uint64_t>(st.st_size))) +
                         QStringLiteral(" byte"));
    if (is_link) {
      std::string target(4096, '\0');
      const ssize_t n = ::readlink(disk.c_str(), target.data(), target.size());
      if (n > 0) row("リンク先:", bridge::DisplayName(bridge::FromDisk(target.substr(0, static_cast<size_t>(n)))));
    }
    row("更新日時:", when(st.st_mtim));
    row("アクセス日時:", when(st.st_atim));
    QString perms;
    for (auto [bit, c] : {std::pair{S_IRUSR, 'r'}, {S_IWUSR, 'w'}, {S_IXUSR, 'x'}, {S_IRGRP, 'r'}, {S_IWGRP, 'w'},
                          {S_IXGRP, 'x'}, {S_IROTH, 'r'}, {S_IWOTH, 'w'}, {S_IXOTH, 'x'}})
      perms += (st.st_mode & bit) ? QLatin1Char(c) : QLatin1Char('-');
    row("アクセス権:", perms);
    row("属性:", QString::fromStdString(viewer::AttributeField(disk)));
    row("所有者:", Owner(st.st_uid, st.st_gid));
  }
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace haruvi::shellview
