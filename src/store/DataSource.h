#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QItemSelectionModel>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

class QSqlQuery;
class RecordStore;

// A condition on a record source's rows with its bound values.
struct Criterion {
    QString condition; // SQL condition with ? placeholders
    QVariantList bindValues;
};

// What a data source reads: a table, its key, an optional condition with bound values, an order.
struct RecordSource {
    QString table;     // empty: the data source holds no rows
    QString keyField;  // a unique integer column, or "rowid"
    QString condition; // SQL condition with ? placeholders; empty for every row
    QVariantList bindValues;
    QString orderBy;
    // A search: the engine finds the keys of the slots matching every one of these terms
    // (condition is unused).
    std::optional<QStringList> searchTerms;
    // The columns the key list depends on, when it is a few; empty: any change of the data.
    QStringList keyColumns;

    bool isEmpty() const { return table.isEmpty(); }
};

struct Column {
    enum class Kind { Text, Number, Date };
    QString field;
    const char *caption; // the English caption; shown translated
    Kind kind = Kind::Text;
    bool editable = true;
};

// The keys of a data source in its order: either a run of consecutive integers (a slot table
// numbered without gaps, known from one query whatever its length) or a list read row by row.
class KeyList
{
public:
    KeyList() = default;
    explicit KeyList(QVector<qint64> keys) : m_list(std::move(keys)) {}
    static KeyList run(qint64 first, int count)
    {
        KeyList keys;
        keys.m_first = first;
        keys.m_runLength = count;
        keys.m_isRun = true;
        return keys;
    }
    int size() const { return m_isRun ? m_runLength : int(m_list.size()); }
    bool isRun() const { return m_isRun; }
    bool isEmpty() const { return size() == 0; }
    qint64 at(int i) const { return m_isRun ? m_first + i : m_list.at(i); }
    int indexOf(qint64 key) const
    {
        if (m_isRun)
            return key >= m_first && key - m_first < m_runLength ? int(key - m_first) : -1;
        return int(m_list.indexOf(key));
    }
    void removeAt(int i)
    {
        materialize();
        m_list.removeAt(i);
    }
    void append(qint64 key)
    {
        materialize();
        m_list.append(key);
    }
    void clear() { *this = KeyList(); }
    QVector<qint64> toVector() const
    {
        KeyList copy = *this;
        copy.materialize();
        return copy.m_list;
    }
    bool operator==(const KeyList &other) const
    {
        if (m_isRun && other.m_isRun)
            return m_runLength == other.m_runLength && (m_runLength == 0 || m_first == other.m_first);
        if (size() != other.size())
            return false;
        for (int i = 0; i < size(); ++i) {
            if (at(i) != other.at(i))
                return false;
        }
        return true;
    }
    bool operator!=(const KeyList &other) const { return !(*this == other); }

private:
    void materialize()
    {
        if (!m_isRun)
            return;
        m_list.clear();
        m_list.reserve(m_runLength);
        for (int i = 0; i < m_runLength; ++i)
            m_list.append(m_first + i);
        m_isRun = false;
    }

    QVector<qint64> m_list;
    qint64 m_first = 0;
    int m_runLength = 0;
    bool m_isRun = false;
};

// A named record set over the store's index that one grid or list is bound to. It owns the current
// row (a selection model the bound view shares), writes an edited row when the current row leaves
// it, and reads its rows in small blocks on demand, so a large table costs one key query up front.
// It reads and writes only while its store is open.
class DataSource : public QAbstractTableModel
{
    Q_OBJECT
public:
    DataSource(const QString &name, RecordStore *store, QObject *parent = nullptr);

    void setColumns(const QVector<Column> &columns);
    const QVector<Column> &columns() const { return m_columns; }
    int columnIndex(const QString &field) const;
    void setAllowAddNew(bool allow);
    void setAllowDelete(bool allow) { m_allowDelete = allow; }
    bool allowDelete() const { return m_allowDelete; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // False for a read-only data source and on an index the user may only read.
    bool mayWrite() const;

    // A row whose edited fields were changed elsewhere after editing began. The texts are as the
    // grid shows them, one per edited field.
    struct Conflict {
        qint64 number = -1; // the row's FileNumber; -1 where the table has none
        QStringList captions, theirs, mine;
        QVector<QVariant> stored; // the row's values now, by column
    };
    // Answers a conflict: true keeps this desk's text (written over the other), false takes the
    // other's. Without one the write fails and the edit stays pending.
    void setConflictResolver(std::function<bool(const Conflict &)> resolver)
    {
        m_resolveConflict = std::move(resolver);
    }

    QItemSelectionModel *selectionModel() const { return m_selection; }

    // Record operations, named as the handlers that run them name them. A data source always reads
    // its store's current index, so it never needs pointing at a file.
    // A new record source lists its rows in its own order, whatever sort came before.
    void setRecordSource(const RecordSource &source)
    {
        m_source = source;
        m_sortColumn = -1;
    }
    bool refresh();
    // Another connection has changed the table: the rows read again (an edit being typed stays as
    // it is), and with rereadKeys rows added or removed elsewhere come and go, the current row kept.
    // A search's key list stays the result of its query.
    void showCurrentValues(bool rereadKeys);
    // Writes a pending edit and lets the rows go, as the store does before it closes.
    void release();
    // Makes the first row, in the data source's order, that meets the criterion current.
    bool findFirst(const Criterion &criterion);
    void moveFirst();
    void addNew();
    bool deleteCurrent();
    // Position tests, read from the real current row: before the first record, past the last one
    // (the add-new row counts as past it), and the zero-based position (-1: no current record).
    bool isBof() const { return m_keys.isEmpty(); }
    bool isEof() const;
    int absolutePosition() const;

    int recordCount() const { return m_keys.size(); }
    int currentRow() const;
    void setCurrentRow(int row);
    bool isNewRow(int row) const { return m_allowAddNew && row == m_keys.size(); }

    // The edit typed into a row and not yet written.
    bool hasPendingEdit() const { return m_pendingRow >= 0; }
    int pendingRow() const { return m_pendingRow; }
    bool submitPending();
    void revertPending();
    // Writes what the bound grid's open cell editor holds and the row's pending edit.
    bool commitPending();

    QString lastError() const { return m_lastError; }

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    // Views call submit() when an editor closes with Enter; the row is written only when it is left.
    bool submit() override { return true; }
    // Escape in an editor: the whole row's pending edit goes, not only the open cell.
    void revert() override;
    // Lists the rows by this column (case ignored, then by key), until the next sort; the record
    // source's own order decides between equal values. Reads the rows afresh.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    // The rows are about to be read again or let go: a view commits what an open cell editor holds.
    void aboutToReread();
    void entryRefused(const QModelIndex &index, const QString &text, const QString &message);
    void writeFailed(const QString &error);
    // Rows could not be read: the data source has let its rows go rather than show them as empty.
    void readFailed(const QString &error);

private:
    using Row = QVector<QVariant>;
    static constexpr int blockSize = 128;

    const Row *rowValues(int row) const;
    QVariant storedValue(int row, int column) const;
    QVariant effectiveValue(int row, int column) const;
    bool ensureOpen();
    std::optional<qint64> findFirstKey(const Criterion &criterion);
    QString selectList() const;
    // Puts keys in the order of the sort column (sort()); false, with error, when its values cannot be read.
    bool sortKeys(QVector<qint64> *keys, QString *error) const;
    void setError(const QString &error);
    void onCurrentRowChanged(const QModelIndex &current, const QModelIndex &previous);
    void emitRowChanged(int row);
    bool readBlock(int first, int last, QVector<Row> *rows) const;
    QString keySql() const;
    bool readKeys(KeyList *keys, QString *error) const;
    bool readKeyRun(KeyList *keys) const;
    void clearPending();
    bool failWrite(const QString &error);
    std::optional<Conflict> readConflict(int row);
    static QString shownText(const Column &column, const QVariant &value);
    void dropRowsAfterFailedRead();
    // Runs the prepared write of row key (-1: a new row) in one transaction with the history of
    // what it replaces. With written, an update that matched no row is undone and reported there;
    // with returnedKey, the write's RETURNING key is read before the commit.
    bool writeKeepingHistory(qint64 key, const QHash<QString, QVariant> &newValues, QSqlQuery *write,
                             bool *written = nullptr, qint64 *returnedKey = nullptr);

    RecordStore *m_store;
    QItemSelectionModel *m_selection;
    RecordSource m_source;
    int m_sortColumn = -1; // sort(): the column the rows are listed by, before the record source's own order
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QVector<Column> m_columns;
    bool m_allowAddNew = false;
    bool m_allowDelete = false;
    bool m_readOnly = false;

    KeyList m_keys;
    QByteArray m_keysStamp; // the database's change stamp when m_keys was read
    QString m_keysSql;
    QVariantList m_keysBinds;
    mutable QHash<int, QVector<Row>> m_blocks;
    mutable bool m_dropScheduled = false;

    int m_pendingRow = -1;
    QHash<int, QVariant> m_pending;  // column -> value (null QVariant for a cleared cell)
    QHash<int, QVariant> m_original; // column -> the stored value when its edit began
    std::function<bool(const Conflict &)> m_resolveConflict;
    QString m_lastError;
};
