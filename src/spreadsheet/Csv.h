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

// The whole file: UTF-8 with a byte order mark (so spreadsheet programs read accents right),
// fields separated by `separator`, every line ended by CR LF.
QByteArray write(const QVector<QStringList> &rows, QChar separator = QLatin1Char(','));

// The separator spreadsheet programs expect under the user's locale: a semicolon where the decimal
// separator is a comma (de_DE and most of Europe), a comma elsewhere.
QChar localeSeparator();

// Text from a file's bytes: UTF-8 with or without a byte order mark, or Windows-1252 when the
// bytes are not UTF-8.
QString decode(const QByteArray &bytes);

// Comma, semicolon or tab: whichever of them occurs most often, outside quotes, in the first line.
QChar separatorOf(const QString &text);

struct Table {
    QVector<QStringList> rows;
    QVector<int> lines; // the line of the file on which each row starts, counting from 1
};

// Splits text into rows of fields. A quoted field may hold separators, doubled quotes and line
// breaks, which are kept as they are. A CR LF, CR or LF ends a row outside quotes.
Table parse(const QString &text, QChar separator);

// decode, separatorOf and parse in one.
Table read(const QByteArray &bytes);

} // namespace Csv
