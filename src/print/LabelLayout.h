#pragma once

#include "print/LabelDefinitions.h"

#include <QPageSize>
#include <QRectF>
#include <QString>
#include <QVector>
#include <optional>

// Where the numbered labels of a sheet type go, and which numbers land on which sheet. Distances
// are in inches from the top-left edge of the paper (not of the printer's printable area).
namespace LabelLayout {

struct Sheet {
    QString name;
    QPageSize::PageSizeId paper = QPageSize::Letter;
    bool roll = false; // a label printer's roll: one label per page, the page the label's size
    double left = 0, top = 0, width = 0, height = 0, horizontalPitch = 0, verticalPitch = 0;
    int columns = 0, rows = 0;

    int labelsPerSheet() const { return columns * rows; }
    // Label `index` of a sheet, counted row by row from 0 at the top left.
    QRectF labelRect(int index) const;
    QSizeF paperSize() const; // inches
    QPageSize pageSize() const;
};

// A folder as the Search Results tab lists it: the label printing gets the numbers and keywords
// the window shows, and reads nothing itself.
struct Folder {
    int number = 0;
    QString keywords;
};

// Makes a sheet from a definition, or says (in a sentence naming the sheet type) why it cannot be
// laid out: a field that is not a finite number, fewer than one column or row, a size that is not
// positive, labels overlapping, a grid larger than the paper, or a paper this program does not know.
std::optional<Sheet> sheetFor(const LabelDefinition &definition, QString *why = nullptr);

// The paper named first in a definition's tail ("Letter", "A4"; any case).
std::optional<QPageSize::PageSizeId> paperNamed(const QString &tail);
// The paper name of a label printer's roll ("Roll"; any case).
inline const QString rollPaper = QStringLiteral("Roll");

// The most sheets one print run may take.
constexpr int maxSheets = 100;
constexpr int maxNumber = 999999;

// What the user asked for in the dialog, checked. `field` names the control holding a wrong value.
struct Request {
    int start = 1;
    int count = 0; // labels
    QString error; // empty when the request is good
    QString field; // "lstLabels", "txtStart" or "txtEnd" when error is set
    bool ok() const { return error.isEmpty(); }
};
Request checkRequest(const std::optional<Sheet> &sheet, const QString &startText, const QString &countText,
                     bool countInPages);

// The numbers printed on each sheet: start, start + 1, ... filling each sheet row by row.
QVector<QVector<int>> numbersBySheet(const Sheet &sheet, int start, int count);
// The given numbers in their order, filling each sheet row by row.
QVector<QVector<int>> numbersBySheet(const Sheet &sheet, const QVector<int> &numbers);

} // namespace LabelLayout
