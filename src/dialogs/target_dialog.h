// TForm2: the target dialog of the file and archive operations ("ファイル操作"): a folder
// tree, the operation asked for, the sources, and the target box whose list is the target
// history (section "File", "ToFileCount" and "Items_n", ten entries kept).
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QButtonGroup;
class QCheckBox;

namespace haruvi::platform { class IniFile; }
namespace haruvi::shellview { class TFolderView; }

namespace haruvi::dialogs {

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  enum Operation { kCopy = 0, kMove = 1, kUnpack = 2 };
  static constexpr int kHistoryKept = 10;

  TForm2(platform::IniFile& ini, QWidget* parent = nullptr);

  // The caller's presets: the tree and the target box at `folder`, the operation, the
  // count text and the sources.
  void Preset(const QString& folder, Operation op, const QString& files_text, const QStringList& sources);
  // OK: the box's text to the top of the history, saved; the text (even empty) is the answer.
  void accept() override;
  QString Answer() const { return answer_; }

  QLabel* LDirectory = nullptr;
  shellview::TFolderView* FolderView1 = nullptr;
  QButtonGroup* RGfile = nullptr;
  QLabel* Lfiles = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QComboBox* CBdir = nullptr;
  // "上書きする": shown for unpacking only, where files of the target may be replaced.
  QCheckBox* CBoverwrite = nullptr;

 private:
  platform::IniFile& ini_;
  QStringList history_;
  QString answer_;
};

// Opens the dialog; the chosen folder, or nullopt on Cancel. For unpacking, `overwrite`
// (when given) gets the state of "上書きする".
std::optional<QString> AskTargetFolder(platform::IniFile& ini, QWidget* parent, const QString& folder,
                                       TForm2::Operation op, const QString& files_text, const QStringList& sources,
                                       bool* overwrite = nullptr);

}  // namespace haruvi::dialogs
