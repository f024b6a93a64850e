// TForm33: the one-line prompt with an input history that several commands use (masks,
// folders, archive names, URLs). Each command keeps its own history section; the dialog
// reads it when it opens and, on OK, saves it with the answer on top.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

class QComboBox;
class QLabel;

namespace haruvi::platform { class IniFile; }

namespace haruvi::ui {

class TForm33 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm33(QWidget* parent = nullptr);
  // Fills the combo box's list from the history of `section`.
  void LoadHistory(const platform::IniFile& ini, const std::string& section);
  // Puts the combo box's text on top of the list and writes the section.
  void SaveHistory(platform::IniFile& ini, const std::string& section);

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
};

// Asks with caption, prompt, history section and initial text; the answer (history saved)
// or nullopt on Cancel (nothing saved).
std::optional<QString> Ask(QWidget* parent, const QString& caption, const QString& prompt, platform::IniFile& ini,
                           const std::string& section, const QString& initial);

}  // namespace haruvi::ui
