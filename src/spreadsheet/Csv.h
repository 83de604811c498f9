#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// Comma-separated text as spreadsheet programs write and read it.
namespace Csv {

// One field, quoted when it holds the separator, a quote or a line break; quotes doubled.
QString field(const QString &text, QChar separator = QLatin1Char(','));

// A cell that a spreadsheet would run as a formula (it begins with = + - or @) gets a leading
// apostrophe, so the spreadsheet shows it as text; so does one that already begins with
// apostrophes before such a sign, so that fromText gives back exactly what asText was given.
QString asText(const QString &cell);
QString fromText(const QString &cell);

// The whole file: UTF-8 with a byte order mark (so spreadsheet programs read accents right),
// fields separated by `separator`, every line ended by CR LF, every cell through asText.
QByteArray write(const QVector<QStringList> &rows, QChar separator = QLatin1Char(','));

// The same a row at a time, for a file too large to hold as rows first: appendRow adds one line to
// text, finish gives the file's bytes.
void appendRow(QString *text, const QString *cells, int count, QChar separator);
QByteArray finish(const QString &text);

// The separator spreadsheet programs expect under the user's locale: a semicolon where the decimal
// separator is a comma (de_DE and most of Europe), a comma elsewhere.
QChar localeSeparator();

// Text from a file's bytes: UTF-8 with or without a byte order mark; Windows-1252 only when no
// byte of the file is part of a UTF-8 sequence (a file with valid and broken UTF-8 is refused, as
// guessing would garble every accent in it). False with error naming the first bad line.
bool decode(const QByteArray &bytes, QString *text, QString *error);

// Comma, semicolon or tab: whichever of them occurs most often, outside quotes, in the first line.
QChar separatorOf(const QString &text);

struct Table {
    QVector<QStringList> rows;
    QVector<int> lines; // the line of the file on which each row starts, counting from 1
    QString error;      // not empty: the text could not be read as a whole, for this reason
};

// Splits text into rows of fields. A quoted field may hold separators, doubled quotes and line
// breaks, which are kept as they are. A CR LF, CR or LF ends a row outside quotes. A quote left
// open at the end of the text would have swallowed every row after it: the table is then refused.
Table parse(const QString &text, QChar separator);

// decode, separatorOf and parse in one.
Table read(const QByteArray &bytes);

} // namespace Csv
