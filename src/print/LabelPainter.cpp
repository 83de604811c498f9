#include "print/LabelPainter.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace LabelPainter {

namespace {

// A square code takes at most this share of the label's width, and modules no larger than a
// 0.75 mm: larger ones only take room from the number.
constexpr double squareShare = 0.45;
constexpr double maxSquareModule = 0.03;
// A bar code's share of the label's height.
constexpr double barShare = 0.38;
// Modules are whole dots only on printers at least this fine; coarser ones get the exact size.
constexpr double finestUnsnapped = 300;
// A PDF is printed later on some printer: its modules are whole dots at 300 dpi (and so at 600 and 1200).
constexpr double pdfDotsPerInch = 300;

QFont labelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    font.setPixelSize(qMax(1, pixelSize));
    return font;
}

double paddingFor(const QSizeF &label)
{
    return qMin(label.width(), label.height()) * 0.08;
}

// The largest pixel size at most `tallest` whose line (ascent and descent) fits `room`.
int fittingPixelSize(const QString &text, const QSizeF &room, double tallest, bool bold)
{
    int size = qMax(1, int(tallest));
    while (size > 1) {
        const QFontMetricsF metrics(labelFont(size, bold));
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            break;
        size = qMin(size - 1, size * 9 / 10);
    }
    return size;
}

double snapDown(double value, double dotsPerInch)
{
    return dotsPerInch >= finestUnsnapped ? std::floor(value * dotsPerInch + 1e-6) / dotsPerInch : value;
}

double snapUp(double value, double dotsPerInch)
{
    return dotsPerInch >= finestUnsnapped ? std::ceil(value * dotsPerInch - 1e-6) / dotsPerInch : value;
}

QVector<LabelCode::Symbol> symbolsFor(const QVector<int> &numbers, const Code &code)
{
    QVector<LabelCode::Symbol> symbols;
    if (code.kind == LabelCode::Kind::None)
        return symbols;
    symbols.reserve(numbers.size());
    for (int number : numbers)
        symbols.append(LabelCode::encode(code.kind, LabelCode::text(code.prefix, number)));
    return symbols;
}

double largestSide(const QVector<LabelCode::Symbol> &symbols)
{
    double side = 0;
    for (const LabelCode::Symbol &symbol : symbols)
        if (!symbol.linear)
            side = qMax(side, qMax(symbol.size.width(), symbol.size.height()));
    return side;
}

} // namespace

Areas areasFor(const QRectF &label, LabelCode::Kind kind, double squareModules)
{
    const double padding = paddingFor(label.size());
    Areas areas;
    const QRectF inner = label.adjusted(padding, padding, -padding, -padding);
    switch (kind) {
    case LabelCode::Kind::None:
        areas.text = inner;
        break;
    case LabelCode::Kind::QrCode:
    case LabelCode::Kind::DataMatrix: {
        // Half the padding on either side keeps a code with a narrow quiet zone (Data Matrix) off
        // the label's edge when the printer places the page a little off, and off the number.
        double side = qMin(label.height() - padding, label.width() * squareShare);
        if (squareModules > 0)
            side = qMin(side, squareModules * maxSquareModule);
        areas.code = QRectF(label.left() + padding / 2, label.center().y() - side / 2, side, side);
        const double textLeft = areas.code.right() + padding / 2;
        areas.text = QRectF(textLeft, inner.top(), inner.right() - textLeft, inner.height());
        break;
    }
    case LabelCode::Kind::Code128: {
        const double bars = label.height() * barShare;
        areas.code = QRectF(label.left(), inner.bottom() - bars, label.width(), bars);
        areas.text = QRectF(inner.left(), inner.top(), inner.width(), areas.code.top() - padding / 2 - inner.top());
        break;
    }
    }
    return areas;
}

std::optional<Fit> fitSymbol(const QRectF &area, const LabelCode::Symbol &symbol, double dotsPerInch)
{
    if (!symbol.ok() || area.isEmpty())
        return std::nullopt;
    Fit fit;
    double module = area.width() / symbol.size.width();
    if (!symbol.linear)
        module = qMin(qMin(module, area.height() / symbol.size.height()), maxSquareModule);
    if (module < minModule)
        return std::nullopt;
    fit.module = qMax(minModule, snapDown(module, dotsPerInch));
    const QSizeF size(fit.module * symbol.size.width(),
                      symbol.linear ? area.height() : fit.module * symbol.size.height());
    // Square codes keep to the label's left, bar codes to its middle; the corner falls on a dot.
    const double left = symbol.linear ? area.center().x() - size.width() / 2 : area.left();
    fit.box =
        QRectF(QPointF(snapUp(left, dotsPerInch), snapUp(area.center().y() - size.height() / 2, dotsPerInch)), size);
    if (fit.box.right() > area.right() + 1e-6 || fit.box.bottom() > area.bottom() + 1e-6)
        fit.box.moveTopLeft(QPointF(snapDown(fit.box.left(), dotsPerInch), snapDown(fit.box.top(), dotsPerInch)));
    return fit;
}

QString checkCodes(const LabelLayout::Sheet &sheet, const QVector<int> &numbers, const Code &code)
{
    if (code.kind == LabelCode::Kind::None || numbers.isEmpty())
        return QString();
    const QString name = LabelCode::kindNames().value(int(code.kind));
    const QVector<LabelCode::Symbol> symbols = symbolsFor(numbers, code);
    const Areas areas = areasFor(sheet.labelRect(0), code.kind, largestSide(symbols));
    for (int i = 0; i < numbers.size(); ++i) {
        const LabelCode::Symbol &symbol = symbols.at(i);
        const QString text = LabelCode::text(code.prefix, numbers.at(i));
        if (!symbol.ok())
            return QCoreApplication::translate("LabelPainter", "A %1 cannot hold \"%2\": %3.")
                .arg(name, text, symbol.error);
        if (!fitSymbol(areas.code, symbol, pdfDotsPerInch))
            return QCoreApplication::translate(
                       "LabelPainter",
                       "The labels of \"%1\" are too small for a %2 holding \"%3\". Please choose larger "
                       "labels, a shorter prefix or another code.")
                .arg(sheet.name, name, text);
    }
    return QString();
}

void setUpDevice(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet)
{
    // A printer would otherwise keep its own minimum margins and move the origin inside them.
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    QPageLayout layout(sheet.pageSize(), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
}

bool paint(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet, const QVector<QVector<int>> &sheets,
           const QHash<int, QString> &keywords, const Code &code)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Full-page mode: device coordinates start at the paper's top-left corner.
    const double dpiX = device.logicalDpiX();
    const double dpiY = device.logicalDpiY();
    auto toDevice = [dpiX, dpiY](const QRectF &inches) {
        return QRectF(inches.x() * dpiX, inches.y() * dpiY, inches.width() * dpiX, inches.height() * dpiY);
    };
    const auto *printer = dynamic_cast<QPrinter *>(&device);
    const double dots =
        printer && printer->outputFormat() == QPrinter::NativeFormat ? printer->resolution() : pdfDotsPerInch;

    // Every label of the run gets the same fonts: the widest number, and a keyword line when any has keywords.
    int widest = 0;
    bool anyKeywords = false;
    QVector<int> all;
    for (const auto &numbers : sheets) {
        all += numbers;
        for (int n : numbers) {
            widest = qMax(widest, n);
            anyKeywords = anyKeywords || !keywords.value(n).simplified().isEmpty();
        }
    }
    const QVector<LabelCode::Symbol> symbols = symbolsFor(all, code);
    const double squareModules = largestSide(symbols);
    const QRectF firstLabel = toDevice(sheet.labelRect(0));
    const QRectF textArea = toDevice(areasFor(sheet.labelRect(0), code.kind, squareModules).text);
    const QFont small = labelFont(anyKeywords ? fittingPixelSize(QStringLiteral("Xg"),
                                                                 QSizeF(textArea.width(), textArea.height() * 0.35),
                                                                 firstLabel.height() * 0.14, false)
                                              : 1,
                                  false);
    const double keywordLine = anyKeywords ? QFontMetricsF(small).height() : 0;
    const QFont number =
        labelFont(fittingPixelSize(QString::number(widest), QSizeF(textArea.width(), textArea.height() - keywordLine),
                                   firstLabel.height() * 0.5, true),
                  true);
    const double numberLine = QFontMetricsF(number).height();
    painter.setPen(Qt::black);

    int index = 0; // of the label in the run
    for (int s = 0; s < sheets.size(); ++s) {
        if (s > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        const QVector<int> &numbers = sheets.at(s);
        for (int i = 0; i < numbers.size(); ++i, ++index) {
            const Areas areas = areasFor(sheet.labelRect(i), code.kind, squareModules);
            const QRectF text = toDevice(areas.text);
            // The number and the keyword line, each as tall as its font's ascent and descent, in the
            // middle of the text area: descenders are never cut off.
            const double top = text.center().y() - (numberLine + keywordLine) / 2;
            painter.setFont(number);
            painter.drawText(QRectF(text.left(), top, text.width(), numberLine), Qt::AlignCenter,
                             QString::number(numbers.at(i)));
            const QString words = keywords.value(numbers.at(i)).simplified();
            if (!words.isEmpty()) {
                painter.setFont(small);
                painter.drawText(QRectF(text.left(), top + numberLine, text.width(), keywordLine),
                                 Qt::AlignHCenter | Qt::AlignTop,
                                 QFontMetricsF(small).elidedText(words, Qt::ElideRight, text.width()));
            }
            if (code.kind == LabelCode::Kind::None)
                continue;
            const LabelCode::Symbol &symbol = symbols.at(index);
            const std::optional<Fit> fit = fitSymbol(areas.code, symbol, dots);
            if (!fit)
                continue; // the dialog has refused such a run
            const QRectF box = toDevice(fit->box);
            const double sx = box.width() / symbol.size.width();
            const double sy = box.height() / symbol.size.height();
            // Filled rectangles: vectors in a PDF and on a PostScript printer, crisp at any resolution.
            for (const QRectF &module : symbol.dark)
                painter.fillRect(QRectF(box.left() + module.left() * sx, box.top() + module.top() * sy,
                                        module.width() * sx, module.height() * sy),
                                 Qt::black);
        }
    }
    return painter.end();
}

} // namespace LabelPainter
