// One level of undo for the text commands: the pane's bytes before the last command, kept
// until the text changes in any other way (a new file, a conversion, the user's typing),
// so going back never brings an old text over a newer one.
#pragma once

#include <QObject>
#include <cstddef>
#include <string>

#include "viewer/byte_buffer.h"

namespace haruvi::viewer { class TextPane; }

namespace haruvi::controllers {

class TextUndo : public QObject {
  Q_OBJECT

 public:
  explicit TextUndo(viewer::TextPane& pane, QObject* parent = nullptr);

  // Puts `text` into the pane in one step; what the pane held becomes the step back.
  void Replace(std::string text);
  // The pane's own undo of typing in simple-edit mode, else the last command's step.
  bool CanUndo() const;
  void Undo();
  bool HoldsCommandStep() const { return held_; }
  // Texts up to this size keep every command as a step of the pane's undo while editing.
  static inline std::size_t edit_step_limit = 16u << 20;

 signals:
  void Changed();

 private:
  void Forget();

  viewer::TextPane& pane_;
  viewer::ByteBuffer before_;
  bool held_ = false;
  bool replacing_ = false;
};

}  // namespace haruvi::controllers
