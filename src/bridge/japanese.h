// The window speaks Japanese whatever the desktop's locale: Qt's own dialogs (font,
// colour, buttons) from Qt's Japanese translations, and names from the system's
// databases (file kinds from the MIME database's comments) in Japanese.
#pragma once

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace haruvi::bridge {

// Call once after the application object exists. False when Qt's Japanese translation
// could not be loaded (its dialogs then stay in English).
inline bool UseJapanese() {
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  auto* qt = new QTranslator(QCoreApplication::instance());
  const bool loaded = qt->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (loaded) QCoreApplication::installTranslator(qt);
  else delete qt;
  return loaded;
}

}  // namespace haruvi::bridge
