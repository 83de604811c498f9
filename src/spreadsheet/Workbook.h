#pragma once

#include "spreadsheet/Csv.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

// Spreadsheet files beside CSV: OpenDocument (.ods, what LibreOffice keeps) and Office Open XML
// (.xlsx). Both are zip files of XML; libzip reads and writes the zip, Qt's XML stream classes the
// XML. Only the first sheet counts, and only cell values: text, numbers and dates.
namespace Workbook {

enum class Format { Csv, Ods, Xlsx };

// By the file name's extension; anything but .ods and .xlsx is CSV.
Format formatOf(const QString &path);

struct Cell {
    enum class Kind { Empty, Text, Number, Date };
    Kind kind = Kind::Empty;
    QString text;
    double number = 0;
    QDate date;

    static Cell ofText(const QString &text) { return {text.isEmpty() ? Kind::Empty : Kind::Text, text, 0, {}}; }
    static Cell ofNumber(double n) { return {Kind::Number, {}, n, {}}; }
    static Cell ofDate(const QDate &d) { return {Kind::Date, {}, 0, d}; }
};
using Sheet = QVector<QVector<Cell>>;

// The whole file's bytes; empty with error set when the zip could not be made.
QByteArray writeOds(const Sheet &sheet, QString *error = nullptr);
QByteArray writeXlsx(const Sheet &sheet, QString *error = nullptr);

// The first sheet of a workbook, or a CSV text, as rows of texts: numbers as written without a
// needless fraction ("12"), dates as yyyy-mm-dd. A file in a form that cannot be read (an Excel
// 97-2003 .xls, a workbook protected by a password, a zip that is no spreadsheet) gives false and
// an error that names the form and says what to do.
bool read(const QByteArray &bytes, Csv::Table *table, QString *error);

} // namespace Workbook
