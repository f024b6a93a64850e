#include "controllers/fileops/attr_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <fcntl.h>
#include <sys/stat.h>

#include "bridge/disk_path.h"
#include "fileops/fs_util.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

QString last_from, last_to;

}  // namespace

TForm5::TForm5(const QString& path, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("ﾌｧｲﾙの属性変更"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("ﾌｧｲﾙの属性を変更します。"), this));
  layout->addWidget(new QLabel(bridge::DisplayName(path), this));
  auto* group = new QGroupBox(QStringLiteral("属性"), this);
  auto* boxes = new QVBoxLayout(group);
  CheckBox1 = new QCheckBox(QStringLiteral("書き込み禁止(&R)"), group);
  CheckBox2 = new QCheckBox(QStringLiteral("ｱｰｶｲﾌﾞ(&A)"), group);
  CheckBox3 = new QCheckBox(QStringLiteral("ｼｽﾃﾑ(&S)"), group);
  CheckBox4 = new QCheckBox(QStringLiteral("隠しﾌｧｲﾙ(&H)"), group);
  for (QCheckBox* b : {CheckBox1, CheckBox2, CheckBox3, CheckBox4}) boxes->addWidget(b);
  // No such flags on this system: they show what the file is.
  CheckBox2->setEnabled(false);
  CheckBox3->setEnabled(false);
  layout->addWidget(group);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

std::optional<std::array<bool, 4>> ReadAttributes(const QString& path) {
  struct stat st {};
  if (::lstat(bridge::ToDisk(path).c_str(), &st) != 0) return std::nullopt;
  const QString name = path.section(QLatin1Char('/'), -1);
  return std::array<bool, 4>{!(st.st_mode & S_IWUSR), S_ISREG(st.st_mode),
                             !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode) && !S_ISLNK(st.st_mode),
                             name.startsWith(QLatin1Char('.'))};
}

bool ChangeAttributes(QWidget* parent, const QString& path,
                      const std::function<std::optional<std::array<bool, 4>>(const std::array<bool, 4>&)>& answer) {
  last_from = last_to = path;
  const std::optional<std::array<bool, 4>> now = ReadAttributes(path);
  if (!now) ui::Warn(parent, QStringLiteral("属性情報取得に失敗しました。"));
  std::optional<std::array<bool, 4>> wanted;
  if (answer) {
    if (!now) return false;
    wanted = answer(*now);
  } else if (!ui::Headless()) {
    TForm5 dialog(path, parent);
    const std::array<QCheckBox*, 4> boxes = {dialog.CheckBox1, dialog.CheckBox2, dialog.CheckBox3, dialog.CheckBox4};
    for (std::size_t i = 0; i < 4; ++i) {
      if (now) boxes[i]->setChecked((*now)[i]);
      else boxes[i]->setEnabled(false);
    }
    if (dialog.exec() == QDialog::Accepted) wanted = std::array<bool, 4>{
        boxes[0]->isChecked(), boxes[1]->isChecked(), boxes[2]->isChecked(), boxes[3]->isChecked()};
  }
  if (!wanted) return false;
  const std::optional<std::array<bool, 4>> again = ReadAttributes(path);
  if (!again) {
    ui::Warn(parent, QStringLiteral("属性変更に失敗しました。"));
    return true;
  }
  const std::string disk = bridge::ToDisk(path);
  bool ok = true;
  if ((*wanted)[0] != (*again)[0]) {
    struct stat st {};
    ok = ::stat(disk.c_str(), &st) == 0 &&
         ::chmod(disk.c_str(), (*wanted)[0] ? (st.st_mode & ~S_IWUSR & 07777) : ((st.st_mode | S_IWUSR) & 07777)) == 0;
  }
  if (ok && (*wanted)[3] != (*again)[3]) {
    const std::string name = fileops::NameOf(disk);
    const std::size_t plain = name.find_first_not_of('.');
    const std::string renamed = (*wanted)[3] ? "." + name : (plain == std::string::npos ? "" : name.substr(plain));
    const std::string to = fileops::JoinPath(fileops::ParentOf(disk), renamed);
    ok = !renamed.empty() && fileops::RenameNoReplace(AT_FDCWD, disk.c_str(), AT_FDCWD, to.c_str());
    if (ok) last_to = bridge::FromDisk(to);
  }
  if (!ok || (*wanted)[1] != (*again)[1] || (*wanted)[2] != (*again)[2])
    ui::Warn(parent, QStringLiteral("属性変更に失敗しました。"));
  return true;
}

QString AttributeTarget(const QString& path) { return path == last_from ? last_to : path; }

}  // namespace haruvi::controllers
