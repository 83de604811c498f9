#include "print/LabelPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

namespace LabelPainter {

namespace {

QFont numberFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(qMax(1, pixelSize));
    return font;
}

QFont keywordFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qMax(1, pixelSize));
    return font;
}

// A run of labels is numbered upwards, and digits share one width, so the last number is the widest.
QString widestOf(const QVector<QVector<int>> &sheets)
{
    int widest = 0;
    for (const auto &numbers : sheets)
        for (int n : numbers)
            widest = qMax(widest, n);
    return QString::number(widest);
}

} // namespace

void setUpDevice(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet)
{
    // A printer would otherwise keep its own minimum margins and move the origin inside them.
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    QPageLayout layout(QPageSize(sheet.paper), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    layout.setMode(QPageLayout::FullPageMode);
    device.setPageLayout(layout);
}

int numberPixelSize(const QString &widestNumber, const QSizeF &labelSize)
{
    const double padding = qMin(labelSize.width(), labelSize.height()) * 0.08;
    const double room = labelSize.width() - 2 * padding;
    const double tallest = labelSize.height() * 0.5;
    int size = qMax(1, int(tallest));
    while (size > 1 && QFontMetricsF(numberFont(size)).horizontalAdvance(widestNumber) > room)
        size = size * 9 / 10;
    return size;
}

bool paint(QPagedPaintDevice &device, const LabelLayout::Sheet &sheet, const QVector<QVector<int>> &sheets,
           const QHash<int, QString> &keywords)
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
    const QSizeF labelSize(sheet.width * dpiX, sheet.height * dpiY);
    const QFont number = numberFont(numberPixelSize(widestOf(sheets), labelSize));
    const QFont small = keywordFont(qMax(1, int(labelSize.height() * 0.14)));
    const double padding = qMin(labelSize.width(), labelSize.height()) * 0.08;

    for (int s = 0; s < sheets.size(); ++s) {
        if (s > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        const QVector<int> &numbers = sheets.at(s);
        for (int i = 0; i < numbers.size(); ++i) {
            const QRectF label = toDevice(sheet.labelRect(i));
            painter.setFont(number);
            painter.setPen(Qt::black);
            painter.drawText(label, Qt::AlignCenter, QString::number(numbers.at(i)));
            const QString words = keywords.value(numbers.at(i)).simplified();
            if (words.isEmpty())
                continue;
            // Below the number, in the band between the number and the label's lower edge.
            const QFontMetricsF numberMetrics(number);
            const double below = label.center().y() + numberMetrics.height() / 2;
            const QRectF band(label.left() + padding, below, label.width() - 2 * padding,
                              label.bottom() - padding - below);
            if (band.height() <= 0)
                continue;
            painter.setFont(small);
            const QString fitted = QFontMetricsF(small).elidedText(words, Qt::ElideRight, band.width());
            painter.drawText(band, Qt::AlignHCenter | Qt::AlignTop, fitted);
        }
    }
    return painter.end();
}

} // namespace LabelPainter
