#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

class QSqlDatabase;

// Each folder's earlier values, kept in the index itself: every write of a slot or of a category
// name first stores what it replaces, with the time and the user's name. The table is Papyra's own
// addition; it is made when a file without it is opened. Plain SQL only, so every engine runs it.
namespace History {

// How many versions of each folder are always kept, and for how long every version is kept.
constexpr int keptVersions = 50;
constexpr int keptMonths = 12;

// One earlier state of a slot (kind "slot") or of a category name (kind "category").
struct Version {
    qint64 id = 0;
    QDateTime changedAt; // local time
    QString changedBy;
    QString kind;
    qint64 number = 0;                    // the slot's FileNumber
    QString keywords, category, reminder; // null QString: the field held nothing
    QString newName;                      // a category's name after the change; null when deleted
};

// Makes the table when it is missing and checks one that is there; keyDeclaration is the engine's
// type of an integer key that numbers new rows itself.
bool prepare(QSqlDatabase &db, const QString &keyDeclaration, QString *error = nullptr);

// Before a write of row key in table (Varnel or Categories) with these new values (by field; a
// null QVariant clears the field): stores the row's values as they are, when the write changes
// them. key < 0: the row is being added; an empty newValues: the row is being deleted. Other
// tables keep no history.
bool keep(QSqlDatabase &db, const QString &table, const QString &keyField, qint64 key,
          const QHash<QString, QVariant> &newValues, QString *error = nullptr);

// Keeps the earlier values of many slots written in one transaction: the statement is prepared
// once and every version gets the same time, the transaction's.
class SlotKeeper
{
public:
    explicit SlotKeeper(QSqlDatabase &db);
    ~SlotKeeper();
    SlotKeeper(const SlotKeeper &) = delete;
    SlotKeeper &operator=(const SlotKeeper &) = delete;

    // Stores old as a version of slot number.
    bool store(qint64 number, const QVariant old[3], QString *error = nullptr);

private:
    struct Statements;
    Statements *m_statements;
};

// Whether writing newValue over old changes the field for the history: null and empty text are
// both nothing, and a value is compared as text.
bool differs(const QVariant &old, const QVariant &newValue);

// The earlier values of slot number, newest first.
bool versionsOf(QSqlDatabase &db, qint64 number, QVector<Version> *versions, QString *error = nullptr);
// One version by its id; false when there is none.
bool version(QSqlDatabase &db, qint64 id, Version *version, QString *error = nullptr);

// Removes versions beyond the newest keptVersions of each folder that are older than keptMonths
// before now; returns how many went, -1 on failure.
int thin(QSqlDatabase &db, const QDateTime &now = QDateTime::currentDateTime(), QString *error = nullptr);

// How many versions the table holds; -1 on failure.
int count(QSqlDatabase &db, QString *error = nullptr);

} // namespace History
