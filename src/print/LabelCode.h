#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The code printed on a label beside its number: what it holds (the prefix and the folder number as
// text) and its modules, drawn by zint, for the painter to scale onto the label.
namespace LabelCode {

enum class Kind { None, QrCode, DataMatrix, Code128 };

// The names the label dialog lists, in the order of Kind.
QStringList kindNames();

// The prefix that archive serial number labels carry; its numbers are padded to 5 digits.
inline const QString archivePrefix = QStringLiteral("ASN");

// A prefix is empty, or up to 10 ASCII letters, digits, "-", "." or "/" starting with a letter, so
// that a scanner types it on any keyboard layout and a plain number never reads as a code.
bool isValidPrefix(const QString &prefix);

// What the code of label `number` holds: "ASN00454" for ASN and 454, "BOX454" for BOX, "454" alone.
QString text(const QString &prefix, int number);

// The folder number a scanned code names: ASN followed by digits, or lastPrefix (when it is a
// valid, non-empty prefix) followed by digits, in any case and with blanks around. A plain number
// is no code.
std::optional<int> scannedNumber(const QString &scanned, const QString &lastPrefix);

// The prefix printed last, kept in the data folder so that a scan finds its folder after a restart.
QString lastPrefix(const QString &dataFolder);
void rememberPrefix(const QString &dataFolder, const QString &prefix);

// A code's dark modules. Sizes are in modules, quiet zones included; a linear code's bars run the
// whole height, which is then 1 and stretched to whatever height the label gives.
struct Symbol {
    QSizeF size;
    QVector<QRectF> dark;
    bool linear = false;
    QString error; // why the text could not be encoded
    bool ok() const { return error.isEmpty() && !size.isEmpty(); }
};
Symbol encode(Kind kind, const QString &text);

} // namespace LabelCode
