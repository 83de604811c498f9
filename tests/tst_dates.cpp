// Reminder dates in the user's own form, locale by locale: shown, typed, searched and printed.
#include "SideConnection.h"
#include "TestFolder.h"

#include "print/DatabaseReport.h"
#include "print/RecordingSurface.h"
#include "search/KeywordSearch.h"
#include "search/SearchFunctions.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dates.h"
#include "store/RecordSources.h"

#include <QtTest>

namespace {

// The default locale for one case, put back afterwards.
struct InLocale {
    explicit InLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    explicit InLocale(const QString &name) : InLocale(QLocale(name)) {}
    ~InLocale() { QLocale::setDefault(saved); }
    const QLocale saved;
};

// Slots 1-4 hold reminders only; the keywords make them part of the report.
bool makeReminders(TestFolder &folder)
{
    const QList<QVariantList> rows{{1, "a", QVariant(), "2003-04-05"},
                                   {2, QVariant(), QVariant(), "2003-05-04"},
                                   {3, QVariant(), QVariant(), "2002-12-31"},
                                   {4, "b", QVariant(), "0999-01-01"}};
    return folder.makeDatabase(0) &&
           SideConnection(folder.databasePath()).execRows("INSERT INTO Varnel VALUES (?, ?, ?, ?)", rows);
}

// A File data source on the slot table with the search functions, as the window has it.
struct Slots {
    explicit Slots(const QString &folder)
    {
        db.addInitializer([](QSqlDatabase &c, QString *error) { return SearchFunctions::install(c, error); });
        source.setColumns(RecordSources::slotColumns());
        source.setRecordSource(RecordSources::slotTable());
        source.repoint(folder);
    }
    QList<int> find(const QString &box)
    {
        source.setRecordSource(KeywordSearch::recordSource(KeywordSearch::searchTerm(box)));
        QList<int> numbers;
        for (int row = 0; source.refresh() && row < source.recordCount(); ++row)
            numbers << source.index(row, 0).data().toInt();
        return numbers;
    }
    Database db;
    DataSource source{QStringLiteral("File"), &db};
};

const QStringList fiveLocales{"C", "en_US", "en_GB", "de_DE", "ja_JP"};

} // namespace

class DatesTest : public QObject
{
    Q_OBJECT
private slots:
    void shown_data();
    void shown();
    void typed_data();
    void typed();
    void everyShownDateTypesBack();
    void searchedAsShown_data();
    void searchedAsShown();
    void searchFollowsALocaleChange();
    void reportLines_data();
    void reportLines();
    void typedIntoTheGrid();
};

void DatesTest::shown_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *name, const char *locale, const QString &stored, const QString &shown) {
        QTest::newRow(name) << locale << stored << shown;
    };
    const QStringList fifthOfApril{"4/5/2003", "4/5/2003", "05/04/2003", "05.04.2003", "2003/04/05"};
    for (int i = 0; i < fiveLocales.size(); ++i)
        row(qPrintable(fiveLocales[i]), qPrintable(fiveLocales[i]), "2003-04-05", fifthOfApril[i]);
    row("two-digit year of the locale widened", "de_DE", "1999-12-31", "31.12.1999");
    row("quoted text after the date", "bg_BG", "2003-04-05", "5.04.2003 г.");
    row("Latin digits with the locale's marks", "ar_EG", "2003-04-05", "5\u200F/4\u200F/2003");
    row("year before 1000 as stored", "de_DE", "0999-01-01", "0999-01-01");
    row("year 1000", "en_GB", "1000-01-01", "01/01/1000");
    row("other punctuation as stored", "de_DE", "2003/04/05", "2003/04/05");
    row("text after a date as stored", "de_DE", "2003-04-05 noon", "2003-04-05 noon");
    row("no such day as stored", "en_US", "2003-02-30", "2003-02-30");
}

void DatesTest::shown()
{
    QFETCH(QString, locale);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    InLocale in(locale);
    QCOMPARE(Dates::storageToDisplay(stored), shown);
}

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
    row("en_GB day 31 first", "en_GB", "31/12/2002", QDate(2002, 12, 31));
    row("en_US day 31 first is not read the other way", "en_US", "31/12/2002", refused);
    row("C month 13 is not read the other way", "C", "13/12/2002", refused);
    row("de_DE own separator", "de_DE", "31.12.02", QDate(2002, 12, 31));
    row("de_DE slash and dash", "de_DE", " 5/4-2003 ", QDate(2003, 4, 5));
    row("de_DE blank is no separator", "de_DE", "5 4 2003", refused);
    row("ja_JP year first, two digits", "ja_JP", "03/4/5", QDate(2003, 4, 5));
    row("ja_JP day first refused", "ja_JP", "5/4/2003", refused);
    row("ja_JP full-width", "ja_JP", "２００３／０４／０５", QDate(2003, 4, 5));
    row("hu_HU text after the date", "hu_HU", "2003. 04. 05.", QDate(2003, 4, 5));
    row("bg_BG text after the date optional", "bg_BG", "5.04.2003", QDate(2003, 4, 5));
    row("ISO in a day-first locale", "en_GB", "2004-2-29", QDate(2004, 2, 29));
    row("yy 29 is 2029", "C", "1/1/29", QDate(2029, 1, 1));
    row("yy 30 is 1930", "C", "1/1/30", QDate(1930, 1, 1));
    row("year before 1000", "en_GB", "01/01/0999", refused);
    row("ISO year before 1000", "en_GB", "0999-01-01", refused);
    row("three-digit year", "C", "1/1/203", refused);
    row("three-digit day", "de_DE", "005.04.2003", refused);
    row("not a leap year", "de_DE", "29.02.2003", refused);
    row("no year", "de_DE", "05.04.", refused);
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
        // The locale's own form, only the year widened (where its digits are 0-9).
        if (locale.language() != QLocale::C && locale.zeroDigit() == QLatin1String("0")) {
            const QString own = locale.toString(QDate(2003, 4, 5), QLocale::ShortFormat);
            QString shown = Dates::toDisplay(QDate(2003, 4, 5));
            if (!own.contains(QLatin1String("2003")))
                shown.replace(QLatin1String("2003"), QLatin1String("03"));
            QCOMPARE(shown, own);
        }
    }
}

void DatesTest::searchedAsShown_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QList<int>>("expected");
    const auto row = [](const QString &name, const QString &locale, const QString &box, const QList<int> &expected) {
        QTest::newRow(qPrintable(name)) << locale << box << expected;
    };
    for (const QString &locale : fiveLocales)
        row(locale + " year", locale, "2003", {1, 2});
    row("en_US month/day", "en_US", "4/5", {1});
    row("en_GB day/month", "en_GB", "05/04", {1});
    row("de_DE day.month", "de_DE", "05.04", {1});
    row("de_DE not the US form", "de_DE", "12/31", {});
    row("ja_JP whole date", "ja_JP", "2003/04/05", {1});
    row("year before 1000 as stored", "de_DE", "0999-01", {4});
}

void DatesTest::searchedAsShown()
{
    QFETCH(QString, locale);
    QFETCH(QString, box);
    QFETCH(QList<int>, expected);
    static TestFolder folder; // only read
    static const bool made = makeReminders(folder);
    QVERIFY(made);
    InLocale in(locale);
    QCOMPARE(Slots(folder.path()).find(box), expected);
}

void DatesTest::searchFollowsALocaleChange()
{
    // One connection keeps its search index between searches; the dates in it must follow the locale.
    TestFolder folder;
    QVERIFY(makeReminders(folder));
    Slots file(folder.path());
    {
        InLocale in(QStringLiteral("de_DE"));
        QCOMPARE(file.find("05.04.2003"), QList<int>{1});
    }
    InLocale in(QStringLiteral("en_US"));
    QCOMPARE(file.find("05.04.2003"), QList<int>{});
    QCOMPARE(file.find("4/5/2003"), QList<int>{1});
}

void DatesTest::reportLines_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("day");   // the report's date, 7 March 2024
    QTest::addColumn<QString>("shown"); // 5 April 2003
    const QStringList days{"3/7/2024", "3/7/2024", "07/03/2024", "07.03.2024", "2024/03/07"};
    const QStringList shown{"4/5/2003", "4/5/2003", "05/04/2003", "05.04.2003", "2003/04/05"};
    for (int i = 0; i < fiveLocales.size(); ++i)
        QTest::newRow(qPrintable(fiveLocales[i])) << fiveLocales[i] << days[i] << shown[i];
}

void DatesTest::reportLines()
{
    QFETCH(QString, locale);
    QFETCH(QString, day);
    QFETCH(QString, shown);
    TestFolder folder;
    QVERIFY(makeReminders(folder));
    InLocale in(locale);
    Slots file(folder.path());
    QVERIFY(file.source.refresh());
    RecordingSurface surface;
    QVERIFY(DatabaseReport::write(file.source, surface, QDate(2024, 3, 7)));
    const QStringList lines = surface.printed();
    QCOMPARE(lines.value(2), "\t" + day + "             PAPYRA! DATABASE REPORT\r\n");
    const QStringList reminders = lines.filter(QStringLiteral("REMINDER:"));
    QCOMPARE(reminders, (QStringList{"\t\tREMINDER:\t\t\t" + shown + "\r\n", "\t\tREMINDER:\t\t\t0999-01-01\r\n"}));
}

void DatesTest::typedIntoTheGrid()
{
    TestFolder folder;
    QVERIFY(makeReminders(folder));
    InLocale in(QStringLiteral("en_GB"));
    Slots file(folder.path());
    DataSource &source = file.source;
    QVERIFY(source.refresh());
    QSignalSpy refused(&source, &DataSource::entryRefused);
    const QModelIndex first = source.index(0, 3), fourth = source.index(3, 3);

    // A date before 1000 is shown as stored: committed unchanged it is no edit, typed anew it is refused.
    QVERIFY(source.setData(fourth, QStringLiteral("0999-01-01")));
    QVERIFY(!source.hasPendingEdit());
    QVERIFY(!source.setData(fourth, QStringLiteral("01/01/0999")));
    QCOMPARE(refused.size(), 1);
    QVERIFY(refused.at(0).at(2).toString().endsWith("as day, month and year, for example 31/12/2002."));

    QVERIFY(source.setData(first, QStringLiteral("6/4/03")));
    QVERIFY(source.submitPending());
    QCOMPARE(SideConnection(folder.databasePath()).value("SELECT Reminder FROM Varnel WHERE FileNumber = 1"),
             QVariant("2003-04-06"));
    QCOMPARE(first.data().toString(), QStringLiteral("06/04/2003"));
}

QTEST_MAIN(DatesTest)
#include "tst_dates.moc"
