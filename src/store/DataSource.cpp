#include "store/DataSource.h"

#include "store/Dates.h"
#include "store/RecordStore.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <limits>

namespace {

QString refusedDateMessage(const QString &text)
{
    return DataSource::tr("\"%1\" is not a date. Please type the reminder as %2.")
        .arg(text.trimmed(), Dates::entryHint());
}

// Captions are looked up when shown, so a change of language or locale shows at the next repaint.
QString caption(const Column &column)
{
    const QString text = QCoreApplication::translate("RecordSources", column.caption);
    return column.kind == Column::Kind::Date ? text.arg(Dates::captionExample()) : text;
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

} // namespace

DataSource::DataSource(const QString &name, RecordStore *store, QObject *parent)
    : QAbstractTableModel(parent), m_store(store), m_selection(new QItemSelectionModel(this, this))
{
    setObjectName(name);
    QObject::connect(m_selection, &QItemSelectionModel::currentRowChanged, this, &DataSource::onCurrentRowChanged);
}

void DataSource::setColumns(const QVector<Column> &columns)
{
    beginResetModel();
    m_columns = columns;
    m_blocks.clear();
    endResetModel();
}

int DataSource::columnIndex(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void DataSource::setAllowAddNew(bool allow)
{
    beginResetModel();
    m_allowAddNew = allow;
    endResetModel();
}

void DataSource::setError(const QString &error)
{
    m_lastError = error;
}

bool DataSource::ensureOpen()
{
    if (m_store->isOpen())
        return true;
    setError(tr("The database is not open."));
    return false;
}

QString DataSource::selectList() const
{
    QStringList fields{m_source.keyField};
    for (const Column &c : m_columns)
        fields << c.field;
    return fields.join(QStringLiteral(", "));
}

void DataSource::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    if (!m_source.isEmpty()) // nothing to list before the first search
        refresh();
}

bool DataSource::sortKeys(QVector<qint64> *keys, QString *error) const
{
    // The sort runs here rather than in SQL, so that it is the same on every engine and for a
    // search, whose keys the engine finds: the sorted field's values are read in blocks by key.
    const Column &by = m_columns.at(m_sortColumn);
    QHash<qint64, QVariant> values;
    values.reserve(keys->size());
    QSqlQuery query(m_store->engine().connection());
    query.setForwardOnly(true);
    int prepared = 0;
    for (int start = 0; start < keys->size(); start += blockSize) {
        const int count = std::min(blockSize, int(keys->size()) - start);
        if (count != prepared) {
            QStringList marks;
            for (int i = 0; i < count; ++i)
                marks << QStringLiteral("?");
            if (!query.prepare(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 IN (%4)")
                                   .arg(m_source.keyField, by.field, m_source.table, marks.join(QLatin1Char(','))))) {
                *error = query.lastError().text();
                return false;
            }
            prepared = count;
        }
        for (int i = 0; i < count; ++i)
            query.bindValue(i, keys->at(start + i));
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
        while (query.next())
            values.insert(query.value(0).toLongLong(), query.value(1));
        query.finish();
    }
    // Empty fields go last either way; text ignores case; numbers and ISO dates sort as they are.
    const bool ascending = m_sortOrder == Qt::AscendingOrder;
    const auto compare = [&by](const QVariant &a, const QVariant &b) {
        switch (by.kind) {
        case Column::Kind::Number:
            return a.toLongLong() < b.toLongLong() ? -1 : a.toLongLong() > b.toLongLong() ? 1 : 0;
        case Column::Kind::Date:
            return a.toString().compare(b.toString());
        case Column::Kind::Text:
            break;
        }
        return a.toString().compare(b.toString(), Qt::CaseInsensitive);
    };
    std::stable_sort(keys->begin(), keys->end(), [&](qint64 left, qint64 right) {
        const QVariant a = values.value(left), b = values.value(right);
        const bool aEmpty = a.isNull() || a.toString().isEmpty(), bEmpty = b.isNull() || b.toString().isEmpty();
        if (aEmpty || bEmpty)
            return !aEmpty && bEmpty;
        const int order = compare(a, b);
        return ascending ? order < 0 : order > 0;
    });
    return true;
}

bool DataSource::refresh()
{
    // While a shared index's server is away the rows on screen and the row being typed stay as
    // they are; they are read again once it is back.
    if (m_store->isShared() && (!m_store->isOpen() || m_store->isLost()) && !m_keys.isEmpty()) {
        setError(QCoreApplication::translate("DataSource", "The shared index %1 cannot be reached.")
                     .arg(m_store->location()));
        return false;
    }
    // A row still being edited is written, not dropped, when its data source is read again.
    emit aboutToReread();
    submitPending();

    KeyList keys;
    QByteArray stampOfKeys; // the change stamp the new key list belongs to; empty: not to be reused
    bool ok = true;
    if (!ensureOpen()) {
        ok = false;
    } else if (!m_source.isEmpty()) {
        // A sorted list is another list: its keys are not the unsorted one's.
        const QString sql =
            keySql() +
            (m_sortColumn < 0
                 ? QString()
                 : QStringLiteral(" sorted by %1 %2").arg(m_sortColumn).arg(m_sortOrder == Qt::AscendingOrder));
        const QVariantList binds = m_source.searchTerms
                                       ? QVariantList(m_source.searchTerms->cbegin(), m_source.searchTerms->cend())
                                       : m_source.bindValues;
        // The rows themselves are always read again; the key list only when the data or the query
        // may have changed since it was read, which saves most of a refresh of a large table.
        // The search reads reminders in the form they are shown in, so a key list also belongs to that form.
        QByteArray stamp;
        // A condition, a search or a sort may depend on any column.
        if (m_source.keyColumns.isEmpty() || !m_source.condition.isEmpty() || m_source.searchTerms ||
            m_sortColumn >= 0) {
            stamp = m_store->changeStamp();
        } else {
            // An edit of the slots' keywords leaves the list of slot numbers as it was.
            for (const QString &column : m_source.keyColumns)
                stamp += m_store->engine().columnStamp(m_source.table, column) + ' ';
        }
        if (!stamp.isEmpty())
            stamp += ' ' + Dates::shownForm().toUtf8();
        if (!stamp.isEmpty() && stamp == m_keysStamp && sql == m_keysSql && binds == m_keysBinds) {
            keys = m_keys;
            stampOfKeys = stamp;
        } else {
            QString error;
            ok = readKeys(&keys, &error);
            if (!ok)
                setError(error);
            stampOfKeys = ok ? stamp : QByteArray();
        }
        m_keysSql = sql;
        m_keysBinds = binds;
    }

    beginResetModel();
    m_keysStamp = stampOfKeys;
    m_keys = keys;
    m_blocks.clear();
    clearPending();
    m_dropScheduled = false;
    endResetModel();
    if (!m_keys.isEmpty())
        setCurrentRow(0);
    if (ok)
        m_lastError.clear();
    return ok;
}

QString DataSource::keySql() const
{
    if (m_source.searchTerms)
        return QStringLiteral("search");
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(m_source.keyField, m_source.table);
    if (!m_source.condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + m_source.condition;
    if (!m_source.orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + m_source.orderBy;
    return sql;
}

bool DataSource::readKeys(KeyList *keys, QString *error) const
{
    if (!m_source.searchTerms && m_sortColumn < 0 && readKeyRun(keys))
        return true;
    QVector<qint64> list;
    const bool read = m_source.searchTerms ? m_store->engine().searchKeys(*m_source.searchTerms, &list, error)
                                           : m_store->engine().readKeys(keySql(), m_source.bindValues, &list, error);
    if (!read || (m_sortColumn >= 0 && !sortKeys(&list, error)))
        return false;
    *keys = KeyList(std::move(list));
    return true;
}

void DataSource::showCurrentValues(bool rereadKeys)
{
    if (m_source.isEmpty() || !m_store->isOpen() || m_store->engine().isLost())
        return;
    KeyList keys;
    QString error;
    // A search keeps the result of its query; only its rows' values are read again.
    if (rereadKeys && !m_source.searchTerms && readKeys(&keys, &error) && keys != m_keys) {
        // What an open cell editor holds becomes the row's pending edit, which stays with its row.
        emit aboutToReread();
        const int current = currentRow();
        const qint64 currentKey = current >= 0 && current < m_keys.size() ? m_keys.at(current) : -1;
        const bool onNewRow = isNewRow(current);
        const bool pendingOnNewRow = isNewRow(m_pendingRow);
        const qint64 pendingKey = m_pendingRow >= 0 && m_pendingRow < m_keys.size() ? m_keys.at(m_pendingRow) : -1;
        beginResetModel();
        m_keys = keys;
        m_keysStamp.clear();
        m_blocks.clear();
        if (pendingOnNewRow)
            m_pendingRow = int(m_keys.size());
        else if (m_pendingRow >= 0)
            m_pendingRow = int(m_keys.indexOf(pendingKey));
        if (m_pendingRow < 0)
            clearPending();
        endResetModel();
        const int place = onNewRow ? int(m_keys.size()) : int(m_keys.indexOf(currentKey));
        setCurrentRow(place >= 0 ? place : 0);
        return;
    }
    m_blocks.clear();
    const int rows = rowCount();
    // A single cell would also reload an open editor from the model; with more cells the view
    // only repaints, so text being typed stays as it is.
    if (rows > 0 && (rows > 1 || columnCount() > 1))
        emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}

void DataSource::clearPending()
{
    m_pendingRow = -1;
    m_pending.clear();
    m_original.clear();
}

bool DataSource::readKeyRun(KeyList *keys) const
{
    // A whole table in the order of its key: when the keys run without a gap from the least to the
    // greatest, three aggregates tell them all, without a row per key (a million slots at start-up).
    // Apart, so that min and max are each one seek and count(*) reads the narrowest index.
    if (m_source.condition.isEmpty() && m_source.orderBy == m_source.keyField) {
        QSqlQuery span(m_store->engine().connection());
        span.setForwardOnly(true);
        if (span.exec(
                QStringLiteral("SELECT (SELECT min(%1) FROM %2), (SELECT max(%1) FROM %2), (SELECT count(*) FROM %2)")
                    .arg(m_source.keyField, m_source.table)) &&
            span.next()) {
            const qint64 least = span.value(0).toLongLong(), greatest = span.value(1).toLongLong();
            const qint64 count = span.value(2).toLongLong();
            const bool integers =
                span.value(0).typeId() == QMetaType::LongLong || span.value(0).typeId() == QMetaType::Int;
            span.finish();
            if (count == 0) {
                *keys = KeyList();
                return true;
            }
            if (integers && count <= std::numeric_limits<int>::max() && greatest - least + 1 == count) {
                *keys = KeyList::run(least, int(count));
                return true;
            }
        }
    }
    return false;
}

void DataSource::release()
{
    emit aboutToReread();
    submitPending();
    beginResetModel();
    m_keys.clear();
    m_keysStamp.clear();
    m_blocks.clear();
    endResetModel();
}

bool DataSource::findFirst(const Criterion &criterion)
{
    if (m_source.isEmpty() || m_keys.isEmpty() || !ensureOpen())
        return false;
    // A find that meets nothing leaves the user on the row being edited, its edit still pending.
    // Once a row is found the edit is written first, as leaving the row would, and the find runs
    // again so that it sees the written values.
    std::optional<qint64> key = findFirstKey(criterion);
    if (key && hasPendingEdit()) {
        if (!submitPending())
            return false;
        key = findFirstKey(criterion);
    }
    const int row = key ? m_keys.indexOf(*key) : -1;
    if (row < 0)
        return false;
    setCurrentRow(row);
    return true;
}

std::optional<qint64> DataSource::findFirstKey(const Criterion &criterion)
{
    // The first in the list's own order (a search's, a sort's), among the rows it lists.
    QVector<qint64> found;
    QString error;
    if (!m_store->engine().readKeys(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(m_source.keyField, m_source.table, criterion.condition),
            criterion.bindValues, &found, &error)) {
        setError(error);
        return std::nullopt;
    }
    const QSet<qint64> matching(found.cbegin(), found.cend());
    for (int row = 0; row < m_keys.size(); ++row) {
        if (matching.contains(m_keys.at(row)))
            return m_keys.at(row);
    }
    return std::nullopt;
}

void DataSource::moveFirst()
{
    setCurrentRow(0);
}

bool DataSource::isEof() const
{
    return m_keys.isEmpty() || currentRow() >= m_keys.size();
}

int DataSource::absolutePosition() const
{
    const int row = currentRow();
    return row >= 0 && row < m_keys.size() ? row : -1;
}

bool DataSource::mayWrite() const
{
    return !m_readOnly && m_store->engine().mayWrite();
}

void DataSource::addNew()
{
    submitPending();
    if (!m_allowAddNew || !mayWrite())
        return;
    setCurrentRow(m_keys.size());
}

bool DataSource::deleteCurrent()
{
    const int row = currentRow();
    if (isNewRow(row)) {
        revertPending();
        return true;
    }
    if (row < 0 || row >= m_keys.size() || !ensureOpen() || !mayWrite())
        return false;
    if (m_pendingRow == row)
        clearPending();
    QSqlQuery query(m_store->engine().connection());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(m_source.table, m_source.keyField));
    query.addBindValue(m_keys.at(row));
    if (!writeKeepingHistory(m_keys.at(row), {}, &query)) {
        emit writeFailed(m_lastError);
        return false;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_keys.removeAt(row);
    m_blocks.clear();
    if (m_pendingRow > row)
        --m_pendingRow;
    endRemoveRows();
    return true;
}

int DataSource::currentRow() const
{
    const QModelIndex current = m_selection->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void DataSource::setCurrentRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    const QModelIndex current = m_selection->currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    m_selection->setCurrentIndex(index(row, column), QItemSelectionModel::ClearAndSelect);
}

void DataSource::onCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (m_pendingRow >= 0 && (!current.isValid() || current.row() != m_pendingRow))
        submitPending();
    if (previous.isValid())
        emit headerDataChanged(Qt::Vertical, previous.row(), previous.row());
    if (current.isValid())
        emit headerDataChanged(Qt::Vertical, current.row(), current.row());
}

bool DataSource::submitPending()
{
    if (m_pendingRow < 0)
        return true;
    if (!ensureOpen()) {
        emit writeFailed(m_lastError);
        return false;
    }
    const int row = m_pendingRow;
    QSqlQuery query(m_store->engine().connection());
    QStringList fields;
    QVariantList values;
    QHash<QString, QVariant> newValues;
    for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it) {
        fields << m_columns.at(it.key()).field;
        values << it.value();
        newValues.insert(fields.constLast(), it.value());
    }

    if (isNewRow(row)) {
        const bool allNull = std::all_of(values.cbegin(), values.cend(), [](const QVariant &v) { return v.isNull(); });
        if (allNull) {
            // Leaving a new row without typing anything adds nothing.
            revertPending();
            return true;
        }
        QStringList marks;
        for (int i = 0; i < fields.size(); ++i)
            marks << QStringLiteral("?");
        // RETURNING gives the new row's key on either engine; a driver's last insert id does not.
        query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                          .arg(m_source.table, fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")),
                               m_source.keyField));
        for (const QVariant &v : values)
            query.addBindValue(v);
        qint64 key = -1;
        if (!writeKeepingHistory(-1, newValues, &query, nullptr, &key))
            return failWrite(m_lastError);
        clearPending();
        // The written row takes the new row's place and a fresh new row appears below it.
        beginInsertRows(QModelIndex(), m_keys.size() + 1, m_keys.size() + 1);
        m_keys.append(key);
        m_blocks.remove(row / blockSize);
        endInsertRows();
        emitRowChanged(row);
        return true;
    }

    // The row is written only where its edited fields still hold what they held when editing
    // began: a change another desk made meanwhile is never overwritten without the user's word.
    for (int attempt = 0; attempt < 3; ++attempt) {
        QStringList sets;
        QStringList unchanged;
        QVariantList originals;
        for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it) {
            const QString &f = m_columns.at(it.key()).field;
            sets << f + QStringLiteral(" = ?");
            unchanged << f + QStringLiteral(" IS NOT DISTINCT FROM ?");
            originals << m_original.value(it.key());
        }
        query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ? AND %4")
                          .arg(m_source.table, sets.join(QStringLiteral(", ")), m_source.keyField,
                               unchanged.join(QStringLiteral(" AND "))));
        for (const QVariant &v : values)
            query.addBindValue(v);
        query.addBindValue(m_keys.at(row));
        for (const QVariant &v : originals)
            query.addBindValue(v);
        bool written = false;
        if (!writeKeepingHistory(m_keys.at(row), newValues, &query, &written))
            return failWrite(m_lastError);
        if (written)
            break;
        query.finish();
        // Changed elsewhere since editing began (or gone): ask whose text stays.
        std::optional<Conflict> conflict = readConflict(row);
        if (!conflict)
            return failWrite(m_lastError);
        if (!m_resolveConflict || !m_resolveConflict(*conflict)) {
            if (!m_resolveConflict)
                return failWrite(QCoreApplication::translate(
                    "DataSource", "The row was changed elsewhere while it was being edited."));
            // The other desk's text stays: this desk's edit of the row goes, by the user's choice.
            clearPending();
            m_blocks.remove(row / blockSize);
            emitRowChanged(row);
            return true;
        }
        // This desk's text stays: written over what the row holds now.
        for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it)
            m_original.insert(it.key(), conflict->stored.value(it.key()));
    }
    query.finish();
    auto block = m_blocks.find(row / blockSize);
    if (block != m_blocks.end()) {
        Row &cached = (*block)[row % blockSize];
        for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it)
            cached[it.key()] = it.value();
    }
    clearPending();
    emitRowChanged(row);
    return true;
}

bool DataSource::writeKeepingHistory(qint64 key, const QHash<QString, QVariant> &newValues, QSqlQuery *write,
                                     bool *written, qint64 *returnedKey)
{
    // The replaced values and the write go in together or not at all. A write that finds no row
    // to change (written false) keeps no history either.
    QSqlDatabase db = m_store->engine().connection();
    if (!db.transaction()) {
        setError(db.lastError().text());
        return false;
    }
    QString why;
    bool applied = false;
    if (!m_store->keepHistory(m_source.table, m_source.keyField, key, newValues, &why)) {
        setError(why);
    } else if (!write->exec()) {
        setError(write->lastError().text());
    } else if (returnedKey && !write->next()) {
        setError(write->lastError().text());
    } else {
        if (returnedKey)
            *returnedKey = write->value(0).toLongLong();
        applied = returnedKey || write->numRowsAffected() != 0;
        // A statement still running would hold the commit back.
        write->finish();
        if (written)
            *written = applied;
        if ((!written || applied) ? db.commit() : db.rollback())
            return true;
        setError(db.lastError().text());
    }
    db.rollback();
    return false;
}

bool DataSource::failWrite(const QString &error)
{
    setError(error);
    emit writeFailed(m_lastError);
    return false;
}

std::optional<DataSource::Conflict> DataSource::readConflict(int row)
{
    QSqlQuery query(m_store->engine().connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(selectList(), m_source.table, m_source.keyField));
    query.addBindValue(m_keys.at(row));
    if (!query.exec()) {
        setError(query.lastError().text());
        return std::nullopt;
    }
    if (!query.next()) {
        setError(QCoreApplication::translate("DataSource", "The row no longer exists: it was deleted elsewhere."));
        return std::nullopt;
    }
    Conflict conflict;
    for (int c = 0; c < m_columns.size(); ++c)
        conflict.stored.append(query.value(c + 1));
    const int number = columnIndex(QStringLiteral("FileNumber"));
    conflict.number = number >= 0 ? conflict.stored.value(number).toLongLong() : -1;
    for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it) {
        const Column &column = m_columns.at(it.key());
        conflict.captions << column.caption;
        conflict.theirs << shownText(column, conflict.stored.value(it.key()));
        conflict.mine << shownText(column, it.value());
    }
    return conflict;
}

QString DataSource::shownText(const Column &column, const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (column.kind) {
    case Column::Kind::Number:
        return QString::number(value.toLongLong());
    case Column::Kind::Date:
        return Dates::storageToDisplay(value.toString());
    case Column::Kind::Text:
        break;
    }
    return value.toString();
}

bool DataSource::commitPending()
{
    emit aboutToReread();
    return submitPending();
}

void DataSource::revertPending()
{
    if (m_pendingRow < 0)
        return;
    const int row = m_pendingRow;
    clearPending();
    emitRowChanged(row);
}

void DataSource::revert()
{
    if (m_pendingRow >= 0 && m_pendingRow == currentRow())
        revertPending();
}

void DataSource::emitRowChanged(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

const DataSource::Row *DataSource::rowValues(int row) const
{
    if (row < 0 || row >= m_keys.size())
        return nullptr;
    const int blockIndex = row / blockSize;
    auto it = m_blocks.constFind(blockIndex);
    if (it == m_blocks.constEnd()) {
        if (!m_store->isOpen() || m_dropScheduled)
            return nullptr;
        // Keep memory bounded on large tables: a few thousand rows at most stay cached.
        if (m_blocks.size() >= 64)
            m_blocks.clear();
        const int first = blockIndex * blockSize;
        QVector<Row> rows;
        if (!readBlock(first, std::min<int>(first + blockSize, m_keys.size()), &rows)) {
            // Rows that cannot be read must not pass for open slots. A view asks for data while it
            // paints, so the rows are let go, and the failure told, once control is back in the loop.
            m_dropScheduled = true;
            QMetaObject::invokeMethod(const_cast<DataSource *>(this), &DataSource::dropRowsAfterFailedRead,
                                      Qt::QueuedConnection);
            return nullptr;
        }
        it = m_blocks.insert(blockIndex, rows);
    }
    return &(*it)[row % blockSize];
}

bool DataSource::readBlock(int first, int last, QVector<Row> *rows) const
{
    QHash<qint64, int> position;
    QVariantList keys;
    for (int r = first; r < last; ++r) {
        position.insert(m_keys.at(r), r - first);
        keys.append(m_keys.at(r));
    }
    // Keys that follow each other (a slot table's run) are read as a range, other keys as a list.
    QString condition;
    if (m_keys.isRun()) {
        condition = QStringLiteral("%1 BETWEEN ? AND ?").arg(m_source.keyField);
        keys = {m_keys.at(first), m_keys.at(last - 1)};
    } else {
        condition = QStringLiteral("%1 IN (%2)")
                        .arg(m_source.keyField, QStringList(keys.size(), QStringLiteral("?")).join(QLatin1Char(',')));
    }
    rows->fill(Row(m_columns.size()), last - first);
    QString error;
    const bool ok = m_store->engine().readRows(
        QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(selectList(), m_source.table, condition), {keys},
        [&](int, const QVector<QVariant> &values) {
            const auto p = position.constFind(values.at(0).toLongLong());
            if (p != position.constEnd()) {
                Row &r = (*rows)[*p];
                for (int c = 0; c < m_columns.size(); ++c)
                    r[c] = values.at(c + 1);
            }
            return true;
        },
        &error);
    if (!ok)
        const_cast<DataSource *>(this)->setError(error);
    return ok;
}

void DataSource::dropRowsAfterFailedRead()
{
    if (!m_dropScheduled)
        return;
    const QString error = m_lastError;
    if (m_store->engine().isLost()) {
        // The server is away: the rows on screen and the row being typed stay until it is back.
        m_dropScheduled = false;
        emit readFailed(error);
        return;
    }
    // What was typed is still written if the file takes it; a write that fails is told on its own.
    submitPending();
    beginResetModel();
    m_keys.clear();
    m_keysStamp.clear();
    m_blocks.clear();
    clearPending();
    endResetModel();
    m_dropScheduled = false;
    emit readFailed(error);
}

QVariant DataSource::storedValue(int row, int column) const
{
    const Row *values = rowValues(row);
    return values ? values->value(column) : QVariant();
}

QVariant DataSource::effectiveValue(int row, int column) const
{
    if (row == m_pendingRow) {
        const auto it = m_pending.constFind(column);
        if (it != m_pending.constEnd())
            return *it;
    }
    if (isNewRow(row))
        return QVariant();
    return storedValue(row, column);
}

int DataSource::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_keys.size() + (m_allowAddNew ? 1 : 0);
}

int DataSource::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

QVariant DataSource::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    return shownText(m_columns.at(index.column()), effectiveValue(index.row(), index.column()));
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? caption(m_columns.at(section)) : QVariant();
    // The record selector: current row, row being edited, the add-new row.
    if (section == m_pendingRow)
        return QStringLiteral("\u270E");
    if (section == currentRow())
        return QStringLiteral("\u25B6");
    if (isNewRow(section))
        return QStringLiteral("*");
    return QString();
}

Qt::ItemFlags DataSource::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (mayWrite() && m_columns.at(index.column()).editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool DataSource::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int row = index.row();
    const int column = index.column();
    const QString text = value.toString();

    QVariant stored;
    switch (m_columns.at(column).kind) {
    case Column::Kind::Text:
        // A cell cleared to nothing or blanks holds no value, which makes a slot open again.
        if (!text.trimmed().isEmpty())
            stored = text;
        break;
    case Column::Kind::Number:
        if (!text.trimmed().isEmpty()) {
            bool ok = false;
            const qlonglong n = text.trimmed().toLongLong(&ok);
            if (!ok) {
                emit entryRefused(index, text, tr("\"%1\" is not a number.").arg(text.trimmed()));
                return false;
            }
            stored = n;
        }
        break;
    case Column::Kind::Date:
        // A stored text that is not a date Papyra writes is shown as it is; committed unchanged it is no edit.
        if (text == data(index, Qt::EditRole).toString())
            return true;
        if (!text.trimmed().isEmpty()) {
            const auto date = Dates::parseEntry(text);
            if (!date) {
                emit entryRefused(index, text, refusedDateMessage(text));
                return false;
            }
            stored = Dates::toStorage(*date);
        }
        break;
    }

    if (sameValue(effectiveValue(row, column), stored))
        return true;
    if (m_pendingRow >= 0 && m_pendingRow != row && !submitPending())
        return false;
    m_pendingRow = row;
    if (!m_pending.contains(column) && !isNewRow(row))
        m_original.insert(column, storedValue(row, column));
    m_pending.insert(column, stored);
    emitRowChanged(row);
    // An editor may commit after the view has already moved to another row: that row was left.
    if (row != currentRow())
        submitPending();
    return true;
}
