#pragma once

#include <QColor>
#include <QIcon>
#include <QPainterPath>
#include <QPixmap>
#include <QVector>

// The program's own pictures, drawn in code so they need no image files.
namespace Artwork {

QPixmap banner(); // 600 by 75, for the Search panel
// One filled and outlined outline of the icon; strokeWidth 0 means no outline.
struct Shape {
    QPainterPath path;
    QColor fill;
    QColor stroke;
    qreal strokeWidth = 0;
};

// The application icon as shapes on a 32 by 32 canvas, painted back to front. The window draws
// them at its icon sizes; the desktop files (PNG at every size, and SVG) are made from the same.
QVector<Shape> iconShapes();
QPixmap iconPixmap(int size = 32);
QIcon appIcon();

} // namespace Artwork
