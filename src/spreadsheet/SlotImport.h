#pragma once

#include "spreadsheet/Csv.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

class RecordStore;

// Filling file slots from a spreadsheet. Each row fills the slot with its number; an empty cell
// leaves that field as it is. The program never adds or deletes a slot, so a row for a number
// that no slot carries is refused, as is a row that is not clear about what it means.
namespace SlotImport {

// At most this many refused rows are listed in the question; the rest are only counted.
constexpr int listedRefusals = 10;

struct Row {
    int line = 0;
    qint64 number = 0;
    std::optional<QString> keywords; // nullopt: the cell was empty or the column is missing
    std::optional<QString> category;
    std::optional<QString> reminder; // as stored: yyyy-MM-dd
};

struct Refusal {
    int line = 0;
    QString reason;
};

struct Plan {
    QString fileError;         // not empty: the file as a whole is refused, for this reason
    QVector<Row> rows;         // accepted rows, in file order
    QVector<Refusal> refused;  // in file order
    int replacingKeywords = 0; // accepted rows that would replace keywords a slot already holds
};

// A file of this size holds far more slots than any index (a million filled slots take some 60 MB).
constexpr qint64 maxFileSize = qint64(128) << 20;

// Reads a regular file of at most maxFileSize bytes; false with a sentence for the user otherwise.
bool readFile(const QString &path, QByteArray *bytes, QString *error);

// What the file's header must name, told when a file is refused for its headers.
QString expectedHeaders();

// Works out what importing the table would do to these slots; writes nothing.
Plan plan(const Csv::Table &table, const QHash<qint64, QString> &existing);

// How many rows are refused, and the line and reason of the first few; empty when none is.
QString refusals(const Plan &plan);

// The Yes/No question asked before anything is written.
QString question(const Plan &plan);

// Writes every accepted row in one transaction: all of them, or on any failure none.
bool apply(RecordStore &store, const Plan &plan, QString *error = nullptr);

} // namespace SlotImport
