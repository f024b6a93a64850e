#include "viewer/text_pane.h"

namespace haruvi::viewer {

TextPane::TextPane(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName(QStringLiteral("RichEdit1"));
  setReadOnly(true);
  setLineWrapMode(QPlainTextEdit::NoWrap);
}

void TextPane::Clear() { clear(); }

}  // namespace haruvi::viewer
