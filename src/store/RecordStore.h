#pragma once

#include "store/DataSource.h"
#include "store/Database.h"

#include <QString>
#include <QVector>

// The program's data: the one connection to Varnel.mdb in the data folder and the four data
// sources that every grid, list, search, report and backup reaches the tables through. Members are
// declared in the order they must outlive each other: the connection goes after every data source.
class RecordStore
{
public:
    explicit RecordStore(const QString &dataFolder);
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    QString dataFolder() const { return m_dataFolder; }
    QString databasePath() const;

    Database &database() { return m_database; }
    DataSource &file() { return m_file; }
    DataSource &search() { return m_search; }
    DataSource &categories() { return m_categories; }
    DataSource &popCat() { return m_popCat; }
    // In the order backup and restore release them: File, Search, PopCat, Categories.
    QVector<DataSource *> sources() { return {&m_file, &m_search, &m_popCat, &m_categories}; }

    // Re-points and refreshes a data source; false when it could not be read (its lastError says why).
    bool refresh(DataSource &source);
    // Writes every row that is being edited, open cell editors included, as leaving it would.
    void commitPendingEdits();
    // Every data source lets go of the file, so the connection closes and the file can be copied.
    void releaseAll();

private:
    QString m_dataFolder;
    Database m_database;
    DataSource m_file;
    DataSource m_search;
    DataSource m_categories;
    DataSource m_popCat;
};
