#include "print/LabelLayout.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>
#include <numeric>

namespace LabelLayout {

namespace {

// Label sheets are specified to a hundredth of a millimetre at best; allow for the rounding of
// fractions such as 1-1/3 inch written as 1.3333.
constexpr double tolerance = 0.005;

} // namespace

QRectF Sheet::labelRect(int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    return QRectF(left + column * horizontalPitch, top + row * verticalPitch, width, height);
}

QSizeF Sheet::paperSize() const
{
    return roll ? QSizeF(width, height) : QPageSize(paper).size(QPageSize::Inch);
}

QPageSize Sheet::pageSize() const
{
    if (!roll)
        return QPageSize(paper);
    // Named by its size in millimetres, as label printers' drivers name their media.
    const QString mm = QStringLiteral("%1 x %2 mm").arg(qRound(width * 25.4)).arg(qRound(height * 25.4));
    return QPageSize(QSizeF(width, height), QPageSize::Inch, mm, QPageSize::ExactMatch);
}

std::optional<QPageSize::PageSizeId> paperNamed(const QString &tail)
{
    const QString name = tail.section(QLatin1Char(';'), 0, 0).trimmed();
    if (name.compare(QLatin1String("Letter"), Qt::CaseInsensitive) == 0)
        return QPageSize::Letter;
    if (name.compare(QLatin1String("A4"), Qt::CaseInsensitive) == 0)
        return QPageSize::A4;
    return std::nullopt;
}

std::optional<Sheet> sheetFor(const LabelDefinition &definition, QString *why)
{
    auto refuse = [&](const QString &reason) -> std::optional<Sheet> {
        if (why)
            *why = QCoreApplication::translate("LabelLayout",
                                               "The label sheet type \"%1\" cannot be used: %2. Please choose another "
                                               "type or correct its line in labels.def.")
                       .arg(definition.name, reason);
        return std::nullopt;
    };
    if (!definition.wellFormed)
        return refuse(QCoreApplication::translate("LabelLayout", "its definition does not hold eight numbers"));
    // "nan" and "inf" read as floats, and would put every label at a position that is not a number.
    for (const float value : definition.numbers) {
        if (!std::isfinite(value))
            return refuse(
                QCoreApplication::translate("LabelLayout", "its definition holds a value that is not a finite number"));
    }

    Sheet sheet;
    sheet.name = definition.name;
    const auto &n = definition.numbers;
    sheet.left = n[LabelDefinition::LeftMargin];
    sheet.top = n[LabelDefinition::TopMargin];
    sheet.width = n[LabelDefinition::Width];
    sheet.height = n[LabelDefinition::Height];
    sheet.horizontalPitch = n[LabelDefinition::HorizontalPitch];
    sheet.verticalPitch = n[LabelDefinition::VerticalPitch];
    const double columns = n[LabelDefinition::Columns];
    const double rows = n[LabelDefinition::Rows];

    if (columns < 1 || rows < 1 || columns != std::floor(columns) || rows != std::floor(rows) || columns > 100 ||
        rows > 100)
        return refuse(QCoreApplication::translate("LabelLayout",
                                                  "it needs a whole number of columns and rows, at least one of each"));
    sheet.columns = int(columns);
    sheet.rows = int(rows);
    if (!(sheet.width > 0) || !(sheet.height > 0))
        return refuse(QCoreApplication::translate("LabelLayout", "its labels have no width or no height"));
    if (sheet.left < 0 || sheet.top < 0)
        return refuse(QCoreApplication::translate("LabelLayout", "its margins are negative"));
    if ((sheet.columns > 1 && sheet.horizontalPitch < sheet.width - tolerance) ||
        (sheet.rows > 1 && sheet.verticalPitch < sheet.height - tolerance))
        return refuse(QCoreApplication::translate("LabelLayout", "its labels would overlap"));
    const QString paperName = definition.tail.section(QLatin1Char(';'), 0, 0).trimmed();
    const auto paper = paperNamed(definition.tail);
    sheet.roll = paperName.compare(rollPaper, Qt::CaseInsensitive) == 0;
    if (!paper && !sheet.roll)
        return refuse(QCoreApplication::translate("LabelLayout", "its paper \"%1\" is not known (Letter, A4 or Roll)")
                          .arg(paperName));
    if (paper)
        sheet.paper = *paper;
    const QRectF last = sheet.labelRect(sheet.labelsPerSheet() - 1);
    const QSizeF paperSize = sheet.paperSize();
    if (sheet.roll && sheet.labelsPerSheet() > 1)
        return refuse(QCoreApplication::translate("LabelLayout", "a roll holds one label across and one down"));
    if (last.right() > paperSize.width() + tolerance || last.bottom() > paperSize.height() + tolerance)
        return refuse(QCoreApplication::translate("LabelLayout", "its labels do not fit on the paper"));
    return sheet;
}

Request checkRequest(const std::optional<Sheet> &sheet, const QString &startText, const QString &countText,
                     bool countInPages)
{
    Request request;
    auto fail = [&](const QString &field, const QString &error) {
        request.field = field;
        request.error = error;
        return request;
    };
    // Digits only: "+3", "1e3", "2.0" or a number with blanks inside are not what the user meant.
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*[0-9]{1,9}\\s*$"));
    if (!sheet)
        return fail(QStringLiteral("lstLabels"),
                    QCoreApplication::translate("LabelLayout", "Please choose a label type from the list."));

    if (!wholeNumber.match(startText).hasMatch() || startText.trimmed().toInt() < 1 ||
        startText.trimmed().toInt() > maxNumber)
        return fail(QStringLiteral("txtStart"),
                    QCoreApplication::translate("LabelLayout",
                                                "Please enter the first label number as a whole number from 1 to %1.")
                        .arg(maxNumber));
    request.start = startText.trimmed().toInt();

    const int perSheet = sheet->labelsPerSheet();
    const int count = wholeNumber.match(countText).hasMatch() ? countText.trimmed().toInt() : 0;
    if (countInPages) {
        if (count < 1 || count > maxSheets)
            return fail(QStringLiteral("txtEnd"),
                        QCoreApplication::translate(
                            "LabelLayout", "Please enter how many pages to print as a whole number from 1 to %1.")
                            .arg(maxSheets));
        request.count = count * perSheet;
    } else {
        if (count < 1 || count > maxSheets * perSheet)
            return fail(QStringLiteral("txtEnd"),
                        QCoreApplication::translate(
                            "LabelLayout", "Please enter how many labels to print as a whole number from 1 to %1 "
                                           "(%2 pages of this label type).")
                            .arg(maxSheets * perSheet)
                            .arg(maxSheets));
        request.count = count;
    }
    if (qint64(request.start) + request.count - 1 > maxNumber)
        return fail(QStringLiteral("txtEnd"),
                    QCoreApplication::translate("LabelLayout",
                                                "Label numbers go up to %1: please print fewer labels or start lower.")
                        .arg(maxNumber));
    return request;
}

QVector<QVector<int>> numbersBySheet(const Sheet &sheet, int start, int count)
{
    QVector<int> numbers(qMax(0, count));
    std::iota(numbers.begin(), numbers.end(), start);
    return numbersBySheet(sheet, numbers);
}

QVector<QVector<int>> numbersBySheet(const Sheet &sheet, const QVector<int> &numbers)
{
    QVector<QVector<int>> sheets;
    const int perSheet = sheet.labelsPerSheet();
    for (int i = 0; i < numbers.size(); ++i) {
        if (i % perSheet == 0)
            sheets.append(QVector<int>());
        sheets.last().append(numbers.at(i));
    }
    return sheets;
}

} // namespace LabelLayout
