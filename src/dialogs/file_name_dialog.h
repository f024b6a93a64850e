// The dialog that asks for a file to save to or open, built on the program's own views
// so that every name keeps its bytes: the folder tree, the folder's files, the name and
// the kind. Saving over an existing file asks first, whatever the name's code.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QComboBox;
class QListWidget;
class QPushButton;

namespace haruvi::shellview {
class PathEdit;
class TFolderView;
}

namespace haruvi::dialogs {

class FileNameDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { Save, Open };
  FileNameDialog(Mode mode, const QString& caption, QWidget* parent = nullptr);

  // `filters` as "テキスト (*.txt)"; the first is chosen. `suffix` is added to a saved
  // name that has none ("txt").
  void SetFilters(const QStringList& filters, const QString& suffix);
  // The folder shown and the name proposed, both in the lossless form.
  void SetStart(const QString& folder, const QString& name);

  // The chosen file (lossless form) and kind, once accepted.
  QString Path() const { return chosen_; }
  QString Filter() const;

  // The question asked before a save over an existing file (tests answer it).
  static inline std::function<bool(QWidget*, const QString& path)> confirm_overwrite;

  void accept() override;

 private:
  void ShowFolder(const QString& folder);
  QStringList Patterns() const;

  Mode mode_;
  QString folder_;
  QString suffix_;
  QString chosen_;
  shellview::TFolderView* tree_ = nullptr;
  QListWidget* files_ = nullptr;
  shellview::PathEdit* name_ = nullptr;
  QComboBox* kinds_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// Asks for a file (the lossless path, empty when cancelled); `start` is a folder or a file
// whose folder is shown and whose name is proposed.
QString AskFileName(QWidget* parent, FileNameDialog::Mode mode, const QString& caption, const QString& start,
                    const QStringList& filters, const QString& suffix = QString());

// The path a typed or picked name stands for in `folder`: an absolute name is itself,
// a relative one is joined to the folder; "~" is the home folder.
QString NameInFolder(const QString& folder, const QString& name);

}  // namespace haruvi::dialogs
