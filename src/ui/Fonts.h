#pragma once

#include <QFont>
#include <QWidget>

// The window design names Windows fonts ("MS Sans Serif", "Arial"); where they are missing the
// style hint lets the font system pick the nearest sans-serif face.
inline QFont designFont(const QString &family, qreal points)
{
#ifdef Q_OS_WIN
    // Windows still has "MS Sans Serif" as a bitmap font in a few fixed sizes, which can be neither
    // narrowed nor made smaller; its TrueType face is what Windows' own dialogs show for it.
    QFont font(family == QLatin1String("MS Sans Serif") ? QStringLiteral("Microsoft Sans Serif") : family);
#else
    QFont font(family);
#endif
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
