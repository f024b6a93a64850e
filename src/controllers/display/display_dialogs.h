// The display settings dialogs: TForm8 ("ﾃｷｽﾄ表示の文字種類の設定", the pane's character
// set) and TForm26 (the stream threshold and the read limit).
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

namespace haruvi::controllers {

class TForm8 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm8(int current_charset, QWidget* parent = nullptr);
  QComboBox* ComboBox1 = nullptr;
  static int CharsetAt(int index);

 signals:
  // Choosing an entry applies at once (the dialog has no cancel).
  void CharsetChosen(int charset);
};

class TForm26 : public QDialog {
  Q_OBJECT

 public:
  // `stream`: the "Stream読み込みの設定" form; otherwise the "読み込み制限の設定" form.
  TForm26(bool stream, bool checked, int bytes, QWidget* parent = nullptr);
  bool Checked() const;
  int Bytes() const;
  QCheckBox* CheckBox1 = nullptr;
  QLabel* Label1 = nullptr;
  QSpinBox* SpinEdit1 = nullptr;
};

}  // namespace haruvi::controllers
