// The dialogs of split and merge: TForm17 (the piece size, with its history in section
// "DIV" and a preview of the files to be made), TForm18 (the progress window of the
// split, with Cancel) and TForm20 (the joining order and the target's name).
#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace haruvi::platform { class IniFile; }

namespace haruvi::controllers {

class TForm17 : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::int64_t kSizes[] = {1457664, 1250304, 730112, 649216, 1000000};
  TForm17(platform::IniFile& ini, const QString& path, std::int64_t size, QWidget* parent = nullptr);
  // Count and names for the text in CBdiv, as the dialog shows them.
  void Preview();
  // Enter in CBdiv: refuse more than the pieces a split can make, else go to OK.
  void CBdivEnter();
  void accept() override;
  QString Result() const { return result_; }
  // Enter in CBdiv is its own step and never reaches the dialog's OK.
  bool eventFilter(QObject* watched, QEvent* event) override;

  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QButtonGroup* RGdiv = nullptr;
  QComboBox* CBdiv = nullptr;
  QListWidget* LBdiv = nullptr;
  QPushButton* BitBtn1 = nullptr;

 private:
  platform::IniFile& ini_;
  QString path_;
  std::int64_t size_;
  QStringList history_;
  QString result_;
};

class TForm18 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm18(QWidget* parent = nullptr);
  QLabel* Label1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QLabel* Label2 = nullptr;
  bool cancelled = false;
  void reject() override;
};

class TForm20 : public QDialog {
  Q_OBJECT

 public:
  TForm20(const QString& folder, const QStringList& captions, QWidget* parent = nullptr);
  void MoveUp();    // SpeedButton1 "上へ"
  void MoveDown();  // SpeedButton2 "下へ"
  void Remove();    // SpeedButton3 "削除"
  QStringList Entries() const;

  QLabel* Lfiles = nullptr;
  QListWidget* ListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* BitBtn1 = nullptr;
};

}  // namespace haruvi::controllers
