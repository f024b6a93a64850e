// TForm4: the folder dialog of "起動時フォルダー指定" (and, later, "エディタの設定"):
// a prompt, an edit box, a folder tree and a note of the previous setting.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace haruvi::shellview { class TFolderView; }

namespace haruvi::dialogs {

class TForm4 : public QDialog {
  Q_OBJECT

 public:
  TForm4(const QString& caption, const QString& prompt, QWidget* parent = nullptr);

  // Shows the current setting: the edit box, "以前の設定:" + value, and the tree at it.
  void SetPrevious(const QString& value);
  QString Text() const;

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  shellview::TFolderView* FolderTree = nullptr;
  QPushButton* OkButton = nullptr;
};

}  // namespace haruvi::dialogs
