#include "store/RecordStore.h"

#include "store/RecordSources.h"
#include "store/Schema.h"

#include <QDir>

RecordStore::RecordStore(const QString &dataFolder)
    : m_dataFolder(dataFolder), m_file(QStringLiteral("File"), &m_database, databasePath()),
      m_search(QStringLiteral("Search"), &m_database, databasePath()),
      m_categories(QStringLiteral("Categories"), &m_database, databasePath()),
      m_popCat(QStringLiteral("PopCat"), &m_database, databasePath())
{
    m_file.setColumns(RecordSources::slotColumns());
    m_file.setRecordSource(RecordSources::slotTable());
    m_search.setColumns(RecordSources::slotColumns());
    m_categories.setColumns(RecordSources::categoryColumns());
    m_categories.setRecordSource(RecordSources::categoryTable());
    m_categories.setAllowAddNew(true);
    m_categories.setAllowDelete(true);
    m_popCat.setColumns(RecordSources::categoryColumns());
    m_popCat.setRecordSource(RecordSources::categoryTable());
    m_popCat.setReadOnly(true);
}

QString RecordStore::databasePath() const
{
    return QDir(m_dataFolder).absoluteFilePath(Schema::databaseFileName);
}

bool RecordStore::refresh(DataSource &source)
{
    source.repoint();
    return source.refresh();
}

void RecordStore::commitPendingEdits()
{
    for (DataSource *source : sources())
        source->commitPending();
}

void RecordStore::releaseAll()
{
    for (DataSource *source : sources())
        source->release();
    // With every data source gone the connection is closed; nothing may keep the file open while it is copied.
    if (m_database.isOpen())
        m_database.close();
}
