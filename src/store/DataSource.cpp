#include "store/DataSource.h"

#include "store/Dates.h"
#include "store/RecordStore.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <limits>

namespace {

QString refusedDateMessage(const QString &text)
{
    return QStringLiteral("\"%1\" is not a date. Please type the reminder as %2.")
        .arg(text.trimmed(), Dates::entryHint());
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
    setError(QStringLiteral("The database is not open."));
    return false;
}

QString DataSource::selectList() const
{
    QStringList fields{m_source.keyField};
    for (const Column &c : m_columns)
        fields << c.field;
    return fields.join(QStringLiteral(", "));
}

bool DataSource::refresh()
{
    // A row still being edited is written, not dropped, when its data source is read again.
    emit aboutToReread();
    submitPending();

    KeyList keys;
    QByteArray stampOfKeys; // the change stamp the new key list belongs to; empty: not to be reused
    bool ok = true;
    if (!ensureOpen()) {
        ok = false;
    } else if (!m_source.isEmpty()) {
        QString sql = QStringLiteral("SELECT %1 FROM %2").arg(m_source.keyField, m_source.table);
        if (!m_source.condition.isEmpty())
            sql += QStringLiteral(" WHERE ") + m_source.condition;
        if (!m_source.orderBy.isEmpty())
            sql += QStringLiteral(" ORDER BY ") + m_source.orderBy;
        // The rows themselves are always read again; the key list only when the data or the query
        // may have changed since it was read, which saves most of a refresh of a large table.
        // The search reads reminders in the form they are shown in, so a key list also belongs to that form.
        QByteArray stamp;
        if (m_source.keyColumns.isEmpty() || !m_source.condition.isEmpty()) {
            stamp = m_store->changeStamp();
        } else {
            // An edit of the slots' keywords leaves the list of slot numbers as it was.
            for (const QString &column : m_source.keyColumns)
                stamp += m_store->engine().columnStamp(m_source.table, column) + ' ';
        }
        if (!stamp.isEmpty())
            stamp += ' ' + Dates::shownForm().toUtf8();
        if (!stamp.isEmpty() && stamp == m_keysStamp && sql == m_keysSql && m_source.bindValues == m_keysBinds) {
            keys = m_keys;
            stampOfKeys = stamp;
        } else {
            QString error;
            ok = readKeyList(sql, &keys, &error);
            if (!ok)
                setError(error);
            stampOfKeys = ok ? stamp : QByteArray();
        }
        m_keysSql = sql;
        m_keysBinds = m_source.bindValues;
    }

    beginResetModel();
    m_keysStamp = stampOfKeys;
    m_keys = keys;
    m_blocks.clear();
    m_pendingRow = -1;
    m_pending.clear();
    m_dropScheduled = false;
    endResetModel();
    if (!m_keys.isEmpty())
        setCurrentRow(0);
    if (ok)
        m_lastError.clear();
    return ok;
}

bool DataSource::readKeyList(const QString &sql, KeyList *keys, QString *error) const
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
    QVector<qint64> list;
    const bool ok = m_store->engine().readKeys(sql, m_source.bindValues, &list, error);
    *keys = KeyList(std::move(list));
    return ok;
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
    QString where = QStringLiteral("(%1)").arg(criterion.condition);
    if (!m_source.condition.isEmpty())
        where = QStringLiteral("(%1) AND %2").arg(m_source.condition, where);
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(m_source.keyField, m_source.table, where);
    if (!m_source.orderBy.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + m_source.orderBy;
    sql += QStringLiteral(" LIMIT 1");
    QSqlQuery query(m_store->engine().connection());
    if (!query.prepare(sql)) {
        setError(query.lastError().text());
        return std::nullopt;
    }
    for (const QVariant &v : m_source.bindValues)
        query.addBindValue(v);
    for (const QVariant &v : criterion.bindValues)
        query.addBindValue(v);
    if (!query.exec()) {
        setError(query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
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

void DataSource::addNew()
{
    submitPending();
    if (!m_allowAddNew)
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
    if (row < 0 || row >= m_keys.size() || !ensureOpen())
        return false;
    if (m_pendingRow == row) {
        m_pendingRow = -1;
        m_pending.clear();
    }
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
        query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(m_source.table, fields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        for (const QVariant &v : values)
            query.addBindValue(v);
        if (!writeKeepingHistory(-1, newValues, &query)) {
            emit writeFailed(m_lastError);
            return false;
        }
        const qint64 key = query.lastInsertId().toLongLong();
        m_pendingRow = -1;
        m_pending.clear();
        // The written row takes the new row's place and a fresh new row appears below it.
        beginInsertRows(QModelIndex(), m_keys.size() + 1, m_keys.size() + 1);
        m_keys.append(key);
        m_blocks.remove(row / blockSize);
        endInsertRows();
        emitRowChanged(row);
        return true;
    }

    QStringList sets;
    for (const QString &f : fields)
        sets << f + QStringLiteral(" = ?");
    query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                      .arg(m_source.table, sets.join(QStringLiteral(", ")), m_source.keyField));
    for (const QVariant &v : values)
        query.addBindValue(v);
    query.addBindValue(m_keys.at(row));
    if (!writeKeepingHistory(m_keys.at(row), newValues, &query)) {
        emit writeFailed(m_lastError);
        return false;
    }
    auto block = m_blocks.find(row / blockSize);
    if (block != m_blocks.end()) {
        Row &cached = (*block)[row % blockSize];
        for (auto it = m_pending.constBegin(); it != m_pending.constEnd(); ++it)
            cached[it.key()] = it.value();
    }
    m_pendingRow = -1;
    m_pending.clear();
    emitRowChanged(row);
    return true;
}

bool DataSource::writeKeepingHistory(qint64 key, const QHash<QString, QVariant> &newValues, QSqlQuery *write)
{
    // The replaced values and the write go in together or not at all.
    QSqlDatabase db = m_store->engine().connection();
    if (!db.transaction()) {
        setError(db.lastError().text());
        return false;
    }
    QString why;
    if (!m_store->keepHistory(m_source.table, m_source.keyField, key, newValues, &why))
        setError(why);
    else if (!write->exec())
        setError(write->lastError().text());
    else if (db.commit())
        return true;
    else
        setError(db.lastError().text());
    db.rollback();
    return false;
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
    m_pendingRow = -1;
    m_pending.clear();
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
    QStringList marks;
    for (int r = first; r < last; ++r) {
        position.insert(m_keys.at(r), r - first);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(m_store->engine().connection());
    query.setForwardOnly(true);
    const bool prepared =
        query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 IN (%4)")
                          .arg(selectList(), m_source.table, m_source.keyField, marks.join(QLatin1Char(','))));
    if (prepared) {
        for (int r = first; r < last; ++r)
            query.addBindValue(m_keys.at(r));
    }
    if (!prepared || !query.exec()) {
        const_cast<DataSource *>(this)->setError(query.lastError().text());
        return false;
    }
    rows->fill(Row(m_columns.size()), last - first);
    while (query.next()) {
        const auto p = position.constFind(query.value(0).toLongLong());
        if (p == position.constEnd())
            continue;
        Row &r = (*rows)[*p];
        for (int c = 0; c < m_columns.size(); ++c)
            r[c] = query.value(c + 1);
    }
    if (query.lastError().isValid()) {
        const_cast<DataSource *>(this)->setError(query.lastError().text());
        return false;
    }
    return true;
}

void DataSource::dropRowsAfterFailedRead()
{
    if (!m_dropScheduled)
        return;
    const QString error = m_lastError;
    // What was typed is still written if the file takes it; a write that fails is told on its own.
    submitPending();
    beginResetModel();
    m_keys.clear();
    m_keysStamp.clear();
    m_blocks.clear();
    m_pendingRow = -1;
    m_pending.clear();
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
    const QVariant value = effectiveValue(index.row(), index.column());
    if (value.isNull())
        return QString();
    switch (m_columns.at(index.column()).kind) {
    case Column::Kind::Number:
        return QString::number(value.toLongLong());
    case Column::Kind::Date:
        return Dates::storageToDisplay(value.toString());
    case Column::Kind::Text:
        break;
    }
    return value.toString();
}

QVariant DataSource::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? m_columns.at(section).caption : QVariant();
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
    if (!m_readOnly && m_columns.at(index.column()).editable)
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
                emit entryRefused(index, text, QStringLiteral("\"%1\" is not a number.").arg(text.trimmed()));
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
    m_pending.insert(column, stored);
    emitRowChanged(row);
    // An editor may commit after the view has already moved to another row: that row was left.
    if (row != currentRow())
        submitPending();
    return true;
}
