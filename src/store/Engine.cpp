#include "store/Engine.h"

#include "store/RecordSources.h"

bool Engine::searchKeys(const QStringList &terms, QVector<qint64> *keys, QString *error) const
{
    const Criterion all = RecordSources::matchingAll(matchCondition(), terms);
    return readKeys(QStringLiteral("SELECT FileNumber FROM Varnel WHERE %1 ORDER BY FileNumber").arg(all.condition),
                    all.bindValues, keys, error);
}
