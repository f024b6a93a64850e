// A status bar of fixed panels, numbered from 0 at the left, each sized to its text on
// demand (" " + text + " " in the bar's font) or kept at its design width.
#pragma once

#include <QFrame>
#include <QVector>

class QLabel;

namespace haruvi::ui {

class PanelBar : public QFrame {
  Q_OBJECT

 public:
  // With `last_fills` the last panel takes the rest of the bar (the hint panel).
  PanelBar(const QString& name, const QVector<int>& widths, QWidget* parent = nullptr, bool last_fills = false);

  int Count() const { return static_cast<int>(panels_.size()); }
  QString Text(int panel) const;
  // Sets a panel's text; with `fit` the panel becomes exactly as wide as " " + text + " ".
  void SetText(int panel, const QString& text, bool fit = false);
  int Width(int panel) const;

 private:
  QVector<QLabel*> panels_;
  bool last_fills_ = false;
};

}  // namespace haruvi::ui
