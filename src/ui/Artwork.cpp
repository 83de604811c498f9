#include "ui/Artwork.h"

#include <QCoreApplication>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Artwork {

namespace {

// A paper folder in r: the back with its tab, and the front over it.
QPainterPath folderBack(const QRectF &r)
{
    QPainterPath back;
    back.moveTo(r.left(), r.top() + r.height() * 0.15);
    back.lineTo(r.left() + r.width() * 0.38, r.top() + r.height() * 0.15);
    back.lineTo(r.left() + r.width() * 0.46, r.top());
    back.lineTo(r.right(), r.top());
    back.lineTo(r.right(), r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    return back;
}

QRectF folderFront(const QRectF &r)
{
    return QRectF(r.left(), r.top() + r.height() * 0.28, r.width(), r.height() * 0.72);
}

void drawFolder(QPainter &p, const QRectF &r, const QColor &body, const QColor &tab)
{
    p.setBrush(tab);
    p.drawPath(folderBack(r));
    p.setBrush(body);
    p.drawRoundedRect(folderFront(r), 2, 2);
}

} // namespace

QPixmap banner()
{
    QPixmap pixmap(600, 75);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 600, 0);
    sky.setColorAt(0, QColor(0x1f, 0x3a, 0x68));
    sky.setColorAt(1, QColor(0x3f, 0x7c, 0xb8));
    p.fillRect(pixmap.rect(), sky);

    // A row of numbered folders, the idea of the program in one line.
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x12), 1));
    QFont small(QStringLiteral("Sans Serif"));
    small.setPixelSize(11);
    small.setBold(true);
    for (int i = 0; i < 5; ++i) {
        const QRectF r(400 + i * 38, 18, 32, 40);
        drawFolder(p, r, QColor(0xf2, 0xc9, 0x6b), QColor(0xd9, 0xa8, 0x3e));
        p.setFont(small);
        p.setPen(QColor(0x40, 0x2a, 0x05));
        p.drawText(r.adjusted(0, 12, 0, 0), Qt::AlignCenter, QString::number(451 + i));
        p.setPen(QPen(QColor(0x8a, 0x5a, 0x12), 1));
    }

    QFont title(QStringLiteral("Sans Serif"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(20, 2, 360, 50), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Papyra"));
    QFont line(QStringLiteral("Sans Serif"));
    line.setPixelSize(13);
    p.setFont(line);
    p.setPen(QColor(0xdd, 0xe8, 0xf5));
    p.drawText(QRect(22, 50, 370, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QCoreApplication::translate("Artwork", "Type a word. Get the folder number. Pull the folder."));
    return pixmap;
}

QVector<Shape> iconShapes()
{
    // The folder of drawFolder, as paths.
    const QRectF r(1.5, 4.5, 29, 24);
    const QColor outline(0x8a, 0x5a, 0x12);
    const QPainterPath back = folderBack(r);
    QPainterPath body;
    body.addRoundedRect(folderFront(r), 2, 2);

    // The letter "P" (DejaVu Sans Bold at 15 pixels) as an outline centred on the folder's front:
    // the same on every machine, no font to find and load when the window gets its icon at start-up,
    // and none for the SVG.
    QPainterPath letter;
    letter.moveTo(11.5, 14.031);
    letter.lineTo(16.188, 14.031);
    letter.cubicTo(17.573, 14.031, 18.638, 14.341, 19.383, 14.961);
    letter.cubicTo(20.128, 15.581, 20.5, 16.458, 20.5, 17.594);
    letter.cubicTo(20.5, 18.75, 20.128, 19.635, 19.383, 20.25);
    letter.cubicTo(18.638, 20.865, 17.573, 21.172, 16.188, 21.172);
    letter.lineTo(14.328, 21.172);
    letter.lineTo(14.328, 24.969);
    letter.lineTo(11.5, 24.969);
    letter.closeSubpath();
    letter.moveTo(14.328, 16.078); // the bowl's hole
    letter.lineTo(14.328, 19.125);
    letter.lineTo(15.875, 19.125);
    letter.cubicTo(16.427, 19.125, 16.852, 18.992, 17.148, 18.727);
    letter.cubicTo(17.445, 18.461, 17.594, 18.083, 17.594, 17.594);
    letter.cubicTo(17.594, 17.115, 17.445, 16.742, 17.148, 16.477);
    letter.cubicTo(16.852, 16.211, 16.427, 16.078, 15.875, 16.078);
    letter.closeSubpath();

    return {{back, QColor(0xd9, 0xa8, 0x3e), outline, 1},
            {body, QColor(0xf2, 0xc9, 0x6b), outline, 1},
            {letter, QColor(0x1f, 0x3a, 0x68), QColor(), 0}};
}

QPixmap iconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    for (const Shape &shape : iconShapes()) {
        p.setPen(shape.strokeWidth > 0 ? QPen(shape.stroke, shape.strokeWidth) : QPen(Qt::NoPen));
        p.setBrush(shape.fill);
        p.drawPath(shape.path);
    }
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(iconPixmap(size));
    return icon;
}

} // namespace Artwork
