#include "ui/panel_bar.h"

#include <QHBoxLayout>
#include <QLabel>

namespace haruvi::ui {

PanelBar::PanelBar(const QString& name, const QVector<int>& widths, QWidget* parent, bool last_fills)
    : QFrame(parent), last_fills_(last_fills) {
  setObjectName(name);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 1, 0, 1);
  layout->setSpacing(2);
  for (int i = 0; i < widths.size(); ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("%1_panel%2").arg(name).arg(i));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    const bool fills = last_fills && i == widths.size() - 1;
    if (fills) label->setMinimumWidth(widths[i]);
    else label->setFixedWidth(widths[i]);
    label->setMinimumHeight(fontMetrics().height() + 4);
    panels_ << label;
    layout->addWidget(label, fills ? 1 : 0);
  }
  if (!last_fills) layout->addStretch(1);
}

QString PanelBar::Text(int panel) const {
  return panel >= 0 && panel < panels_.size() ? panels_[panel]->text() : QString();
}

void PanelBar::SetText(int panel, const QString& text, bool fit) {
  if (panel < 0 || panel >= panels_.size()) return;
  QLabel* l = panels_[panel];
  l->setText(text);
  if (fit && !(last_fills_ && panel == panels_.size() - 1))
    l->setFixedWidth(fontMetrics().horizontalAdvance(QLatin1Char(' ') + text + QLatin1Char(' ')) +
                     2 * l->frameWidth());
}

int PanelBar::Width(int panel) const {
  return panel >= 0 && panel < panels_.size() ? panels_[panel]->width() : 0;
}

}  // namespace haruvi::ui
