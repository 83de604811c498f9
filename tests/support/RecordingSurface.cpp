#include "RecordingSurface.h"

QStringList RecordingSurface::printed() const
{
    QStringList texts;
    for (const Operation &op : m_operations)
        if (op.kind == Operation::Kind::PrintLine)
            texts.append(op.text);
    return texts;
}

QStringList RecordingSurface::lines() const
{
    QStringList out;
    for (const QString &text : printed())
        out.append(splitLines(text));
    return out;
}
