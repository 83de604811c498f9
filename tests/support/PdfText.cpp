#include "PdfText.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

QVector<PdfPage> pdfPages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    static const QRegularExpression tag(QStringLiteral(
        "<page width=\"([\\d.]+)\" height=\"([\\d.]+)\"|"
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QVector<PdfPage> pages;
    for (auto it = tag.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength(1))
            pages.append({m.captured(1).toDouble(), m.captured(2).toDouble(), {}});
        else if (!pages.isEmpty())
            pages.last().words.append({m.captured(7), m.captured(3).toDouble(), m.captured(4).toDouble(),
                                       m.captured(5).toDouble(), m.captured(6).toDouble()});
    }
    return pages;
}

QVector<QImage> pdfImages(const QString &pdf, int dotsPerInch)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-gray"),
                                         pdf, dir.filePath(QStringLiteral("page"))});
    if (!dir.isValid() || !p.waitForFinished(120000) || p.exitCode() != 0)
        return {};
    // Uncompressed grey maps: quicker to write and read than PNG files.
    QVector<QImage> images;
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("page-*.pgm")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        images.append(QImage(dir.filePath(file)));
    return images;
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}
