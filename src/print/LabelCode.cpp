#include "print/LabelCode.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <memory>
#include <zint.h>

namespace LabelCode {

namespace {

constexpr int archiveDigits = 5;
const QString settingsFile = QStringLiteral("Papyra.ini");
const QString prefixKey = QStringLiteral("Labels/Prefix");

} // namespace

QStringList kindNames()
{
    return {QCoreApplication::translate("LabelCode", "None"), QCoreApplication::translate("LabelCode", "QR Code"),
            QCoreApplication::translate("LabelCode", "Data Matrix"),
            QCoreApplication::translate("LabelCode", "Code 128")};
}

bool isValidPrefix(const QString &prefix)
{
    static const QRegularExpression valid(QStringLiteral("^([A-Za-z][A-Za-z0-9./-]{0,9})?$"));
    return valid.match(prefix).hasMatch();
}

QString text(const QString &prefix, int number)
{
    if (prefix.compare(archivePrefix, Qt::CaseInsensitive) == 0)
        return archivePrefix + QStringLiteral("%1").arg(number, archiveDigits, 10, QLatin1Char('0'));
    return prefix + QString::number(number);
}

std::optional<int> scannedNumber(const QString &scanned, const QString &lastPrefix)
{
    const QString code = scanned.trimmed();
    QStringList prefixes{archivePrefix};
    if (!lastPrefix.isEmpty() && isValidPrefix(lastPrefix))
        prefixes << lastPrefix;
    for (const QString &prefix : prefixes) {
        if (!code.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString digits = code.mid(prefix.size());
        // Up to 9 digits always fit an int; a longer run is no folder number.
        static const QRegularExpression number(QStringLiteral("^[0-9]{1,9}$"));
        if (number.match(digits).hasMatch())
            return digits.toInt();
    }
    return std::nullopt;
}

QString lastPrefix(const QString &dataFolder)
{
    const QString prefix =
        QSettings(QDir(dataFolder).filePath(settingsFile), QSettings::IniFormat).value(prefixKey).toString();
    return isValidPrefix(prefix) ? prefix : QString();
}

void rememberPrefix(const QString &dataFolder, const QString &prefix)
{
    if (prefix.isEmpty() || !isValidPrefix(prefix) || prefix == lastPrefix(dataFolder))
        return;
    QSettings settings(QDir(dataFolder).filePath(settingsFile), QSettings::IniFormat);
    settings.setValue(prefixKey, prefix);
}

Symbol encode(Kind kind, const QString &text)
{
    Symbol symbol;
    int symbology = 0;
    switch (kind) {
    case Kind::None:
        symbol.error = QCoreApplication::translate("LabelCode", "no code chosen");
        return symbol;
    case Kind::QrCode:
        symbology = BARCODE_QRCODE;
        break;
    case Kind::DataMatrix:
        symbology = BARCODE_DATAMATRIX;
        break;
    case Kind::Code128:
        symbology = BARCODE_CODE128;
        symbol.linear = true;
        break;
    }
    const std::unique_ptr<zint_symbol, void (*)(zint_symbol *)> z(ZBarcode_Create(), ZBarcode_Delete);
    if (!z) {
        symbol.error = QCoreApplication::translate("LabelCode", "out of memory");
        return symbol;
    }
    z->symbology = symbology;
    z->output_options |= BARCODE_QUIET_ZONES;
    z->show_hrt = 0; // the number is printed beside the code in the label's own font
    const QByteArray data = text.toUtf8();
    int result = ZBarcode_Encode(z.get(), reinterpret_cast<const unsigned char *>(data.constData()), data.size());
    if (result < ZINT_ERROR)
        result = ZBarcode_Buffer_Vector(z.get(), 0);
    if (result >= ZINT_ERROR || !z->vector || !(z->vector->width > 0) || !(z->vector->height > 0)) {
        symbol.error = QString::fromLatin1(z->errtxt);
        if (symbol.error.isEmpty())
            symbol.error = QCoreApplication::translate("LabelCode", "the code could not be drawn");
        return symbol;
    }
    // zint's vectors measure two units to a module at scale 1.
    const double unit = 2.0 * z->scale;
    const double height = symbol.linear ? z->vector->height : unit;
    symbol.size = QSizeF(z->vector->width / unit, symbol.linear ? 1.0 : z->vector->height / unit);
    for (const zint_vector_rect *r = z->vector->rectangles; r; r = r->next) {
        if (r->colour > 0 && r->colour != 7) // a background fill, not a dark module (7 is black)
            continue;
        if (symbol.linear)
            symbol.dark.append(QRectF(r->x / unit, r->y / height, r->width / unit, r->height / height));
        else
            symbol.dark.append(QRectF(r->x / unit, r->y / unit, r->width / unit, r->height / unit));
    }
    return symbol;
}

} // namespace LabelCode
