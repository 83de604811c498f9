#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "print/DatabaseReport.h"
#include "print/PageSurface.h"
#include "print/RecordingSurface.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/RecordSources.h"

#include <QPdfWriter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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

// Writes the report of the folder's slots through a File data source like the window's.
bool writeReport(TestFolder &folder, PrintSurface &surface)
{
    Database db;
    DataSource file(QStringLiteral("File"), &db);
    file.setColumns(RecordSources::slotColumns());
    file.setRecordSource(RecordSources::slotTable());
    file.repoint(folder.path());
    return file.refresh() && DatabaseReport::write(file, surface, reportDay) && file.isEof();
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

// a, b, c ... so that every piece of a cut text is told apart.
QString letters(int n, int from = 0)
{
    QString s;
    for (int i = from; i < from + n; ++i)
        s.append(QChar(u'a' + i % 26));
    return s;
}

} // namespace

class ReportTest : public QObject
{
    Q_OBJECT
private slots:
    void slotBlock_data();
    void slotBlock();
    void headingAlone_data();
    void headingAlone();
    void slotsInNumberOrder();
    void pdfLayout();
    void longLineIsCut();
    void printCommand_data();
    void printCommand();
};

void ReportTest::slotBlock_data()
{
    QTest::addColumn<QVariantList>("slot");
    QTest::addColumn<QStringList>("expected"); // empty: the slot is not printed
    const QVariant null;
    const QString l255 = letters(255);
    QTest::newRow("all fields") << QVariantList{7, "Car insurance", "Auto", "2024-04-15"}
                                << block("7", {"Car insurance"}, "Auto", "4/15/2024");
    QTest::newRow("null keywords") << QVariantList{7, null, "Auto", "2024-04-15"} << QStringList();
    QTest::newRow("empty keywords") << QVariantList{7, "", "Auto", null} << QStringList();
    QTest::newRow("blank keywords") << QVariantList{7, "   \t ", "Bank", null} << QStringList();
    QTest::newRow("leading spaces kept") << QVariantList{7, "   deed  ", null, null} << block("7", {"   deed  "});
    QTest::newRow("empty category and reminder") << QVariantList{7, "Lease", "", null} << block("7", {"Lease"});
    QTest::newRow("keywords of 50 characters") << QVariantList{7, letters(50), null, null} << block("7", {letters(50)});
    QTest::newRow("keywords of 51 characters")
        << QVariantList{7, letters(51), null, null} << block("7", {letters(50), "y"});
    QTest::newRow("keywords of 255 characters") << QVariantList{7, l255, null, null}
                                                << block("7", {l255.mid(0, 50), l255.mid(50, 50), l255.mid(100, 50),
                                                               l255.mid(150, 50), l255.mid(200, 50), l255.mid(250)});
    QTest::newRow("keywords of 400 characters: the rest on one line")
        << QVariantList{7, letters(400), null, null}
        << block("7", {letters(50), letters(50, 50), letters(50, 100), letters(50, 150), letters(50, 200),
                       letters(150, 250)});
}

void ReportTest::slotBlock()
{
    QFETCH(QVariantList, slot);
    QFETCH(QStringList, expected);
    TestFolder folder;
    QVERIFY(makeSlots(folder, {slot}));
    RecordingSurface surface;
    QVERIFY(writeReport(folder, surface));
    QCOMPARE(surface.printed(), (QStringList{"\r\n", "\r\n", headingLine, rule87} + expected));
}

void ReportTest::headingAlone_data()
{
    QTest::addColumn<int>("openSlots");
    QTest::newRow("no slot at all") << 0;
    QTest::newRow("only open slots") << 300;
}

void ReportTest::headingAlone()
{
    QFETCH(int, openSlots);
    TestFolder folder;
    QVERIFY(folder.makeDatabase(openSlots));
    RecordingSurface surface;
    QVERIFY(writeReport(folder, surface));
    using Op = RecordingSurface::Operation;
    QCOMPARE(surface.operations(), (QVector<Op>{{Op::Kind::PrintLine, "\r\n"},
                                                {Op::Kind::PrintLine, "\r\n"},
                                                {Op::Kind::FontName, "FixedSys"},
                                                {Op::Kind::FontSize, QString(), 14},
                                                {Op::Kind::PrintLine, headingLine},
                                                {Op::Kind::PrintLine, rule87},
                                                {Op::Kind::FontSize, QString(), 10},
                                                {Op::Kind::EndDocument, QString()}}));
    // Four empty lines, the heading, its empty line and the rule.
    QCOMPARE(surface.lines(), (QStringList{"", "", "", "", headingLine.chopped(2), "", rule87}));
}

void ReportTest::slotsInNumberOrder()
{
    // More slots than the data source reads in one block, stored out of order.
    QVector<QVariantList> rows;
    for (int n = 600; n >= 1; --n)
        rows.append({n, n % 3 ? QVariant() : QVariant(QStringLiteral("k%1").arg(n)), QVariant(), QVariant()});
    TestFolder folder;
    QVERIFY(makeSlots(folder, rows));
    RecordingSurface surface;
    QVERIFY(writeReport(folder, surface));
    QStringList numbers, expected;
    for (const QString &line : surface.printed())
        if (line.startsWith(QLatin1String("\t\tFILE #")))
            numbers << line.trimmed().section(QLatin1Char('\t'), -1);
    for (int n = 3; n <= 600; n += 3)
        expected << QString::number(n);
    QCOMPARE(numbers, expected);
}

void ReportTest::pdfLayout()
{
    if (!havePoppler())
        QSKIP("poppler-utils is not installed");
    QVector<QVariantList> rows;
    for (int n = 1; n <= 12; ++n)
        rows.append({n, n == 5 ? letters(120) : QStringLiteral("Folder %1").arg(n), QStringLiteral("Cat%1").arg(n),
                     QStringLiteral("2024-01-%1").arg(n, 2, 10, QLatin1Char('0'))});
    TestFolder folder;
    QVERIFY(makeSlots(folder, rows));
    const qreal margin = 36;
    const QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                         QMarginsF(margin, margin, margin, margin), QPageLayout::Point));
        PageSurface surface(&writer);
        QVERIFY(writeReport(folder, surface));
    }
    const QVector<PdfPage> pages = pdfPages(pdf);
    QVERIFY2(pages.size() > 1, "the report should need more than one page");

    QHash<QString, PdfWord> first; // where each word first appears
    QStringList sequence;
    bool pageStartsInsideBlock = false;
    for (int p = 0; p < pages.size(); ++p) {
        const PdfPage &page = pages.at(p);
        pageStartsInsideBlock |= p > 0 && page.words.value(0).text != QLatin1String("FILE");
        for (const PdfWord &w : page.words) {
            // A line that would pass the bottom went to the next page.
            QVERIFY2(w.top >= margin - 1 && w.bottom <= page.height - margin + 1, qPrintable(w.text));
            if (!first.contains(w.text))
                first.insert(w.text, w);
            sequence << w.text;
        }
    }
    // Columns from 1, in character widths measured on words of known length at 14 and 10 points.
    const PdfWord date = first.value(QStringLiteral("3/7/2024")), label = first.value(QStringLiteral("KEYWORDS:"));
    auto column = [&](const QString &text, const PdfWord &ruler) {
        const qreal width = (ruler.right - ruler.left) / ruler.text.size();
        return qRound((first.value(text).left - margin) / width) + 1;
    };
    QCOMPARE(column(QStringLiteral("3/7/2024"), date), 9);
    QCOMPARE(column(QStringLiteral("PAPYRA!"), date), 30);
    for (const char *text : {"FILE", "KEYWORDS:", "CATEGORY:", "REMINDER:"})
        QCOMPARE(column(QLatin1String(text), label), 17);
    for (const char *text : {"Folder", "Cat1", "1/1/2024", "abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwx"})
        QCOMPARE(column(QLatin1String(text), label), 49);
    QCOMPARE(column(letters(50, 50), label), 57);
    QCOMPARE(column(letters(20, 100), label), 57);

    QVERIFY2(pageStartsInsideBlock, "a record block should continue on the next page");
    // Nothing is lost or repeated at the page breaks, and the heading comes once.
    QStringList expected{"3/7/2024", "PAPYRA!", "DATABASE", "REPORT"};
    for (int n = 1; n <= 12; ++n) {
        expected << "FILE"
                 << "#" << QString::number(n) << "KEYWORDS:";
        expected << (n == 5 ? QStringList{letters(50), letters(50, 50), letters(20, 100)}
                            : QStringList{"Folder", QString::number(n)});
        expected << "CATEGORY:" << QStringLiteral("Cat%1").arg(n) << "REMINDER:" << QStringLiteral("1/%1/2024").arg(n);
    }
    QCOMPARE(sequence, expected);

    // The rules, wider than the page, run up to its right margin and stop there.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {"-gray", "-r", "72", "-f", "1", "-l", "1", pdf});
    QVERIFY(render.waitForFinished(60000));
    const QImage page = QImage::fromData(render.readAllStandardOutput(), "PGM");
    QVERIFY(!page.isNull());
    const int edge = qRound(page.width() - margin);
    int rulesAtEdge = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = edge + 1; x < page.width(); ++x)
            QVERIFY2(qGray(page.pixel(x, y)) > 200, qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
        bool ink = false;
        for (int x = edge - 12; x <= edge; ++x)
            ink |= qGray(page.pixel(x, y)) < 128;
        rulesAtEdge += ink;
    }
    QVERIFY2(rulesAtEdge >= 5, "the rules should reach the right margin");
}

void ReportTest::longLineIsCut()
{
    if (!havePoppler())
        QSKIP("poppler-utils is not installed");
    TestFolder folder;
    const QString pdf = folder.filePath(QStringLiteral("long.pdf"));
    QPdfWriter writer(pdf);
    PageSurface surface(&writer);
    const int columns = surface.columnsPerLine();
    surface.printLine(QStringLiteral("\t") + letters(300));
    surface.printLine(QStringLiteral("next"));
    QVERIFY(surface.endDocument());
    QVERIFY(columns > 50 && columns < 300);
    const QVector<PdfPage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 1);
    QStringList words;
    for (const PdfWord &w : pages.first().words)
        words << w.text;
    QCOMPARE(words, (QStringList{letters(columns - 8), "next"})); // cut at the edge, the rest not wrapped

    // A job that cannot start reports it instead of passing for printed.
    QPdfWriter nowhere(folder.filePath(QStringLiteral("long.pdf/x.pdf")));
    PageSurface failing(&nowhere);
    QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
    failing.printLine(QStringLiteral("line"));
    QVERIFY(!failing.endDocument());
    QVERIFY(!failing.errorString().isEmpty());
}

void ReportTest::printCommand_data()
{
    QTest::addColumn<bool>("wantPdf");
    QTest::addColumn<QString>("pdfName"); // in the test folder; empty: the save dialog is cancelled
    QTest::addColumn<bool>("written");
    QTest::newRow("PDF declined") << false << QString() << false;
    QTest::newRow("save dialog cancelled") << true << QString() << false;
    QTest::newRow("saved as PDF") << true << QStringLiteral("report.pdf") << true;
    QTest::newRow("replacing an older PDF") << true << QStringLiteral("old.pdf") << true;
    QTest::newRow("folder is a regular file") << true << QStringLiteral("old.pdf/report.pdf") << false;
    QTest::newRow("target is a folder") << true << QStringLiteral("folder") << false;
}

void ReportTest::printCommand()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed here; this test must not print on it");
    QFETCH(bool, wantPdf);
    QFETCH(QString, pdfName);
    QFETCH(bool, written);
    TestFolder folder;
    QVERIFY(makeSlots(folder, {{1, "Passport", "Travel", QVariant()}, {2, QVariant(), QVariant(), QVariant()}}));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    QFile old(folder.filePath(QStringLiteral("old.pdf")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(100000, 'x')) == 100000);
    old.close();
    const QStringList before =
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);

    ScriptedDialogs dialogs;
    dialogs.yesNoAnswers.enqueue(wantPdf);
    const QString pdf = pdfName.isEmpty() ? QString() : folder.filePath(pdfName);
    dialogs.fileAnswers.enqueue(pdf);
    MainWindow window(folder.path(), &dialogs);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);

    QCOMPARE(dialogs.shown.value(0).kind, QStringLiteral("yesno"));
    QVERIFY(dialogs.shown.value(0).text.startsWith(QLatin1String("No printer is installed.")));
    QCOMPARE(dialogs.proposedFileNames, wantPdf ? QStringList{"Papyra Database Report.pdf"} : QStringList());
    for (const ScriptedDialogs::Shown &shown : dialogs.shown)
        QVERIFY2(!shown.busyPointer, qPrintable(shown.text));
    QVERIFY(!QGuiApplication::overrideCursor());
    const bool failed = !pdf.isEmpty() && !written;
    QCOMPARE(dialogs.messages().size(), failed ? 1 : 0);
    if (failed)
        QVERIFY(dialogs.messages().first().contains(QDir::toNativeSeparators(pdf)));
    if (written && havePoppler()) {
        const QVector<PdfPage> pages = pdfPages(pdf);
        QCOMPARE(pages.size(), 1);
        QVERIFY2(pages.first().width > pages.first().height, "the report is printed across the page");
        QCOMPARE(pages.first().words.value(8).text, QStringLiteral("Passport"));
    }
    // A failed or refused job leaves every file as it was, and no temporary file behind.
    QStringList after = before;
    if (written && !after.contains(pdfName))
        after << pdfName;
    after.sort();
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name), after);
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("old.pdf"))).size() == 100000, pdfName != "old.pdf");
}

QTEST_MAIN(ReportTest)
#include "tst_report.moc"
