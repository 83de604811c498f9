#include "tour/Slides.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace Slides {

namespace {

const char *const names[] = {
    "a1. computer power, paper power.jpg",
    "a1a. computer power, paper power.jpg",
    "a2. computer power, paper power.jpg",
    "a3. computer power, paper power.jpg",
    "b.  messy.jpg",
    "c.  numbered.jpg",
    "d.  the problem.jpg",
    "e.  b - bank.jpg",
    "ee.  b - bank.jpg",
    "f. the solution.jpg",
    "g. papyra main page.jpg",
    "h2. yahoo or google of paperwork.jpg",
    "ha. yahoo or google of paperwork.jpg",
    "hb. yahoo or google of paperwork.jpg",
    "i. gives the file number...to find the file..jpg",
    "ia. gives the file number...to find the file..jpg",
    "j. car insurance. click go.jpg",
    "k. car insurance. found.jpg",
    "l. pull out 454  you're done.jpg",
    "m. print the labels on your computer printer.jpg",
    "o. how to use..jpg",
    "oo. how to use..jpg",
    "p. how to start.jpg",
    "pp. how to start.jpg",
    "q. blank to start with.jpg",
    "r. type a short description for each file..jpg",
    "rr. type a short description for each file..jpg",
    "s. type a short description for each file..jpg",
    "t. disaster kit 25 most important.jpg",
    "u. disaster kit 25 most important.jpg",
    "v. disaster kit title page.jpg",
    "w. disaster kit 25 most important.jpg",
    "x. fill in the blank easy. re disribute.jpg",
    "xa. fill in the blank easy. re disribute.jpg",
    "y. option for other names..jpg",
    "za business card manager next.jpg",
    "zb title page.jpg",
    "zc number cards like you number files.jpg",
    "zd type in networking info and contact info.jpg",
    "ze.search birthdays.jpg",
    "zf.networking info.jpg",
    "zff.networking info.jpg",
    "zfff.networking info.jpg",
    "zffff.networking info.jpg",
    "zi.set up 10 files now.. then search for them..jpg",
    "zii.set up 10 files now.. then search for them..jpg",
    "zj.the end set up 10 files now.. then search for them..jpg",
};

static_assert(sizeof(names) / sizeof(names[0]) == stepCount + 1, "start picture plus 46 steps");

} // namespace

QString startPicture()
{
    return QString::fromLatin1(names[0]);
}

QString stepPicture(int step)
{
    if (step < 1 || step > stepCount)
        return QString();
    return QString::fromLatin1(names[step]);
}

QStringList allPictures()
{
    QStringList all;
    for (const char *name : names)
        all << QString::fromLatin1(name);
    return all;
}

QString path(const QString &programFolder, const QString &fileName)
{
    return QDir(programFolder).filePath(QStringLiteral("slideshow/images/") + fileName);
}

QImage picture(const QString &programFolder, const QString &fileName)
{
    return QImage(path(programFolder, fileName));
}

QImage startImage(const QString &programFolder)
{
    // Every tab change shows the start picture again; decoding it each time was a good part of a
    // tab change. A file replaced on disk (another time or size) is read again.
    struct Kept {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    };
    static Kept kept;
    const QString file = path(programFolder, startPicture());
    const QFileInfo info(file);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (kept.path != file || kept.modified != modified || kept.size != size)
        kept = {file, modified, size, QImage(file)};
    return kept.image;
}

Tick tick(qint16 step, const QString &programFolder)
{
    if (step < 1 || step > stepCount)
        return {step, false, QImage()};
    return {step == stepCount ? qint16(0) : static_cast<qint16>(step + 1), true,
            picture(programFolder, stepPicture(step))};
}

} // namespace Slides
