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

#include <algorithm>

namespace LabelPrinting {

void showDialog(RecordStore &store, Dialogs &dialogs, const QString &programFolder, QWidget *parent,
                const QVector<LabelLayout::Folder> &listed)
{
    LabelsDialog::showModal(
        LabelDefinitions::folderFor(programFolder, store.dataFolder()), &dialogs, parent,
        [&store, &dialogs, parent](const LabelsDialog::Run &run) { return print(store, dialogs, parent, run); },
        listed);
}

bool print(RecordStore &store, Dialogs &dialogs, QWidget *parent, const LabelsDialog::Run &run)
{
    // A slot being typed into should show its keywords on its label.
    store.commitPendingEdits();
    PrintJob job(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent, &dialogs,
                 QCoreApplication::translate("LabelPrinting", "the labels"));
    if (!job.start(QCoreApplication::translate("LabelPrinting", "Papyra Labels.pdf"), QPageLayout::Portrait))
        return false;

    BusyCursor busy;
    QPagedPaintDevice *device = job.device();
    LabelPainter::setUpDevice(*device, run.sheet);
    // Without readable keywords the labels still carry their numbers.
    QHash<int, QString> keywords = run.keywords;
    if (!run.keywordsGiven && !run.numbers.isEmpty()) {
        const auto [first, last] = std::minmax_element(run.numbers.begin(), run.numbers.end());
        store.keywordsBetween(*first, *last, &keywords);
    }
    const bool painted = LabelPainter::paint(*device, run.sheet, LabelLayout::numbersBySheet(run.sheet, run.numbers),
                                             keywords, run.code);
    const bool done = job.finish(
        painted, painted ? QString() : QCoreApplication::translate("LabelPrinting", "The pages could not be drawn."));
    busy.restore();
    if (!done)
        job.reportFailure();
    else if (run.code.kind != LabelCode::Kind::None)
        LabelCode::rememberPrefix(store.dataFolder(), run.code.prefix);
    return done;
}

} // namespace LabelPrinting
