#pragma once

#include <QFont>

// The window design names Windows fonts ("MS Sans Serif", "Arial"); where they are missing the
// style hint lets the font system pick the nearest sans-serif face.
inline QFont designFont(const QString &family, qreal points)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

