#pragma once

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

} // namespace Slides
