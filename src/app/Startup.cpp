#include "app/Startup.h"

#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Startup {

void prepareProgramFolder(const QString &programFolder)
{
    QDir::setCurrent(programFolder);
    const QDir folder(programFolder);
    const QString database = folder.filePath(Schema::databaseFileName);
    if (QFileInfo::exists(database))
        return;
    // QFile::copy writes a temporary file and renames it, so a failed copy leaves no half database.
    QFile::copy(folder.filePath(Schema::templateFileName), database);
}

} // namespace Startup
