#pragma once

#include <QString>
#include <QStringList>

class PicturePanel;

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

// Reads the picture file afresh and puts it in the panel in place of the one shown. A missing or
// undecodable file leaves the panel black; nothing is reported, so the tour simply goes on.
void show(PicturePanel *panel, const QString &programFolder, const QString &fileName);

// One tick of the tour clock. At rest (step outside 1 .. stepCount) nothing happens and step comes
// back unchanged; otherwise that step's picture is shown and the next step is returned, 0 after the
// last, so the tour stops on its last picture.
qint16 tick(qint16 step, const QString &programFolder, PicturePanel *panel);

} // namespace Slides
