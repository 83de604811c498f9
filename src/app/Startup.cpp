#include "app/Startup.h"

#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Startup {

QString prepareProgramFolder(const QString &programFolder, const QString &userDataHome)
{
    const QString dataFolder = DataFolder::resolve(programFolder, userDataHome);
    QDir().mkpath(dataFolder);
    // Plain names resolve in the data folder, never among the installed system files.
    QDir::setCurrent(dataFolder);
    const QString database = QDir(dataFolder).filePath(Schema::databaseFileName);
    if (QFileInfo::exists(database))
        return dataFolder;
    // QFile::copy writes a temporary file and renames it, so a failed copy leaves no half database.
    if (QFile::copy(QDir(programFolder).filePath(Schema::templateFileName), database)) {
        // The copy keeps the template's permission bits; an installed template may be read-only,
        // the user's database must not be.
        QFile::setPermissions(database, QFile::permissions(database) | QFile::ReadOwner | QFile::WriteOwner);
    }
    return dataFolder;
}

} // namespace Startup
