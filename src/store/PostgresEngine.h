#pragma once

#include "store/Engine.h"
#include "store/ServerAddress.h"

#include <map>
#include <string>

// The index as a database on a PostgreSQL server that several desks share, reached through Qt's
// QPSQL driver. Names are never quoted, so PostgreSQL folds them: the tables are varnel and
// categories, whatever case a query writes them in.
//
// Beside the program's fields, each slot carries Changed (the id of the transaction that last
// wrote it, set by a trigger), and each category an Id. Every committed change advances the
// sequence papyra_changes and sends NOTIFY papyra, so every desk learns of it at once.
class PostgresEngine : public Engine
{
public:
    explicit PostgresEngine(const ServerAddress &address);
    ~PostgresEngine() override;
    PostgresEngine(const PostgresEngine &) = delete;
    PostgresEngine &operator=(const PostgresEngine &) = delete;

    const ServerAddress &address() const { return m_address; }
    // The password for this session only; it is never written anywhere.
    void setPassword(const QString &password) { m_address.password = password; }
    // The last open failed because the server wants a password and none was given.
    bool needsPassword() const { return m_needsPassword; }

    QString location() const override { return m_address.describe(); }
    bool open(QString *error) override;
    void close() override;
    bool isOpen() const override;
    QSqlDatabase connection() const override;
    QByteArray changeStamp() const override;
    bool readKeys(const QString &sql, const QVariantList &bindValues, QVector<qint64> *keys,
                  QString *error) const override;
    bool searchKeys(const QString &term, QVector<qint64> *keys, QString *error) const override;
    QString matchCondition() const override { return QString(); }
    QString categoryKey() const override { return QStringLiteral("Id"); }
    bool backupTo(const QString &path, QString *error) override;
    bool restoreFrom(const QString &path, QString *error) override;
    void setChangeHandler(std::function<void()> handler) override { m_onChange = std::move(handler); }
    bool isLost() const override;
    bool mayWrite() const override { return m_mayWrite; }
    bool isShared() const override { return true; }

    // Creates the index's tables in the empty database that address names, fills them from
    // sourceFile (a Papyra database file) and creates the group roles papyra_editors and
    // papyra_readers with their grants, all in one transaction. Refuses a database that already
    // holds an index. *report says what was done.
    static bool createIndex(const ServerAddress &address, const QString &sourceFile, QString *report, QString *error);

private:
    QString openChecked();
    bool syncSearchCopy(QString *error) const;

    struct FoldedSlot {
        std::string field[3]; // keywords, category, shown reminder: case-folded
        unsigned present = 0; // bit per field that holds a value
    };

    ServerAddress m_address;
    QString m_connectionName;
    quint64 m_openings = 0;
    bool m_needsPassword = false;
    bool m_mayWrite = false;
    std::function<void()> m_onChange;

    // The search's copy of every slot, read again only where it changed.
    mutable std::map<qint64, FoldedSlot> m_slots;
    mutable qint64 m_syncFrom = -1; // rows written by this transaction or later are read again; -1: all
    mutable QByteArray m_syncedStamp;
    mutable QString m_syncedForm;
};
