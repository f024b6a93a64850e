// The search commands' dialogs as the window shows them: TForm32 (find), TForm25 (pattern
// and replacement, in its four uses), TForm9 (grep) and TForm31 (the continuous list).
// Each is built when its command opens it and released at once; the controls carry the
// names the commands and tests know them by.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "controllers/search/search_dialogs.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace haruvi::controllers {

class TForm32 : public QDialog {
  Q_OBJECT

 public:
  TForm32(const FindSetup& setup, QWidget* parent = nullptr);
  FindAnswer Answer() const;

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // whole word
  QCheckBox* CheckBox2 = nullptr;  // match case
  QGroupBox* RadioGroup1 = nullptr;
  QRadioButton* Up = nullptr;
  QRadioButton* Down = nullptr;
};

class TForm25 : public QDialog {
  Q_OBJECT

 public:
  TForm25(const PatternSetup& setup, QWidget* parent = nullptr);
  PatternAnswer Answer() const;
  // Each text goes on top of its history unless already listed (OK and Cancel alike).
  void KeepHistories(PatternSetup& setup) const;

  QLabel* Lgrep1 = nullptr;
  QComboBox* CBRegExp = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QCheckBox* CBusefuzzy = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QWidget* Panel2 = nullptr;

 private:
  PatternUse use_;
};

class TForm9 : public QDialog {
  Q_OBJECT

 public:
  TForm9(const GrepSetup& setup, QWidget* parent = nullptr);
  GrepAnswer Answer() const;

  QComboBox* CBRegExp = nullptr;
  QLabel* Ldirectory = nullptr;
  QLabel* Lfiles = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QRadioButton* Selected = nullptr;  // "選択したﾌｧｲﾙ"
  QRadioButton* All = nullptr;       // "全ファイル"
  QCheckBox* CBusefuzzy = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // file headers
  QCheckBox* CheckBox2 = nullptr;  // line numbers
  QCheckBox* CheckBox3 = nullptr;  // subfolders
  QPushButton* SpeedButton1 = nullptr;
  QWidget* Panel2 = nullptr;

 private:
  void FillMemo(bool everything);
  const GrepSetup setup_;
};

class TForm31 : public QDialog {
  Q_OBJECT

 public:
  TForm31(const ListSetup& setup, QWidget* parent = nullptr);
  ListAnswer Answer() const;

  // The list buttons.
  void Button1Click();       // "リストに追加(&A)"
  void BitBtn3Click();       // "リストから削除(&D)"
  void SpeedButton4Click();  // "全削除"
  void Move(int step);       // "上へ" (-1), "下へ" (+1)
  // Load and save: false (list unchanged, message shown) when the file fails.
  bool LoadList(const QString& path);
  bool SaveList(const QString& path);

  QLineEdit* Edit1 = nullptr;
  QListWidget* ListBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;

 private:
  QString open_at_, save_at_;
};

}  // namespace haruvi::controllers
