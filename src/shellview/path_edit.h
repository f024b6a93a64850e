// A line edit for a path or a name: it shows the name as the window shows names (a
// Shift_JIS name read as Shift_JIS) and gives back the bytes it was given while the
// user leaves the text alone; typed text is the user's own (with "~" as the home folder).
#pragma once

#include <QLineEdit>

namespace haruvi::shellview {

class PathEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit PathEdit(QWidget* parent = nullptr);

  // `path` in the lossless form (bridge::FromDisk).
  void SetPath(const QString& path);
  // The path given, while its shown text is untouched; else the text typed.
  QString Path() const;

 private:
  QString path_;
  QString shown_;
};

}  // namespace haruvi::shellview
