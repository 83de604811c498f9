#include "print/LabelPrinting.h"

#include "print/LabelDefinitions.h"
#include "print/LabelPainter.h"
#include "print/LabelsDialog.h"
#include "print/PrintJob.h"
#include "store/RecordStore.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QCoreApplication>

namespace LabelPrinting {

void showDialog(RecordStore &store, Dialogs &dialogs, const QString &programFolder, QWidget *parent)
{
    LabelsDialog::showModal(LabelDefinitions::folderFor(programFolder, store.dataFolder()), &dialogs, parent,
                            [&store, &dialogs, parent](const LabelLayout::Sheet &sheet, int start, int count) {
                                return print(store, dialogs, parent, sheet, start, count);
                            });
}

bool print(RecordStore &store, Dialogs &dialogs, QWidget *parent, const LabelLayout::Sheet &sheet, int start, int count)
{
    // A slot being typed into should show its keywords on its label.
    store.commitPendingEdits();
    PrintJob job(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent, &dialogs,
                 QCoreApplication::translate("LabelPrinting", "the labels"));
    if (!job.start(QCoreApplication::translate("LabelPrinting", "Papyra Labels.pdf"), QPageLayout::Portrait))
        return false;

    BusyCursor busy;
    QPagedPaintDevice *device = job.device();
    LabelPainter::setUpDevice(*device, sheet);
    // Without readable keywords the labels still carry their numbers.
    QHash<int, QString> keywords;
    store.keywordsBetween(start, start + count - 1, &keywords);
    const bool painted =
        LabelPainter::paint(*device, sheet, LabelLayout::numbersBySheet(sheet, start, count), keywords);
    const bool done = job.finish(
        painted, painted ? QString() : QCoreApplication::translate("LabelPrinting", "The pages could not be drawn."));
    busy.restore();
    if (!done)
        job.reportFailure();
    return done;
}

} // namespace LabelPrinting
