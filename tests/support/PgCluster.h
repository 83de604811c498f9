#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

// A throw-away PostgreSQL 15 server for the tests: initdb in a temporary folder, a Unix socket in
// that folder and no TCP port, stopped and removed when the object goes. PostgreSQL refuses to run
// as root, so under root (CI) the server runs as the postgres user the Debian package creates.
// When the server programs or Qt's PostgreSQL driver are missing, start() says which package.
// The Windows build's tests run under Wine and cannot start the machine's server programs: they use
// the throw-away server scripts/try-windows.sh starts on 127.0.0.1, at the port it puts in
// PAPYRA_TEST_PG_PORT; that server cannot be stopped from a test.
class PgCluster
{
public:
    PgCluster() = default;
    ~PgCluster();
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    // One server for the whole test program, started at the first call; error says why it is not there.
    static PgCluster *shared(QString *error);

    bool start(QString *error);
    // Starts the server again after stop().
    bool startServer(QString *error = nullptr);
    // pg_ctl stop: "fast" ends sessions cleanly, "immediate" as a crash would.
    bool stop(const QString &mode = QStringLiteral("fast"));
    bool isRunning() const { return m_running; }

    // The socket folder, or on Windows the trial server's address.
    QString host() const;
    int port() const { return m_port; }
    // A libpq URI for the database as the user, through the socket folder.
    QString uri(const QString &database, const QString &user = QStringLiteral("postgres")) const;

    // Runs one statement on the database as the superuser; false with the error on failure.
    bool exec(const QString &database, const QString &sql, const QVariantList &values = {},
              QString *error = nullptr) const;
    // The first field of the first row; invalid on failure or no row.
    QVariant value(const QString &database, const QString &sql, const QVariantList &values = {}) const;
    // A new, empty database with a fresh name.
    QString createDatabase(QString *error = nullptr);
    // A new database holding a shared index made from the Papyra database file; its name.
    QString createIndex(const QString &sourceFile, QString *error = nullptr);

private:
    QVariant query(const QString &database, const QString &sql, const QVariantList &values, QString *error,
                   bool *ok) const;
    bool run(const QString &program, const QStringList &arguments, QString *output) const;

    QTemporaryDir m_dir{QStringLiteral("/tmp/papyra-pg-XXXXXX")};
    bool m_running = false;
    int m_port = 5432;
    int m_databases = 0;
};
