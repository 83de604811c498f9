#pragma once

#include "store/DataSource.h"
#include "store/Engine.h"
#include "store/History.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

// One file slot as stored: a null QString is a field that holds nothing; Reminder is yyyy-MM-dd
// (or, in an older file, whatever text was stored there).
struct SlotValues {
    qint64 number = 0;
    QString keywords, category, reminder;
};

// What to write into one slot; nullopt leaves that field as it is.
struct SlotFill {
    qint64 number = 0;
    std::optional<QString> keywords, category, reminder;
};

// The program's data: the index (an engine: today the SQLite file Varnel.mdb in the data folder)
// and the four data sources that the grids and the pick list are bound to. Every query on the
// tables lives here; features ask for what they want and never see a connection.
//
// The store opens its index once (open) and closes it once (close). A closed store answers every
// call with a failure and never opens by itself. Members are declared in the order they must
// outlive each other: the engine goes after every data source.
class RecordStore
{
public:
    explicit RecordStore(const QString &dataFolder);
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    QString dataFolder() const { return m_dataFolder; }
    QString databasePath() const;
    // Where the index lies, for messages.
    QString location() const { return m_engine->location(); }

    // Makes engine the index from now on (the store is closed first): a shared index on a server
    // instead of the file in the data folder, or back.
    void setEngine(std::unique_ptr<Engine> engine);
    // Runs after another desk's change has reached the data sources (shared index only).
    void setChangeHandler(std::function<void()> handler) { m_onChange = std::move(handler); }
    bool isShared() const { return m_engine->isShared(); }
    // The shared index's connection has gone; reconnect() tries once, without blocking for long,
    // and on success writes every row still being edited.
    bool isLost() const { return m_engine->isLost(); }
    bool reconnect(QString *error = nullptr);

    bool open(QString *error = nullptr);
    // Writes every row being edited, as leaving it would, lets the data sources' rows go and closes the index.
    void close();
    bool isOpen() const { return m_engine->isOpen(); }
    Engine &engine() { return *m_engine; }

    DataSource &file() { return m_file; }
    DataSource &search() { return m_search; }
    DataSource &categories() { return m_categories; }
    DataSource &popCat() { return m_popCat; }
    // In the order backup and restore release them: File, Search, PopCat, Categories.
    QVector<DataSource *> sources() { return {&m_file, &m_search, &m_popCat, &m_categories}; }

    // Reads every data source afresh; false with the first error when one could not be read.
    bool refreshAll(QString *error = nullptr);
    // Writes every row that is being edited, open cell editors included, as leaving it would.
    void commitPendingEdits();
    // Changes whenever the data may have changed; empty while the store is closed.
    QByteArray changeStamp() const { return m_engine->changeStamp(); }
    // Changes whenever a slot's reminder may have changed: what the due count depends on.
    QByteArray reminderStamp() const
    {
        return m_engine->columnStamp(QStringLiteral("Varnel"), QStringLiteral("Reminder"));
    }

    // Search lists the slots whose keywords, category or shown reminder contain term (matched
    // with the search's wildcards, case ignored), by FileNumber. False when they cannot be read
    // (Search's lastError says why).
    bool searchFor(const QString &term);
    // Search lists the slots that match every one of the words, in any order and any field.
    bool searchForAll(const QStringList &words);
    // What the first search would read, read ahead while the window waits for the user.
    void prepareSearch();
    // How many slots match every one of the words; -1 when the index cannot be read.
    int countAll(const QStringList &words, QString *error = nullptr) const;
    // Search lists the slots whose reminder is on or before lastDay, by Reminder, then FileNumber.
    bool listDue(const QDate &lastDay);
    // How many slots have a reminder on or before lastDay; -1 when the index cannot be read.
    int dueCount(const QDate &lastDay, QString *error = nullptr) const;

    // Every slot that holds a keyword, a category or a reminder, by FileNumber. Empty text counts
    // as nothing, as null does.
    bool filledSlots(QVector<SlotValues> *out, QString *error = nullptr) const;
    // The keywords of the slots numbered first .. last that hold any, simplified to one line.
    bool keywordsBetween(int first, int last, QHash<int, QString> *keywords, QString *error = nullptr) const;
    // Every slot's number with its keywords (a null QString for none).
    bool slotKeywords(QHash<qint64, QString> *keywords, QString *error = nullptr) const;
    // Writes the fills in one transaction: all of them, or on any failure none; *failed is then
    // the index of the fill that failed (-1 when the transaction itself did).
    bool fillSlots(const QVector<SlotFill> &fills, QString *error = nullptr, int *failed = nullptr);

    // Each folder's earlier values (History), newest first.
    bool slotHistory(qint64 number, QVector<History::Version> *versions, QString *error = nullptr) const;
    // Writes a slot's earlier version back as a new change, itself kept in the history; *number
    // receives the slot's number.
    bool putBack(qint64 versionId, qint64 *number = nullptr, QString *error = nullptr);
    // Before a data source writes row key of table: keeps the values it replaces (History::keep).
    bool keepHistory(const QString &table, const QString &keyField, qint64 key,
                     const QHash<QString, QVariant> &newValues, QString *error = nullptr);

    // Backup and restore. The store is closed first (pending edits written) and opened again
    // afterwards when it was open; a restore that fails leaves the index as it was.
    bool backupTo(const QString &path, QString *error = nullptr);
    bool restoreFrom(const QString &path, QString *error = nullptr);

private:
    void onExternalChange();

    QString m_dataFolder;
    std::function<void()> m_onChange;
    std::unique_ptr<Engine> m_engine;
    bool m_thinned = false; // the history is thinned at the first opening only
    DataSource m_file;
    DataSource m_search;
    DataSource m_categories;
    DataSource m_popCat;
};
