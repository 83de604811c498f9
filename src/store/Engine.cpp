#include "store/Engine.h"

#include "store/RecordSources.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

bool Engine::searchKeys(const QStringList &terms, QVector<qint64> *keys, QString *error) const
{
    const Criterion all = RecordSources::matchingAll(matchCondition(), terms);
    return readKeys(QStringLiteral("SELECT FileNumber FROM Varnel WHERE %1 ORDER BY FileNumber").arg(all.condition),
                    all.bindValues, keys, error);
}

bool Engine::readRows(const QString &sql, const QVector<QVariantList> &bindSets, const RowReader &row,
                      QString *error) const
{
    QSqlQuery query(connection());
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    for (int set = 0; ok && set < bindSets.size(); ++set) {
        for (int i = 0; i < bindSets.at(set).size(); ++i)
            query.bindValue(i, bindSets.at(set).at(i));
        ok = query.exec();
        QVector<QVariant> values;
        while (ok && query.next()) {
            values.resize(query.record().count());
            for (int c = 0; c < values.size(); ++c)
                values[c] = query.value(c);
            if (!row(set, values)) {
                query.finish();
                return true;
            }
        }
        ok = ok && !query.lastError().isValid();
    }
    if (!ok && error)
        *error = query.lastError().text();
    query.finish();
    return ok;
}
