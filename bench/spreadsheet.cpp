#include "BenchUtil.h"

#include "app/MainWindow.h"
#include "search/RemindersDue.h"
#include "spreadsheet/Csv.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace Bench {

namespace {

// A sheet filling every slot from 1 to rows, with all four columns; `round` makes each file differ.
QByteArray sheet(int rows, int round)
{
    QVector<QStringList> lines{{"File #", "Keywords", "Category", "Reminder"}};
    for (int i = 1; i <= rows; ++i)
        lines.append({QString::number(i),
                      QStringLiteral("Folder %1, round %2: statements, \"letters\" and receipts").arg(i).arg(round),
                      QStringLiteral("Bank"), QDate(2024, 1, 1).addDays(i % 700 + round).toString(Qt::ISODate)});
    return Csv::write(lines);
}

} // namespace

// Import and export as the menu commands run them, and the due count a tab change works out.
void spreadsheet(int runs)
{
    const int rows = 1000;
    const QString folder = makeProgramFolder(QStringLiteral("spreadsheet-%1").arg(rows), rows);
    AnsweringDialogs dialogs;
    MainWindow window(folder, &dialogs);
    window.show();
    // A search is on show, so the import runs it again, as it does for a user.
    window.searchBox()->setText(QStringLiteral("bank"));
    window.goButton()->click();
    window.SwitchTab(3);
    QApplication::processEvents();

    int round = 0;
    const double importMs = medianTimed(runs, [&] {
        dialogs.file = QDir(folder).filePath(QStringLiteral("in-%1.csv").arg(round));
        QFile file(dialogs.file);
        file.open(QIODevice::WriteOnly);
        file.write(sheet(rows, round++));
        file.close();
        return elapsedMs([&] {
            window.action(QStringLiteral("mnuImport"))->trigger();
            QApplication::processEvents();
        });
    });
    report(QStringLiteral("import of %1 rows (read, ask, write, refresh)").arg(rows), importMs,
           QStringLiteral("< 1000 ms"));
    dialogs.file = QDir(folder).filePath(QStringLiteral("out.csv"));
    const double exportMs = medianMs(runs, [&] {
        window.action(QStringLiteral("mnuExport"))->trigger();
        QApplication::processEvents();
    });
    report(QStringLiteral("export of %1 filled slots").arg(rows), exportMs);
    if (dialogs.messages != 2 * runs)
        qWarning("an import or export failed");

    const int big = 100000;
    const QString bigFolder = makeProgramFolder(QStringLiteral("due-%1").arg(big), big);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-due"));
        db.setDatabaseName(QDir(bigFolder).filePath(QStringLiteral("Varnel.mdb")));
        db.open();
        // Every slot filled, one in four with a reminder spread over 1998-2030: most of them past, so due.
        QSqlQuery(db).exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Folder', Reminder = CASE "
                                          "WHEN FileNumber % 4 = 0 "
                                          "THEN date('1998-01-01', '+' || (FileNumber % 12000) || ' days') END"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-due"));
    MainWindow bigWindow(bigFolder, &dialogs);
    const double dueMs = medianMs(runs, [&] { RemindersDue::count(bigWindow.store(), QDate::currentDate()); });
    const int due = RemindersDue::count(bigWindow.store(), QDate::currentDate());
    report(QStringLiteral("due count over %1 slots, %2 due").arg(big).arg(due), dueMs);
}

} // namespace Bench
