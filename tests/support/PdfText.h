#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// The words of a PDF file's pages with their boxes, as poppler's pdftotext finds them.
struct PdfWord {
    QString text;
    qreal left, top, right, bottom; // points from the page's top-left corner
};
struct PdfPage {
    qreal width, height; // points
    QVector<PdfWord> words;
};

QVector<PdfPage> pdfPages(const QString &pdf);
// The pages as grey images at the given resolution, as poppler's pdftoppm draws them.
QVector<QImage> pdfImages(const QString &pdf, int dotsPerInch);
bool havePoppler();
