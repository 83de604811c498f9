#include "print/PageSurface.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <cmath>

namespace {

// The first `columns` characters of text; a surrogate pair counts as one character and is never split.
QString cutToColumns(const QString &text, int columns)
{
    int column = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isLowSurrogate())
            continue;
        if (column == columns)
            return text.left(i);
        ++column;
    }
    return text;
}

} // namespace

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
    for (const QString &line : splitLines(text)) {
        if (m_y > 0 && m_y + m_lineHeight > m_pageSize.height()) {
            flushGlyphs();
            if (!m_device->newPage()) {
                fail(QCoreApplication::translate("PageSurface", "The printer refused a new page."));
                return;
            }
            ++m_pages;
            m_y = 0;
        }
        const QString shown = cutToColumns(expandTabs(line), columns);
        drawLine(shown);
        m_y += m_lineHeight;
    }
}

bool PageSurface::drawRule(int firstColumn, int endColumn, quint32 hyphen)
{
    // One stroke dashed like the font's hyphen: the same marks on paper as the row of glyphs, at a
    // fraction of the cost, since every record of a report ends in a rule wider than the page.
    const QRectF ink = m_rawFont.boundingRect(hyphen);
    if (ink.height() <= 0 || ink.width() <= 0 || ink.width() >= m_charWidth)
        return false;
    QPen pen(m_painter.pen().color(), ink.height(), Qt::CustomDashLine, Qt::FlatCap);
    pen.setDashPattern({ink.width() / ink.height(), (m_charWidth - ink.width()) / ink.height()});
    const QPen previous = m_painter.pen();
    m_painter.setPen(pen);
    const qreal y = m_y + m_ascent + ink.center().y();
    m_painter.drawLine(QPointF(firstColumn * m_charWidth + ink.left(), y),
                       QPointF((endColumn - 1) * m_charWidth + ink.right(), y));
    m_painter.setPen(previous);
    return true;
}

void PageSurface::drawLine(const QString &line)
{
    const QVector<quint32> glyphs = m_rawFont.glyphIndexesForString(line);
    if (glyphs.size() != line.size() || glyphs.contains(0)) {
        // A character the fixed-pitch font lacks: let Qt find it in another font.
        if (!line.trimmed().isEmpty())
            m_painter.drawText(QPointF(0, m_y + m_ascent), line);
        return;
    }
    // Glyphs are placed on the character grid one by one, leaving out the blanks, and drawn a page
    // at a time: this skips text shaping and keeps the pages small, since a report is mostly blanks
    // and rules.
    constexpr int ruleLength = 8;
    for (int i = 0; i < glyphs.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char(' '))
            continue;
        if (c == QLatin1Char('-')) {
            int end = i;
            while (end < line.size() && line.at(end) == QLatin1Char('-'))
                ++end;
            if (end - i >= ruleLength && drawRule(i, end, glyphs.at(i))) {
                i = end - 1;
                continue;
            }
        }
        m_glyphs.append(glyphs.at(i));
        m_positions.append(QPointF(i * m_charWidth, m_y + m_ascent));
    }
}

void PageSurface::flushGlyphs()
{
    if (m_glyphs.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(m_glyphs);
    run.setPositions(m_positions);
    m_painter.drawGlyphRun(QPointF(0, 0), run);
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
