#include "print/DatabaseReport.h"

#include "print/PageSurface.h"
#include "print/PrintJob.h"
#include "store/DataSource.h"
#include "store/Dates.h"
#include "store/RecordStore.h"
#include "ui/BusyCursor.h"
#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QVector>
#include <algorithm>

namespace DatabaseReport {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString tab = QStringLiteral("\t");

constexpr int pieceLength = 50;
constexpr int cutPieces = 5;

QString tabs(int n)
{
    return QString(n, QLatin1Char('\t'));
}

QString rule(int dashes)
{
    return tab + QString(dashes, QLatin1Char('-'));
}

// Cut by characters, not UTF-16 units, so a character outside the basic plane is never split.
QString slice(const QVector<uint> &text, int from, int count)
{
    if (from >= text.size())
        return QString();
    const int n = count < 0 ? text.size() - from : std::min<int>(count, text.size() - from);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(text.constData() + from), n);
}

// One slot's values as the File data source shows them: plain numbers, dates in the locale's form, null as nothing.
struct SlotText {
    QString fileNumber, keywords, category, reminder;
};

void printBlock(PrintSurface &surface, const SlotText &slot)
{
    // The lines' fixed parts are made once, not for every slot.
    static const QString label = tabs(2);
    static const QString file = label + QStringLiteral("FILE #") + tabs(4);
    static const QString keywords = label + QStringLiteral("KEYWORDS:") + tabs(3);
    static const QString more = label + QString(9, QLatin1Char(' ')) + tabs(4);
    static const QString category = label + QStringLiteral("CATEGORY:") + tabs(3);
    static const QString reminder = label + QStringLiteral("REMINDER:") + tabs(3);
    static const QString recordRule = rule(137);
    surface.printLine(file + slot.fileNumber + crlf);
    const QStringList pieces = keywordPieces(slot.keywords);
    surface.printLine(keywords + pieces.value(0) + crlf);
    for (int i = 1; i < pieces.size(); ++i)
        surface.printLine(more + pieces.at(i) + crlf);
    surface.printLine(category + slot.category + crlf);
    surface.printLine(reminder + slot.reminder + crlf);
    surface.printLine(recordRule);
}

} // namespace

QStringList keywordPieces(const QString &keywords)
{
    // Most keywords fit on the first line: no need to count their characters one by one.
    if (keywords.size() <= pieceLength &&
        std::none_of(keywords.cbegin(), keywords.cend(), [](QChar c) { return c.isSurrogate(); }))
        return {keywords};
    const QVector<uint> text = keywords.toUcs4();
    QStringList pieces{slice(text, 0, pieceLength)};
    for (int i = 1; i < cutPieces && text.size() > i * pieceLength; ++i)
        pieces.append(slice(text, i * pieceLength, pieceLength));
    if (text.size() > cutPieces * pieceLength)
        pieces.append(slice(text, cutPieces * pieceLength, -1));
    return pieces;
}

bool write(DataSource &file, PrintSurface &surface, const QDate &today)
{
    surface.printLine(crlf);
    surface.printLine(crlf);
    surface.setFontName(QStringLiteral("FixedSys"));
    surface.setFontSize(14);
    surface.printLine(tab + Dates::toDisplay(today) + QString(13, QLatin1Char(' ')) +
                      QStringLiteral("PAPYRA! DATABASE REPORT") + crlf);
    surface.printLine(rule(87));
    surface.setFontSize(10);

    const int number = file.columnIndex(QStringLiteral("FileNumber"));
    const int keywords = file.columnIndex(QStringLiteral("Keywords"));
    const int category = file.columnIndex(QStringLiteral("Category"));
    const int reminder = file.columnIndex(QStringLiteral("Reminder"));
    // Rows are read in the data source's order by position: moving its current row through every
    // slot would make a shown grid follow each step, which costs far more than the report itself.
    const int count = file.recordCount();
    for (int row = 0; row < count; ++row) {
        auto text = [&](int column) { return file.index(row, column).data().toString(); };
        const QString words = text(keywords);
        if (!words.trimmed().isEmpty())
            printBlock(surface, {text(number), words, text(category), text(reminder)});
    }
    return surface.endDocument();
}

void print(RecordStore &store, Dialogs &dialogs, QWidget *parent)
{
    // A cell being typed into belongs in the report, whichever grid it is in; refreshing File alone
    // would write only File's.
    store.commitPendingEdits();
    const QString what = QCoreApplication::translate("DatabaseReport", "the database report");
    PrintJob job(parent, &dialogs, what);
    // Landscape: at 10 points a fixed-pitch keyword line reaches column 106, wider than a portrait page.
    if (!job.start(QCoreApplication::translate("DatabaseReport", "Papyra Database Report.pdf"), QPageLayout::Landscape))
        return;

    BusyCursor busy;
    DataSource &file = store.file();
    if (!file.refresh()) {
        job.cancel();
        busy.restore();
        dialogs.message(parent,
                        QCoreApplication::translate("DatabaseReport",
                                                    "Papyra could not read its database, so %1 was not printed.\n\n%2")
                            .arg(what, file.lastError()),
                        Dialogs::Icon::Warning);
        return;
    }
    PageSurface surface(job.device());
    const bool painted = write(file, surface, QDate::currentDate());
    const bool done = job.finish(painted, surface.errorString());
    busy.restore();
    if (!done)
        job.reportFailure();
}

} // namespace DatabaseReport
