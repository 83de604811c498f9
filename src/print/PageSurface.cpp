#include "print/PageSurface.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <algorithm>
#include <cmath>
#include <iterator>

QFont PageSurface::fixedPitchFont(const QString &name, qreal points)
{
    QFont font(name);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (name.isEmpty() || !QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(points);
    return font;
}

PageSurface::PageSurface(QPagedPaintDevice *device) : m_device(device), m_pageSize(device->width(), device->height())
{
    // Until the caller names a font, the surface prints in the plain fixed-pitch font a printer starts with.
    useFont(fixedPitchFont(QString(), m_fontSize));
}

PageSurface::~PageSurface()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PageSurface::fail(const QString &error)
{
    if (!m_failed)
        m_error = error;
    m_failed = true;
}

bool PageSurface::begin()
{
    if (m_painter.isActive())
        return true;
    if (m_failed || m_ended)
        return false;
    if (!m_painter.begin(m_device)) {
        fail(QCoreApplication::translate("PageSurface", "The print job could not be started."));
        return false;
    }
    m_pages = 1;
    m_y = 0;
    useFont(m_font);
    return true;
}

void PageSurface::useFont(const QFont &font)
{
    flushGlyphs();
    m_font = font;
    const QFontMetricsF metrics(m_font, m_device);
    m_charWidth = metrics.horizontalAdvance(QLatin1Char('M'));
    m_lineHeight = metrics.lineSpacing();
    m_ascent = metrics.ascent();
    m_rawFont = QRawFont::fromFont(m_font);
    m_rawFont.setPixelSize(m_font.pointSizeF() * m_device->logicalDpiY() / 72.0);
    std::fill(std::begin(m_latinGlyphs), std::end(m_latinGlyphs), unknownGlyph);
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}

void PageSurface::setFontName(const QString &name)
{
    m_fontName = name;
    useFont(fixedPitchFont(m_fontName, m_fontSize));
}

void PageSurface::setFontSize(qreal points)
{
    m_fontSize = points;
    useFont(fixedPitchFont(m_fontName, m_fontSize));
}

int PageSurface::columnsPerLine() const
{
    if (m_charWidth <= 0)
        return 0;
    // A small tolerance keeps a line that fits exactly from losing its last character to rounding.
    return int(std::floor(m_pageSize.width() / m_charWidth + 1e-6));
}

void PageSurface::printLine(const QString &text)
{
    if (!begin())
        return;
    const int columns = columnsPerLine();
    // One pass over the text: each physical line (CR LF, CR or LF end one) has its TABs expanded
    // and is cut at the page's width into a buffer kept from line to line.
    const QChar *d = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0;; ++i) {
        // At most one character per column and the second halves of surrogate pairs: written
        // through a pointer into a buffer that keeps its capacity from line to line.
        m_line.resize(columns + n);
        QChar *out = m_line.data();
        QChar *const start = out;
        int column = 0;
        bool cut = false;
        for (; i < n && d[i] != QLatin1Char('\r') && d[i] != QLatin1Char('\n'); ++i) {
            const QChar c = d[i];
            if (c.isLowSurrogate()) { // belongs to the character before it
                if (!cut)
                    *out++ = c;
            } else if (c == QLatin1Char('\t')) {
                const int stop = column + tabWidth - column % tabWidth;
                for (; column < stop && column < columns; ++column)
                    *out++ = QLatin1Char(' ');
                cut = cut || column < stop;
                column = stop;
            } else if (column < columns && !cut) {
                *out++ = c;
                ++column;
            } else {
                cut = true;
            }
        }
        m_line.resize(out - start);
        if (m_y > 0 && m_y + m_lineHeight > m_pageSize.height()) {
            flushGlyphs();
            if (!m_device->newPage()) {
                fail(QCoreApplication::translate("PageSurface", "The printer refused a new page."));
                return;
            }
            ++m_pages;
            m_y = 0;
        }
        drawLine(m_line);
        m_y += m_lineHeight;
        if (i >= n)
            return;
        if (d[i] == QLatin1Char('\r') && i + 1 < n && d[i + 1] == QLatin1Char('\n'))
            ++i;
    }
}

bool PageSurface::drawRule(int firstColumn, int endColumn, quint32 hyphen)
{
    // One stroke dashed like the font's hyphen: the same marks on paper as the row of glyphs, at a
    // fraction of the cost, since every record of a report ends in a rule wider than the page. The
    // strokes of a page are drawn together, with one pen.
    const QRectF ink = m_rawFont.boundingRect(hyphen);
    if (ink.height() <= 0 || ink.width() <= 0 || ink.width() >= m_charWidth)
        return false;
    QPen pen(m_painter.pen().color(), ink.height(), Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({ink.width() / ink.height(), (m_charWidth - ink.width()) / ink.height()});
    if (!m_rules.isEmpty() && pen != m_rulePen)
        flushGlyphs();
    m_rulePen = pen;
    const qreal y = m_y + m_ascent + ink.center().y();
    m_rules.append(QLineF(QPointF(firstColumn * m_charWidth + ink.left(), y),
                          QPointF((endColumn - 1) * m_charWidth + ink.right(), y)));
    return true;
}

quint32 PageSurface::glyphOf(QChar c)
{
    // Looked up once per character and font: the lookup through the font's character map cost more
    // than placing the glyph.
    if (c.unicode() >= std::size(m_latinGlyphs))
        return 0;
    quint32 &glyph = m_latinGlyphs[c.unicode()];
    if (glyph == unknownGlyph) {
        const QVector<quint32> found = m_rawFont.glyphIndexesForString(QString(c));
        glyph = found.size() == 1 ? found.at(0) : 0;
    }
    return glyph;
}

void PageSurface::drawLine(const QString &line)
{
    const int n = int(line.size());
    m_lineGlyphs.resize(n);
    bool latin = true;
    for (int i = 0; latin && i < n; ++i) {
        latin = line.at(i).unicode() < std::size(m_latinGlyphs);
        m_lineGlyphs[i] = latin ? glyphOf(line.at(i)) : 0;
    }
    if (!latin)
        m_lineGlyphs = m_rawFont.glyphIndexesForString(line);
    if (m_lineGlyphs.size() != n || m_lineGlyphs.contains(0)) {
        // A character the fixed-pitch font lacks: let Qt find it in another font.
        if (!line.trimmed().isEmpty())
            m_painter.drawText(QPointF(0, m_y + m_ascent), line);
        return;
    }
    // Glyphs are placed on the character grid one by one, leaving out the blanks, and drawn a page
    // at a time: this skips text shaping and keeps the pages small, since a report is mostly blanks
    // and rules.
    constexpr int ruleLength = 8;
    const qreal baseline = m_y + m_ascent;
    for (int i = 0; i < n; ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char(' '))
            continue;
        if (c == QLatin1Char('-')) {
            int end = i;
            while (end < n && line.at(end) == QLatin1Char('-'))
                ++end;
            if (end - i >= ruleLength && drawRule(i, end, m_lineGlyphs.at(i))) {
                i = end - 1;
                continue;
            }
        }
        m_glyphs.append(m_lineGlyphs.at(i));
        m_positions.append(QPointF(i * m_charWidth, baseline));
    }
}

void PageSurface::flushGlyphs()
{
    if (!m_rules.isEmpty()) {
        const QPen previous = m_painter.pen();
        m_painter.setPen(m_rulePen);
        m_painter.drawLines(m_rules);
        m_rulesDrawn += m_rules.size();
        m_painter.setPen(previous);
        m_rules.clear();
    }
    if (m_glyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(m_glyphs);
    run.setPositions(m_positions);
    m_painter.drawGlyphRun(QPointF(0, 0), run);
    m_glyphsDrawn += m_glyphs.size();
    m_glyphs.clear();
    m_positions.clear();
}

bool PageSurface::endDocument()
{
    flushGlyphs();
    if (m_painter.isActive() && !m_painter.end())
        fail(QCoreApplication::translate("PageSurface", "The print job could not be finished."));
    m_ended = true;
    if (auto *printer = dynamic_cast<QPrinter *>(m_device); printer && printer->printerState() == QPrinter::Error)
        fail(QCoreApplication::translate("PageSurface", "The printer reported an error."));
    return !m_failed;
}
