#include "controllers/textcmd/text_undo.h"

#include "viewer/text_pane.h"

namespace haruvi::controllers {

TextUndo::TextUndo(viewer::TextPane& pane, QObject* parent) : QObject(parent), pane_(pane) {
  connect(&pane_, &viewer::TextPane::ContentChanged, this, [this] {
    if (!replacing_) Forget();
  });
  // Typing after a command: its own undo takes it back; the command's step would lose it.
  connect(&pane_, &viewer::TextPane::TextEdited, this, &TextUndo::Forget);
}

void TextUndo::Forget() {
  before_ = viewer::ByteBuffer();
  const bool was = held_;
  held_ = false;
  if (was) emit Changed();
}

void TextUndo::Replace(std::string text) {
  // In simple edit the text's own undo holds the command as one step, after the typing:
  // every such step keeps its whole result, so a big text keeps one step back instead.
  if (!pane_.ReadOnly() && text.size() <= edit_step_limit && pane_.TextLength() <= edit_step_limit) {
    pane_.ReplaceAllWhileEditing(text);
    return;
  }
  replacing_ = true;
  // A command changes the text, not its form; what the pane held is moved out, not copied.
  before_ = pane_.ReplaceText(viewer::ByteBuffer(std::move(text)), pane_.TextForm());
  replacing_ = false;
  held_ = true;
  emit Changed();
}

bool TextUndo::CanUndo() const { return pane_.CanUndo() || held_; }

void TextUndo::Undo() {
  if (pane_.CanUndo()) {
    pane_.Undo();
    return;
  }
  if (!held_) return;
  viewer::ByteBuffer before = std::move(before_);
  held_ = false;
  replacing_ = true;
  pane_.SetText(std::move(before), pane_.TextForm());
  replacing_ = false;
  emit Changed();
}

}  // namespace haruvi::controllers
