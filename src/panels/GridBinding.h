#pragma once

#include "store/DataSource.h"

#include <QString>

class DataGrid;
class Dialogs;

namespace GridBinding {

// Binds a grid to a data source: the grid shows its rows and shares its current row, Escape drops
// the row's pending edit, Delete removes the row where the data source allows it, a refused entry
// is reported in the grid, an open cell editor is written before the rows are read again, and a
// row changed elsewhere while it was edited asks whose text stays.
void bind(DataGrid *grid, DataSource *source, Dialogs *dialogs);

// The question for a conflicting edit: the folder, and both texts of each edited field.
QString conflictQuestion(const DataSource::Conflict &conflict);

} // namespace GridBinding
