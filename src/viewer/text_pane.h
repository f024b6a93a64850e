// RichEdit1: the text pane. Holds the shown text as bytes in the pane's code page and
// hands them back unchanged unless the user edited them.
#pragma once

#include <QPlainTextEdit>

namespace haruvi::viewer {

class TextPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TextPane(QWidget* parent = nullptr);

  void Clear();
};

}  // namespace haruvi::viewer
