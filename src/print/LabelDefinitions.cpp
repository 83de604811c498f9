#include "print/LabelDefinitions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace LabelDefinitions {

Result read(const QString &path)
{
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QTextStream in(&file); // readLine() takes CR LF and LF line ends alike
    bool started = false;
    while (!in.atEnd() && !started)
        started = in.readLine() == beginMarker;
    if (in.atEnd()) {
        result.status = Status::Bad;
        return result;
    }
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (line == endMarker)
            break;
        result.definitions.append(parseLine(line));
    }
    result.status = Status::Read;
    return result;
}

LabelDefinition parseLine(const QString &line)
{
    LabelDefinition definition;
    int separator = line.indexOf(QLatin1Char(';'));
    if (separator < 0)
        return definition;
    definition.name = line.left(separator);
    bool wellFormed = true;
    for (int i = 0; i < int(definition.numbers.size()); ++i) {
        const int next = line.indexOf(QLatin1Char(';'), separator + 1);
        if (next < 0)
            return definition;
        bool ok = false;
        const QString field = line.mid(separator + 1, next - separator - 1);
        // QString reads numbers in the C locale: a dot is the decimal separator on every system.
        const float value = field.toFloat(&ok);
        definition.numbers[i] = ok ? value : 0.0f;
        wellFormed = wellFormed && ok;
        separator = next;
    }
    definition.tail = line.mid(separator + 1);
    definition.wellFormed = wellFormed;
    return definition;
}

QString folderFor(const QString &programFolder, const QString &dataFolder)
{
    if (QFileInfo(QDir(dataFolder).filePath(fileName)).isFile())
        return dataFolder;
    return programFolder;
}

} // namespace LabelDefinitions
