#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <functional>

// What one kind of database behind the index does in its own way: opening and checking it, telling
// whether the data may have changed, the search's matching, and copying the whole index to a file
// and back. The record store and its data sources run everything else through Qt's SQL driver on
// the engine's connection.
class Engine
{
public:
    virtual ~Engine() = default;

    // Where the index lies, for messages: the file's path, or the server and database.
    virtual QString location() const = 0;

    // Opens the index; false with a sentence for the user when it cannot be used.
    virtual bool open(QString *error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The open connection; invalid while the engine is closed.
    virtual QSqlDatabase connection() const = 0;

    // Changes whenever the data may have changed: another opening, a write through this connection,
    // or another connection's commit. Empty while the engine is closed.
    virtual QByteArray changeStamp() const = 0;
    // Like changeStamp, but changes only when that column of the table may have changed (a row added
    // or removed changes every column). Lets a key list or a count that depends on a few columns
    // outlive edits of the others; an engine that cannot tell gives changeStamp().
    virtual QByteArray columnStamp(const QString &table, const QString &column) const
    {
        Q_UNUSED(table);
        Q_UNUSED(column);
        return changeStamp();
    }

    // Runs a query whose first column is an integer key and collects the keys in order.
    virtual bool readKeys(const QString &sql, const QVariantList &bindValues, QVector<qint64> *keys,
                          QString *error) const = 0;

    // Runs sql once for each set of bind values and hands every row to row(set, values), values
    // holding the row's columns as Qt's SQL driver gives them (a null QVariant for NULL); row returns
    // false to stop. For reading many rows in one go: an engine may read them without the driver's
    // per-statement and per-value cost.
    using RowReader = std::function<bool(int set, const QVector<QVariant> &values)>;
    virtual bool readRows(const QString &sql, const QVector<QVariantList> &bindSets, const RowReader &row,
                          QString *error) const;
    // The search: the keys of the Varnel rows that match every one of terms, in FileNumber order. A
    // row matches a term when its keywords, category or shown reminder contain it (the Pattern
    // rule), or when the term reads as a date (Dates::parseEntry) that is the row's reminder. The
    // record store asks only this; the default
    // runs matchCondition() through readKeys, and an engine whose server cannot apply the rule
    // itself overrides it (PostgreSQL matches on this side, from a copy kept current).
    virtual bool searchKeys(const QStringList &terms, QVector<qint64> *keys, QString *error) const;
    // Work the first search would do, done ahead while the program waits for the user.
    virtual void prepareSearch() {}
    // The condition, with one placeholder for the search term, that keeps the Varnel rows whose
    // keywords, category or shown reminder contain the term; used by the default searchKeys only.
    virtual QString matchCondition() const = 0;
    // The column that tells rows of Categories apart (the table has no key of its own).
    virtual QString categoryKey() const = 0;
    // The declaration of an integer key that numbers new rows by itself, for Papyra's own tables.
    virtual QString autoKeyDeclaration() const { return QStringLiteral("INTEGER PRIMARY KEY"); }

    // Both run while the engine is closed. backupTo writes a consistent copy of the whole index to
    // path as an ordinary Papyra database file; restoreFrom replaces the index's data by the checked
    // contents of such a file, and on any failure leaves the index as it was.
    virtual bool backupTo(const QString &path, QString *error) = 0;
    virtual bool restoreFrom(const QString &path, QString *error) = 0;

    // Writes a consistent snapshot of the whole index to path as an ordinary Papyra database file,
    // open or not; path is never left half written. Uses a connection of its own, so it may run on
    // another thread while the index is in use.
    virtual bool snapshotTo(const QString &path, QString *error)
    {
        Q_UNUSED(path)
        if (error)
            *error = QCoreApplication::translate("Engine", "This index cannot be copied while it is in use.");
        return false;
    }

    // A shared index: other desks write to it too. handler runs (on the event loop) after another
    // connection has committed a change; an engine without other writers never calls it.
    virtual void setChangeHandler(std::function<void()> handler) { (void)handler; }
    // The connection has gone (the server stopped, the network failed) although it was open;
    // reopen() then tries once to connect again without blocking for more than a few seconds.
    virtual bool isLost() const { return false; }
    virtual bool reopen(QString *error)
    {
        close();
        return open(error);
    }
    // Whether the user's rights allow changes; a reader's index is read-only.
    virtual bool mayWrite() const { return true; }
    // A shared index: messages name the server rather than a file.
    virtual bool isShared() const { return false; }
};
