#include "ui/PicturePanel.h"

#include <QPainter>

PicturePanel::PicturePanel(const QString &name, QWidget *parent) : QFrame(parent)
{
    setObjectName(name);
}

void PicturePanel::setPicture(const QImage &picture)
{
    m_source = nullptr;
    m_picture = picture;
    update();
}

void PicturePanel::setPicture(std::function<QImage()> source)
{
    m_picture = QImage();
    m_source = std::move(source);
    update();
}

const QImage &PicturePanel::picture() const
{
    if (m_source) {
        m_picture = m_source();
        m_source = nullptr;
    }
    return m_picture;
}

void PicturePanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (picture().isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), m_picture);
}
