#pragma once

#include <QString>

// Where the user's database lives.
//
// A program folder as the build makes it, or any copy of it, is portable: Varnel.mdb lies beside
// the program and travels with the folder. A program folder that the Debian package installed
// holds the marker file below, put there by the install step; its files belong to the system, so
// the data goes to the user's own data folder, $XDG_DATA_HOME/Papyra (on Windows, where the installer
// puts the marker, %LOCALAPPDATA%\Papyra). The marker decides, not
// whether the folder can be written: root can write anywhere, and tests and CI run as root.
namespace DataFolder {

inline const QString installedMarker = QStringLiteral("papyra-installed");
inline const QString userFolderName = QStringLiteral("Papyra");

bool isInstalled(const QString &programFolder);

// The folder that holds Varnel.mdb: the program folder when portable, userDataHome/Papyra when
// installed.
QString resolve(const QString &programFolder, const QString &userDataHome);

// $XDG_DATA_HOME when it is an absolute path, otherwise home/.local/share.
QString userDataHome(const QString &xdgDataHome, const QString &home);
// The same for the running user, from the environment; on Windows the local application data folder.
QString userDataHome();

} // namespace DataFolder
