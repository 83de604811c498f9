#include "spreadsheet/SpreadsheetCommands.h"

#include "backup/AutoBackup.h"
#include "spreadsheet/Csv.h"
#include "spreadsheet/SlotExport.h"
#include "spreadsheet/SlotImport.h"
#include "spreadsheet/Workbook.h"
#include "store/RecordStore.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SpreadsheetCommands {

namespace {

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString slotCount(int n)
{
    return n == 1 ? QCoreApplication::translate("SpreadsheetCommands", "1 file slot")
                  : QCoreApplication::translate("SpreadsheetCommands", "%1 file slots").arg(n);
}

} // namespace

int exportSlots(const RecordStore &store, Dialogs &dialogs, QWidget *parent)
{
    dialogs.setNextNameFilters({QCoreApplication::translate("SpreadsheetCommands", "CSV file (*.csv)"),
                                QCoreApplication::translate("SpreadsheetCommands", "OpenDocument spreadsheet (*.ods)"),
                                QCoreApplication::translate("SpreadsheetCommands", "Excel workbook (*.xlsx)")});
    const QString path = dialogs.saveFileName(parent, SlotExport::proposedFileName);
    if (path.isEmpty())
        return -1;
    int count = 0;
    QString error;
    bool ok = false;
    {
        BusyCursor busy;
        ok = SlotExport::writeFile(store, path, &count, &error);
    }
    if (!ok) {
        dialogs.message(parent,
                        QCoreApplication::translate("SpreadsheetCommands", "Papyra could not export to\n%1\n\n%2")
                            .arg(shownPath(path), error),
                        Dialogs::Icon::Warning);
        return -1;
    }
    dialogs.message(
        parent,
        QCoreApplication::translate("SpreadsheetCommands", "Export Complete!\n\n%1 written.").arg(slotCount(count)));
    return count;
}

int importSlots(RecordStore &store, Dialogs &dialogs, QWidget *parent, const std::function<void()> &showNewData)
{
    dialogs.setNextNameFilters(
        {QCoreApplication::translate("SpreadsheetCommands", "Spreadsheets (*.csv *.ods *.xlsx *.txt)"),
         QCoreApplication::translate("SpreadsheetCommands", "All files (*)")});
    const QString path = dialogs.openFileName(parent, SlotExport::proposedFileName);
    if (path.isEmpty())
        return -1;
    const QString cannotImport =
        QCoreApplication::translate("SpreadsheetCommands", "Papyra could not import\n%1\n\n").arg(shownPath(path));

    SlotImport::Plan plan;
    QString error;
    {
        BusyCursor busy;
        QByteArray bytes;
        QHash<qint64, QString> existing;
        if (Csv::Table table; SlotImport::readFile(path, &bytes, &error) && Workbook::read(bytes, &table, &error) &&
                              store.slotKeywords(&existing, &error))
            plan = SlotImport::plan(table, existing);
    }
    if (error.isEmpty())
        error = plan.fileError;
    if (!error.isEmpty()) {
        dialogs.message(parent, cannotImport + error, Dialogs::Icon::Warning);
        return -1;
    }
    if (plan.rows.isEmpty()) {
        const QString text =
            (cannotImport +
             QCoreApplication::translate("SpreadsheetCommands", "No row of the file can fill a file slot.\n\n") +
             SlotImport::refusals(plan))
                .trimmed();
        dialogs.message(parent, text, Dialogs::Icon::Warning);
        return -1;
    }
    if (!dialogs.askYesNo(parent, SlotImport::question(plan)))
        return -1;

    bool ok = false;
    {
        BusyCursor busy;
        // A snapshot first, so the import can be undone from Restore Automatic Backup.
        const AutoBackup::Result snapshot = AutoBackup::take(store.engine(), store.dataFolder(),
                                                             AutoBackup::Settings(store.dataFolder()).secondFolder());
        if (!snapshot.ok)
            error = QCoreApplication::translate(
                        "SpreadsheetCommands",
                        "Papyra could not first keep a copy of your database to undo the import with: %1")
                        .arg(snapshot.error);
        else
            ok = SlotImport::apply(store, plan, &error);
    }
    if (!ok) {
        dialogs.message(parent,
                        cannotImport + error +
                            QCoreApplication::translate("SpreadsheetCommands", "\n\nNo file slot was changed."),
                        Dialogs::Icon::Warning);
        return -1;
    }
    if (showNewData)
        showNewData();
    dialogs.message(parent, QCoreApplication::translate("SpreadsheetCommands", "Import Complete!\n\n%1 filled.")
                                .arg(slotCount(plan.rows.size())));
    return plan.rows.size();
}

} // namespace SpreadsheetCommands
