#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "spreadsheet/Csv.h"
#include "spreadsheet/SlotImport.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Dates.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>

namespace {

using Rows = QVector<QStringList>;

const QByteArray bom("\xEF\xBB\xBF"); // UTF-8's byte order mark

// Every field of every slot with its storage type, so that null and empty text differ.
QString tableContents(const QString &databasePath)
{
    return SideConnection(databasePath)
        .value("SELECT group_concat(FileNumber || '|' || typeof(Keywords) || ':' || coalesce(Keywords, '') || '|' || "
               "typeof(Category) || ':' || coalesce(Category, '') || '|' || typeof(Reminder) || ':' || "
               "coalesce(Reminder, ''), char(10)) FROM (SELECT * FROM Varnel ORDER BY FileNumber)")
        .toString();
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Slots 1 to 20, slot 3 already holding keywords.
QHash<qint64, QString> someSlots()
{
    QHash<qint64, QString> existing;
    for (int i = 1; i <= 20; ++i)
        existing.insert(i, QString());
    existing[3] = QStringLiteral("Car insurance");
    return existing;
}

} // namespace

class SpreadsheetTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { m_locale = QLocale(); }
    void cleanup();
    void writesQuotedFields_data();
    void writesQuotedFields();
    void readsWhatSpreadsheetsWrite_data();
    void readsWhatSpreadsheetsWrite();
    void plansRefusals_data();
    void plansRefusals();
    void readsDatesTheLocaleShows_data();
    void readsDatesTheLocaleShows();
    void menuImportAnswersAndRefreshes_data();
    void menuImportAnswersAndRefreshes();
    void roundTripChangesNothing();
    void exportFailureIsReported();

private:
    MainWindow *openWindow();

    QLocale m_locale; // the default before any row changed it
    std::unique_ptr<WindowFixture> m_fixture;
    TestFolder *m_folder = nullptr;
    ScriptedDialogs *m_dialogs = nullptr;
    MainWindow *m_window = nullptr;
};

void SpreadsheetTest::cleanup()
{
    m_fixture.reset();
    QLocale::setDefault(m_locale);
}

MainWindow *SpreadsheetTest::openWindow()
{
    [&] { QVERIFY(m_fixture->open()); }();
    m_dialogs = &m_fixture->dialogs();
    m_window = &m_fixture->window();
    return m_window;
}

void SpreadsheetTest::writesQuotedFields_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("plain") << "Car insurance" << QByteArray("Car insurance");
    QTest::newRow("comma") << "Bank, old" << QByteArray("\"Bank, old\"");
    QTest::newRow("quote") << "the \"big\" one" << QByteArray("\"the \"\"big\"\" one\"");
    QTest::newRow("line break") << "first\nsecond" << QByteArray("\"first\nsecond\"");
    QTest::newRow("carriage return") << "a\rb" << QByteArray("\"a\rb\"");
    QTest::newRow("semicolon needs no quotes") << "a;b" << QByteArray("a;b");
}

void SpreadsheetTest::writesQuotedFields()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    const QByteArray file = Csv::write({{"File #", "Keywords"}, {"7", value}});
    QCOMPARE(file, bom + "File #,Keywords\r\n7," + written + "\r\n");
    // What was written reads back as it was.
    QCOMPARE(Csv::read(file).rows.value(1).value(1), value);
}

void SpreadsheetTest::readsWhatSpreadsheetsWrite_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QVector<int>>("lines");
    QTest::newRow("UTF-8 with BOM") << bom + "File #,Keywords\r\n1,Caf\xC3\xA9\r\n"
                                    << Rows{{"File #", "Keywords"}, {"1", "Café"}} << QVector<int>{1, 2};
    QTest::newRow("UTF-8 without BOM") << QByteArray("File,Keywords\n1,Caf\xC3\xA9")
                                       << Rows{{"File", "Keywords"}, {"1", "Café"}} << QVector<int>{1, 2};
    QTest::newRow("Windows-1252") << QByteArray("Number;Keywords\r\n1;M\xFCller \x80 \x93quoted\x94\r\n")
                                  << Rows{{"Number", "Keywords"}, {"1", "Müller € “quoted”"}} << QVector<int>{1, 2};
    QTest::newRow("tabs") << QByteArray("File #\tKeywords\n1\ta, b; c\n")
                          << Rows{{"File #", "Keywords"}, {"1", "a, b; c"}} << QVector<int>{1, 2};
    QTest::newRow("separator only from the header")
        << QByteArray("File #;Keywords\n1;a,b,c,d\n") << Rows{{"File #", "Keywords"}, {"1", "a,b,c,d"}}
        << QVector<int>{1, 2};
    QTest::newRow("quoted line break counts lines")
        << QByteArray("File #,Keywords\r\n1,\"a\r\nb\"\r\n2,c\r\n")
        << Rows{{"File #", "Keywords"}, {"1", "a\r\nb"}, {"2", "c"}} << QVector<int>{1, 2, 4};
}

void SpreadsheetTest::readsWhatSpreadsheetsWrite()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Rows, rows);
    QFETCH(QVector<int>, lines);
    const Csv::Table table = Csv::read(bytes);
    QCOMPARE(table.rows, rows);
    QCOMPARE(table.lines, lines);
}

void SpreadsheetTest::plansRefusals_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("fileError"); // the start of it
    QTest::addColumn<QList<qint64>>("filled");
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<int>("replacing");
    QTest::newRow("headers in any case and with blanks")
        << QByteArray(" FILENUMBER , keywords ,Other,Reminder\n1,a,x,2026-01-31\n3,Car insurance,,\n4,,,\n")
        << QString() << QList<qint64>{1, 3} << QStringList() << 0;
    QTest::newRow("replacing other keywords")
        << QByteArray("File #,Keywords\n3,Tax\n") << QString() << QList<qint64>{3} << QStringList() << 1;
    QTest::newRow("no number column") << QByteArray("Slot,Keywords\n1,a\n") << "The file has no column of file numbers"
                                      << QList<qint64>() << QStringList() << 0;
    QTest::newRow("no other known column") << QByteArray("File #,Notes\n1,a\n") << "The file has no column of keywords"
                                           << QList<qint64>() << QStringList() << 0;
    QTest::newRow("every refusal") << QByteArray("File #,Keywords,Reminder\n"
                                                 "1.5,a,\n"         // 2
                                                 "x,b,\n"           // 3
                                                 ",c,\n"            // 4
                                                 "999,d,\n"         // 5
                                                 "2,e,31/31/2026\n" // 6
                                                 "5,f,\n"           // 7
                                                 "5,g,\n"           // 8
                                                 "6,h,\n")          // 9
                                   << QString() << QList<qint64>{6}
                                   << QStringList{"2: \"1.5\" is not a whole number",
                                                  "3: \"x\" is not a whole number",
                                                  "4: no file number",
                                                  "5: there is no file slot 999",
                                                  "6: \"31/31/2026\" is not a date",
                                                  "7: file number 5 appears more than once (lines 7, 8)",
                                                  "8: file number 5 appears more than once (lines 7, 8)"}
                                   << 0;
}

void SpreadsheetTest::plansRefusals()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, fileError);
    QFETCH(QList<qint64>, filled);
    QFETCH(QStringList, refused);
    QFETCH(int, replacing);
    const SlotImport::Plan plan = SlotImport::plan(Csv::read(file), someSlots());
    if (fileError.isEmpty())
        QCOMPARE(plan.fileError, QString());
    else
        QVERIFY2(plan.fileError.startsWith(fileError) && plan.fileError.contains("\"File #\""),
                 qPrintable(plan.fileError));
    QList<qint64> numbers;
    for (const SlotImport::Row &row : plan.rows)
        numbers.append(row.number);
    QCOMPARE(numbers, filled);
    QStringList reasons;
    for (const SlotImport::Refusal &refusal : plan.refused)
        reasons.append(QStringLiteral("%1: %2").arg(refusal.line).arg(refusal.reason));
    QCOMPARE(reasons, refused);
    QCOMPARE(plan.replacingKeywords, replacing);
}

void SpreadsheetTest::readsDatesTheLocaleShows_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("German") << "de_DE";
    QTest::newRow("US English") << "en_US";
    QTest::newRow("C") << "C";
}

void SpreadsheetTest::readsDatesTheLocaleShows()
{
    QFETCH(QString, locale);
    QLocale::setDefault(QLocale(locale));
    const QDate date(2026, 12, 31);
    // As LibreOffice writes a sheet in a German locale: semicolons, quoted line breaks, dd.mm.yyyy.
    const QByteArray file = "File #;Keywords;Category;Reminder\n"
                            "1;\"Steuer 2026\nBelege; Quittungen\";Taxes;31.12.2026\n"
                            "2;M\xC3\xBCller;;2026-12-31\n"
                            "3;Shown;;" +
                            Dates::toDisplay(date).toUtf8() + "\n";
    const SlotImport::Plan plan = SlotImport::plan(Csv::read(file), someSlots());

    // dd.mm.yyyy is a date exactly where the locale reads it so in a grid cell; the form Papyra
    // shows is a date everywhere.
    const bool germanForm = Dates::parseEntry(QStringLiteral("31.12.2026")).has_value();
    QCOMPARE(plan.rows.size(), germanForm ? 3 : 2);
    QCOMPARE(plan.refused.size(), germanForm ? 0 : 1);
    for (const SlotImport::Row &row : plan.rows)
        QCOMPARE(row.reminder, std::optional<QString>(QStringLiteral("2026-12-31")));
    if (germanForm)
        QCOMPARE(plan.rows.first().keywords, std::optional<QString>(QStringLiteral("Steuer 2026\nBelege; Quittungen")));
    else
        QCOMPARE(plan.refused.first().reason, QStringLiteral("\"31.12.2026\" is not a date"));
}

void SpreadsheetTest::menuImportAnswersAndRefreshes_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("writeFails"); // at slot 7, the third row, after two rows are written
    QTest::newRow("No writes nothing") << false << false;
    QTest::newRow("Yes fills the slots") << true << false;
    QTest::newRow("a failing write rolls back everything") << true << true;
}

void SpreadsheetTest::menuImportAnswersAndRefreshes()
{
    QFETCH(bool, yes);
    QFETCH(bool, writeFails);
    m_fixture = std::make_unique<WindowFixture>();
    m_folder = &m_fixture->folder();
    SideConnection(m_folder->databasePath()).exec("UPDATE Varnel SET Keywords = 'Old' WHERE FileNumber = 2");
    if (writeFails)
        SideConnection(m_folder->databasePath())
            .exec("CREATE TRIGGER full BEFORE UPDATE ON Varnel WHEN NEW.FileNumber = 7 "
                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const QString before = tableContents(m_folder->databasePath());
    QByteArray file = "File #,Keywords,Reminder\n1,Zebra crossing,\n2,Zebra skin,\n7,,2026-05-01\nnone,x,\n";
    for (int i = 0; i < 12; ++i)
        file += "5000,too far,\n";
    QVERIFY(writeFile(m_folder->filePath("in.csv"), file));

    MainWindow *w = openWindow();
    w->searchBox()->setText("zebra");
    QTest::keyClick(w->searchBox(), Qt::Key_Return);
    QCOMPARE(w->store().search().recordCount(), 0);
    w->SwitchTab(3);
    m_dialogs->fileAnswers.enqueue(m_folder->filePath("in.csv"));
    m_dialogs->yesNoAnswers.enqueue(yes);
    w->action("mnuImport")->trigger();

    QCOMPARE(m_dialogs->proposedFileNames, QStringList{"Papyra.csv"});
    const QString question = m_dialogs->shown.value(1).text;
    QVERIFY2(question.startsWith("3 file slots will be filled.\n1 of them already holds keywords that would be "
                                 "replaced.\n\n13 rows are refused and will not be imported:\n"
                                 "Line 5: \"none\" is not a whole number.\nLine 6: there is no file slot 5000."),
             qPrintable(question));
    QCOMPARE(question.count("Line "), SlotImport::listedRefusals);
    QVERIFY2(question.contains("... and 3 more."), qPrintable(question));

    const QStringList messages = m_dialogs->messages();
    if (!yes || writeFails) {
        QCOMPARE(messages.size(), writeFails ? 1 : 0);
        if (writeFails)
            QVERIFY2(messages.first().contains("Line 4: disk full"), qPrintable(messages.first()));
        QCOMPARE(tableContents(m_folder->databasePath()), before);
        // The connection is not left inside a transaction: a later edit is written for good.
        QVERIFY(w->store().file().setData(w->store().file().index(0, 1), "Later"));
        QVERIFY(w->store().file().submitPending());
        QCOMPARE(SideConnection(m_folder->databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 1"),
                 QVariant("Later"));
        return;
    }
    QCOMPARE(messages, QStringList{"Import Complete!\n\n3 file slots filled."});
    // The grid on screen and the last search show the imported slots without another step.
    QCOMPARE(w->store().file().data(w->store().file().index(0, 1)).toString(), QStringLiteral("Zebra crossing"));
    QCOMPARE(w->store().search().recordCount(), 2);
    QCOMPARE(SideConnection(m_folder->databasePath()).value("SELECT Reminder FROM Varnel WHERE FileNumber = 7"),
             QVariant("2026-05-01"));
}

void SpreadsheetTest::roundTripChangesNothing()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_folder = &m_fixture->folder();
    SideConnection(m_folder->databasePath())
        .execRows("UPDATE Varnel SET Keywords = ?, Category = ?, Reminder = ? WHERE FileNumber = ?",
                  {{"Bank, old \"Sparkasse\"", "Bank", "2003-05-31", 1},
                   {"two\r\nlines and\nmore", QVariant(), QVariant(), 2},
                   {QVariant(), "Taxes", QVariant(), 3},
                   {QVariant(), QVariant(), "2099-12-31", 4},
                   {"  padded  ", "Ümlaut; é", QVariant(), 5},
                   {"", "", QVariant(), 6},
                   {"=1+2", QVariant(), "not a date", 7}});
    WindowFixture copyFixture;
    TestFolder &copy = copyFixture.folder();
    QVERIFY(QFile::remove(copy.databasePath()));
    QVERIFY(QFile::copy(m_folder->databasePath(), copy.databasePath()));
    const QString before = tableContents(copy.databasePath());

    MainWindow *w = openWindow();
    const QString exported = copy.filePath("out.csv");
    m_dialogs->fileAnswers.enqueue(exported);
    w->action("mnuExport")->trigger();
    QCOMPARE(m_dialogs->proposedFileNames, QStringList{"Papyra.csv"});
    QCOMPARE(m_dialogs->messages(), QStringList{"Export Complete!\n\n6 file slots written."});
    const QByteArray bytes = readFile(exported);
    QVERIFY(bytes.startsWith(bom + "File #,Keywords,Category,Reminder\r\n"
                                   "1,\"Bank, old \"\"Sparkasse\"\"\",Bank,2003-05-31\r\n"));
    m_fixture->closeWindow();

    // Into the copy: every slot as it was, also the one whose reminder is refused as no date.
    QVERIFY(copyFixture.open());
    m_dialogs = &copyFixture.dialogs();
    m_window = &copyFixture.window();
    m_dialogs->fileAnswers.enqueue(exported);
    m_dialogs->yesNoAnswers.enqueue(true);
    m_window->action("mnuImport")->trigger();
    const QString question = m_dialogs->shown.value(1).text;
    QVERIFY2(question.startsWith("5 file slots will be filled.\nNone of them holds other keywords that would be "
                                 "replaced.\n\n1 row is refused"),
             qPrintable(question));
    QCOMPARE(m_dialogs->messages(), QStringList{"Import Complete!\n\n5 file slots filled."});
    copyFixture.closeWindow();
    QCOMPARE(tableContents(copy.databasePath()), before);
}

void SpreadsheetTest::exportFailureIsReported()
{
    m_fixture = std::make_unique<WindowFixture>();
    m_folder = &m_fixture->folder();
    QVERIFY(writeFile(m_folder->filePath("plain"), "x"));
    MainWindow *w = openWindow();
    m_dialogs->fileAnswers.enqueue(m_folder->filePath("plain/Papyra.csv"));
    w->action("mnuExport")->trigger();
    const QStringList messages = m_dialogs->messages();
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().startsWith("Papyra could not export to\n") && messages.first().count('\n') >= 3 &&
                 !messages.first().endsWith("\n\n"),
             qPrintable(messages.first()));
    QCOMPARE(readFile(m_folder->filePath("plain")), QByteArray("x"));
}

QTEST_MAIN(SpreadsheetTest)
#include "tst_spreadsheet.moc"
