#pragma once

#include <QLabel>
#include <QMouseEvent>

// A status bar panel that answers a click of the left mouse button.
class ClickablePanel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit clicked();
    }
};
