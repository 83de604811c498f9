#include "app/CommandLine.h"

#include "app/IndexSettings.h"
#include "store/PostgresEngine.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace CommandLine {

int createSharedIndex(const QStringList &arguments, const QString &programFolder, QTextStream &out, QTextStream &err)
{
    if (arguments.isEmpty() || arguments.size() > 2) {
        err << QCoreApplication::translate(
                   "CommandLine", "usage: papyra --create-shared-index postgresql://USER@SERVER/DATABASE [FILE]")
            << '\n';
        return 2;
    }
    ServerAddress address;
    QString error;
    if (!ServerAddress::parse(arguments.at(0), &address, &error)) {
        err << error << '\n';
        return 2;
    }
    const QString file =
        arguments.size() > 1 ? arguments.at(1) : QDir(programFolder).filePath(Schema::templateFileName);
    QString report;
    if (!PostgresEngine::createIndex(address, file, &report, &error)) {
        err << "papyra: " << error << '\n';
        return 1;
    }
    out << report << '\n';
    return 0;
}

bool chooseIndex(const QString &uri, const QString &settingsPath, QString *error)
{
    ServerAddress address;
    if (!ServerAddress::parse(uri, &address, error))
        return false;
    if (!IndexSettings::setSharedIndex(settingsPath, uri)) {
        if (error)
            *error =
                QCoreApplication::translate("CommandLine", "The settings file %1 cannot be written.").arg(settingsPath);
        return false;
    }
    return true;
}

} // namespace CommandLine
