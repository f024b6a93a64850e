// A feature of the window: it declares its actions in its constructor, owns its
// dialogs, reads and writes its own settings keys, calls a pure core and applies the
// result through the WindowContext. The window keeps a list of them and runs their
// settings steps in order; controllers never see the window or each other.
#pragma once

#include <QObject>
#include <vector>

#include "platform/setting_key.h"
#include "ui/window_context.h"

namespace haruvi::ui {

class Controller : public QObject {
  Q_OBJECT

 public:
  explicit Controller(WindowContext& ctx, QObject* parent = nullptr) : QObject(parent), ctx_(ctx) {}

  // The built-in state before the settings are read (and after the settings reset).
  virtual void initset() {}
  // Reads its keys at start-up and applies them.
  virtual void iniload() {}
  // Writes its keys at close.
  virtual void inisave() {}
  // Every key it reads or writes.
  virtual std::vector<platform::KeyInfo> Keys() const { return {}; }

 protected:
  WindowContext& ctx() const { return ctx_; }

 private:
  WindowContext& ctx_;
};

}  // namespace haruvi::ui
