#pragma once

class DataGrid;
class DataSource;
class Dialogs;

namespace GridBinding {

// Binds a grid to a data source: the grid shows its rows and shares its current row, Escape drops
// the row's pending edit, Delete removes the row where the data source allows it, a refused entry
// is reported in the grid, and an open cell editor is written before the rows are read again.
void bind(DataGrid *grid, DataSource *source, Dialogs *dialogs);

} // namespace GridBinding
