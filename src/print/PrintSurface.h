#pragma once

#include <QString>
#include <QStringList>

// A printer used as a line printer: each print operation writes its text from the left margin and
// ends the line; CR LF inside the text starts a new line, TAB moves to the next stop every 8
// character widths. Where the lines land (paper, PDF, a list in a test) is the surface's business.
class PrintSurface
{
public:
    static constexpr int tabWidth = 8;

    virtual ~PrintSurface() = default;

    virtual void printLine(const QString &text) = 0;
    virtual void setFontName(const QString &name) = 0;
    virtual void setFontSize(qreal points) = 0;
    // Releases the pages; false when the job failed (errorString() says why).
    virtual bool endDocument() = 0;
    virtual QString errorString() const { return QString(); }

    // The physical lines one print operation gives: "a\r\nb" is two lines, "\r\n" two empty ones.
    // A lone CR or LF also breaks the line rather than reaching the page as a control character.
    static QStringList splitLines(const QString &text);
    // TABs replaced by spaces up to the next stop.
    static QString expandTabs(const QString &line);
};
