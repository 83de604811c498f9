#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

// One tour picture of the Start Here panel's size, in the tour's common look: a title band, a
// light page, and the place in the tour at the foot.
class Slide
{
public:
    static constexpr int width = 697;
    static constexpr int height = 441;
    static constexpr int bandHeight = 56;
    static constexpr int footHeight = 20;
    static constexpr int margin = 24;

    static const QColor ink;
    static const QColor navy;
    static const QColor accent; // the highlight colour of rings and arrows
    static const QColor paper;

    explicit Slide(const QString &title);
    Slide(const Slide &) = delete;
    Slide &operator=(const Slide &) = delete;

    QPainter &painter() { return m_painter; }
    // The page between the band and the foot.
    QRect page() const;

    static QFont font(int pixelSize, bool bold = false);

    // Word-wrapped text in rect; returns the height used. <b>…</b> is not interpreted: use bold.
    int text(const QRect &rect, const QString &text, int pixelSize = 20, bool bold = false,
             Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop, const QColor &color = ink);
    // A numbered or bulleted list; returns the height used.
    int list(const QRect &rect, const QStringList &items, int pixelSize = 18, bool numbered = false,
             int firstNumber = 1);

    // A picture with a thin border and a soft shadow, scaled to fit target (never enlarged), centred
    // in it. Returns where it landed and the scale used.
    QRect picture(const QImage &image, const QRect &target, qreal *scale = nullptr);
    // A part of a picture at its own size, placed at topLeft.
    QRect crop(const QImage &image, const QRect &part, const QPoint &topLeft);

    void ring(const QRect &rect, int grow = 4);
    void arrow(const QPointF &from, const QPointF &to);
    // A short note in a rounded box, for pointing at things.
    QRect note(const QPoint &topLeft, const QString &text, int pixelSize = 15, int maxWidth = 220);

    // Finishes the picture: the foot with the place in the tour (index 0 is the start picture).
    QImage finish(int index, int count);

private:
    QImage m_image;
    QPainter m_painter;
};
