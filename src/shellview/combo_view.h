// TComboView: the drop-down of places (home, desktop, "/" and every mounted real file
// system) with the ancestors of the current folder inserted below their drive, indented.
#pragma once

#include <QComboBox>

namespace haruvi::shellview {

class TComboView : public QComboBox {
  Q_OBJECT

 public:
  explicit TComboView(QWidget* parent = nullptr);

  // Shows `folder`: removes the previous path entries, inserts the ancestors of `folder`
  // under the fixed entry that holds it, and selects the folder's own entry.
  void ShowPath(const QString& folder);
  QString PathAt(int index) const;
  int LevelAt(int index) const;

 signals:
  // The user chose an entry: the tree should move to its folder.
  void FolderChosen(const QString& path);

 private:
  void AddFixed();
  bool updating_ = false;
};

}  // namespace haruvi::shellview
