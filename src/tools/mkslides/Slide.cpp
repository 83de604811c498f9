#include "Slide.h"

#include "ui/Artwork.h"

#include <QPainterPath>
#include <QTextLayout>
#include <cmath>

const QColor Slide::ink(0x22, 0x2a, 0x35);
const QColor Slide::navy(0x1f, 0x3a, 0x68);
const QColor Slide::accent(0xd9, 0x3a, 0x1f);
const QColor Slide::paper(0xfa, 0xf7, 0xf0);

Slide::Slide(const QString &title) : m_image(width, height, QImage::Format_RGB32), m_painter(&m_image)
{
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_image.fill(paper);
    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, navy);
    band.setColorAt(1, QColor(0x3f, 0x7c, 0xb8));
    m_painter.fillRect(QRect(0, 0, width, bandHeight), band);
    m_painter.drawPixmap(margin - 4, (bandHeight - 32) / 2, Artwork::iconPixmap(32));
    text(QRect(margin + 40, 0, width - margin * 2 - 40, bandHeight), title, 26, true, Qt::AlignLeft | Qt::AlignVCenter,
         Qt::white);
}

QRect Slide::page() const
{
    return QRect(0, bandHeight, width, height - bandHeight - footHeight);
}

QFont Slide::font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

int Slide::text(const QRect &rect, const QString &text, int pixelSize, bool bold, Qt::Alignment align,
                const QColor &color)
{
    m_painter.setFont(font(pixelSize, bold));
    m_painter.setPen(color);
    QRect used;
    m_painter.drawText(rect, int(align) | Qt::TextWordWrap, text, &used);
    return used.height();
}

int Slide::list(const QRect &rect, const QStringList &items, int pixelSize, bool numbered, int firstNumber)
{
    int y = rect.top();
    const int indent = numbered ? pixelSize * 2 : pixelSize + 4;
    for (int i = 0; i < items.size(); ++i) {
        const QString mark = numbered ? QStringLiteral("%1.").arg(firstNumber + i) : QStringLiteral("\u2022");
        text(QRect(rect.left(), y, indent, pixelSize * 2), mark, pixelSize, numbered, Qt::AlignLeft | Qt::AlignTop,
             numbered ? navy : accent);
        const int h =
            text(QRect(rect.left() + indent, y, rect.width() - indent, rect.bottom() - y), items.at(i), pixelSize);
        y += h + pixelSize / 3;
    }
    return y - rect.top();
}

QRect Slide::picture(const QImage &image, const QRect &target, qreal *scale)
{
    const qreal s = std::min({1.0, qreal(target.width()) / image.width(), qreal(target.height()) / image.height()});
    const QSize size(qRound(image.width() * s), qRound(image.height() * s));
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(target.center());
    for (int i = 4; i >= 1; --i)
        m_painter.fillRect(placed.translated(i, i), QColor(0, 0, 0, 18));
    if (s < 1.0) {
        const QImage scaled = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_painter.drawImage(placed.topLeft(), scaled);
    } else {
        m_painter.drawImage(placed.topLeft(), image);
    }
    m_painter.setPen(QPen(QColor(0x60, 0x68, 0x75), 1));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(placed).adjusted(-0.5, -0.5, 0.5, 0.5));
    if (scale)
        *scale = s;
    return placed;
}

QRect Slide::crop(const QImage &image, const QRect &part, const QPoint &topLeft)
{
    return picture(image.copy(part), QRect(topLeft, part.size()));
}

void Slide::ring(const QRect &rect, int grow)
{
    m_painter.setPen(QPen(accent, 3));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRoundedRect(QRectF(rect).adjusted(-grow, -grow, grow, grow), 6, 6);
}

void Slide::arrow(const QPointF &from, const QPointF &to)
{
    m_painter.setPen(QPen(accent, 3, Qt::SolidLine, Qt::RoundCap));
    const QLineF line(from, to);
    const qreal angle = std::atan2(-line.dy(), line.dx());
    const qreal head = 12;
    const QPointF back = to - QPointF(std::cos(angle) * head * 0.8, -std::sin(angle) * head * 0.8);
    m_painter.drawLine(from, back);
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(to - QPointF(std::cos(angle - 0.45) * head, -std::sin(angle - 0.45) * head));
    tip.lineTo(to - QPointF(std::cos(angle + 0.45) * head, -std::sin(angle + 0.45) * head));
    tip.closeSubpath();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(accent);
    m_painter.drawPath(tip);
}

QRect Slide::note(const QPoint &topLeft, const QString &text, int pixelSize, int maxWidth)
{
    m_painter.setFont(font(pixelSize, true));
    const QRect bound = m_painter.fontMetrics().boundingRect(QRect(0, 0, maxWidth, 400), Qt::TextWordWrap, text);
    const QRect box(topLeft, bound.size() + QSize(16, 10));
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(accent);
    m_painter.drawRoundedRect(box, 6, 6);
    m_painter.setPen(Qt::white);
    m_painter.drawText(box.adjusted(8, 5, -8, -5), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignVCenter, text);
    return box;
}

QImage Slide::finish(int index, int count)
{
    const QRect foot(0, height - footHeight, width, footHeight);
    m_painter.fillRect(foot, QColor(0xe9, 0xe3, 0xd6));
    const qreal done = count > 1 ? qreal(index) / (count - 1) : 1.0;
    m_painter.fillRect(QRectF(0, foot.top(), width * done, 3), navy);
    m_painter.setFont(font(11));
    m_painter.setPen(QColor(0x5a, 0x60, 0x6a));
    m_painter.drawText(foot.adjusted(margin, 2, -margin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QStringLiteral("Papyra guided tour \u2022 it moves on by itself"));
    m_painter.drawText(foot.adjusted(margin, 2, -margin, 0), Qt::AlignRight | Qt::AlignVCenter,
                       QStringLiteral("%1 / %2").arg(index + 1).arg(count));
    m_painter.end();
    return m_image;
}
