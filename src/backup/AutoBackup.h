#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

class Engine;

// Snapshots of the index that Papyra takes by itself: at start (once a day), before every restore
// and before every import. They lie in the Backups folder of the user's data folder, one file per
// snapshot named by its date and time, and each is an ordinary backup file that Restore Backup
// accepts. Optionally each is copied to a second folder the user chose (a USB stick, a synced folder).
namespace AutoBackup {

inline const QString folderName = QStringLiteral("Backups");

// Kept: every snapshot of the last 24 hours, then the newest of each of the last 7 days, 4 weeks
// and 12 months that have one.
constexpr int keptDays = 7;
constexpr int keptWeeks = 4;
constexpr int keptMonths = 12;

QString folderOf(const QString &dataFolder);
// "Papyra-2026-12-07-091502.bkp"
QString fileNameFor(const QDateTime &when);

struct Snapshot {
    QString path;
    QDateTime when;
    int sequence = 0; // the second and later snapshots of one second are numbered from 2
};

// The snapshots in folder, newest first; other files are not listed.
QVector<Snapshot> list(const QString &folder);
// Those of snapshots (newest first) that the keeping rule lets go, as of now.
QStringList surplus(const QVector<Snapshot> &snapshots, const QDateTime &now);
// Whether folder holds a snapshot taken on day.
bool takenOn(const QString &folder, const QDate &day);

struct Result {
    bool ok = false;
    QString path;        // the snapshot written
    QString error;       // why it could not be written
    QString secondError; // why the copy in the second folder could not be written; empty when none is set
};

// Writes a snapshot of the engine's index into the data folder's Backups folder (made when
// missing) and, when secondFolder is set, a copy there; then removes what the keeping rule lets go
// in both. A failure leaves the index, and every earlier snapshot, as they were. Runs on any thread.
Result take(Engine &engine, const QString &dataFolder, const QString &secondFolder,
            const QDateTime &now = QDateTime::currentDateTime());

// The second folder and what Papyra remembers between runs about backups, in Papyra.ini in the data folder.
class Settings
{
public:
    explicit Settings(const QString &dataFolder);
    QString secondFolder() const;
    void setSecondFolder(const QString &folder);
    // The day the user was last told that the second folder is missing.
    QDate missingToldOn() const;
    void setMissingToldOn(const QDate &day);
    // The folder a backup file was last restored from.
    QString lastRestoreFolder() const;
    void setLastRestoreFolder(const QString &folder);

private:
    QString m_path;
};

} // namespace AutoBackup
