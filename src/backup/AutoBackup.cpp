#include "backup/AutoBackup.h"

#include "store/Engine.h"
#include "store/FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>

#include <functional>

namespace AutoBackup {

namespace {

const QString namePattern = QStringLiteral("^Papyra-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(-\\d+)?\\.bkp$");
const QString timeFormat = QStringLiteral("yyyy-MM-dd-HHmmss");

void thinFolder(const QString &folder, const QDateTime &now)
{
    for (const QString &path : surplus(list(folder), now))
        QFile::remove(path);
}

} // namespace

QString folderOf(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(folderName);
}

QString fileNameFor(const QDateTime &when)
{
    return QStringLiteral("Papyra-") + when.toString(timeFormat) + QStringLiteral(".bkp");
}

QVector<Snapshot> list(const QString &folder)
{
    static const QRegularExpression name(namePattern);
    QVector<Snapshot> snapshots;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("Papyra-*.bkp")}, QDir::Files);
    for (const QFileInfo &file : files) {
        const QRegularExpressionMatch match = name.match(file.fileName());
        const QDateTime when = QDateTime::fromString(match.captured(1), timeFormat);
        if (match.hasMatch() && when.isValid())
            snapshots.append({file.absoluteFilePath(), when, match.captured(2).mid(1).toInt()});
    }
    std::sort(snapshots.begin(), snapshots.end(), [](const Snapshot &a, const Snapshot &b) {
        return a.when != b.when ? a.when > b.when : a.sequence > b.sequence;
    });
    return snapshots;
}

QStringList surplus(const QVector<Snapshot> &snapshots, const QDateTime &now)
{
    QSet<QString> kept;
    for (const Snapshot &s : snapshots) {
        if (s.when.secsTo(now) < 24 * 3600)
            kept.insert(s.path);
    }
    // The newest snapshot of each period, for as many periods (that have one) as the rule keeps.
    const auto keepNewestOf = [&](int periods, const std::function<qint64(const QDate &)> &period) {
        QSet<qint64> seen;
        for (const Snapshot &s : snapshots) {
            const qint64 p = period(s.when.date());
            if (seen.contains(p))
                continue;
            if (seen.size() == periods)
                break;
            seen.insert(p);
            kept.insert(s.path);
        }
    };
    keepNewestOf(keptDays, [](const QDate &d) { return d.toJulianDay(); });
    keepNewestOf(keptWeeks, [](const QDate &d) {
        int year = 0;
        const int week = d.weekNumber(&year);
        return qint64(year) * 100 + week;
    });
    keepNewestOf(keptMonths, [](const QDate &d) { return qint64(d.year()) * 100 + d.month(); });
    QStringList gone;
    for (const Snapshot &s : snapshots) {
        if (!kept.contains(s.path))
            gone.append(s.path);
    }
    return gone;
}

bool takenOn(const QString &folder, const QDate &day)
{
    const QVector<Snapshot> snapshots = list(folder);
    return std::any_of(snapshots.cbegin(), snapshots.cend(),
                       [&day](const Snapshot &s) { return s.when.date() == day; });
}

Result take(Engine &engine, const QString &dataFolder, const QString &secondFolder, const QDateTime &now)
{
    Result result;
    const QString folder = folderOf(dataFolder);
    if (!QDir().mkpath(folder)) {
        result.error = QCoreApplication::translate("AutoBackup", "The folder %1 cannot be made.")
                           .arg(QDir::toNativeSeparators(folder));
        return result;
    }
    // Two snapshots in one second (a restore right after the start) each get a name of their own.
    QString name = fileNameFor(now);
    for (int n = 2; QFileInfo::exists(QDir(folder).filePath(name)); ++n)
        name = fileNameFor(now).replace(QStringLiteral(".bkp"), QStringLiteral("-%1.bkp").arg(n));
    result.path = QDir(folder).filePath(name);
    if (!engine.snapshotTo(result.path, &result.error))
        return result;
    result.ok = true;
    thinFolder(folder, now);

    if (secondFolder.isEmpty())
        return result;
    if (!QFileInfo(secondFolder).isDir()) {
        result.secondError =
            QCoreApplication::translate("AutoBackup", "The second folder for backups, %1, is not there.")
                .arg(QDir::toNativeSeparators(secondFolder));
        return result;
    }
    QString why;
    if (FileCopy::copyAtomically(result.path, QDir(secondFolder).filePath(name), &why))
        thinFolder(secondFolder, now);
    else
        result.secondError = QCoreApplication::translate("AutoBackup", "No copy could be written to %1: %2")
                                 .arg(QDir::toNativeSeparators(secondFolder), why);
    return result;
}

Settings::Settings(const QString &dataFolder) : m_path(QDir(dataFolder).filePath(QStringLiteral("Papyra.ini"))) {}

QString Settings::secondFolder() const
{
    return QSettings(m_path, QSettings::IniFormat).value(QStringLiteral("Backups/SecondFolder")).toString();
}

void Settings::setSecondFolder(const QString &folder)
{
    QSettings(m_path, QSettings::IniFormat).setValue(QStringLiteral("Backups/SecondFolder"), folder);
}

QDate Settings::missingToldOn() const
{
    return QDate::fromString(
        QSettings(m_path, QSettings::IniFormat).value(QStringLiteral("Backups/MissingToldOn")).toString(), Qt::ISODate);
}

void Settings::setMissingToldOn(const QDate &day)
{
    QSettings(m_path, QSettings::IniFormat)
        .setValue(QStringLiteral("Backups/MissingToldOn"), day.toString(Qt::ISODate));
}

QString Settings::lastRestoreFolder() const
{
    return QSettings(m_path, QSettings::IniFormat).value(QStringLiteral("Restore/LastFolder")).toString();
}

void Settings::setLastRestoreFolder(const QString &folder)
{
    QSettings(m_path, QSettings::IniFormat).setValue(QStringLiteral("Restore/LastFolder"), folder);
}

} // namespace AutoBackup
