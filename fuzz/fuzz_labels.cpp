// The label definitions file and the sheet layout made from each line. Besides crashes and
// sanitizer reports, it stops on a sheet that is accepted but would put a label off the paper.
#include "print/LabelDefinitions.h"
#include "print/LabelLayout.h"

#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

namespace {

void checkSheet(const LabelDefinition &definition)
{
    QString why;
    const auto sheet = LabelLayout::sheetFor(definition, &why);
    if (!sheet) {
        if (!why.contains(definition.name))
            std::abort(); // the message must name the sheet
        return;
    }
    if (sheet->columns < 1 || sheet->rows < 1 || sheet->columns > 100 || sheet->rows > 100)
        std::abort();
    const QSizeF paper = sheet->paperSize();
    for (int i = 0; i < sheet->labelsPerSheet(); ++i) {
        const QRectF r = sheet->labelRect(i);
        if (!std::isfinite(r.left()) || !std::isfinite(r.top()) || !std::isfinite(r.right()) ||
            !std::isfinite(r.bottom()) || r.left() < 0 || r.top() < 0 || r.right() > paper.width() + 0.01 ||
            r.bottom() > paper.height() + 0.01)
            std::abort();
    }
    const LabelLayout::Request request = LabelLayout::checkRequest(
        sheet, definition.tail.left(12), definition.name.left(12), definition.tail.size() % 2);
    if (request.ok()) {
        const auto sheets = LabelLayout::numbersBySheet(*sheet, request.start, request.count);
        if (sheets.size() > LabelLayout::maxSheets)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QStringLiteral("/tmp/papyra-fuzz-labels-%1.def").arg(::getpid());
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    const LabelDefinitions::Result result = LabelDefinitions::read(path);
    for (const LabelDefinition &definition : result.definitions)
        checkSheet(definition);
    // Every line on its own too, markers or not.
    for (const QString &line :
         QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QLatin1Char('\n')))
        checkSheet(LabelDefinitions::parseLine(line));
    return 0;
}
