// How the text commands ask the user: a text in the input box, a column range in TForm30,
// and a word when an answer is refused. The window's dialogs by default; tests script
// the answers in their place.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace haruvi::controllers {

class TextCmdDialogs {
 public:
  struct Columns {
    int start = 1;
    int count = 1;
  };

  virtual ~TextCmdDialogs() = default;
  // The answer, or nullopt on Cancel.
  virtual std::optional<QString> Text(QWidget* parent, const QString& caption, const QString& prompt,
                                      const QString& initial);
  // TForm30 with `caption`; `with_count` false hides the count (the insert commands).
  virtual std::optional<Columns> Column(QWidget* parent, const QString& caption, long long start,
                                        long long count, bool with_count);
  virtual void Refuse(QWidget* parent, const QString& message);
};

}  // namespace haruvi::controllers
