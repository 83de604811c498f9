#pragma once

#include <QFont>
#include <QWidget>

// The window design names Windows fonts ("MS Sans Serif", "Arial"); where they are missing the
// style hint lets the font system pick the nearest sans-serif face.
inline QFont designFont(const QString &family, qreal points)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

// The substitute faces run wider than the designed ones: narrow a control's font, as little as
// needed, until its caption fits the width the design gives it.
inline void narrowToFit(QWidget *widget)
{
    QFont font = widget->font();
    for (int stretch = 96; stretch >= 60 && widget->sizeHint().width() > widget->width(); stretch -= 4) {
        font.setStretch(stretch);
        widget->setFont(font);
    }
}
