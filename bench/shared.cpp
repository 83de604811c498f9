#include "BenchUtil.h"
#include "PgCluster.h"

#include "app/IndexSettings.h"
#include "app/MainWindow.h"
#include "search/KeywordSearch.h"
#include "store/DataSource.h"
#include "store/PostgresEngine.h"
#include "store/RecordStore.h"
#include "store/Schema.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>

namespace Bench {

namespace {

// Two thirds of the slots filled, every third one with "insurance" in its keywords.
void fill(const QString &databasePath, int slotCount)
{
    const QString name = QStringLiteral("bench-fill");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        db.open();
        QSqlQuery query(db);
        query.exec(
            QStringLiteral("UPDATE Varnel SET Keywords = CASE FileNumber % 3 WHEN 0 THEN 'Car insurance ' || "
                           "FileNumber WHEN 1 THEN 'Tax return ' || FileNumber END, Category = 'Bank', "
                           "Reminder = CASE WHEN FileNumber % 4 = 0 THEN '2003-05-01' END WHERE FileNumber <= %1")
                .arg(slotCount * 2 / 3));
    }
    QSqlDatabase::removeDatabase(name);
}

double searchMs(MainWindow &window, int runs)
{
    int run = 0;
    return medianTimed(runs, [&] {
        KeywordSearch::run(window.store(), QStringLiteral("zz-no-such-word"));
        // Another case each time: the same rows, but a new text, so the key list is found afresh.
        QString term = QStringLiteral("insurance");
        const int at = run++ % int(term.size());
        term[at] = term[at].toUpper();
        QElapsedTimer timer;
        timer.start();
        window.searchBox()->setText(term);
        window.goButton()->click();
        QApplication::processEvents();
        return timer.nsecsElapsed() / 1e6;
    });
}

} // namespace

// The shared index over the local socket beside the own index file, on the same data.
void shared(int slotCount, int runs)
{
    QString why;
    PgCluster *server = PgCluster::shared(&why);
    if (!server)
        fail(QStringLiteral("no PostgreSQL server for the benchmark: %1").arg(why));
    const QString local = makeProgramFolder(QStringLiteral("shared-local"), slotCount);
    const QString sharedFolder = makeProgramFolder(QStringLiteral("shared-server"), 10);
    fill(QDir(local).filePath(Schema::databaseFileName), slotCount);
    const QString database = server->createIndex(QDir(local).filePath(Schema::databaseFileName), &why);
    if (database.isEmpty())
        fail(QStringLiteral("cannot make the shared index: %1").arg(why));
    const QString uri = server->uri(database);
    IndexSettings::setSharedIndex(IndexSettings::path(sharedFolder), uri);
    AnsweringDialogs dialogs;

    for (const QString &folder : {local, sharedFolder}) {
        const QString which = folder == local ? QStringLiteral("own file") : QStringLiteral("shared index");
        const double startMs = medianMs(runs, [&] {
            MainWindow window(folder, &dialogs);
            window.show();
            QApplication::processEvents();
        });
        report(QStringLiteral("%1: start-up to window shown").arg(which), startMs);
        MainWindow window(folder, &dialogs);
        window.show();
        QApplication::processEvents();
        const double firstMs = elapsedMs([&] {
            KeywordSearch::run(window.store(), QStringLiteral("insurance"));
            QApplication::processEvents();
        });
        report(QStringLiteral("%1: first search after opening").arg(which), firstMs);
        report(QStringLiteral("%1: search \"insurance\"").arg(which), searchMs(window, runs));
        int edit = 0;
        const double tabMs = medianTimed(runs, [&] {
            window.SwitchTab(2);
            QSqlQuery(window.store().engine().connection())
                .exec(QStringLiteral("UPDATE Varnel SET Keywords = 'bench %1' WHERE FileNumber = 7").arg(++edit));
            QApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            window.SwitchTab(3);
            QApplication::processEvents();
            return timer.nsecsElapsed() / 1e6;
        });
        report(QStringLiteral("%1: tab change to Add Files after an edit").arg(which), tabMs);
    }

    // One row written at one desk until the other desk shows it.
    ServerAddress address;
    ServerAddress::parse(uri, &address);
    RecordStore anna(sharedFolder), ben(sharedFolder);
    anna.setEngine(std::make_unique<PostgresEngine>(address));
    ben.setEngine(std::make_unique<PostgresEngine>(address));
    anna.open();
    ben.open();
    anna.file().refresh();
    ben.file().refresh();
    bool seen = false;
    ben.setChangeHandler([&] { seen = true; });
    int edit = 0;
    const double seenMs = medianTimed(runs, [&] {
        seen = false;
        QElapsedTimer timer;
        timer.start();
        anna.file().setCurrentRow(99);
        anna.file().setData(anna.file().index(99, 1), QStringLiteral("seen %1").arg(++edit));
        anna.file().setCurrentRow(100);
        while (!seen && timer.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (ben.file().index(99, 1).data().toString() != QStringLiteral("seen %1").arg(edit))
            qWarning("the other desk did not show the change");
        return ms;
    });
    report(QStringLiteral("shared index: a row written at one desk, shown at another"), seenMs,
           QStringLiteral("<= 200 ms"));
}

} // namespace Bench
