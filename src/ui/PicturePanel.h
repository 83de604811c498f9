#pragma once

#include <QFrame>
#include <QImage>

// A panel that paints one picture unscaled from its top-left corner over its own background.
class PicturePanel : public QFrame
{
    Q_OBJECT
public:
    explicit PicturePanel(const QString &name, QWidget *parent = nullptr);

    // Replaces (and so releases) the picture shown; a null image leaves only the background.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
