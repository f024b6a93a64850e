// Messages to the user in one OK box. A headless run (--screenshot) must never wait for a
// click: there the text goes to standard error instead and the run goes on.
#pragma once

class QString;
class QWidget;

namespace haruvi::ui {

void SetHeadless(bool on);
bool Headless();
// A warning after a failure ("Haruvi" as the caption).
void Warn(QWidget* parent, const QString& text);
// Information after success.
void Inform(QWidget* parent, const QString& text);

}  // namespace haruvi::ui
