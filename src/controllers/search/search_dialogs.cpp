// SearchDialogs: each question opens its form modally and reads the answer back.
#include "controllers/search/search_dialogs.h"

#include "controllers/search/search_forms.h"
#include "ui/input_box.h"

namespace haruvi::controllers {

std::optional<FindAnswer> SearchDialogs::Find(QWidget* parent, const FindSetup& setup) {
  TForm32 form(setup, parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Answer();
}

std::optional<PatternAnswer> SearchDialogs::Pattern(QWidget* parent, PatternSetup& setup) {
  TForm25 form(setup, parent);
  const bool ok = form.exec() == QDialog::Accepted;
  // Cancel keeps the histories as they were: only an answer given goes into them.
  if (!ok) return std::nullopt;
  form.KeepHistories(setup);
  return form.Answer();
}

std::optional<GrepAnswer> SearchDialogs::Grep(QWidget* parent, const GrepSetup& setup) {
  TForm9 form(setup, parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Answer();
}

std::optional<ListAnswer> SearchDialogs::List(QWidget* parent, const ListSetup& setup) {
  TForm31 form(setup, parent);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.Answer();
}

std::optional<QString> SearchDialogs::Text(QWidget* parent, const QString& caption, const QString& prompt,
                                           const QString& initial) {
  return ui::InputBox(parent, caption, prompt, initial);
}

}  // namespace haruvi::controllers
