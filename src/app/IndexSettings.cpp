#include "app/IndexSettings.h"

#include "store/DataFolder.h"
#include "store/ServerAddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>

namespace IndexSettings {

namespace {

const QString fileName = QStringLiteral("papyra.conf");
const QString sharedKey = QStringLiteral("index/shared");

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty())
        home = QDir::homePath();
    return QDir(home).filePath(QStringLiteral(".config"));
}

QString escaped(QString field)
{
    return field.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char(':'), QStringLiteral("\\:"));
}

} // namespace

QString path(const QString &programFolder)
{
    if (!DataFolder::isInstalled(programFolder))
        return QDir(programFolder).filePath(fileName);
    return QDir(configHome()).filePath(DataFolder::userFolderName + QLatin1Char('/') + fileName);
}

QString sharedIndex(const QString &settingsPath)
{
    return QSettings(settingsPath, QSettings::IniFormat).value(sharedKey).toString();
}

bool setSharedIndex(const QString &settingsPath, const QString &uri)
{
    QDir().mkpath(QFileInfo(settingsPath).absolutePath());
    QSettings settings(settingsPath, QSettings::IniFormat);
    ServerAddress address;
    if (uri.isEmpty() || !ServerAddress::parse(uri, &address))
        settings.remove(sharedKey);
    else
        settings.setValue(sharedKey, address.toUri());
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool rememberPassword(const ServerAddress &address, const QString &password, QString *error)
{
    QString file = qEnvironmentVariable("PGPASSFILE");
    if (file.isEmpty())
        file = QDir::home().filePath(QStringLiteral(".pgpass"));
    const QString host = address.host.isEmpty() ? QStringLiteral("localhost") : address.host;
    const QString prefix =
        QStringList{escaped(host), address.port > 0 ? QString::number(address.port) : QStringLiteral("5432"),
                    escaped(address.database), escaped(address.user)}
            .join(QLatin1Char(':')) +
        QLatin1Char(':');
    QStringList lines;
    QFile old(file);
    if (old.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString &line : QString::fromUtf8(old.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (!line.startsWith(prefix))
                lines << line;
        }
    }
    lines << prefix + escaped(password);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) ||
        out.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 || !out.commit()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    return QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace IndexSettings
