#pragma once

#include <QString>

struct ServerAddress;

// Papyra's settings file: which index the user works on. Installed, it lies in the user's
// configuration folder ($XDG_CONFIG_HOME/Papyra/papyra.conf, by default ~/.config); portable, in the
// program folder beside the program. It never holds a password: the shared index's address is
// kept without one, and a password the user asks to remember goes to libpq's own password file.
namespace IndexSettings {

QString path(const QString &programFolder);

// The shared index's address, or empty for the user's own index file.
QString sharedIndex(const QString &settingsPath);
// Remembers uri (its password left out); an empty uri goes back to the own index.
bool setSharedIndex(const QString &settingsPath, const QString &uri);

// Adds or replaces the line for address in libpq's password file ($PGPASSFILE, by default
// ~/.pgpass), which must be readable by its owner only (0600), as libpq requires.
bool rememberPassword(const ServerAddress &address, const QString &password, QString *error = nullptr);

} // namespace IndexSettings
