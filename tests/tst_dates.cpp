// Reminder dates in the user's own form, locale by locale: shown, typed, searched and printed.
#include "RecordingSurface.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "print/DatabaseReport.h"
#include "search/KeywordSearch.h"
#include "store/Dates.h"
#include "store/RecordStore.h"

#include <QtTest>

namespace {

struct InLocale {
    explicit InLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    explicit InLocale(const QString &name) : InLocale(QLocale(name)) {}
    ~InLocale() { QLocale::setDefault(saved); }
    const QLocale saved;
};

// Slots 1 and 4 have keywords, so they are in the report.
struct Reminders {
    Reminders()
    {
        const QVariant null;
        const QList<QVariantList> rows{{1, "a", null, "2003-04-05"},
                                       {2, null, null, "2003-05-04"},
                                       {3, null, null, "2002-12-31"},
                                       {4, "b", null, "0999-01-01"}};
        made = folder.makeDatabase(0) &&
               SideConnection(folder.databasePath()).execRows("INSERT INTO Varnel VALUES (?, ?, ?, ?)", rows);
    }
    QList<int> find(RecordStore &store, const QString &box)
    {
        QList<int> numbers;
        for (int row = 0; KeywordSearch::run(store, box) && row < store.search().recordCount(); ++row)
            numbers << store.search().index(row, 0).data().toInt();
        return numbers;
    }
    TestFolder folder;
    bool made = false;
};

} // namespace

class DatesTest : public QObject
{
    Q_OBJECT
private slots:
    void typed_data();
    void typed();
    void everyShownDateTypesBack();
    void storedForm();
    void searchedAndPrintedAsShown_data();
    void searchedAndPrintedAsShown();
    void typedIntoTheGrid();
};

void DatesTest::typed_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("expected"); // invalid: refused
    const auto row = [](const char *name, const char *locale, const QString &typed, const QDate &expected) {
        QTest::newRow(name) << locale << typed << expected;
    };
    const QDate refused;
    row("en_US month first", "en_US", "4/5/03", QDate(2003, 4, 5));
    row("en_GB day first", "en_GB", "4/5/03", QDate(2003, 5, 4));
    row("en_US day 31 first not read the other way", "en_US", "31/12/2002", refused);
    row("de_DE own separator", "de_DE", "31.12.02", QDate(2002, 12, 31));
    row("de_DE slash and dash", "de_DE", " 5/4-2003 ", QDate(2003, 4, 5));
    row("ja_JP year first, two digits", "ja_JP", "03/4/5", QDate(2003, 4, 5));
    row("ja_JP full-width", "ja_JP", "２００３／０４／０５", QDate(2003, 4, 5));
    row("bg_BG text after the date optional", "bg_BG", "5.04.2003", QDate(2003, 4, 5));
    row("ISO in a day-first locale", "en_GB", "2004-2-29", QDate(2004, 2, 29));
    row("yy 29 is 2029", "C", "1/1/29", QDate(2029, 1, 1));
    row("yy 30 is 1930", "C", "1/1/30", QDate(1930, 1, 1));
    row("year before 1000", "en_GB", "01/01/0999", refused);
    row("three-digit year", "C", "1/1/203", refused);
    row("not a leap year", "de_DE", "29.02.2003", refused);
    row("trailing text", "C", "1/1/2003' OR '1'='1", refused);
}

void DatesTest::typed()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QDate, expected);
    InLocale in(locale);
    QCOMPARE(Dates::parseEntry(typed).value_or(QDate()), expected);
}

void DatesTest::everyShownDateTypesBack()
{
    const QList<QDate> dates{{1000, 1, 1}, {2003, 4, 5}, {1999, 12, 31}, {2004, 2, 29}, {9999, 12, 31}};
    for (const QLocale &locale :
         QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        InLocale in(locale);
        for (const QDate &date : dates) {
            const QString shown = Dates::toDisplay(date);
            QVERIFY2(Dates::parseEntry(shown) == date, qPrintable(locale.name() + ' ' + shown));
            QVERIFY2(shown.contains(QString::number(date.year())), qPrintable(locale.name() + ' ' + shown));
        }
        // The locale's own form with the year widened, where its digits are 0-9 (others are shown with 0-9).
        if (locale.language() != QLocale::C && locale.zeroDigit() == QLatin1String("0")) {
            const QString own = locale.toString(QDate(2003, 4, 5), QLocale::ShortFormat);
            QString shown = Dates::toDisplay(QDate(2003, 4, 5));
            if (!own.contains(QLatin1String("2003")))
                shown.replace(QLatin1String("2003"), QLatin1String("03"));
            QCOMPARE(shown, own);
        }
    }
}

// The stored form is ISO 8601 and reads back as the same date, so an export can write a stored
// reminder as it is.
void DatesTest::storedForm()
{
    for (const QDate &date : {QDate(1, 1, 1), QDate(5, 3, 9), QDate(999, 12, 31), QDate(2004, 2, 29),
                              QDate(9999, 12, 31), QDate(10000, 1, 1), QDate(-5, 1, 1), QDate()}) {
        const QString stored = Dates::toStorage(date);
        QCOMPARE(stored, date.toString(Qt::ISODate));
        if (!stored.isEmpty())
            QCOMPARE(Dates::fromStorage(stored), date);
    }
}

void DatesTest::searchedAndPrintedAsShown_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("dayAndMonth"); // typed into the search box: finds 5 April alone
    QTest::addColumn<QString>("today");       // the report's date, 7 March 2024
    QTest::addColumn<QString>("shown");       // 5 April 2003
    const auto row = [](const char *locale, const char *dayAndMonth, const char *today, const char *shown) {
        QTest::newRow(locale) << QString(locale) << QString(dayAndMonth) << QString(today) << QString(shown);
    };
    row("C", "4/5", "3/7/2024", "4/5/2003");
    row("en_US", "4/5", "3/7/2024", "4/5/2003");
    row("en_GB", "05/04", "07/03/2024", "05/04/2003");
    row("de_DE", "05.04", "07.03.2024", "05.04.2003");
    row("ja_JP", "04/05", "2024/03/07", "2003/04/05");
}

void DatesTest::searchedAndPrintedAsShown()
{
    QFETCH(QString, locale);
    QFETCH(QString, dayAndMonth);
    QFETCH(QString, today);
    QFETCH(QString, shown);
    Reminders reminders;
    QVERIFY(reminders.made);
    RecordStore store(reminders.folder.path());
    QVERIFY(store.open());
    // The connection keeps what it read for the search, with the dates as shown before the locale changes.
    QCOMPARE(reminders.find(store, "2003"), (QList<int>{1, 2}));
    InLocale in(locale);
    QCOMPARE(reminders.find(store, dayAndMonth), QList<int>{1});
    QCOMPARE(reminders.find(store, "0999-01"), QList<int>{4});

    QVERIFY(store.file().refresh());
    RecordingSurface surface;
    QVERIFY(DatabaseReport::write(store.file(), surface, QDate(2024, 3, 7)));
    QCOMPARE(surface.printed().value(2), "\t" + today + "             PAPYRA! DATABASE REPORT\r\n");
    QCOMPARE(surface.printed().filter("REMINDER:"),
             (QStringList{"\t\tREMINDER:\t\t\t" + shown + "\r\n", "\t\tREMINDER:\t\t\t0999-01-01\r\n"}));
}

void DatesTest::typedIntoTheGrid()
{
    Reminders reminders;
    QVERIFY(reminders.made);
    InLocale in(QStringLiteral("en_GB"));
    RecordStore store(reminders.folder.path());
    DataSource &file = store.file();
    QVERIFY(store.open() && file.refresh());
    QSignalSpy refused(&file, &DataSource::entryRefused);
    // Stored text that is no date, or a date entry refuses, is shown as it is.
    for (const QString stored : {"0999-01-01", "2003/04/05", "2003-04-05 noon", "2003-02-30"})
        QCOMPARE(Dates::storageToDisplay(stored), stored);

    // Shown as stored, a date before 1000 committed unchanged is no edit; typed anew it is refused.
    QVERIFY(file.setData(file.index(3, 3), QStringLiteral("0999-01-01")));
    QVERIFY(!file.hasPendingEdit());
    QVERIFY(!file.setData(file.index(3, 3), QStringLiteral("01/01/0999")));
    QCOMPARE(refused.size(), 1);
    QVERIFY(refused.at(0).at(2).toString().endsWith("as day, month and year, for example 31/12/2002."));

    QVERIFY(file.setData(file.index(0, 3), QStringLiteral("6/4/03")));
    QVERIFY(file.submitPending());
    QCOMPARE(SideConnection(reminders.folder.databasePath()).value("SELECT Reminder FROM Varnel WHERE FileNumber = 1"),
             QVariant("2003-04-06"));
    QCOMPARE(file.index(0, 3).data().toString(), QStringLiteral("06/04/2003"));
}

QTEST_MAIN(DatesTest)
#include "tst_dates.moc"
