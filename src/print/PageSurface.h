#pragma once

#include "print/PrintSurface.h"

#include <QFont>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <QRawFont>

class QPagedPaintDevice;

// Renders print operations on pages (a printer or a PDF writer) in a fixed-pitch font, so that
// TAB stops every 8 characters line up. A line that would pass the bottom of the page goes to the
// top of a new one; a line wider than the page is cut at its right edge, never wrapped.
class PageSurface : public PrintSurface
{
public:
    explicit PageSurface(QPagedPaintDevice *device);
    ~PageSurface() override;
    PageSurface(const PageSurface &) = delete;
    PageSurface &operator=(const PageSurface &) = delete;

    void printLine(const QString &text) override;
    void setFontName(const QString &name) override;
    void setFontSize(qreal points) override;
    bool endDocument() override;
    QString errorString() const override { return m_error; }

    int pageCount() const { return m_pages; }
    // How many glyphs and rules went onto the pages as glyph runs and strokes.
    qint64 glyphsDrawn() const { return m_glyphsDrawn; }
    qint64 rulesDrawn() const { return m_rulesDrawn; }
    // How many character columns of the current font fit across the page.
    int columnsPerLine() const;
    QFont font() const { return m_font; }

    // The font asked for when it is fixed-pitch, otherwise the system's fixed-pitch font: screen
    // fonts such as FixedSys are seldom offered for printing.
    static QFont fixedPitchFont(const QString &name, qreal points);

private:
    bool begin();
    void useFont(const QFont &font);
    void drawLine(const QString &line);
    bool drawRule(int firstColumn, int endColumn, quint32 hyphen);
    quint32 glyphOf(QChar c); // 0 when the font lacks it or c is beyond Latin-1
    void flushGlyphs();
    void fail(const QString &error);

    QPagedPaintDevice *m_device;
    QSizeF m_pageSize; // the printable area, in device pixels
    QPainter m_painter;
    QString m_fontName;
    qreal m_fontSize = 10;
    QFont m_font;
    QRawFont m_rawFont; // the same font, for placing glyphs on the character grid
    qreal m_charWidth = 0;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    qreal m_y = 0;
    QVector<quint32> m_glyphs; // placed on the page but not yet drawn
    QVector<QPointF> m_positions;
    QVector<QLineF> m_rules; // the rules placed on the page but not yet drawn, all with m_rulePen
    QPen m_rulePen;
    QString m_line;                // the line being drawn, TABs expanded
    QVector<quint32> m_lineGlyphs; // its glyphs
    static constexpr quint32 unknownGlyph = 0xFFFFFFFF;
    quint32 m_latinGlyphs[256]; // the font's glyph of each Latin-1 character, unknownGlyph until looked up
    int m_pages = 0;
    qint64 m_glyphsDrawn = 0;
    qint64 m_rulesDrawn = 0;
    bool m_failed = false;
    bool m_ended = false;
    QString m_error;
};
