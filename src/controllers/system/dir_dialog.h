// TForm7 "dirｺﾏﾝﾄﾞ結果表示": a path with its own history, a folder tree that sets it, and
// the switches that rebuild the command text after every change.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeView;

namespace haruvi::controllers {

class TForm7 : public QDialog {
  Q_OBJECT

 public:
  TForm7(const QString& folder, const std::vector<std::string>& history, QWidget* parent = nullptr);

  // The command text as the switches make it.
  void Rebuild();

  QComboBox* CBpath = nullptr;
  QTreeView* Tree = nullptr;
  QComboBox* CB2 = nullptr;  // attribute
  QComboBox* CB3 = nullptr;  // sort
  QCheckBox* CB4 = nullptr;  // subfolders
  QButtonGroup* RG1 = nullptr;
  QCheckBox* CB1 = nullptr;  // lower case
  QLineEdit* Edit1 = nullptr;
};

}  // namespace haruvi::controllers
