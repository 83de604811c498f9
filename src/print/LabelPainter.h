#pragma once

#include "print/LabelCode.h"
#include "print/LabelLayout.h"

#include <QHash>
#include <optional>

class QPagedPaintDevice;

// Draws numbered labels on a printer or PDF writer set to the sheet's paper, full page, so
// positions are measured from the paper's edge. A label may carry a code beside its number.
namespace LabelPainter {

struct Code {
    LabelCode::Kind kind = LabelCode::Kind::None;
    QString prefix;
};

// A code's modules are never smaller than this (inches): two dots of a 300 dpi printer.
constexpr double minModule = 1.0 / 150;

// Where the parts of a label go, in inches from the paper's edge. The code area is empty without
// a code: a square code sits at the label's left, a bar code across its foot. squareModules: the
// side of the run's largest square code in modules (0: as large as a label allows).
struct Areas {
    QRectF code;
    QRectF text; // the number, with the keyword line beneath it
};
Areas areasFor(const QRectF &label, LabelCode::Kind kind, double squareModules = 0);

// Where a code goes in its area, quiet zones included, with modules a whole number of dots where
// the printer's dots are fine enough; nullopt when its modules would be smaller than minModule.
struct Fit {
    QRectF box;
    double module = 0;
};
std::optional<Fit> fitSymbol(const QRectF &area, const LabelCode::Symbol &symbol, double dotsPerInch);

// Empty when every numbered label of the run can carry its code; otherwise what to tell the user.
QString checkCodes(const LabelLayout::Sheet &sheet, const QVector<int> &numbers, const Code &code);

// Prepares the device for the sheet: its paper (a roll's page is one label), portrait, no
// margins, full-page coordinates.
void setUpDevice(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet);

// Prints the numbers sheet by sheet; keywords of already filled slots go beneath their number.
// Returns false when the device could not be painted on.
bool paint(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet, const QVector<QVector<int>> &sheets,
           const QHash<int, QString> &keywords, const Code &code = {});

} // namespace LabelPainter
