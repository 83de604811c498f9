#include "print/PrintSurface.h"

QStringList PrintSurface::splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(text.mid(start));
    return lines;
}

QString PrintSurface::expandTabs(const QString &line)
{
    QString out;
    out.reserve(line.size() + tabWidth * 4);
    int column = 0;
    for (const QChar c : line) {
        if (c == QLatin1Char('\t')) {
            const int spaces = tabWidth - column % tabWidth;
            out.append(QString(spaces, QLatin1Char(' ')));
            column += spaces;
            continue;
        }
        out.append(c);
        // The second half of a surrogate pair belongs to the character before it.
        if (!c.isLowSurrogate())
            ++column;
    }
    return out;
}
