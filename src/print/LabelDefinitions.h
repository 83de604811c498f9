#pragma once

#include <QString>
#include <QVector>
#include <array>

// One label sheet type from labels.def. A line reads
//   name;left;top;width;height;across;down;columns;rows;paper[;description]
// with margins, label size and pitches in inches (a dot as the decimal separator, whatever the
// locale), then the number of columns and rows, and a tail that may itself hold ";".
struct LabelDefinition {
    enum Number { LeftMargin, TopMargin, Width, Height, HorizontalPitch, VerticalPitch, Columns, Rows };

    QString name;
    std::array<float, 8> numbers{}; // indexed by Number; 0 where a field is missing or not a number
    QString tail;
    bool wellFormed = false; // all nine separators there and all eight numbers read
};

namespace LabelDefinitions {

inline const QString fileName = QStringLiteral("labels.def");
inline const QString beginMarker = QStringLiteral("<BEGINDEF>");
inline const QString endMarker = QStringLiteral("</BEGINDEF>");

enum class Status { Read, NotOpened, Bad };

struct Result {
    Status status = Status::NotOpened;
    QVector<LabelDefinition> definitions; // in file order
};

// Reads the first definition block of a file. Lines may end in CR LF or LF. Before the start
// marker everything is skipped; without an end marker the block runs to the end of the file; no
// start marker, or nothing after it, is a bad file. Malformed lines are still listed.
Result read(const QString &path);

// Splits one definition line. A line without ";" gives an empty name.
LabelDefinition parseLine(const QString &line);

// The folder whose labels.def the label dialog reads: the data folder when the user has put one
// there (to add label sheets without touching the installed system files), else the program folder.
QString folderFor(const QString &programFolder, const QString &dataFolder);

} // namespace LabelDefinitions
