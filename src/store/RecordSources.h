#pragma once

#include "store/DataSource.h"

// The designed record sources and column layouts of the four data sources.
namespace RecordSources {

RecordSource slotTable();      // the table Varnel in FileNumber order
RecordSource categoryTable();  // the table Categories in the order names were added
QVector<Column> slotColumns(); // File #, Keywords, Category, Reminder
QVector<Column> categoryColumns();

} // namespace RecordSources
