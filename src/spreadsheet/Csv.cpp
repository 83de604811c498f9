#include "spreadsheet/Csv.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringDecoder>

namespace Csv {

namespace {

bool needsQuotes(const QString &text, QChar separator)
{
    for (const QChar c : text) {
        if (c == separator || c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return true;
    }
    return false;
}

void appendField(QString *out, const QString &text, QChar separator)
{
    if (!needsQuotes(text, separator)) {
        out->append(text);
        return;
    }
    out->append(QLatin1Char('"'));
    qsizetype from = 0;
    for (qsizetype i = text.indexOf(QLatin1Char('"')); i >= 0; i = text.indexOf(QLatin1Char('"'), from)) {
        out->append(QStringView(text).mid(from, i + 1 - from)); // up to and with the quote, then it again
        out->append(QLatin1Char('"'));
        from = i + 1;
    }
    out->append(QStringView(text).mid(from));
    out->append(QLatin1Char('"'));
}

} // namespace

QString field(const QString &text, QChar separator)
{
    QString out;
    appendField(&out, text, separator);
    return out;
}

namespace {

// The length of the run of apostrophes that a formula sign follows at the start of cell; -1 when none does.
int apostrophesBeforeFormula(const QString &cell)
{
    int n = 0;
    while (n < cell.size() && cell.at(n) == QLatin1Char('\''))
        ++n;
    if (n >= cell.size())
        return -1;
    const QChar c = cell.at(n);
    const bool formula =
        c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') || c == QLatin1Char('@');
    return formula ? n : -1;
}

} // namespace

QString asText(const QString &cell)
{
    return apostrophesBeforeFormula(cell) >= 0 ? QLatin1Char('\'') + cell : cell;
}

QString fromText(const QString &cell)
{
    return apostrophesBeforeFormula(cell) > 0 ? cell.mid(1) : cell;
}

void appendRow(QString *text, const QString *cells, int count, QChar separator)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            text->append(separator);
        appendField(text, asText(cells[i]), separator);
    }
    text->append(QLatin1String("\r\n"));
}

QByteArray finish(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(3 + text.size() + text.size() / 8);
    bytes.append("\xEF\xBB\xBF");
    bytes.append(text.toUtf8());
    return bytes;
}

QByteArray write(const QVector<QStringList> &rows, QChar separator)
{
    QString text;
    for (const QStringList &row : rows)
        appendRow(&text, row.constData(), int(row.size()), separator);
    return finish(text);
}

QChar localeSeparator()
{
    return QLocale().decimalPoint() == QLatin1String(",") ? QLatin1Char(';') : QLatin1Char(',');
}

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; the five codes it leaves unused stay as
// the control characters Latin-1 gives them.
const char16_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? cp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

// Where bytes stop being UTF-8 (-1: they are UTF-8 throughout), and whether a multi-byte
// sequence came before or after that point.
struct Utf8Scan {
    qsizetype firstBad = -1;
    bool multiByte = false;
};

Utf8Scan scanUtf8(const QByteArray &bytes)
{
    Utf8Scan scan;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const auto b = quint8(bytes[i]);
        int length = 0;
        quint32 min = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            min = 0x10000;
        }
        bool valid = length > 0 && i + length <= n;
        quint32 code = length > 0 ? b & (0xFF >> (length + 1)) : 0;
        for (int k = 1; valid && k < length; ++k) {
            const auto c = quint8(bytes[i + k]);
            valid = (c & 0xC0) == 0x80;
            code = (code << 6) | (c & 0x3F);
        }
        valid = valid && code >= min && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        if (valid) {
            scan.multiByte = true;
            i += length;
        } else {
            if (scan.firstBad < 0)
                scan.firstBad = i;
            ++i;
        }
    }
    return scan;
}

} // namespace

bool decode(const QByteArray &bytes, QString *text, QString *error)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    const bool marked = bytes.startsWith(bom);
    const QByteArray body = marked ? bytes.mid(bom.size()) : bytes;
    const Utf8Scan scan = scanUtf8(body);
    if (scan.firstBad < 0) {
        *text = QString::fromUtf8(body);
        return true;
    }
    // Without a byte order mark and without one valid UTF-8 sequence, every byte above 127 stands
    // for a character of its own: a file from an older spreadsheet program in Windows-1252.
    if (!marked && !scan.multiByte) {
        *text = fromWindows1252(body);
        return true;
    }
    const int line = int(body.left(scan.firstBad).count('\n')) + 1;
    *error =
        QCoreApplication::translate("Csv", "Line %1 is not valid UTF-8 text, although the file is written in UTF-8. "
                                           "Please save the file again as UTF-8 (CSV) in the spreadsheet program.")
            .arg(line);
    return false;
}

QChar separatorOf(const QString &text)
{
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
        else if (!quoted && c == QLatin1Char(','))
            ++commas;
        else if (!quoted && c == QLatin1Char(';'))
            ++semicolons;
        else if (!quoted && c == QLatin1Char('\t'))
            ++tabs;
    }
    if (semicolons > commas && semicolons >= tabs)
        return QLatin1Char(';');
    if (tabs > commas && tabs > semicolons)
        return QLatin1Char('\t');
    return QLatin1Char(',');
}

Table parse(const QString &text, QChar separator)
{
    Table table;
    QStringList row;
    QString value;
    // Characters taken as they are go into value a run at a time, not one by one: runStart is where
    // the run not yet appended begins (-1: none).
    qsizetype runStart = -1;
    const QChar *d = text.constData();
    auto take = [&](qsizetype at) {
        if (runStart < 0)
            runStart = at;
    };
    auto flush = [&](qsizetype end) {
        if (runStart >= 0)
            value.append(d + runStart, end - runStart);
        runStart = -1;
    };
    bool quoted = false;
    bool rowStarted = false;
    int line = 1;
    int rowLine = 1;
    int quoteLine = 1;
    const qsizetype n = text.size();
    auto plain = [separator](QChar c) {
        return c != separator && c != QLatin1Char('"') && c != QLatin1Char('\r') && c != QLatin1Char('\n');
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = d[i];
        if (plain(c)) { // the run of ordinary characters up to the next one that means something
            take(i);
            while (i + 1 < n && plain(d[i + 1]))
                ++i;
            rowStarted = rowStarted || !quoted;
            continue;
        }
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && d[i + 1] == QLatin1Char('"')) {
                    take(i); // one of the two quotes
                    flush(i + 1);
                    ++i;
                } else {
                    flush(i);
                    quoted = false;
                }
            } else {
                const bool crBeforeLf = c == QLatin1Char('\r') && i + 1 < n && d[i + 1] == QLatin1Char('\n');
                if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !crBeforeLf))
                    ++line;
                take(i);
            }
            continue;
        }
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            flush(i);
            if (c == QLatin1Char('\r') && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
                ++i;
            row.append(value);
            table.rows.append(row);
            table.lines.append(rowLine);
            row.clear();
            value.clear();
            rowStarted = false;
            rowLine = ++line;
            continue;
        }
        rowStarted = true;
        if (c == separator) {
            flush(i);
            row.append(value);
            value.clear();
        } else if (c == QLatin1Char('"') && value.isEmpty() && runStart < 0) {
            quoted = true;
            quoteLine = line;
        } else {
            // A quote inside an unquoted field is taken as it is, as spreadsheet programs do.
            take(i);
        }
    }
    flush(n);
    if (quoted) {
        table.error =
            QCoreApplication::translate("Csv", "Line %1: a quoted field is not closed, so every line after it "
                                               "would be read into that one field.")
                .arg(quoteLine);
        return table;
    }
    if (rowStarted || !value.isEmpty() || !row.isEmpty()) {
        row.append(value);
        table.rows.append(row);
        table.lines.append(rowLine);
    }
    return table;
}

Table read(const QByteArray &bytes)
{
    QString text;
    Table table;
    if (!decode(bytes, &text, &table.error))
        return table;
    return parse(text, separatorOf(text));
}

} // namespace Csv
