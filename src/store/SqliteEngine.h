#pragma once

#include "store/Engine.h"

#include <QStringList>
#include <vector>

// The index as one SQLite file, Varnel.mdb. One connection serves every data source, so a read one
// of them has not finished can never lock out another one's write.
class SqliteEngine : public Engine
{
public:
    explicit SqliteEngine(const QString &path);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine &) = delete;
    SqliteEngine &operator=(const SqliteEngine &) = delete;

    QString path() const { return m_path; }

    QString location() const override { return m_path; }
    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override;
    QSqlDatabase connection() const override;
    QByteArray changeStamp() const override;
    // Known for the columns of Varnel, from SQLite's pre-update hook on the connection.
    QByteArray columnStamp(const QString &table, const QString &column) const override;
    // Reads through SQLite directly: a key list of a hundred thousand slots costs a few
    // milliseconds this way, several times less than through QSqlQuery's per-value variants.
    bool readKeys(const QString &sql, const QVariantList &bindValues, QVector<qint64> *keys,
                  QString *error) const override;
    void prepareSearch() override;
    // The same for rows: one prepared statement, values read without a detour through UTF-16.
    bool readRows(const QString &sql, const QVector<QVariantList> &bindSets, const RowReader &row,
                  QString *error) const override;
    QString matchCondition() const override;
    QString categoryKey() const override;
    bool backupTo(const QString &path, QString *error) override;
    bool restoreFrom(const QString &path, QString *error) override;
    bool snapshotTo(const QString &path, QString *error) override;

private:
    QString openChecked(); // empty when the file is open and usable

    QString m_connectionName;
    QString m_path;
    quint64 m_openings = 0;
    // Changes this connection made to each column of Varnel, by column position.
    std::vector<quint64> m_slotColumnChanges;
    QStringList m_slotColumns;
};
