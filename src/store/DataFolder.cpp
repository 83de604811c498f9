#include "store/DataFolder.h"

#include <QDir>
#include <QFileInfo>

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
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        home = QDir::homePath();
    return userDataHome(qEnvironmentVariable("XDG_DATA_HOME"), home);
}

} // namespace DataFolder
