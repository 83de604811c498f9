#include "print/LabelPrinting.h"

#include "print/LabelDefinitions.h"
#include "print/LabelPainter.h"
#include "print/LabelsDialog.h"
#include "print/PrintJob.h"
#include "store/Database.h"
#include "store/RecordStore.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QApplication>
#include <QSqlQuery>
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

QHash<int, QString> keywordsBetween(const QSqlDatabase &db, int first, int last)
{
    QHash<int, QString> keywords;
    if (!db.isOpen())
        return keywords; // no database: the labels carry their numbers alone
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT FileNumber, Keywords FROM Varnel "
                                 "WHERE FileNumber BETWEEN ? AND ? AND Keywords IS NOT NULL"));
    query.addBindValue(first);
    query.addBindValue(last);
    if (query.exec()) {
        while (query.next()) {
            const QString words = query.value(1).toString().simplified();
            if (!words.isEmpty())
                keywords.insert(query.value(0).toInt(), words);
        }
    }
    return keywords;
}

bool print(RecordStore &store, Dialogs &dialogs, QWidget *parent, const LabelsDialog::Run &run)
{
    // A slot being typed into should show its keywords on its label.
    store.commitPendingEdits();
    PrintJob job(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent, &dialogs,
                 QStringLiteral("the labels"));
    if (!job.start(QStringLiteral("Papyra Labels.pdf"), QPageLayout::Portrait))
        return false;

    BusyCursor busy;
    QPagedPaintDevice *device = job.device();
    LabelPainter::setUpDevice(*device, run.sheet);
    QHash<int, QString> keywords = run.keywords;
    if (!run.keywordsGiven && !run.numbers.isEmpty()) {
        const auto [first, last] = std::minmax_element(run.numbers.begin(), run.numbers.end());
        keywords = keywordsBetween(store.database().connection(), *first, *last);
    }
    const bool painted = LabelPainter::paint(*device, run.sheet, LabelLayout::numbersBySheet(run.sheet, run.numbers),
                                             keywords, run.code);
    const bool done = job.finish(painted, painted ? QString() : QStringLiteral("The pages could not be drawn."));
    busy.restore();
    if (!done)
        job.reportFailure();
    else if (run.code.kind != LabelCode::Kind::None)
        LabelCode::rememberPrefix(store.dataFolder(), run.code.prefix);
    return done;
}

} // namespace LabelPrinting
