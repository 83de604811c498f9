#include "store/History.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

namespace History {

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// Stored in UTC with milliseconds, so the text sorts as the time does on every engine.
const QString timeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz");

QString stamp(const QDateTime &when)
{
    return when.toUTC().toString(timeFormat);
}

QDateTime fromStamp(const QString &text)
{
    QDateTime when = QDateTime::fromString(text, timeFormat);
    when.setTimeSpec(Qt::UTC);
    return when.toLocalTime();
}

QString userName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}

QString textOrNull(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

const QString columns =
    QStringLiteral("Id, ChangedAt, ChangedBy, Kind, FileNumber, Keywords, Category, Reminder, NewName");

const QString insertVersion = QStringLiteral("INSERT INTO PapyraHistory (ChangedAt, ChangedBy, Kind, FileNumber, "
                                             "Keywords, Category, Reminder, NewName) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");

bool insert(QSqlDatabase &db, const QString &kind, const QVariant &number, const QVariant &keywords,
            const QVariant &category, const QVariant &reminder, const QVariant &newName, QString *error)
{
    QSqlQuery query(db);
    query.prepare(insertVersion);
    for (const QVariant &v : {QVariant(stamp(QDateTime::currentDateTime())), QVariant(userName()), QVariant(kind),
                              number, keywords, category, reminder, newName})
        query.addBindValue(v);
    if (!query.exec())
        return fail(error, query.lastError().text());
    return true;
}

Version versionFrom(const QSqlQuery &query)
{
    Version v;
    v.id = query.value(0).toLongLong();
    v.changedAt = fromStamp(query.value(1).toString());
    v.changedBy = textOrNull(query.value(2));
    v.kind = query.value(3).toString();
    v.number = query.value(4).toLongLong();
    v.keywords = textOrNull(query.value(5));
    v.category = textOrNull(query.value(6));
    v.reminder = textOrNull(query.value(7));
    v.newName = textOrNull(query.value(8));
    return v;
}

} // namespace

bool differs(const QVariant &old, const QVariant &newValue)
{
    return textOrNull(old) != textOrNull(newValue) || old.isNull() != newValue.isNull();
}

struct SlotKeeper::Statements {
    explicit Statements(QSqlDatabase &db) : insert(db) {}
    QSqlQuery insert;
    bool prepared = false;
    QString stamp, user;
};

SlotKeeper::SlotKeeper(QSqlDatabase &db) : m_statements(new Statements(db))
{
    m_statements->prepared = m_statements->insert.prepare(insertVersion);
    m_statements->stamp = stamp(QDateTime::currentDateTime());
    m_statements->user = userName();
}

SlotKeeper::~SlotKeeper()
{
    delete m_statements;
}

bool SlotKeeper::store(qint64 number, const QVariant old[3], QString *error)
{
    QSqlQuery &query = m_statements->insert;
    if (!m_statements->prepared)
        return fail(error, query.lastError().text());
    const QVariant values[8] = {
        m_statements->stamp, m_statements->user, QStringLiteral("slot"), number, old[0], old[1], old[2], QVariant()};
    for (int i = 0; i < 8; ++i)
        query.bindValue(i, values[i]);
    if (!query.exec())
        return fail(error, query.lastError().text());
    return true;
}

bool prepare(QSqlDatabase &db, const QString &keyDeclaration, QString *error)
{
    QSqlQuery query(db);
    // A file that cannot be written keeps its data readable; its edits fail on their own.
    // (A shared index has the table from its creation; asking first keeps the server's notice away.)
    if (!db.tables().contains(QStringLiteral("PapyraHistory"), Qt::CaseInsensitive))
        query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS PapyraHistory (Id %1, ChangedAt TEXT, ChangedBy TEXT, "
                                  "Kind TEXT, FileNumber INTEGER, Keywords TEXT, Category TEXT, Reminder TEXT, "
                                  "NewName TEXT)")
                       .arg(keyDeclaration));
    // Every field it writes must be there: a table of the same name but another shape is not Papyra's.
    if (!query.exec(QStringLiteral("SELECT %1 FROM PapyraHistory WHERE 1 = 0").arg(columns))) {
        if (!db.tables().contains(QStringLiteral("PapyraHistory"), Qt::CaseInsensitive))
            return true;
        return fail(error, QCoreApplication::translate("History", "the table PapyraHistory is not Papyra's (%1)")
                               .arg(query.lastError().databaseText()));
    }
    return true;
}

bool keep(QSqlDatabase &db, const QString &table, const QString &keyField, qint64 key,
          const QHash<QString, QVariant> &newValues, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (table.compare(QLatin1String("Varnel"), Qt::CaseInsensitive) == 0) {
        if (key < 0)
            return true; // slots are never added
        query.prepare(QStringLiteral("SELECT Keywords, Category, Reminder FROM Varnel WHERE %1 = ?").arg(keyField));
        query.addBindValue(key);
        if (!query.exec())
            return fail(error, query.lastError().text());
        if (!query.next())
            return true; // nothing to keep: the write itself will find no row
        const QVariant old[3] = {query.value(0), query.value(1), query.value(2)};
        query.finish();
        static const QString fields[3] = {QStringLiteral("Keywords"), QStringLiteral("Category"),
                                          QStringLiteral("Reminder")};
        bool changed = false;
        for (int i = 0; i < 3; ++i) {
            const auto value = newValues.constFind(fields[i]);
            changed = changed || (value != newValues.constEnd() && differs(old[i], *value));
        }
        if (!changed)
            return true;
        return insert(db, QStringLiteral("slot"), key, old[0], old[1], old[2], QVariant(), error);
    }
    if (table.compare(QLatin1String("Categories"), Qt::CaseInsensitive) != 0)
        return true;
    const QVariant none{QMetaType(QMetaType::QString)};
    QVariant oldName = none;
    if (key >= 0) {
        query.prepare(QStringLiteral("SELECT Category FROM Categories WHERE %1 = ?").arg(keyField));
        query.addBindValue(key);
        if (!query.exec())
            return fail(error, query.lastError().text());
        if (!query.next())
            return true;
        oldName = query.value(0);
        query.finish();
    }
    const QVariant newName = newValues.value(QStringLiteral("Category"), none);
    if (key >= 0 && !newValues.isEmpty() && !differs(oldName, newName))
        return true;
    return insert(db, QStringLiteral("category"), QVariant(), none, oldName, none, newName, error);
}

bool versionsOf(QSqlDatabase &db, qint64 number, QVector<Version> *versions, QString *error)
{
    versions->clear();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM PapyraHistory WHERE Kind = 'slot' AND FileNumber = ? "
                                 "ORDER BY Id DESC")
                      .arg(columns));
    query.addBindValue(number);
    if (!query.exec())
        return fail(error, query.lastError().text());
    while (query.next())
        versions->append(versionFrom(query));
    return true;
}

bool version(QSqlDatabase &db, qint64 id, Version *version, QString *error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM PapyraHistory WHERE Id = ?").arg(columns));
    query.addBindValue(id);
    if (!query.exec())
        return fail(error, query.lastError().text());
    if (!query.next())
        return fail(error, QCoreApplication::translate("History", "This version is no longer kept."));
    *version = versionFrom(query);
    return true;
}

int thin(QSqlDatabase &db, const QDateTime &now, QString *error)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM PapyraHistory WHERE Id IN (SELECT Id FROM (SELECT Id, ChangedAt, "
                                 "row_number() OVER (PARTITION BY Kind, FileNumber ORDER BY Id DESC) AS Place "
                                 "FROM PapyraHistory) Ranked WHERE Place > ? AND ChangedAt < ?)"));
    query.addBindValue(keptVersions);
    query.addBindValue(stamp(now.addMonths(-keptMonths)));
    if (!query.exec()) {
        fail(error, query.lastError().text());
        return -1;
    }
    return query.numRowsAffected();
}

int count(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM PapyraHistory")) || !query.next()) {
        fail(error, query.lastError().text());
        return -1;
    }
    return query.value(0).toInt();
}

} // namespace History
