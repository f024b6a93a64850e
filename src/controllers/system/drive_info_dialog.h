// "ドライブ情報": the pie chart of the used and free space of the current folder's file
// system, with the totals line, the cluster line and the note.
#pragma once

#include <QDialog>

#include "systools/system_report.h"

class QLineEdit;

namespace haruvi::controllers {

class DriveInfoDialog : public QDialog {
  Q_OBJECT

 public:
  DriveInfoDialog(const QString& folder, const systools::DriveUsage& usage, QWidget* parent = nullptr);

  QString Title() const { return title_; }
  QLineEdit* Totals = nullptr;

 private:
  QString title_;
};

}  // namespace haruvi::controllers
