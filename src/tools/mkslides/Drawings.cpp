#include "Drawings.h"

#include "Slide.h"

#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

namespace Drawings {

namespace {

const QColor outline(0x6b, 0x4a, 0x12);

QPainterPath folderShape(const QRectF &r, qreal tabLeft, qreal tabWidth, qreal tabHeight)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top() + tabHeight);
    path.lineTo(tabLeft, r.top() + tabHeight);
    path.lineTo(tabLeft + 6, r.top());
    path.lineTo(tabLeft + tabWidth - 6, r.top());
    path.lineTo(tabLeft + tabWidth, r.top() + tabHeight);
    path.lineTo(r.right(), r.top() + tabHeight);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    return path;
}

} // namespace

void folder(QPainter &p, const QRectF &r, const QString &label, const QColor &body, qreal tabPosition, qreal tabHeight,
            qreal tabWidth)
{
    p.save();
    if (tabHeight <= 0)
        tabHeight = std::min(r.height() * 0.22, 26.0);
    // Unless told, the tab is as wide as its label needs, at least two fifths of the folder.
    QFont f = Slide::font(std::max(9, int(tabHeight * 0.7)), true);
    p.setFont(f);
    const qreal room = tabWidth > 0 ? tabWidth - 8 : r.width() * 0.9 - 16;
    while (f.pixelSize() > 8 && p.fontMetrics().horizontalAdvance(label) > room) {
        f.setPixelSize(f.pixelSize() - 1);
        p.setFont(f);
    }
    if (tabWidth <= 0)
        tabWidth =
            std::min(r.width() * 0.9, std::max(r.width() * 0.42, p.fontMetrics().horizontalAdvance(label) + 18.0));
    const qreal tabLeft = r.left() + (r.width() - tabWidth) * tabPosition;
    p.setPen(QPen(outline, 1.2));
    p.setBrush(body);
    p.drawPath(folderShape(r, tabLeft, tabWidth, tabHeight));
    p.setPen(QPen(body.darker(118), 1));
    p.drawLine(QPointF(r.left() + 4, r.top() + tabHeight + 6), QPointF(r.right() - 4, r.top() + tabHeight + 6));
    if (!label.isEmpty()) {
        p.setPen(QColor(0x40, 0x2a, 0x05));
        p.drawText(QRectF(tabLeft, r.top(), tabWidth, tabHeight + 1), Qt::AlignCenter, label);
    }
    p.restore();
}

QRectF drawer(QPainter &p, const QRectF &r, const QStringList &labels, int raised, bool messy)
{
    p.save();
    QRectF pulled;
    QRandomGenerator random(messy ? 7 : 3);
    // Folders stand one behind the other, the first at the back, each tab in its own place across
    // the drawer so every number shows; the drawer's front hides their lower part.
    const int n = std::max(1, int(labels.size()));
    const QRectF front(r.left(), r.bottom() - r.height() * 0.34, r.width(), r.height() * 0.34);
    const qreal top = r.top() + r.height() * 0.12;
    const qreal dy = (front.top() - top - 12) / n;
    const qreal width = r.width() * 0.9;
    const qreal tabWidth = std::min(width * 0.42, width / (n + 0.3));
    const qreal tabHeight = std::max(14.0, std::min(24.0, tabWidth * 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6f, 0x78, 0x86));
    p.drawRect(QRectF(r.left() + 6, top + tabHeight, r.width() - 12, front.top() - top - tabHeight + 4));
    for (int i = 0; i < n; ++i) {
        const qreal y = top + i * dy - (i == raised ? r.height() * 0.35 : 0);
        const qreal position = n > 1 ? qreal(i) / (n - 1) : 0.5;
        QRectF f(r.left() + (r.width() - width) / 2, y, width, front.center().y() - y);
        if (i == raised) {
            // Pulled up: drawn narrow, where its tab stood, so the numbers behind it still show.
            const qreal narrow = tabWidth + 4;
            f.setLeft(f.left() + (width - tabWidth) * position - 2);
            f.setWidth(narrow);
            pulled = f;
        }
        p.save();
        if (messy) {
            f.translate(random.bounded(-18, 19), 0);
            if (i % 2 == 1)
                sheet(p, QRectF(f.left() + 20 + random.bounded(0, int(width * 0.6)), f.top() - 16, 60, 70), QString(),
                      random.bounded(-25, 26));
            p.translate(f.center());
            p.rotate(random.bounded(-5, 6));
            p.translate(-f.center());
        }
        folder(p, f, labels.value(i), i == raised ? QColor(0xff, 0xd9, 0x7a) : manila, i == raised ? 0.5 : position,
               tabHeight, tabWidth);
        p.restore();
    }
    QLinearGradient metal(front.topLeft(), front.bottomLeft());
    metal.setColorAt(0, QColor(0xc9, 0xcf, 0xd8));
    metal.setColorAt(1, QColor(0x9a, 0xa3, 0xb0));
    p.setPen(QPen(QColor(0x5c, 0x64, 0x70), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(front, 5, 5);
    const QRectF handle(front.center().x() - 34, front.top() + front.height() * 0.4, 68, 12);
    p.setBrush(QColor(0x5c, 0x64, 0x70));
    p.drawRoundedRect(handle, 6, 6);
    p.restore();
    return pulled;
}

void sheet(QPainter &p, const QRectF &r, const QString &heading, qreal angle)
{
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF s(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
    p.setBrush(Qt::white);
    p.drawRect(s);
    qreal y = s.top() + 8;
    if (!heading.isEmpty()) {
        p.setFont(Slide::font(int(std::max(8.0, std::min(16.0, s.width() / 9))), true));
        p.setPen(QColor(0x33, 0x33, 0x33));
        p.drawText(QRectF(s.left() + 6, y, s.width() - 12, s.height() * 0.25), Qt::AlignHCenter | Qt::TextWordWrap,
                   heading);
        y += s.height() * 0.28;
    }
    p.setPen(QPen(QColor(0xb8, 0xbd, 0xc6), 2));
    for (int i = 0; y < s.bottom() - 8; ++i, y += 7)
        p.drawLine(QPointF(s.left() + 6, y), QPointF(s.right() - 6 - (i % 3) * 8, y));
    p.restore();
}

void computer(QPainter &p, const QRectF &r, const QString &word, const QString &result)
{
    p.save();
    const QRectF screen(r.left(), r.top(), r.width(), r.height() * 0.78);
    p.setPen(QPen(QColor(0x2a, 0x2f, 0x38), 2));
    p.setBrush(QColor(0x2a, 0x2f, 0x38));
    p.drawRoundedRect(screen, 8, 8);
    const QRectF glass = screen.adjusted(10, 10, -10, -10);
    p.setBrush(QColor(0xee, 0xf3, 0xfa));
    p.setPen(Qt::NoPen);
    p.drawRect(glass);
    p.setBrush(QColor(0x2a, 0x2f, 0x38));
    p.drawRect(QRectF(r.center().x() - 12, screen.bottom(), 24, r.height() * 0.12));
    p.drawRoundedRect(
        QRectF(r.center().x() - r.width() * 0.22, r.bottom() - r.height() * 0.10, r.width() * 0.44, r.height() * 0.10),
        4, 4);
    if (!word.isEmpty()) {
        const QRectF box(glass.left() + 12, glass.top() + glass.height() * 0.2, glass.width() - 24, 26);
        p.setPen(QPen(QColor(0x7a, 0x85, 0x95), 1));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setFont(Slide::font(14));
        p.setPen(Slide::ink);
        p.drawText(box.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, word);
    }
    if (!result.isEmpty()) {
        p.setFont(Slide::font(int(glass.height() * 0.26), true));
        p.setPen(Slide::navy);
        p.drawText(QRectF(glass.left(), glass.top() + glass.height() * 0.45, glass.width(), glass.height() * 0.5),
                   Qt::AlignCenter, result);
    }
    p.restore();
}

void labelSheet(QPainter &p, const QRectF &r, int columns, int rows, int first)
{
    p.save();
    p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    const qreal mx = r.width() * 0.04, my = r.height() * 0.045;
    const qreal pitchX = (r.width() - 2 * mx) / columns, pitchY = (r.height() - 2 * my) / rows;
    p.setFont(Slide::font(int(std::max(7.0, pitchY * 0.5)), true));
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const QRectF label(r.left() + mx + column * pitchX + 1.5, r.top() + my + row * pitchY + 1.5, pitchX - 3,
                               pitchY - 3);
            p.setPen(QPen(QColor(0xc8, 0xcc, 0xd2), 1));
            p.setBrush(QColor(0xfd, 0xfd, 0xf6));
            p.drawRoundedRect(label, 3, 3);
            p.setPen(Slide::ink);
            p.drawText(label, Qt::AlignCenter, QString::number(first + row * columns + column));
        }
    }
    p.restore();
}

void card(QPainter &p, const QRectF &r, const QStringList &lines, int number, qreal angle)
{
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF c(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawRoundedRect(c.translated(3, 3), 4, 4);
    p.setPen(QPen(QColor(0xa0, 0xa4, 0xaa), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(c, 4, 4);
    qreal y = c.top() + 8;
    for (int i = 0; i < lines.size(); ++i) {
        const int size = i == 0 ? int(c.height() * 0.13) : int(c.height() * 0.095);
        p.setFont(Slide::font(std::max(7, size), i == 0));
        p.setPen(i == 0 ? Slide::navy : QColor(0x44, 0x4a, 0x55));
        p.drawText(QRectF(c.left() + 10, y, c.width() - 20, size * 1.5), Qt::AlignLeft | Qt::AlignVCenter, lines.at(i));
        y += size * (i == 0 ? 1.8 : 1.45);
    }
    if (number > 0) {
        const QRectF badge(c.right() - 40, c.top() + 6, 34, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawRoundedRect(badge, 5, 5);
        p.setFont(Slide::font(13, true));
        p.setPen(Qt::white);
        p.drawText(badge, Qt::AlignCenter, QString::number(number));
    }
    p.restore();
}

void cardBox(QPainter &p, const QRectF &r, int firstNumber, int count)
{
    p.save();
    const QRectF inside = r.adjusted(0, r.height() * 0.25, 0, 0);
    const qreal step = (inside.width() - 30) / count;
    for (int i = 0; i < count; ++i) {
        const qreal x = inside.left() + 10 + i * step;
        const QRectF c(x, r.top() + (i % 2) * 4, std::min(step * 2.6, inside.right() - 6 - x), r.height() * 0.55);
        p.setPen(QPen(QColor(0xa0, 0xa4, 0xaa), 1));
        p.setBrush(i % 2 ? QColor(0xf8, 0xf8, 0xf4) : Qt::white);
        p.drawRect(c);
        p.setFont(Slide::font(std::max(8, int(step * 0.55)), true));
        p.setPen(red);
        p.drawText(QRectF(c.left(), c.top() + 2, step, 18), Qt::AlignCenter, QString::number(firstNumber + i));
    }
    QLinearGradient wood(inside.topLeft(), inside.bottomLeft());
    wood.setColorAt(0, QColor(0xb0, 0x74, 0x3c));
    wood.setColorAt(1, QColor(0x84, 0x52, 0x24));
    p.setPen(QPen(QColor(0x5a, 0x36, 0x14), 1.5));
    p.setBrush(wood);
    p.drawRoundedRect(inside, 6, 6);
    p.restore();
}

void kitBox(QPainter &p, const QRectF &r, const QString &label)
{
    p.save();
    const QRectF box = r.adjusted(0, r.height() * 0.2, 0, 0);
    p.setPen(QPen(QColor(0x5a, 0x14, 0x0c), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(box.center().x() - box.width() * 0.18, r.top(), box.width() * 0.36, r.height() * 0.4), 0,
              180 * 16);
    p.setPen(QPen(QColor(0x7a, 0x1c, 0x10), 1.5));
    p.setBrush(red);
    p.drawRoundedRect(box, 8, 8);
    // A stack of papers on the lid.
    for (int i = 2; i >= 0; --i)
        sheet(p,
              QRectF(box.center().x() - box.width() * 0.16 + i * 6, box.top() + box.height() * 0.12 - i * 4,
                     box.width() * 0.32, box.height() * 0.42),
              QString(), -6 + i * 6);
    p.setFont(Slide::font(int(box.height() * 0.14), true));
    p.setPen(Qt::white);
    p.drawText(QRectF(box.left(), box.top() + box.height() * 0.62, box.width(), box.height() * 0.3), Qt::AlignCenter,
               label);
    p.restore();
}

QRectF tag(QPainter &p, const QPointF &centre, const QString &word, int pixelSize)
{
    p.save();
    p.setFont(Slide::font(pixelSize, true));
    const qreal w = p.fontMetrics().horizontalAdvance(word) + 20;
    const qreal h = pixelSize * 1.8;
    const QRectF box(centre.x() - w / 2, centre.y() - h / 2, w, h);
    p.setPen(QPen(Slide::navy, 1.5));
    p.setBrush(QColor(0xe4, 0xec, 0xf7));
    p.drawRoundedRect(box, h / 2, h / 2);
    p.setPen(Slide::navy);
    p.drawText(box, Qt::AlignCenter, word);
    p.restore();
    return box;
}

} // namespace Drawings
