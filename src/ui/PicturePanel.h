#pragma once

#include <QFrame>
#include <QImage>

#include <functional>

// A panel that paints one picture unscaled from its top-left corner over its own background.
class PicturePanel : public QFrame
{
    Q_OBJECT
public:
    explicit PicturePanel(const QString &name, QWidget *parent = nullptr);

    // Replaces (and so releases) the picture shown; a null image leaves only the background.
    void setPicture(const QImage &picture);
    // The same, with the picture decoded only when it is first needed (painted or asked for): the
    // caller may set one while the panel is hidden and replace it before it is ever seen.
    void setPicture(std::function<QImage()> source);
    const QImage &picture() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    mutable QImage m_picture;
    mutable std::function<QImage()> m_source; // set while the picture waits to be decoded
};
