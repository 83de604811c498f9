#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "spreadsheet/Csv.h"
#include "spreadsheet/SlotImport.h"
#include "store/DataSource.h"

#include <QAction>
#include <QLineEdit>
#include <QtTest>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

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
    void writesQuotedFieldsThatReadBack();
    void readsWhatSpreadsheetsWrite_data();
    void readsWhatSpreadsheetsWrite();
    void refusesWhatDoesNotParse_data();
    void refusesWhatDoesNotParse();
    void formulasTravelAsText_data();
    void formulasTravelAsText();
    void plansRefusals_data();
    void plansRefusals();
    void menuImportAnswersAndRefreshes_data();
    void menuImportAnswersAndRefreshes();
    void roundTripChangesNothing_data();
    void roundTripChangesNothing();
    void unreadableFormsAreNamed_data();
    void unreadableFormsAreNamed();
    void exportFailureIsReported();

private:
    MainWindow *openWindow();

    QLocale m_locale; // the default before any row changed it
    std::unique_ptr<WindowFixture> m_fixture;
    ScriptedDialogs *m_dialogs = nullptr;
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
    return &m_fixture->window();
}

void SpreadsheetTest::writesQuotedFieldsThatReadBack()
{
    const Rows rows{{"File #", "Keywords"}, {"1", "Car insurance"}, {"2", "Bank, old"}, {"3", "the \"big\" one"},
                    {"4", "first\nsecond"}, {"5", "a\rb"},          {"6", "a;b"}};
    const QByteArray file = Csv::write(rows);
    QCOMPARE(file, bom + "File #,Keywords\r\n1,Car insurance\r\n2,\"Bank, old\"\r\n3,\"the \"\"big\"\" one\"\r\n"
                         "4,\"first\nsecond\"\r\n5,\"a\rb\"\r\n6,a;b\r\n");
    QCOMPARE(Csv::read(file).rows, rows);
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
    QTest::newRow("tab separator, taken from the header only")
        << QByteArray("File #\tKeywords\n1\ta,b,c; d\n") << Rows{{"File #", "Keywords"}, {"1", "a,b,c; d"}}
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

void SpreadsheetTest::refusesWhatDoesNotParse_data()
{
    // A file (or, starting with "/", a path to read) and a piece of the refusal.
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("unclosed quote") << QByteArray("File #,Keywords\n1,\"Bank\n2,Car\n3,Home\n")
                                    << "Line 2: a quoted field is not closed";
    QTest::newRow("one bad byte in UTF-8") << QByteArray("File #,Keywords\n1,Stra\xC3\x9F"
                                                         "e\n2,Caf\xE9\n")
                                           << "Line 3 is not valid UTF-8";
    QTest::newRow("byte order mark and a bad byte") << bom + "File #,Keywords\n1,M\xFCller\n"
                                                    << "Line 2 is not";
#ifndef Q_OS_WIN
    QTest::newRow("named pipe") << QByteArray("/pipe") << "not a regular file";
    QTest::newRow("endless device") << QByteArray("/dev/zero") << "not a regular file";
#endif
    QTest::newRow("folder") << QByteArray("/") << "not a regular file";
    QTest::newRow("2 GB") << QByteArray("/huge") << "The file holds 2048 MB";
}

void SpreadsheetTest::refusesWhatDoesNotParse()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, refusal);
    QString error;
    if (file.startsWith('/')) {
        QTemporaryDir dir;
#ifndef Q_OS_WIN
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
#endif
        QFile huge(dir.filePath("huge"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(2) << 30)); // sparse: nothing is written
        huge.close();
        const QString path = file.startsWith("/dev") ? QString(file) : dir.path() + QString(file);
        QByteArray bytes;
        QVERIFY(!SlotImport::readFile(path, &bytes, &error));
        QVERIFY(bytes.isEmpty());
    } else {
        error = SlotImport::plan(Csv::read(file), someSlots()).fileError;
    }
    QVERIFY2(error.contains(refusal), qPrintable(error));
}

void SpreadsheetTest::formulasTravelAsText_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("written");
    QTest::newRow("formula") << "=HYPERLINK(\"http://x\",\"y\")"
                             << "'=HYPERLINK(\"http://x\",\"y\")";
    QTest::newRow("plus, minus, at") << "+1-2@3"
                                     << "'+1-2@3";
    QTest::newRow("minus") << "-5"
                           << "'-5";
    QTest::newRow("at") << "@SUM(A1)"
                        << "'@SUM(A1)";
    QTest::newRow("already an apostrophe before a formula") << "'=x"
                                                            << "''=x";
    QTest::newRow("apostrophe before text") << "'quoted'"
                                            << "'quoted'";
    QTest::newRow("sign later in the cell") << "Car = Auto"
                                            << "Car = Auto";
}

void SpreadsheetTest::formulasTravelAsText()
{
    QFETCH(QString, cell);
    QFETCH(QString, written);
    QCOMPARE(Csv::asText(cell), written);
    QCOMPARE(Csv::fromText(written), cell);
    // Through a whole file and the import's reading of it, the cell comes back as it was.
    const Csv::Table table = Csv::read(Csv::write({{"File #", "Keywords"}, {"1", cell}}));
    QCOMPARE(table.rows.value(1).value(1), written);
    const SlotImport::Plan plan = SlotImport::plan(table, someSlots());
    QCOMPARE(plan.rows.value(0).keywords.value_or(QString()), cell);
}

void SpreadsheetTest::plansRefusals_data()
{
    QTest::addColumn<QString>("locale"); // empty: the default
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("fileError");  // the start of it
    QTest::addColumn<QStringList>("filled"); // number:reminder
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("headers in any case and with blanks")
        << QString()
        << QByteArray(" FILENUMBER , keywords ,Other,Reminder\n1,a,x,2026-01-31\n3,Car insurance,,\n4,,,\n")
        << QString() << QStringList{"1:2026-01-31", "3:"} << QStringList();
    QTest::newRow("no number column") << QString() << QByteArray("Slot,Keywords\n1,a\n")
                                      << "The file has no column of file numbers" << QStringList() << QStringList();
    QTest::newRow("no other known column") << QString() << QByteArray("File #,Notes\n1,a\n")
                                           << "The file has no column of keywords" << QStringList() << QStringList();
    QTest::newRow("every refusal") << QString()
                                   << QByteArray("File #,Keywords,Reminder\n"
                                                 "1.5,a,\n"         // 2
                                                 "x,b,\n"           // 3
                                                 ",c,\n"            // 4
                                                 "999,d,\n"         // 5
                                                 "2,e,31/31/2026\n" // 6
                                                 "5,f,\n"           // 7
                                                 "5,g,\n"           // 8
                                                 "6,h,\n")          // 9
                                   << QString() << QStringList{"6:"}
                                   << QStringList{"2: \"1.5\" is not a whole number",
                                                  "3: \"x\" is not a whole number",
                                                  "4: no file number",
                                                  "5: there is no file slot 999",
                                                  "6: \"31/31/2026\" is not a date",
                                                  "7: file number 5 appears more than once (lines 7, 8)",
                                                  "8: file number 5 appears more than once (lines 7, 8)"};
    // Dates as the user's locale shows them, as LibreOffice writes them there; ISO dates everywhere.
    QTest::newRow("German dates in a German locale")
        << "de_DE" << QByteArray("File #;Keywords;Reminder\n1;a;31.12.2026\n2;b;2026-12-31\n") << QString()
        << QStringList{"1:2026-12-31", "2:2026-12-31"} << QStringList();
    QTest::newRow("German dates in a US locale")
        << "en_US" << QByteArray("File #,Keywords,Reminder\n1,a,12/31/2026\n2,b,31.12.2026\n") << QString()
        << QStringList{"1:2026-12-31"} << QStringList{"3: \"31.12.2026\" is not a date"};
}

void SpreadsheetTest::plansRefusals()
{
    QFETCH(QString, locale);
    QFETCH(QByteArray, file);
    QFETCH(QString, fileError);
    QFETCH(QStringList, filled);
    QFETCH(QStringList, refused);
    if (!locale.isEmpty())
        QLocale::setDefault(QLocale(locale));
    const SlotImport::Plan plan = SlotImport::plan(Csv::read(file), someSlots());
    if (fileError.isEmpty())
        QCOMPARE(plan.fileError, QString());
    else
        QVERIFY2(plan.fileError.startsWith(fileError) && plan.fileError.contains("\"File #\""),
                 qPrintable(plan.fileError));
    QStringList rows;
    for (const SlotImport::Row &row : plan.rows)
        rows.append(QStringLiteral("%1:%2").arg(row.number).arg(row.reminder.value_or(QString())));
    QCOMPARE(rows, filled);
    QStringList reasons;
    for (const SlotImport::Refusal &refusal : plan.refused)
        reasons.append(QStringLiteral("%1: %2").arg(refusal.line).arg(refusal.reason));
    QCOMPARE(reasons, refused);
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
    TestFolder &folder = m_fixture->folder();
    SideConnection(folder.databasePath())
        .exec("UPDATE Varnel SET Keywords = 'Old', Category = 'Pets', Reminder = '2026-01-01' WHERE FileNumber = 2");
    if (writeFails)
        SideConnection(folder.databasePath())
            .exec("CREATE TRIGGER full BEFORE UPDATE ON Varnel WHEN NEW.FileNumber = 7 "
                  "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    const QString before = tableContents(folder.databasePath());
    QByteArray file = "File #,Keywords,Reminder\n1,Zebra crossing,\n2,Zebra skin,\n7,,2026-05-01\nnone,x,\n";
    for (int i = 0; i < 12; ++i)
        file += "5000,too far,\n";
    QVERIFY(writeFile(folder.filePath("in.csv"), file));

    MainWindow *w = openWindow();
    w->searchBox()->setText("zebra");
    QTest::keyClick(w->searchBox(), Qt::Key_Return);
    QCOMPARE(w->store().search().recordCount(), 0);
    w->SwitchTab(3);
    m_dialogs->fileAnswers.enqueue(folder.filePath("in.csv"));
    m_dialogs->yesNoAnswers.enqueue(yes);
    w->action("mnuImport")->trigger();

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
        QCOMPARE(tableContents(folder.databasePath()), before);
        // The connection is not left inside a transaction: a later edit is written for good.
        QVERIFY(w->store().file().setData(w->store().file().index(0, 1), "Later"));
        QVERIFY(w->store().file().submitPending());
        QCOMPARE(SideConnection(folder.databasePath()).value("SELECT Keywords FROM Varnel WHERE FileNumber = 1"),
                 QVariant("Later"));
        return;
    }
    QCOMPARE(messages, QStringList{"Import Complete!\n\n3 file slots filled."});
    // The grid on screen and the last search show the imported slots without another step.
    QCOMPARE(w->store().file().data(w->store().file().index(0, 1)).toString(), QStringLiteral("Zebra crossing"));
    QCOMPARE(w->store().search().recordCount(), 2);
    QCOMPARE(SideConnection(folder.databasePath()).value("SELECT Reminder FROM Varnel WHERE FileNumber = 7"),
             QVariant("2026-05-01"));
    // An empty cell, or a column the file lacks, leaves what the slot holds.
    QCOMPARE(SideConnection(folder.databasePath())
                 .value("SELECT Category || ' ' || Reminder FROM Varnel WHERE FileNumber = 2"),
             QVariant("Pets 2026-01-01"));
}

void SpreadsheetTest::roundTripChangesNothing_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("start"); // how the file begins
    const QByteArray csvStart =
        "File #,Keywords,Category,Reminder\r\n1,\"Bank, old \"\"Sparkasse\"\"\",Bank,2003-05-31\r\n";
    QTest::newRow("CSV, comma") << "en_US"
                                << "out.csv" << bom + csvStart;
    QTest::newRow("CSV, semicolon where the decimal separator is a comma")
        << "de_DE"
        << "out.csv"
        << bom + "File #;Keywords;Category;Reminder\r\n1;\"Bank, old \"\"Sparkasse\"\"\";Bank;2003-05-31\r\n";
    QTest::newRow("OpenDocument") << "de_DE"
                                  << "out.ods" << QByteArray("PK\x03\x04");
    QTest::newRow("Excel workbook") << "en_GB"
                                    << "out.XLSX" << QByteArray("PK\x03\x04");
}

void SpreadsheetTest::roundTripChangesNothing()
{
    QFETCH(QString, locale);
    QFETCH(QString, file);
    QFETCH(QByteArray, start);
    QLocale::setDefault(QLocale(locale));
    m_fixture = std::make_unique<WindowFixture>();
    TestFolder &folder = m_fixture->folder();
    SideConnection(folder.databasePath())
        .execRows("UPDATE Varnel SET Keywords = ?, Category = ?, Reminder = ? WHERE FileNumber = ?",
                  {{"Bank, old \"Sparkasse\"", "Bank", "2003-05-31", 1},
                   {"two\r\nlines and\nmore", QVariant(), QVariant(), 2},
                   {QVariant(), "Taxes", QVariant(), 3},
                   {QVariant(), QVariant(), "2099-12-31", 4},
                   {"  padded  ", "Ümlaut; é", QVariant(), 5},
                   {"", "", QVariant(), 6},
                   {"=1+2", QVariant(), "not a date", 7}});
    const QString before = tableContents(folder.databasePath());

    MainWindow *w = openWindow();
    const QString exported = folder.filePath(file);
    m_dialogs->fileAnswers.enqueue(exported);
    w->action("mnuExport")->trigger();
    QCOMPARE(m_dialogs->messages(), QStringList{"Export Complete!\n\n6 file slots written."});
    QVERIFY2(readFile(exported).startsWith(start), readFile(exported).left(80).constData());

    // Emptied slots 1 to 5 come back as they were; slot 7, whose reminder is refused as no date,
    // stays as it is.
    QVERIFY(m_fixture->sql("UPDATE Varnel SET Keywords = NULL, Category = NULL, Reminder = NULL WHERE FileNumber <= 5")
                .isActive());
    m_dialogs->fileAnswers.enqueue(exported);
    m_dialogs->yesNoAnswers.enqueue(true);
    w->action("mnuImport")->trigger();
    const QString question = m_dialogs->shown.value(m_dialogs->shown.size() - 2).text;
    QVERIFY2(question.startsWith("5 file slots will be filled.\nNone of them holds other keywords that would be "
                                 "replaced.\n\n1 row is refused"),
             qPrintable(question));
    QCOMPARE(m_dialogs->messages().value(1), QStringLiteral("Import Complete!\n\n5 file slots filled."));
    m_fixture->closeWindow();
    QCOMPARE(tableContents(folder.databasePath()), before);
}

void SpreadsheetTest::unreadableFormsAreNamed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // the start of what follows the file's name
    const QByteArray ole = QByteArray::fromHex("d0cf11e0a1b11ae1") + QByteArray(504, '\0');
    QByteArray encrypted = ole;
    for (const char c : QByteArray("EncryptedPackage"))
        encrypted.append(c).append('\0');
    QTest::newRow("Excel 97-2003") << ole << "The file is an Excel 97-2003 workbook (.xls), a form Papyra cannot read.";
    QTest::newRow("password") << encrypted << "The workbook is protected by a password";
    QTest::newRow("damaged zip") << QByteArray("PK\x03\x04 not really") << "The file is a damaged zip file.";
}

void SpreadsheetTest::unreadableFormsAreNamed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    m_fixture = std::make_unique<WindowFixture>();
    const QString path = m_fixture->folder().filePath("book.xlsx");
    QVERIFY(writeFile(path, bytes));
    MainWindow *w = openWindow();
    m_dialogs->fileAnswers.enqueue(path);
    w->action("mnuImport")->trigger();
    const QString shown = m_dialogs->messages().value(0);
    QVERIFY2(shown.section("\n\n", 1).startsWith(message), qPrintable(shown));
}

void SpreadsheetTest::exportFailureIsReported()
{
    m_fixture = std::make_unique<WindowFixture>();
    TestFolder &folder = m_fixture->folder();
    QVERIFY(writeFile(folder.filePath("plain"), "x"));
    MainWindow *w = openWindow();
    m_dialogs->fileAnswers.enqueue(folder.filePath("plain/Papyra.csv"));
    w->action("mnuExport")->trigger();
    const QStringList messages = m_dialogs->messages();
    QCOMPARE(messages.size(), 1);
    // The message names the file and a cause after it.
    QVERIFY2(messages.first().startsWith("Papyra could not export to\n") && messages.first().count('\n') >= 3 &&
                 !messages.first().endsWith("\n\n"),
             qPrintable(messages.first()));
    QCOMPARE(readFile(folder.filePath("plain")), QByteArray("x"));
}

QTEST_MAIN(SpreadsheetTest)
#include "tst_spreadsheet.moc"
