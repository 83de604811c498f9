#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// The guided tour's pictures: fixed file names in a fixed order, read from slideshow/images in the
// program folder. The folder is never listed; the names are used exactly as written.
namespace Slides {

constexpr int stepCount = 46;

QString startPicture();
// The picture of step 1 .. stepCount.
QString stepPicture(int step);
// All 47 names: the start picture, then steps 1 to 46.
QStringList allPictures();
QString path(const QString &programFolder, const QString &fileName);

// Reads the picture file afresh. A missing or undecodable file gives a null image, shown as the
// panel's bare background; nothing is reported, so the tour simply goes on.
QImage picture(const QString &programFolder, const QString &fileName);
// The start picture, decoded once for each version of its file (path, time and size).
QImage startImage(const QString &programFolder);

// One tick of the tour clock. At rest (step outside 1 .. stepCount) nothing is shown and the step
// stays; otherwise that step's picture is to be shown, and the next step is 0 after the last, so
// the tour stops on its last picture.
struct Tick {
    qint16 next = 0;
    bool shows = false;
    QImage picture;
};
Tick tick(qint16 step, const QString &programFolder);

} // namespace Slides
