#include "panels/GridBinding.h"

#include "store/DataSource.h"
#include "ui/DataGrid.h"

namespace GridBinding {

void bind(DataGrid *grid, DataSource *source, Dialogs *dialogs)
{
    grid->bind(source, source->selectionModel(), dialogs);
    grid->setDeletesRows(source->allowDelete());
    QObject::connect(grid, &DataGrid::cancelRowEditRequested, source, &DataSource::revertPending);
    QObject::connect(grid, &DataGrid::deleteRowRequested, source, &DataSource::deleteCurrent);
    QObject::connect(source, &DataSource::entryRefused, grid, &DataGrid::showRefusedEntry);
    QObject::connect(source, &DataSource::aboutToReread, grid, &DataGrid::commitOpenEditor);
}

} // namespace GridBinding
