#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class QSqlDatabase;

// The one place that knows the tables of the database file.
namespace Schema {

inline const QString databaseFileName = QStringLiteral("Varnel.mdb");
inline const QString templateFileName = QStringLiteral("Varnel.tpl");

QStringList defaultCategories();

// Creates both tables in an open, empty database.
bool createTables(QSqlDatabase &db, QString *error = nullptr);

// Writes a new database file holding slots firstNumber .. firstNumber + slotCount - 1, all open,
// and the given categories. Fails if the file already exists.
bool createDatabase(const QString &path, int slotCount, const QStringList &categories = defaultCategories(),
                    int firstNumber = 1, QString *error = nullptr);

// The two tables and the fields this program reads, the key first.
struct Table {
    QString name;
    QStringList fields;
};
QVector<Table> expectedTables();
// Papyra's own table of earlier values (see History), with every field it writes, the key first.
Table historyTable();

// True when db holds the two tables with the fields this program reads.
bool hasExpectedTables(QSqlDatabase &db, QString *error = nullptr);

} // namespace Schema
