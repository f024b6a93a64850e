// The text font dialog: the font chooser with the colour the text font keeps ("FontR"
// "Color"), which the toolkit's own font dialog has no place for.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QPushButton;

namespace haruvi::controllers {

class TextFontDialog : public QDialog {
  Q_OBJECT

 public:
  TextFontDialog(const QFont& font, const QColor& color, QWidget* parent = nullptr);
  QFont Font() const;
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  QFontDialog* FontDialog1 = nullptr;
  QPushButton* ColorButton = nullptr;

 private:
  QColor color_;
};

}  // namespace haruvi::controllers
