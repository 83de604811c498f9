#include "store/RecordStore.h"

#include "store/Dates.h"
#include "store/RecordSources.h"
#include "store/Schema.h"
#include "store/SqliteEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <array>
#include <limits>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

QString notOpen()
{
    return QCoreApplication::translate("RecordStore", "The database is not open.");
}

// A query on the engine's connection that is finished when it goes out of scope, so no read
// statement stays open on the connection the data sources write through.
class Query
{
public:
    explicit Query(const QSqlDatabase &db) : m_query(db) { m_query.setForwardOnly(true); }
    ~Query() { m_query.finish(); }
    QSqlQuery *operator->() { return &m_query; }
    QSqlQuery &operator*() { return m_query; }

    bool run(const QString &sql, const QVariantList &values = {})
    {
        if (!m_query.prepare(sql))
            return false;
        for (const QVariant &v : values)
            m_query.addBindValue(v);
        return m_query.exec();
    }
    QString error() const { return m_query.lastError().text(); }

private:
    QSqlQuery m_query;
};

QString textOrNull(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

RecordStore::RecordStore(const QString &dataFolder)
    : m_dataFolder(dataFolder),
      m_engine(std::make_unique<SqliteEngine>(QDir(dataFolder).absoluteFilePath(Schema::databaseFileName))),
      m_file(QStringLiteral("File"), this), m_search(QStringLiteral("Search"), this),
      m_categories(QStringLiteral("Categories"), this), m_popCat(QStringLiteral("PopCat"), this)
{
    m_file.setColumns(RecordSources::slotColumns());
    m_file.setRecordSource(RecordSources::slotTable());
    m_search.setColumns(RecordSources::slotColumns());
    m_categories.setColumns(RecordSources::categoryColumns());
    m_categories.setRecordSource(RecordSources::categoryTable(m_engine->categoryKey()));
    m_categories.setAllowAddNew(true);
    m_categories.setAllowDelete(true);
    m_popCat.setColumns(RecordSources::categoryColumns());
    m_popCat.setRecordSource(RecordSources::categoryTable(m_engine->categoryKey()));
    m_popCat.setReadOnly(true);
    m_engine->setChangeHandler([this] { onExternalChange(); });
}

void RecordStore::setEngine(std::unique_ptr<Engine> engine)
{
    close(); // the data sources let their rows go: no row of the old index stays on screen
    m_engine = std::move(engine);
    m_categories.setRecordSource(RecordSources::categoryTable(m_engine->categoryKey()));
    m_popCat.setRecordSource(RecordSources::categoryTable(m_engine->categoryKey()));
    m_search.setRecordSource(RecordSource());
    m_engine->setChangeHandler([this] { onExternalChange(); });
}

void RecordStore::onExternalChange()
{
    m_file.showCurrentValues(true);
    m_search.showCurrentValues(false);
    m_categories.showCurrentValues(true);
    m_popCat.showCurrentValues(true);
    if (m_onChange)
        m_onChange();
}

bool RecordStore::reconnect(QString *error)
{
    if (!m_engine->reopen(error))
        return false;
    // What was typed while the server was away is written now; the rows then show what the
    // server holds, other desks' changes included.
    commitPendingEdits();
    onExternalChange();
    return true;
}

QString RecordStore::databasePath() const
{
    return QDir(m_dataFolder).absoluteFilePath(Schema::databaseFileName);
}

bool RecordStore::open(QString *error)
{
    if (isOpen())
        return true;
    if (!m_engine->open(error))
        return false;
    QSqlDatabase db = m_engine->connection();
    QString why;
    if (!History::prepare(db, m_engine->autoKeyDeclaration(), &why)) {
        m_engine->close();
        return fail(error,
                    QCoreApplication::translate("RecordStore", "The file is not a Papyra database: %1.").arg(why));
    }
    if (!m_thinned) {
        m_thinned = true;
        History::thin(db); // a history that cannot be thinned now is thinned at a later start
    }
    return true;
}

void RecordStore::close()
{
    for (DataSource *source : sources())
        source->release();
    m_engine->close();
}

bool RecordStore::refreshAll(QString *error)
{
    bool ok = true;
    for (DataSource *source : sources()) {
        if (!source->refresh() && ok) {
            ok = false;
            fail(error, source->lastError());
        }
    }
    return ok;
}

void RecordStore::commitPendingEdits()
{
    for (DataSource *source : sources())
        source->commitPending();
}

bool RecordStore::searchFor(const QString &term)
{
    return searchForAll({term});
}

bool RecordStore::searchForAll(const QStringList &words)
{
    m_search.setRecordSource(RecordSources::matching(words));
    return m_search.refresh();
}

int RecordStore::countAll(const QStringList &words, QString *error) const
{
    if (!isOpen()) {
        fail(error, notOpen());
        return -1;
    }
    QVector<qint64> keys;
    if (!m_engine->searchKeys(words.isEmpty() ? QStringList{QString()} : words, &keys, error))
        return -1;
    return int(keys.size());
}

bool RecordStore::listDue(const QDate &lastDay)
{
    m_search.setRecordSource(RecordSources::dueBy(lastDay));
    return m_search.refresh();
}

void RecordStore::prepareSearch()
{
    if (isOpen())
        m_engine->prepareSearch();
}

int RecordStore::dueCount(const QDate &lastDay, QString *error) const
{
    if (!isOpen()) {
        fail(error, notOpen());
        return -1;
    }
    // Counted per distinct reminder along the index on Reminder, and each value's form tested once,
    // instead of a pattern test on every due slot (a quarter of a million in a large index).
    Query query(m_engine->connection());
    if (!query.run(QStringLiteral("SELECT Reminder, count(*) FROM Varnel WHERE Reminder <= ? GROUP BY Reminder"),
                   {Dates::toStorage(lastDay)})) {
        fail(error, query.error());
        return -1;
    }
    int count = 0;
    while (query->next()) {
        if (RecordSources::isStoredDate(query->value(0)))
            count += query->value(1).toInt();
    }
    if (query->lastError().isValid()) {
        fail(error, query.error());
        return -1;
    }
    return count;
}

bool RecordStore::filledSlots(QVector<SlotValues> *out, QString *error) const
{
    out->clear();
    if (!isOpen())
        return fail(error, notOpen());
    const bool ok = m_engine->readRows(
        QStringLiteral("SELECT FileNumber, Keywords, Category, Reminder FROM Varnel "
                       "WHERE coalesce(Keywords, '') <> '' OR coalesce(Category, '') <> '' "
                       "OR coalesce(Reminder, '') <> '' ORDER BY FileNumber"),
        {QVariantList()},
        [out](int, const QVector<QVariant> &values) {
            out->append({values.at(0).toLongLong(), textOrNull(values.at(1)), textOrNull(values.at(2)),
                         textOrNull(values.at(3))});
            return true;
        },
        error);
    if (!ok)
        out->clear();
    return ok;
}

bool RecordStore::keywordsBetween(int first, int last, QHash<int, QString> *keywords, QString *error) const
{
    keywords->clear();
    if (!isOpen())
        return fail(error, notOpen());
    Query query(m_engine->connection());
    if (!query.run(QStringLiteral("SELECT FileNumber, Keywords FROM Varnel "
                                  "WHERE FileNumber BETWEEN ? AND ? AND Keywords IS NOT NULL"),
                   {first, last}))
        return fail(error, query.error());
    while (query->next()) {
        const QString words = query->value(1).toString().simplified();
        if (!words.isEmpty())
            keywords->insert(query->value(0).toInt(), words);
    }
    return true;
}

bool RecordStore::slotKeywords(QHash<qint64, QString> *keywords, QString *error) const
{
    keywords->clear();
    if (!isOpen())
        return fail(error, notOpen());
    keywords->reserve(4096);
    return m_engine->readRows(
        QStringLiteral("SELECT FileNumber, Keywords FROM Varnel"), {QVariantList()},
        [keywords](int, const QVector<QVariant> &values) {
            keywords->insert(values.at(0).toLongLong(), textOrNull(values.at(1)));
            return true;
        },
        error);
}

bool RecordStore::fillSlots(const QVector<SlotFill> &fills, QString *error, int *failed)
{
    if (failed)
        *failed = -1;
    if (!isOpen())
        return fail(error, notOpen());
    QSqlDatabase db = m_engine->connection();
    if (!db.transaction())
        return fail(error, db.lastError().text());
    QString why;
    {
        // Every statement is prepared once for the whole file: preparing one per row cost ten times
        // the writing itself.
        History::SlotKeeper keeper(db);
        Query query(db);
        // A null value keeps what the slot holds: an empty cell changes nothing.
        if (!query->prepare(QStringLiteral("UPDATE Varnel SET Keywords = coalesce(?, Keywords), "
                                           "Category = coalesce(?, Category), Reminder = coalesce(?, Reminder) "
                                           "WHERE FileNumber = ?")))
            why = query.error();
        const QVariant none{QMetaType(QMetaType::QString)};
        auto value = [&none](const std::optional<QString> &v) { return v ? QVariant(*v) : none; };
        // What the slots hold now, read in one go inside the transaction: a range of slot numbers
        // that the fills cover at least half of is read front to back, a few slots one by one.
        QVector<std::array<QVariant, 3>> held(fills.size());
        QVector<bool> found(fills.size(), false);
        QHash<qint64, int> fillOf;
        fillOf.reserve(fills.size());
        qint64 first = std::numeric_limits<qint64>::max(), last = std::numeric_limits<qint64>::min();
        for (int i = 0; i < fills.size(); ++i) {
            fillOf.insert(fills.at(i).number, i);
            first = std::min(first, fills.at(i).number);
            last = std::max(last, fills.at(i).number);
        }
        auto keep = [&](int i, const QVector<QVariant> &values) {
            found[i] = true;
            held[i] = {values.at(1), values.at(2), values.at(3)};
        };
        const QString read = QStringLiteral("SELECT FileNumber, Keywords, Category, Reminder FROM Varnel WHERE ");
        // A slot filled twice is read again before its second fill, which must see the first.
        const bool twice = fillOf.size() != fills.size();
        auto readOne = [&](int i) {
            m_engine->readRows(
                read + QStringLiteral("FileNumber = ?"), {QVariantList{fills.at(i).number}},
                [&](int, const QVector<QVariant> &values) {
                    keep(i, values);
                    return true;
                },
                &why);
        };
        const bool dense = double(fills.size()) * 2 >= double(last) - double(first) + 1;
        if (why.isEmpty() && !fills.isEmpty() && !twice && dense) {
            m_engine->readRows(
                read + QStringLiteral("FileNumber BETWEEN ? AND ?"), {QVariantList{first, last}},
                [&](int, const QVector<QVariant> &values) {
                    const auto i = fillOf.constFind(values.at(0).toLongLong());
                    if (i != fillOf.constEnd())
                        keep(*i, values);
                    return true;
                },
                &why);
        } else if (why.isEmpty() && !twice) {
            QVector<QVariantList> numbers;
            numbers.reserve(fills.size());
            for (const SlotFill &fill : fills)
                numbers.append(QVariantList{fill.number});
            m_engine->readRows(
                read + QStringLiteral("FileNumber = ?"), numbers,
                [&](int i, const QVector<QVariant> &values) {
                    keep(i, values);
                    return true;
                },
                &why);
        }
        for (int i = 0; why.isEmpty() && i < fills.size(); ++i) {
            const SlotFill &fill = fills.at(i);
            const std::optional<QString> *newValues[3] = {&fill.keywords, &fill.category, &fill.reminder};
            if (twice)
                readOne(i);
            const QVariant *old = held.at(i).data();
            if (why.isEmpty() && !found.at(i))
                why = QCoreApplication::translate("RecordStore", "file slot %1 is gone.").arg(fill.number);
            bool changed = false; // for the history
            bool same = true;     // the stored text already, as text: the write would change nothing
            for (int f = 0; why.isEmpty() && f < 3; ++f) {
                if (!*newValues[f])
                    continue;
                const QString &text = **newValues[f];
                changed = changed || History::differs(old[f], text);
                // A null text binds NULL, which coalesce turns into the stored value.
                same = same && (text.isNull() || (!old[f].isNull() && old[f].typeId() == QMetaType::QString &&
                                                  old[f].toString() == text));
            }
            if (why.isEmpty() && changed)
                keeper.store(fill.number, old, &why);
            if (why.isEmpty() && !same) {
                query->bindValue(0, value(fill.keywords));
                query->bindValue(1, value(fill.category));
                query->bindValue(2, value(fill.reminder));
                query->bindValue(3, fill.number);
                if (!query->exec())
                    why = query.error();
                else if (query->numRowsAffected() != 1)
                    why = QCoreApplication::translate("RecordStore", "file slot %1 is gone.").arg(fill.number);
            }
            if (!why.isEmpty() && failed)
                *failed = i;
        }
    }
    if (why.isEmpty() && db.commit())
        return true;
    if (why.isEmpty())
        why = db.lastError().text();
    db.rollback();
    return fail(error, why);
}

bool RecordStore::slotHistory(qint64 number, QVector<History::Version> *versions, QString *error) const
{
    versions->clear();
    if (!isOpen())
        return fail(error, notOpen());
    QSqlDatabase db = m_engine->connection();
    return History::versionsOf(db, number, versions, error);
}

bool RecordStore::keepHistory(const QString &table, const QString &keyField, qint64 key,
                              const QHash<QString, QVariant> &newValues, QString *error)
{
    if (!isOpen())
        return fail(error, notOpen());
    QSqlDatabase db = m_engine->connection();
    return History::keep(db, table, keyField, key, newValues, error);
}

bool RecordStore::putBack(qint64 versionId, qint64 *number, QString *error)
{
    if (!isOpen())
        return fail(error, notOpen());
    QSqlDatabase db = m_engine->connection();
    History::Version version;
    if (!History::version(db, versionId, &version, error))
        return false;
    if (version.kind != QLatin1String("slot"))
        return fail(error, QCoreApplication::translate("RecordStore", "This version is not a file slot's."));
    if (number)
        *number = version.number;
    const QVariant none{QMetaType(QMetaType::QString)};
    auto value = [&none](const QString &text) { return text.isNull() ? none : QVariant(text); };
    const QHash<QString, QVariant> newValues{{QStringLiteral("Keywords"), value(version.keywords)},
                                             {QStringLiteral("Category"), value(version.category)},
                                             {QStringLiteral("Reminder"), value(version.reminder)}};
    if (!db.transaction())
        return fail(error, db.lastError().text());
    QString why;
    if (History::keep(db, QStringLiteral("Varnel"), QStringLiteral("FileNumber"), version.number, newValues, &why)) {
        Query query(db);
        if (!query.run(
                QStringLiteral("UPDATE Varnel SET Keywords = ?, Category = ?, Reminder = ? WHERE FileNumber = ?"),
                {newValues.value(QStringLiteral("Keywords")), newValues.value(QStringLiteral("Category")),
                 newValues.value(QStringLiteral("Reminder")), version.number}))
            why = query.error();
        else if (query->numRowsAffected() != 1)
            why = QCoreApplication::translate("RecordStore", "file slot %1 is gone.").arg(version.number);
    }
    if (why.isEmpty() && db.commit())
        return true;
    if (why.isEmpty())
        why = db.lastError().text();
    db.rollback();
    return fail(error, why);
}

bool RecordStore::backupTo(const QString &path, QString *error)
{
    const bool wasOpen = isOpen();
    close();
    bool ok = m_engine->backupTo(path, error);
    QString reopenError;
    if (wasOpen && !open(&reopenError) && ok)
        ok = fail(error, reopenError);
    return ok;
}

bool RecordStore::restoreFrom(const QString &path, QString *error)
{
    const bool wasOpen = isOpen();
    close();
    bool ok = m_engine->restoreFrom(path, error);
    QString reopenError;
    if (wasOpen && !open(&reopenError) && ok)
        ok = fail(error, reopenError);
    return ok;
}
