#pragma once

#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <functional>
#include <vector>

// The one connection to Varnel.mdb that all data sources share. Sharing one SQLite connection
// means a read that one data source has not finished can never lock out another one's write.
// The connection closes once every user has released it, so the file can be copied whole.
class Database
{
public:
    using Initializer = std::function<bool(QSqlDatabase &db, QString *error)>;

    Database();
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Runs on every new connection, for example to register SQL functions.
    void addInitializer(Initializer init);

    // Opens path for user (if not open already on that path). Never creates a missing file.
    bool attach(const void *user, const QString &path, QString *error = nullptr);
    // Forgets user; the connection closes when nobody is left.
    void detach(const void *user);

    bool isOpen() const;
    QSqlDatabase connection() const;

    // Runs a query whose first column is an integer key and collects the keys in order. Reads
    // through SQLite directly: a key list of a hundred thousand slots costs a few milliseconds
    // this way, several times less than through QSqlQuery's per-value variants.
    bool readKeys(const QString &sql, const QVariantList &bindValues, QVector<qint64> *keys, QString *error) const;

    // Changes whenever the data may have changed: another opening of the file, a write through this
    // connection, or a commit by any other connection. Empty when the database is not open.
    QByteArray changeStamp() const;

    // Closes the connection whoever still uses it.
    void close();

private:
    bool open(const QString &path, QString *error);
    QString openChecked(const QString &path); // empty when the file is open and usable

    QString m_connectionName;
    QString m_path;
    quint64 m_openings = 0;
    QSet<const void *> m_users;
    std::vector<Initializer> m_initializers;
};
