#include "store/Dates.h"

#include <QCoreApplication>
#include <QLocale>

namespace {

enum class Field { Day, Month, Year };

const QString usForm = QStringLiteral("M/d/yyyy");

// A numeric short date form: three fields and the literal text around and between them.
struct Form {
    QString localeFormat; // what it was read from
    Field field[3];
    int width[3];       // digits shown at least
    QString literal[4]; // before the first field, between the fields, after the last
    QString typed[4];   // the same, as a typed text is compared with them (compatibility-normalized)
    QString shown;      // as a Qt date format, with the year widened
};

QString normalized(const QString &text)
{
    return text.normalized(QString::NormalizationForm_KC);
}

QString quoted(const QString &literal)
{
    for (const QChar c : literal) {
        if (c.isLetter() || c == QLatin1Char('\''))
            return QLatin1Char('\'') + QString(literal).replace(QLatin1String("'"), QLatin1String("''")) +
                   QLatin1Char('\'');
    }
    return literal;
}

// Reads a Qt date format. False for anything that could not be typed back unambiguously: names of days or
// months, a field missing or repeated, fields with nothing between them, digits in the literal text.
bool readFormat(const QString &format, Form &form)
{
    bool seen[3] = {false, false, false};
    int fields = 0;
    QString literal;
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            // Quoted text; '' is a quote, inside or outside quotes.
            ++i;
            if (i < format.size() && format.at(i) == QLatin1Char('\'')) {
                literal += c;
                ++i;
                continue;
            }
            while (i < format.size()) {
                if (format.at(i) == QLatin1Char('\'')) {
                    if (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('\'')) {
                        literal += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                literal += format.at(i++);
            }
            continue;
        }
        if (c != QLatin1Char('d') && c != QLatin1Char('M') && c != QLatin1Char('y')) {
            literal += c;
            ++i;
            continue;
        }
        int run = 1;
        while (i + run < format.size() && format.at(i + run) == c)
            ++run;
        i += run;
        const Field field = c == QLatin1Char('d') ? Field::Day : c == QLatin1Char('M') ? Field::Month : Field::Year;
        const int f = int(field);
        if (fields == 3 || seen[f] || (field != Field::Year && run > 2) || (fields > 0 && literal.isEmpty()))
            return false;
        seen[f] = true;
        form.field[fields] = field;
        form.width[fields] = field == Field::Year ? 4 : run;
        form.literal[fields] = literal;
        literal.clear();
        ++fields;
    }
    if (fields != 3)
        return false;
    form.literal[3] = literal;
    form.shown.clear();
    for (int k = 0; k < 4; ++k) {
        for (const QChar c : form.literal[k]) {
            if (c.isDigit())
                return false;
        }
        form.typed[k] = normalized(form.literal[k]);
        if (k == 0 || k == 3)
            form.typed[k] = form.typed[k].trimmed();
        form.shown += quoted(form.literal[k]);
        if (k < 3) {
            const char letter = form.field[k] == Field::Day ? 'd' : form.field[k] == Field::Month ? 'M' : 'y';
            form.shown += QString(form.width[k], QLatin1Char(letter));
        }
    }
    return true;
}

// The current locale's form, read again only when the locale's short format changes. The format, not the
// language, decides: the system locale takes it from LC_TIME, which may name a country while LANG is C. The
// C locale's own short format names the month, so where no locale is chosen the form stays M/d/yyyy.
const Form &currentForm()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    thread_local Form form;
    thread_local bool read = false;
    if (!read || form.localeFormat != format) {
        if (!readFormat(format, form))
            readFormat(usForm, form);
        form.localeFormat = format;
        read = true;
    }
    return form;
}

// A run of decimal digits of any script at `at`: its length, and its value while it is short enough to matter.
int readNumber(QStringView text, qsizetype &at, int &value)
{
    int length = 0;
    value = 0;
    for (; at < text.size() && text.at(at).isDigit(); ++at, ++length) {
        if (length < 4)
            value = value * 10 + text.at(at).digitValue();
    }
    return length;
}

std::optional<QDate> makeDate(int year, int yearDigits, int month, int day)
{
    if (yearDigits == 2)
        year += year < 30 ? 2000 : 1900;
    if (year < 1000)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QDate> readIso(QStringView text)
{
    qsizetype at = 0;
    int year, month, day;
    if (readNumber(text, at, year) != 4 || at >= text.size() || text.at(at++) != QLatin1Char('-'))
        return std::nullopt;
    const int monthDigits = readNumber(text, at, month);
    if (monthDigits < 1 || monthDigits > 2 || at >= text.size() || text.at(at++) != QLatin1Char('-'))
        return std::nullopt;
    const int dayDigits = readNumber(text, at, day);
    if (dayDigits < 1 || dayDigits > 2 || at != text.size())
        return std::nullopt;
    return makeDate(year, 4, month, day);
}

std::optional<QDate> readInOrder(QStringView text, const Form &form)
{
    if (!form.typed[0].isEmpty() && text.startsWith(form.typed[0]))
        text = text.mid(form.typed[0].size()).trimmed();
    if (!form.typed[3].isEmpty() && text.endsWith(form.typed[3]))
        text = text.chopped(form.typed[3].size()).trimmed();
    qsizetype at = 0;
    int value[3] = {0, 0, 0};
    int yearDigits = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            const QString &own = form.typed[k];
            if (text.mid(at).startsWith(own))
                at += own.size();
            else if (at < text.size() && QStringView(u"/.-").contains(text.at(at)))
                ++at;
            else
                return std::nullopt;
        }
        const int digits = readNumber(text, at, value[int(form.field[k])]);
        if (form.field[k] == Field::Year) {
            if (digits != 2 && digits != 4)
                return std::nullopt;
            yearDigits = digits;
        } else if (digits < 1 || digits > 2) {
            return std::nullopt;
        }
    }
    if (at != text.size())
        return std::nullopt;
    return makeDate(value[int(Field::Year)], yearDigits, value[int(Field::Month)], value[int(Field::Day)]);
}

} // namespace

namespace Dates {

std::optional<QDate> parseEntry(const QString &text)
{
    // Compatibility normalization makes full-width digits and separators, as a Japanese input method
    // types them, the plain ones.
    const QString t = normalized(text).trimmed();
    if (const auto iso = readIso(t))
        return iso;
    return readInOrder(t, currentForm());
}

QString toDisplay(const QDate &date)
{
    if (!date.isValid())
        return QString();
    // Entry refuses these years, so they keep the one form that cannot be taken for another date.
    if (date.year() < 1000 || date.year() > 9999)
        return toStorage(date);
    const Form &form = currentForm();
    QString text = form.literal[0];
    for (int k = 0; k < 3; ++k) {
        if (k > 0)
            text += form.literal[k];
        const Field field = form.field[k];
        const int value = field == Field::Day ? date.day() : field == Field::Month ? date.month() : date.year();
        text += QString::number(value).rightJustified(form.width[k], QLatin1Char('0'));
    }
    return text + form.literal[3];
}

QString toStorage(const QDate &date)
{
    // QDate::toString(Qt::ISODate) formats through printf, which an import of many reminders felt.
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return date.toString(Qt::ISODate);
    const int parts[3] = {date.year(), date.month(), date.day()};
    char16_t text[10];
    int at = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0)
            text[at++] = u'-';
        const int width = k == 0 ? 4 : 2;
        for (int i = width - 1, v = parts[k]; i >= 0; --i, v /= 10)
            text[at + i] = char16_t(u'0' + v % 10);
        at += width;
    }
    return QString(reinterpret_cast<const QChar *>(text), 10);
}

QDate fromStorage(const QString &stored)
{
    // Strict: QDate::fromString would also take other punctuation and text after the date, which then
    // would be shown as a date it is not.
    if (stored.size() != 10 || stored.at(4) != QLatin1Char('-') || stored.at(7) != QLatin1Char('-'))
        return QDate();
    for (int i = 0; i < 10; ++i) {
        if (i != 4 && i != 7 && (stored.at(i) < QLatin1Char('0') || stored.at(i) > QLatin1Char('9')))
            return QDate();
    }
    return QDate(stored.left(4).toInt(), stored.mid(5, 2).toInt(), stored.mid(8, 2).toInt());
}

QString storageToDisplay(const QString &stored)
{
    const QDate date = fromStorage(stored);
    return date.isValid() && date.year() >= 1000 ? toDisplay(date) : stored;
}

QString shownForm()
{
    return currentForm().shown;
}

QString captionExample()
{
    const Form &form = currentForm();
    const QDate date(2002, 12, 31);
    QString text = form.literal[0];
    for (int k = 0; k < 3; ++k) {
        if (k > 0)
            text += form.literal[k];
        const Field field = form.field[k];
        text += field == Field::Day     ? QString::number(date.day())
                : field == Field::Month ? QString::number(date.month())
                                        : QStringLiteral("02");
    }
    return (text + form.literal[3]).trimmed();
}

QString entryHint()
{
    const Form &form = currentForm();
    QString names[3];
    for (int k = 0; k < 3; ++k) {
        const Field field = form.field[k];
        names[k] = field == Field::Day     ? QCoreApplication::translate("Dates", "day")
                   : field == Field::Month ? QCoreApplication::translate("Dates", "month")
                                           : QCoreApplication::translate("Dates", "year");
    }
    return QCoreApplication::translate("Dates", "%1, %2 and %3, for example %4")
        .arg(names[0], names[1], names[2], toDisplay(QDate(2002, 12, 31)));
}

} // namespace Dates
