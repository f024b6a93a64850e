// TForm4: the dialog of "起動時フォルダー指定" (a folder) and "ｴﾃﾞｨﾀｰの設定" (a program):
// a prompt, an edit box, a tree (folders, or folders and their programs) and a note of
// the previous setting. For a program, OK is on only while the box names one.
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
  enum class Choose { Folder, Program };
  TForm4(const QString& caption, const QString& prompt, QWidget* parent = nullptr, Choose choose = Choose::Folder);

  // A program the box may name: an executable file, or a command found on PATH.
  static bool NamesProgram(const QString& text);

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
