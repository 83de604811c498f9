#pragma once

#include "print/LabelLayout.h"

#include <QHash>

class QPagedPaintDevice;

// Draws numbered labels on a printer or PDF writer set to the sheet's paper, full page, so
// positions are measured from the paper's edge.
namespace LabelPainter {

// Prepares the device for the sheet: its paper, portrait, no margins, full-page coordinates.
void setUpDevice(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet);

// Prints the numbers sheet by sheet; keywords of already filled slots go beneath their number.
// Returns false when the device could not be painted on.
bool paint(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet, const QVector<QVector<int>> &sheets,
           const QHash<int, QString> &keywords);

// The pixel size of the number font: the widest number of the run fits inside a label of
// labelSize (device pixels) with a little padding, leaving room for a line of keywords below.
int numberPixelSize(const QString &widestNumber, const QSizeF &labelSize);

} // namespace LabelPainter
