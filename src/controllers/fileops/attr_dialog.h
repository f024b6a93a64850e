// TForm5 ("ﾌｧｲﾙの属性変更") and what its boxes mean here: R is the owner's write
// permission, H a leading "." of the name (set or cleared by renaming, never over another
// name), A and S are shown but cannot be set on this system.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;

namespace haruvi::controllers {

class TForm5 : public QDialog {
  Q_OBJECT

 public:
  TForm5(const QString& path, QWidget* parent = nullptr);
  QCheckBox* CheckBox1 = nullptr;  // 書き込み禁止
  QCheckBox* CheckBox2 = nullptr;  // ｱｰｶｲﾌﾞ
  QCheckBox* CheckBox3 = nullptr;  // ｼｽﾃﾑ
  QCheckBox* CheckBox4 = nullptr;  // 隠しﾌｧｲﾙ
};

// R, A, S, H of a path; nullopt when they cannot be read.
std::optional<std::array<bool, 4>> ReadAttributes(const QString& path);
// Opens TForm5 (or asks `answer` instead) and applies the change; true when it ended with
// OK. Failures are told in "属性情報取得に失敗しました。" / "属性変更に失敗しました。".
bool ChangeAttributes(QWidget* parent, const QString& path,
                      const std::function<std::optional<std::array<bool, 4>>(const std::array<bool, 4>&)>& answer);
// The path after the last ChangeAttributes (a hidden flag renames the file).
QString AttributeTarget(const QString& path);

}  // namespace haruvi::controllers
