#include "TestFolder.h"

#include <QCryptographicHash>

#include "store/Schema.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

TestFolder::TestFolder(Contents contents)
{
    if (contents == Contents::Empty)
        return;
    QFile::copy(builtTemplate(), templatePath());
    if (contents == Contents::Ready)
        QFile::copy(builtTemplate(), databasePath());
}

QString TestFolder::databasePath() const
{
    return filePath(Schema::databaseFileName);
}

QString TestFolder::templatePath() const
{
    return filePath(Schema::templateFileName);
}

bool TestFolder::makeDatabase(int slotCount)
{
    QFile::remove(databasePath());
    return Schema::createDatabase(databasePath(), slotCount);
}

bool TestFolder::copyProgramData()
{
    const QDir from(builtProgramFolder());
    QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString rel = from.relativeFilePath(source);
        if (!rel.contains(QLatin1Char('/')) &&
            (QFileInfo(source).isExecutable() || rel == Schema::templateFileName || rel == Schema::databaseFileName))
            continue; // the data files (labels.def, the tour), not the program or its databases
        const QString target = filePath(rel);
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::exists(target) && !QFile::copy(source, target))
            return false;
    }
    return true;
}

QString TestFolder::builtTemplate()
{
    return QStringLiteral(PAPYRA_TEMPLATE_PATH);
}

QString TestFolder::builtProgramFolder()
{
    return QStringLiteral(PAPYRA_PROGRAM_DIR);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
