#include "ui/PicturePanel.h"

#include <QPainter>

PicturePanel::PicturePanel(const QString &name, QWidget *parent) : QFrame(parent)
{
    setObjectName(name);
}

void PicturePanel::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void PicturePanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), m_picture);
}
