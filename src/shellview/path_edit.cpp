#include "shellview/path_edit.h"

#include "bridge/disk_path.h"

namespace haruvi::shellview {

PathEdit::PathEdit(QWidget* parent) : QLineEdit(parent) {}

void PathEdit::SetPath(const QString& path) {
  path_ = path;
  shown_ = bridge::DisplayName(path);
  setText(shown_);
}

QString PathEdit::Path() const {
  const QString typed = text();
  if (!path_.isEmpty() && typed == shown_) return path_;
  return bridge::ExpandHome(typed);
}

}  // namespace haruvi::shellview
