#include "panels/GridBinding.h"

#include "store/DataSource.h"
#include "ui/DataGrid.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QStringList>

namespace GridBinding {

void bind(DataGrid *grid, DataSource *source, Dialogs *dialogs)
{
    grid->bind(source, source->selectionModel(), dialogs);
    grid->setDeletesRows(source->allowDelete());
    QObject::connect(grid, &DataGrid::cancelRowEditRequested, source, &DataSource::revertPending);
    QObject::connect(grid, &DataGrid::deleteRowRequested, source, &DataSource::deleteCurrent);
    QObject::connect(source, &DataSource::entryRefused, grid, &DataGrid::showRefusedEntry);
    QObject::connect(source, &DataSource::aboutToReread, grid, &DataGrid::commitOpenEditor);
    source->setConflictResolver([grid, dialogs](const DataSource::Conflict &conflict) {
        return dialogs->askYesNo(grid->window(), conflictQuestion(conflict));
    });
}

QString conflictQuestion(const DataSource::Conflict &conflict)
{
    QStringList lines;
    lines << (conflict.number >= 0
                  ? QCoreApplication::translate("GridBinding",
                                                "Folder %1 was changed at another desk while you were editing it.")
                        .arg(conflict.number)
                  : QCoreApplication::translate("GridBinding",
                                                "This row was changed at another desk while you were editing it."));
    for (int i = 0; i < conflict.captions.size(); ++i) {
        lines << QString()
              << QCoreApplication::translate("GridBinding", "%1 at the other desk: \"%2\"")
                     .arg(conflict.captions.at(i), conflict.theirs.at(i))
              << QCoreApplication::translate("GridBinding", "%1 as you typed it: \"%2\"")
                     .arg(conflict.captions.at(i), conflict.mine.at(i));
    }
    lines << QString()
          << QCoreApplication::translate(
                 "GridBinding", "Keep your text? Yes writes yours over the other desk's; No keeps the other desk's "
                                "and drops yours.");
    return lines.join(QLatin1Char('\n'));
}

} // namespace GridBinding
