#pragma once

#include <QLocale>
#include <QString>

// The program's own texts and Qt's (the file dialogs, the buttons of message boxes) in the user's
// language: papyra_<language>.qm from the program folder's translations folder, qtbase_<language>.qm
// from Qt's. Where no translation fits the locale, English stays.
namespace Translations {

// Installs the translators for `locale` on the application, replacing any installed before.
// True when Papyra's own texts are translated (English needs no file and gives false).
bool install(const QString &programFolder, const QLocale &locale = QLocale());

QString folder(const QString &programFolder);

} // namespace Translations
