#include "PgCluster.h"

#include "store/PostgresEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <memory>
#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

const QString binFolder = QStringLiteral("/usr/lib/postgresql/15/bin/");

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

#ifndef Q_OS_WIN
bool asRoot()
{
    return ::geteuid() == 0;
}
#endif

} // namespace

PgCluster::~PgCluster()
{
    if (m_running)
        stop();
}

PgCluster *PgCluster::shared(QString *error)
{
    static std::unique_ptr<PgCluster> cluster;
    static QString why;
    if (!cluster && why.isEmpty()) {
        auto made = std::make_unique<PgCluster>();
        if (made->start(&why))
            cluster = std::move(made);
    }
    if (!cluster && error)
        *error = why;
    return cluster.get();
}

bool PgCluster::run(const QString &program, const QStringList &arguments, QString *output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    // The server's messages in English whatever the test's locale, and a locale every machine has.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LANG"));
    env.remove(QStringLiteral("LANGUAGE"));
    process.setProcessEnvironment(env);
#ifndef Q_OS_WIN
    if (asRoot()) {
        process.start(QStringLiteral("runuser"), QStringList{"-u", "postgres", "--", program} + arguments);
    } else
#endif
        process.start(program, arguments);
    const bool done = process.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

#ifdef Q_OS_WIN
bool PgCluster::start(QString *error)
{
    bool ok = false;
    m_port = qEnvironmentVariableIntValue("PAPYRA_TEST_PG_PORT", &ok);
    if (!ok)
        return fail(error, QStringLiteral("No test server: on Windows the shared index tests use the PostgreSQL "
                                          "server scripts/try-windows.sh starts, at the port it puts in "
                                          "PAPYRA_TEST_PG_PORT."));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return fail(error, QStringLiteral("Qt's PostgreSQL driver QPSQL is missing beside the program "
                                          "(sqldrivers/qsqlpsql.dll)."));
    if (!value(QStringLiteral("postgres"), QStringLiteral("SELECT 1")).isValid())
        return fail(error, QStringLiteral("The test server at 127.0.0.1:%1 does not answer.").arg(m_port));
    m_running = true;
    return true;
}

bool PgCluster::startServer(QString *error)
{
    return fail(error, QStringLiteral("The trial's test server cannot be started from a Windows test."));
}

bool PgCluster::stop(const QString &)
{
    return false;
}

QString PgCluster::host() const
{
    return QStringLiteral("127.0.0.1");
}
#else
bool PgCluster::start(QString *error)
{
    if (!QFileInfo::exists(binFolder + QStringLiteral("initdb")))
        return fail(error, QStringLiteral("PostgreSQL 15 is not installed (%1initdb is missing): the shared index "
                                          "tests need the package postgresql-15; run scripts/install-deps.sh.")
                               .arg(binFolder));
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        return fail(error, QStringLiteral("Qt's PostgreSQL driver QPSQL is missing: the shared index tests need "
                                          "the package libqt6sql6-psql; run scripts/install-deps.sh."));
    if (!m_dir.isValid())
        return fail(error, QStringLiteral("No temporary folder for the test server: %1").arg(m_dir.errorString()));
    if (asRoot()) {
        const passwd *user = ::getpwnam("postgres");
        if (!user)
            return fail(error, QStringLiteral("There is no postgres user to run the test server as (the package "
                                              "postgresql-15 makes it)."));
        if (::chown(QFile::encodeName(m_dir.path()).constData(), user->pw_uid, user->pw_gid) != 0)
            return fail(error, QStringLiteral("Cannot hand %1 to the postgres user.").arg(m_dir.path()));
    }
    QString output;
    const QString data = m_dir.filePath(QStringLiteral("data"));
    if (!run(binFolder + QStringLiteral("initdb"),
             {"-D", data, "-A", "trust", "-U", "postgres", "-E", "UTF8", "--locale=C.UTF-8", "--no-sync"}, &output))
        return fail(error, QStringLiteral("initdb failed: %1").arg(output.right(600)));
    if (!run(QStringLiteral("mkdir"), {host()}, &output))
        return fail(error, output);
    return startServer(error);
}

bool PgCluster::startServer(QString *error)
{
    QString output;
    const QString data = m_dir.filePath(QStringLiteral("data"));
    const QString options = QStringLiteral("-k %1 -p %2 -c listen_addresses='' -c fsync=off -c full_page_writes=off")
                                .arg(host())
                                .arg(port());
    if (!run(binFolder + QStringLiteral("pg_ctl"),
             {"-D", data, "-o", options, "-l", m_dir.filePath(QStringLiteral("log")), "-w", "start"}, &output))
        return fail(error, QStringLiteral("The test server did not start: %1").arg(output.right(600)));
    m_running = true;
    return true;
}

bool PgCluster::stop(const QString &mode)
{
    QString output;
    const bool ok = run(binFolder + QStringLiteral("pg_ctl"),
                        {"-D", m_dir.filePath(QStringLiteral("data")), "-m", mode, "-w", "stop"}, &output);
    if (ok)
        m_running = false;
    return ok;
}

QString PgCluster::host() const
{
    return m_dir.filePath(QStringLiteral("sock"));
}
#endif

QString PgCluster::uri(const QString &database, const QString &user) const
{
    return QStringLiteral("postgresql:///%1?host=%2&port=%3&user=%4").arg(database, host()).arg(port()).arg(user);
}

QVariant PgCluster::query(const QString &database, const QString &sql, const QVariantList &values, QString *error,
                          bool *ok) const
{
    const QString name = QStringLiteral("pgcluster-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QVariant result;
    *ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(host());
        db.setPort(port());
        db.setDatabaseName(database);
        db.setUserName(QStringLiteral("postgres"));
        if (!db.open()) {
            fail(error, db.lastError().text());
        } else {
            QSqlQuery query(db);
            // Statements such as CREATE DATABASE cannot be prepared: without values they go as they are.
            if (values.isEmpty()) {
                *ok = query.exec(sql);
            } else {
                *ok = query.prepare(sql);
                for (const QVariant &v : values)
                    query.addBindValue(v);
                *ok = *ok && query.exec();
            }
            if (!*ok)
                fail(error, query.lastError().text());
            else if (query.next())
                result = query.value(0);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool PgCluster::exec(const QString &database, const QString &sql, const QVariantList &values, QString *error) const
{
    bool ok = false;
    query(database, sql, values, error, &ok);
    return ok;
}

QVariant PgCluster::value(const QString &database, const QString &sql, const QVariantList &values) const
{
    bool ok = false;
    return query(database, sql, values, nullptr, &ok);
}

QString PgCluster::createDatabase(QString *error)
{
    // The process in the name: on Windows one server serves every test program of the trial.
    const QString name = QStringLiteral("papyra_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_databases);
    if (!exec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1").arg(name), {}, error))
        return QString();
    return name;
}

QString PgCluster::createIndex(const QString &sourceFile, QString *error)
{
    const QString name = createDatabase(error);
    ServerAddress address;
    if (name.isEmpty() || !ServerAddress::parse(uri(name), &address, error) ||
        !PostgresEngine::createIndex(address, sourceFile, nullptr, error))
        return QString();
    return name;
}
