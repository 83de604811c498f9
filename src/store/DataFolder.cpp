#include "store/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder {

bool isInstalled(const QString &programFolder)
{
    return QFileInfo(QDir(programFolder).filePath(installedMarker)).isFile();
}

QString resolve(const QString &programFolder, const QString &userDataHome)
{
    if (!isInstalled(programFolder))
        return programFolder;
    return QDir::cleanPath(QDir(userDataHome).filePath(userFolderName));
}

QString userDataHome(const QString &xdgDataHome, const QString &home)
{
    // A relative XDG_DATA_HOME is invalid and must be ignored: it would put the data wherever the
    // program happened to be started from.
    if (!xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome))
        return QDir::cleanPath(xdgDataHome);
    return QDir::cleanPath(QDir(home).filePath(QStringLiteral(".local/share")));
}

QString userDataHome()
{
#ifdef Q_OS_WIN
    // The user's local application data folder (%LOCALAPPDATA%), Windows' counterpart of $XDG_DATA_HOME.
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#else
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        home = QDir::homePath();
    return userDataHome(qEnvironmentVariable("XDG_DATA_HOME"), home);
#endif
}

} // namespace DataFolder
