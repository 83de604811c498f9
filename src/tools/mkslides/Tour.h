#pragma once

#include <QImage>
#include <QVector>

// Draws the 47 pictures of the guided tour, in the order of the slide list, from the real program
// windows. labelsFolder holds the labels.def that the label dialog shown on one slide reads.
QVector<QImage> drawTour(const QString &labelsFolder);
