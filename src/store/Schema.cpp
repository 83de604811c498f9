#include "store/Schema.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace Schema {

QStringList defaultCategories()
{
    return {QStringLiteral("Auto"),      QStringLiteral("Bank"),   QStringLiteral("Bills"),
            QStringLiteral("Education"), QStringLiteral("Health"), QStringLiteral("Home"),
            QStringLiteral("Insurance"), QStringLiteral("Taxes"),  QStringLiteral("Travel"),
            QStringLiteral("Warranties")};
}

bool createTables(QSqlDatabase &db, QString *error)
{
    // FileNumber is the key and SQLite's rowid, so slots come in number order without an extra index.
    // Reminder holds an ISO date (yyyy-MM-dd) so that no locale decides how it is written.
    const char *statements[] = {
        "CREATE TABLE Varnel (FileNumber INTEGER PRIMARY KEY, Keywords TEXT, Category TEXT, Reminder TEXT)",
        "CREATE TABLE Categories (Category TEXT)",
    };
    QSqlQuery query(db);
    for (const char *sql : statements) {
        if (!query.exec(QString::fromLatin1(sql))) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

bool createDatabase(const QString &path, int slotCount, const QStringList &categories, int firstNumber, QString *error)
{
    if (QFileInfo::exists(path)) {
        if (error)
            *error = QCoreApplication::translate("Schema", "%1 already exists").arg(path);
        return false;
    }
    const QString connection = QStringLiteral("papyra-create-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            ok = createTables(db, error) && db.transaction();
            QSqlQuery query(db);
            if (ok) {
                ok = query.prepare(QStringLiteral("INSERT INTO Varnel (FileNumber) VALUES (?)"));
                for (int i = 0; ok && i < slotCount; ++i) {
                    query.addBindValue(firstNumber + i);
                    ok = query.exec();
                }
            }
            if (ok) {
                ok = query.prepare(QStringLiteral("INSERT INTO Categories (Category) VALUES (?)"));
                for (const QString &name : categories) {
                    query.addBindValue(name);
                    ok = ok && query.exec();
                }
            }
            if (ok)
                ok = db.commit();
            if (!ok && error && error->isEmpty())
                *error = query.lastError().text();
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

QVector<Table> expectedTables()
{
    return {
        {QStringLiteral("Varnel"), {"FileNumber", "Keywords", "Category", "Reminder"}},
        {QStringLiteral("Categories"), {"Category"}},
    };
}

Table historyTable()
{
    return {QStringLiteral("PapyraHistory"),
            {"Id", "ChangedAt", "ChangedBy", "Kind", "FileNumber", "Keywords", "Category", "Reminder", "NewName"}};
}

bool hasExpectedTables(QSqlDatabase &db, QString *error)
{
    const QStringList tables = db.tables();
    for (const Table &want : expectedTables()) {
        const QString &table = want.name;
        if (!tables.contains(table)) {
            if (error)
                *error = QCoreApplication::translate("Schema", "the table %1 is missing").arg(table);
            return false;
        }
        const QSqlRecord record = db.record(table);
        for (const QString &field : want.fields) {
            if (record.indexOf(field) < 0) {
                if (error)
                    *error = QCoreApplication::translate("Schema", "the table %1 has no field %2").arg(table, field);
                return false;
            }
        }
    }
    return true;
}

} // namespace Schema
