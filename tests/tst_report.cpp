#include "PdfText.h"
#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "RecordingSurface.h"
#include "app/MainWindow.h"
#include "print/DatabaseReport.h"
#include "store/DataSource.h"
#include "store/RecordSources.h"
#include "store/RecordStore.h"

#include <QtTest>

namespace {

const QDate reportDay(2024, 3, 7);
const QString headingLine = QStringLiteral("\t3/7/2024             PAPYRA! DATABASE REPORT\r\n");
const QString rule87 = QStringLiteral("\t") + QString(87, QLatin1Char('-'));
const QString rule137 = QStringLiteral("\t") + QString(137, QLatin1Char('-'));

// Replaces the folder's database with one holding these slots: number, keywords, category, reminder.
bool makeSlots(TestFolder &folder, const QVector<QVariantList> &rows)
{
    return folder.makeDatabase(0) &&
           SideConnection(folder.databasePath()).execRows("INSERT INTO Varnel VALUES (?, ?, ?, ?)", rows);
}

QStringList block(const QString &number, const QStringList &pieces, const QString &category = QString(),
                  const QString &reminder = QString())
{
    QStringList lines{QStringLiteral("\t\tFILE #\t\t\t\t%1\r\n").arg(number),
                      QStringLiteral("\t\tKEYWORDS:\t\t\t%1\r\n").arg(pieces.value(0))};
    for (int i = 1; i < pieces.size(); ++i)
        lines << QStringLiteral("\t\t         \t\t\t\t%1\r\n").arg(pieces.at(i));
    return lines << QStringLiteral("\t\tCATEGORY:\t\t\t%1\r\n").arg(category)
                 << QStringLiteral("\t\tREMINDER:\t\t\t%1\r\n").arg(reminder) << rule137;
}

// a, b, c ... so that each piece of a cut text is recognisable.
QString letters(int n, int from = 0)
{
    QString s;
    for (int i = from; i < from + n; ++i)
        s.append(QChar(u'a' + i % 26));
    return s;
}

// Presses Ctrl+P in a window on the folder, with no printer installed: the user answers whether to
// save a PDF instead, and where. False when a check here failed.
bool printFromMenu(WindowFixture &fixture, bool wantPdf, const QString &pdf)
{
    [&] {
        ScriptedDialogs &dialogs = fixture.dialogs();
        dialogs.yesNoAnswers.enqueue(wantPdf);
        dialogs.fileAnswers.enqueue(pdf);
        QVERIFY(fixture.open());
        QTest::keyClick(&fixture.window(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(dialogs.shown.value(0).text.startsWith(QLatin1String("No printer is installed.")));
        for (const ScriptedDialogs::Shown &shown : dialogs.shown)
            QVERIFY2(!shown.busyPointer, qPrintable(shown.text));
        QVERIFY(!QGuiApplication::overrideCursor());
    }();
    return !QTest::currentTestFailed();
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT
private slots:
    void reportLines_data();
    void reportLines();
    void printedToPdf();
    void nothingPrinted_data();
    void nothingPrinted();
};

void ReportTest::reportLines_data()
{
    QTest::addColumn<QVector<QVariantList>>("slotRows");
    QTest::addColumn<QStringList>("expected"); // the lines after the heading
    const auto row = [](const char *name, const QVector<QVariantList> &slotRows, const QStringList &expected) {
        QTest::newRow(name) << slotRows << expected;
    };
    const QVariant null;
    const QStringList five{letters(50), letters(50, 50), letters(50, 100), letters(50, 150), letters(50, 200)};
    row("all fields", {{7, "Car insurance", "Auto", "2024-04-15"}}, block("7", {"Car insurance"}, "Auto", "4/15/2024"));
    row("no slot at all", {}, {});
    row("null or blank keywords", {{7, null, "Auto", "2024-04-15"}, {8, "   \t ", "Bank", null}}, {});
    row("blanks kept", {{7, "   deed  ", "", null}}, block("7", {"   deed  "}));
    row("keywords of 50 characters", {{7, letters(50), null, null}}, block("7", {letters(50)}));
    row("keywords of 51 characters", {{7, letters(51), null, null}}, block("7", {letters(50), "y"}));
    row("keywords of 250 characters", {{7, letters(250), null, null}}, block("7", five));
    row("keywords of 400 characters: the rest on one line", {{7, letters(400), null, null}},
        block("7", five + QStringList{letters(150, 250)}));

    // More slots than the data source reads in one block, stored out of order.
    QVector<QVariantList> backwards;
    QStringList inOrder;
    for (int n = 600; n >= 1; --n)
        backwards.append({n, n % 3 ? null : QVariant(QStringLiteral("k%1").arg(n)), null, null});
    for (int n = 3; n <= 600; n += 3)
        inOrder << block(QString::number(n), {QStringLiteral("k%1").arg(n)});
    row("600 slots stored backwards", backwards, inOrder);
}

void ReportTest::reportLines()
{
    QFETCH(QVector<QVariantList>, slotRows);
    QFETCH(QStringList, expected);
    TestFolder folder;
    QVERIFY(makeSlots(folder, slotRows));
    RecordingSurface surface;
    RecordStore store(folder.path()); // a File data source like the window's
    QVERIFY(store.open() && store.file().refresh() && DatabaseReport::write(store.file(), surface, reportDay));
    QCOMPARE(surface.printed(), (QStringList{"\r\n", "\r\n", headingLine, rule87} + expected));
}

void ReportTest::printedToPdf()
{
    QVERIFY2(havePoppler(), "poppler-utils (pdftotext) is needed to read the pages");
    QVector<QVariantList> rows;
    for (int n = 1; n <= 12; ++n)
        rows.append({n, n == 5 ? letters(120) : QStringLiteral("Folder %1").arg(n), QStringLiteral("Cat%1").arg(n),
                     QStringLiteral("2024-01-%1").arg(n, 2, 10, QLatin1Char('0'))});
    WindowFixture fixture;
    TestFolder &folder = fixture.folder();
    QVERIFY(makeSlots(folder, rows));
    const QString pdf = folder.filePath(QStringLiteral("old.pdf")); // an older, longer file is replaced
    QVERIFY(writeFile(pdf, QByteArray(1 << 20, 'x')));
    ScriptedDialogs &dialogs = fixture.dialogs();
    QVERIFY(printFromMenu(fixture, true, pdf));
    QCOMPARE(dialogs.messages(), QStringList());

    const QVector<PdfPage> pages = pdfPages(pdf);
    QVERIFY2(pages.size() > 1, "the report should need more than one page");
    QVERIFY2(pages.first().width > pages.first().height, "the report is printed across the page");
    const qreal margin = 36;
    QHash<QString, PdfWord> first; // where each word first appears
    QStringList sequence;
    for (const PdfPage &page : pages) {
        for (const PdfWord &w : page.words) {
            // Every word within the margins: a line that would pass the bottom went to the next page.
            QVERIFY2(w.top >= margin - 1 && w.bottom <= page.height - margin + 1 && w.right <= page.width - margin + 1,
                     qPrintable(w.text));
            if (!first.contains(w.text))
                first.insert(w.text, w);
            sequence << w.text;
        }
    }
    // Columns from 1, in character widths measured on a label of known length.
    const PdfWord label = first.value(QStringLiteral("KEYWORDS:"));
    const qreal width = (label.right - label.left) / label.text.size();
    auto column = [&](const QString &text) { return qRound((first.value(text).left - margin) / width) + 1; };
    for (const char *text : {"FILE", "KEYWORDS:", "CATEGORY:", "REMINDER:"})
        QCOMPARE(column(text), 17);
    for (const QString &text : QStringList{"Folder", "Cat1", "1/1/2024", letters(50)})
        QCOMPARE(column(text), 49);
    QCOMPARE(column(letters(50, 50)), 57); // continuation lines

    // Nothing is lost or repeated at the page breaks, and the heading comes once.
    QStringList expected{pages.first().words.value(0).text, "PAPYRA!", "DATABASE", "REPORT"};
    for (int n = 1; n <= 12; ++n) {
        expected << QStringList{"FILE", "#", QString::number(n), "KEYWORDS:"};
        expected << (n == 5 ? QStringList{letters(50), letters(50, 50), letters(20, 100)}
                            : QStringList{"Folder", QString::number(n)});
        expected << "CATEGORY:" << QStringLiteral("Cat%1").arg(n) << "REMINDER:" << QStringLiteral("1/%1/2024").arg(n);
    }
    QCOMPARE(sequence, expected);
}

void ReportTest::nothingPrinted_data()
{
    QTest::addColumn<bool>("wantPdf");
    QTest::addColumn<QString>("pdfName"); // in the test folder; empty: the save dialog is cancelled
    QTest::newRow("PDF declined") << false << QString();
    QTest::newRow("save dialog cancelled") << true << QString();
    QTest::newRow("folder is a regular file") << true << QStringLiteral("old.pdf/report.pdf");
}

void ReportTest::nothingPrinted()
{
    QFETCH(bool, wantPdf);
    QFETCH(QString, pdfName);
    WindowFixture fixture;
    TestFolder &folder = fixture.folder();
    QVERIFY(writeFile(folder.filePath(QStringLiteral("old.pdf")), "old"));
    auto entries = [&] { return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden); };
    const QStringList before = entries();
    ScriptedDialogs &dialogs = fixture.dialogs();
    const QString pdf = pdfName.isEmpty() ? QString() : folder.filePath(pdfName);
    QVERIFY(printFromMenu(fixture, wantPdf, pdf));

    QCOMPARE(dialogs.proposedFileNames, wantPdf ? QStringList{"Papyra Database Report.pdf"} : QStringList());
    // A failure is reported, naming the file; a refusal is not. No file is left behind either way.
    QCOMPARE(dialogs.messages().size(), pdf.isEmpty() ? 0 : 1);
    QVERIFY(pdf.isEmpty() || dialogs.messages().first().contains(QDir::toNativeSeparators(pdf)));
    QCOMPARE(entries(), before);
}

QTEST_MAIN(ReportTest)
#include "tst_report.moc"
