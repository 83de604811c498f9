// Printing numbered labels: where each label goes on its sheet, which numbers each sheet gets,
// the checks on what the user typed, and the printed pages themselves.
#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "print/LabelDefinitions.h"
#include "print/LabelLayout.h"
#include "print/LabelPrinting.h"
#include "print/LabelsDialog.h"
#include "store/RecordStore.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

std::optional<LabelLayout::Sheet> sheetFor(const QString &line, QString *why = nullptr)
{
    return LabelLayout::sheetFor(LabelDefinitions::parseLine(line), why);
}

// 3 across, 10 down on Letter paper.
const QString letter30 = QStringLiteral("Letter 30;0.1875;0.5;2.625;1;2.75;1;3;10;Letter");

} // namespace

class LabelPrintTest : public QObject
{
    Q_OBJECT
private slots:
    void shippedSheetsAreUsable();
    void definitionsAreChecked_data();
    void definitionsAreChecked();
    void layoutAndNumbering();
    void dialogChecksWhatWasTyped_data();
    void dialogChecksWhatWasTyped();
    void labelsPrintedToPdfSitInTheirRectangles();
    void menuOpensTheDialog();
};

void LabelPrintTest::shippedSheetsAreUsable()
{
    const QVector<LabelDefinition> shipped =
        LabelDefinitions::read(QDir(TestFolder::builtProgramFolder()).filePath(LabelDefinitions::fileName)).definitions;
    QVERIFY(!shipped.isEmpty());
    for (const LabelDefinition &d : shipped) {
        QString why;
        QVERIFY2(LabelLayout::sheetFor(d, &why), qPrintable(why));
    }
}

void LabelPrintTest::definitionsAreChecked_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason"); // empty: usable
    const auto row = [](const char *name, const char *line, const char *reason) {
        QTest::newRow(name) << QString::fromLatin1(line) << QString::fromLatin1(reason);
    };
    row("not a number", "Broken;0.2;x;2;1;2.1;1;3;10;Letter", "eight numbers");
    row("decimal comma", "N;0,5;0.5;2;1;2.1;1;3;10;Letter", "eight numbers");
    row("empty number field", "N;0.2;;2;1;2.1;1;3;10;Letter", "eight numbers");
    row("eight numbers, no paper field", "N;0.2;0.5;2;1;2.1;1;3;10", "eight numbers");
    row("empty paper field", "N;0.2;0.5;2;1;2.1;1;3;10;", "not known");
    row("nan pitch", "X;0.2839;0.5965;2.5;1.5;nan;1.5;3;7;A4", "finite number");
    row("inf pitch, one column", "X;0.2;0.5;2;1;inf;1;1;7;A4", "finite number");
    row("float overflow", "X;0.2;0.5;2;1;2.1;1e39;3;7;A4", "\"X\" cannot be used");
    row("half a row", "Half;0.2;0.5;2;1;2.1;1;3;2.5;Letter", "columns and rows");
    row("negative height", "Neg;0.2;0.5;2;-1;2.1;1;3;10;Letter", "no width");
    row("overlapping across", "Over;0.2;0.5;2;1;1.5;1;3;10;Letter", "overlap");
    row("overlapping down", "Down;0.2;0.5;2;1;2.1;0.9;3;10;Letter", "overlap");
    row("too tall for A4", "Tall;0.2;0.5;2;1;2.1;1;3;12;A4", "do not fit");
    row("unknown paper", "Legal;0.2;0.5;2;1;2.1;1;3;10;Legal", "not known");
    row("single label needs no pitch", "One;0.5;0.5;7;1;0;0;1;1;Letter", "");
    row("paper in any case", "Case;0.5;0.5;7;1;0;0;1;1;letter; any case", "");
}

void LabelPrintTest::definitionsAreChecked()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QString why;
    QCOMPARE(bool(sheetFor(line, &why)), reason.isEmpty());
    // The message names the sheet type and what is wrong with it.
    QVERIFY2(why.contains(QLatin1Char('"') + line.section(QLatin1Char(';'), 0, 0) + QLatin1Char('"')) ==
                 !reason.isEmpty(),
             qPrintable(why));
    QVERIFY2(why.contains(reason), qPrintable(why));
}

void LabelPrintTest::layoutAndNumbering()
{
    // Inches from the paper's top-left edge, row by row.
    const auto sheet = sheetFor(letter30);
    QCOMPARE(sheet->labelRect(1), QRectF(0.1875 + 2.75, 0.5, 2.625, 1));
    QCOMPARE(sheet->labelRect(29), QRectF(0.1875 + 2 * 2.75, 0.5 + 9, 2.625, 1));

    const struct {
        int start, count, sheets, labelsOnLastSheet;
    } cases[] = {{1, 30, 1, 30}, {1, 31, 2, 1}, {451, 45, 2, 15}, {7, 90, 3, 30}};
    for (const auto &c : cases) {
        const auto numbers = LabelLayout::numbersBySheet(*sheet, c.start, c.count);
        QCOMPARE(numbers.size(), c.sheets);
        QCOMPARE(numbers.last().size(), c.labelsOnLastSheet);
        // Every number once, in order, no gaps, no sheet over full.
        int expected = c.start;
        for (const auto &onSheet : numbers) {
            QVERIFY(onSheet.size() <= sheet->labelsPerSheet());
            for (int n : onSheet)
                QCOMPARE(n, expected++);
        }
        QCOMPARE(expected, c.start + c.count);
    }
}

void LabelPrintTest::dialogChecksWhatWasTyped_data()
{
    QTest::addColumn<int>("row"); // -1: nothing chosen
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("pages");
    QTest::addColumn<QString>("focus");   // the control named by the message; empty: printed
    QTest::addColumn<QString>("message"); // words the message holds
    const auto row = [](const char *name, int listRow, const char *start, const char *count, bool pages,
                        const char *focus, const char *message) {
        QTest::newRow(name) << listRow << start << count << pages << focus << message;
    };
    row("nothing chosen", -1, "1", "30", false, "lstLabels", "choose a label type");
    row("unusable sheet", 1, "1", "30", false, "lstLabels", "\"Too wide\" cannot be used");
    row("start zero", 0, "0", "30", false, "txtStart", "first label number");
    row("start not whole", 0, "1.5", "30", false, "txtStart", "");
    row("start too big", 0, "1000000", "1", false, "txtStart", "");
    row("count words", 0, "1", "ten", false, "txtEnd", "how many labels");
    row("past the highest number", 0, "999999", "2", false, "txtEnd", "");
    row("101 pages", 0, "1", "101", true, "txtEnd", "how many pages");
    row("labels beyond 100 pages", 0, "1", "3001", false, "txtEnd", "");
    row("huge count", 0, "1", "99999999999", false, "txtEnd", "");
    row("highest number", 0, "999999", "1", false, "", "");
    row("labels, blanks around", 0, " 451 ", " 45 ", false, "", "");
    row("100 pages", 0, "1", "100", true, "", "");
}

void LabelPrintTest::dialogChecksWhatWasTyped()
{
    QFETCH(int, row);
    QFETCH(QString, start);
    QFETCH(QString, count);
    QFETCH(bool, pages);
    QFETCH(QString, focus);
    QFETCH(QString, message);

    TestFolder folder;
    QFile defs(folder.filePath(LabelDefinitions::fileName));
    QVERIFY(defs.open(QIODevice::WriteOnly));
    defs.write("<BEGINDEF>\r\n" + letter30.toLatin1() +
               "\r\nToo wide;0.2;0.5;3;1;3.1;1;3;10;Letter\r\n</BEGINDEF>\r\n");
    defs.close();
    ScriptedDialogs dialogs;
    LabelsDialog dialog(folder.path(), &dialogs);
    QVector<QPair<int, int>> printed;
    dialog.setPrintHandler([&](const LabelLayout::Sheet &sheet, int first, int n) {
        printed.append({first, n});
        return sheet.name == QLatin1String("Letter 30");
    });
    QVERIFY(dialog.LoadDefs());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (row >= 0)
        dialog.labelList()->setCurrentRow(row);
    dialog.startNumber()->setText(start);
    dialog.count()->setText(count);
    if (pages) // the dialog opens counting labels
        dialog.mode(1)->setChecked(true);
    dialog.count()->setFocus();
    QTest::keyClick(dialog.count(), Qt::Key_Return); // Enter presses Print

    if (focus.isEmpty()) {
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(printed, (QVector<QPair<int, int>>{{start.toInt(), pages ? count.toInt() * 30 : count.toInt()}}));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    } else {
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY2(dialogs.messages().first().contains(message), qPrintable(dialogs.messages().first()));
        QVERIFY(printed.isEmpty());
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }
}

void LabelPrintTest::labelsPrintedToPdfSitInTheirRectangles()
{
    QVERIFY2(havePoppler(), "poppler-utils (pdftotext) is needed to read the pages");
    // No window: printing takes the record store alone.
    TestFolder folder;
    ScriptedDialogs dialogs;
    RecordStore store(folder.path());
    QVERIFY(store.open());
    QVERIFY(QSqlQuery(store.engine().connection())
                .exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Passports' WHERE FileNumber = 5")));
    const auto sheet = sheetFor(letter30);
    const QString pdf = folder.filePath(QStringLiteral("labels.pdf"));
    dialogs.yesNoAnswers.enqueue(true); // no printer: save as PDF
    dialogs.fileAnswers.enqueue(pdf);
    QVERIFY(LabelPrinting::print(store, dialogs, nullptr, *sheet, 1, 31));
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.proposedFileNames, QStringList{QStringLiteral("Papyra Labels.pdf")});

    const QVector<PdfPage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(QSize(qRound(pages.first().width), qRound(pages.first().height)), QSize(612, 792)); // Letter, points
    QHash<QString, QRectF> found;                                                                // inches
    for (const PdfWord &w : pages.first().words)
        found.insert(w.text, QRectF(QPointF(w.left, w.top) / 72.0, QPointF(w.right, w.bottom) / 72.0));
    for (int n = 1; n <= 30; ++n) {
        QVERIFY2(found.contains(QString::number(n)), qPrintable(QString::number(n)));
        QVERIFY2(sheet->labelRect(n - 1).contains(found.value(QString::number(n))),
                 qPrintable(QStringLiteral("%1 outside its label").arg(n)));
    }
    QVERIFY(found.contains(QStringLiteral("Passports")));
    QVERIFY(sheet->labelRect(4).contains(found.value(QStringLiteral("Passports")).topLeft()));
    QCOMPARE(pages.last().words.size(), 1);
    QCOMPARE(pages.last().words.first().text, QStringLiteral("31"));
}

void LabelPrintTest::menuOpensTheDialog()
{
    WindowFixture fixture;
    QVERIFY(fixture.folder().copyProgramData());
    QVERIFY(fixture.open());
    int listed = -1;
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<LabelsDialog *>(QApplication::activeModalWidget())) {
            listed = dialog->labelList()->count();
            QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
        }
    });
    QTest::keyClick(&fixture.window(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(listed > 0);
    // Cancel closes without a word.
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(fixture.dialogs().shown.isEmpty());
}

QTEST_MAIN(LabelPrintTest)
#include "tst_labelprint.moc"
