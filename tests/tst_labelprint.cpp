// Printing numbered labels: where each label goes on its sheet, which numbers each sheet gets,
// the checks on what the user typed, and the printed pages themselves.
#include "PdfText.h"
#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "print/LabelDefinitions.h"
#include "print/LabelLayout.h"
#include "print/LabelPrinting.h"
#include "print/LabelsDialog.h"
#include "store/Database.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

LabelDefinition definition(const QString &line) { return LabelDefinitions::parseLine(line); }

QVector<LabelDefinition> shippedDefinitions()
{
    return LabelDefinitions::read(QDir(TestFolder::builtProgramFolder()).filePath(LabelDefinitions::fileName))
        .definitions;
}

const char *const testDefinitions = "<BEGINDEF>\r\n"
                                    "Letter 30;0.1875;0.5;2.625;1;2.75;1;3;10;Letter\r\n"
                                    "Too wide;0.2;0.5;3;1;3.1;1;3;10;Letter\r\n"
                                    "</BEGINDEF>\r\n";

} // namespace

class LabelPrintTest : public QObject
{
    Q_OBJECT
private slots:
    void shippedSheetsLieOnTheirPaper_data();
    void shippedSheetsLieOnTheirPaper();
    void unusableDefinitionsAreNamed_data();
    void unusableDefinitionsAreNamed();
    void numbering_data();
    void numbering();
    void typedValuesAreChecked_data();
    void typedValuesAreChecked();
    void dialogChecksBeforePrinting_data();
    void dialogChecksBeforePrinting();
    void labelsPrintedToPdfSitInTheirRectangles();
    void menuOpensTheDialog();
};

void LabelPrintTest::shippedSheetsLieOnTheirPaper_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRectF>("first"); // inches from the paper's top-left edge
    QTest::addColumn<QRectF>("last");
    QTest::addColumn<int>("paper");

    const int letter = QPageSize::Letter, a4 = QPageSize::A4;
    QTest::newRow("Letter 30") << "Letter 30 per sheet (1 x 2-5/8 in)" << QRectF(0.1875, 0.5, 2.625, 1)
                               << QRectF(0.1875 + 2 * 2.75, 0.5 + 9, 2.625, 1) << letter;
    QTest::newRow("Letter 80") << "Letter 80 per sheet (1/2 x 1-3/4 in)" << QRectF(0.28125, 0.5, 1.75, 0.5)
                               << QRectF(0.28125 + 3 * 2.0625, 0.5 + 19 * 0.5, 1.75, 0.5) << letter;
    QTest::newRow("Letter 20") << "Letter 20 per sheet (1 x 4 in)" << QRectF(0.15625, 0.5, 4, 1)
                               << QRectF(0.15625 + 4.1875, 9.5, 4, 1) << letter;
    QTest::newRow("A4 21") << "A4 21 per sheet (63.5 x 38.1 mm)" << QRectF(0.2839, 0.5965, 2.5, 1.5)
                           << QRectF(0.2839 + 5.2, 0.5965 + 9, 2.5, 1.5) << a4;
    QTest::newRow("A4 65") << "A4 65 per sheet (38.1 x 21.2 mm)" << QRectF(0.185, 0.4213, 1.5, 0.8346)
                           << QRectF(0.185 + 4 * 1.5984, 0.4213 + 12 * 0.8346, 1.5, 0.8346) << a4;
}

void LabelPrintTest::shippedSheetsLieOnTheirPaper()
{
    QFETCH(QString, name);
    QFETCH(QRectF, first);
    QFETCH(QRectF, last);
    QFETCH(int, paper);

    const QVector<LabelDefinition> shipped = shippedDefinitions();
    QVERIFY(!shipped.isEmpty());
    // Every shipped type can be laid out, whichever this row checks in detail.
    for (const LabelDefinition &d : shipped) {
        QString why;
        QVERIFY2(LabelLayout::sheetFor(d, &why), qPrintable(why));
    }
    const auto it = std::find_if(shipped.cbegin(), shipped.cend(),
                                 [&](const LabelDefinition &d) { return d.name == name; });
    QVERIFY2(it != shipped.cend(), qPrintable(name));
    const auto sheet = LabelLayout::sheetFor(*it);
    QVERIFY(sheet);
    QCOMPARE(int(sheet->paper), paper);
    auto near = [](const QRectF &a, const QRectF &b) {
        return qAbs(a.x() - b.x()) < 1e-4 && qAbs(a.y() - b.y()) < 1e-4 && qAbs(a.width() - b.width()) < 1e-4 &&
               qAbs(a.height() - b.height()) < 1e-4;
    };
    QVERIFY(near(sheet->labelRect(0), first));
    QVERIFY(near(sheet->labelRect(sheet->labelsPerSheet() - 1), last));
    const QSizeF paperSize = sheet->paperSize();
    QVERIFY(last.right() <= paperSize.width() + 0.005);
    QVERIFY(last.bottom() <= paperSize.height() + 0.005);
    // Row by row: the second label sits right of the first, not below it.
    if (sheet->columns > 1)
        QCOMPARE(sheet->labelRect(1).y(), sheet->labelRect(0).y());
}

void LabelPrintTest::unusableDefinitionsAreNamed_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("reason");

    QTest::newRow("not a number") << "Broken;0.2;x;2;1;2.1;1;3;10;Letter" << "eight numbers";
    QTest::newRow("missing fields") << "Short;0.2;0.5;2" << "eight numbers";
    QTest::newRow("no columns") << "Zero;0.2;0.5;2;1;2.1;1;0;10;Letter" << "columns and rows";
    QTest::newRow("half a row") << "Half;0.2;0.5;2;1;2.1;1;3;2.5;Letter" << "columns and rows";
    QTest::newRow("no width") << "Flat;0.2;0.5;0;1;2.1;1;3;10;Letter" << "no width";
    QTest::newRow("negative height") << "Neg;0.2;0.5;2;-1;2.1;1;3;10;Letter" << "no width";
    QTest::newRow("overlapping across") << "Over;0.2;0.5;2;1;1.5;1;3;10;Letter" << "overlap";
    QTest::newRow("overlapping down") << "Down;0.2;0.5;2;1;2.1;0.9;3;10;Letter" << "overlap";
    QTest::newRow("too wide for Letter") << "Wide;0.2;0.5;3;1;3.1;1;3;10;Letter" << "do not fit";
    QTest::newRow("too tall for A4") << "Tall;0.2;0.5;2;1;2.1;1;3;12;A4" << "do not fit";
    QTest::newRow("unknown paper") << "Legal;0.2;0.5;2;1;2.1;1;3;10;Legal" << "not known";
    QTest::newRow("no paper") << "None;0.2;0.5;2;1;2.1;1;3;10;" << "not known";
}

void LabelPrintTest::unusableDefinitionsAreNamed()
{
    QFETCH(QString, line);
    QFETCH(QString, reason);
    QString why;
    QVERIFY(!LabelLayout::sheetFor(definition(line), &why));
    QVERIFY2(why.contains(QLatin1Char('"') + line.section(QLatin1Char(';'), 0, 0) + QLatin1Char('"')), qPrintable(why));
    QVERIFY2(why.contains(reason), qPrintable(why));

    // A single column or row needs no pitch at all.
    QVERIFY(LabelLayout::sheetFor(definition(QStringLiteral("One;0.5;0.5;7;1;0;0;1;1;Letter"))));
    QVERIFY(LabelLayout::sheetFor(definition(QStringLiteral("Case;0.5;0.5;7;1;0;0;1;1;letter; any case"))));
}

void LabelPrintTest::numbering_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("pages");
    QTest::addColumn<int>("sheets");
    QTest::addColumn<int>("lastOnLastSheet");
    QTest::addColumn<int>("labelsOnLastSheet");

    // A sheet of 3 x 10 labels.
    QTest::newRow("one label") << 1 << "1" << false << 1 << 1 << 1;
    QTest::newRow("exactly a sheet") << 1 << "30" << false << 1 << 30 << 30;
    QTest::newRow("one more than a sheet") << 1 << "31" << false << 2 << 31 << 1;
    QTest::newRow("start in the hundreds") << 451 << "45" << false << 2 << 495 << 15;
    QTest::newRow("two pages") << 100 << "2" << true << 2 << 159 << 30;
    QTest::newRow("blanks around") << 7 << " 3 " << true << 3 << 96 << 30;
}

void LabelPrintTest::numbering()
{
    QFETCH(int, start);
    QFETCH(QString, count);
    QFETCH(bool, pages);
    QFETCH(int, sheets);
    QFETCH(int, lastOnLastSheet);
    QFETCH(int, labelsOnLastSheet);

    const auto sheet = LabelLayout::sheetFor(definition(QStringLiteral("T;0.1875;0.5;2.625;1;2.75;1;3;10;Letter")));
    QVERIFY(sheet);
    const auto request = LabelLayout::checkRequest(sheet, QString::number(start), count, pages);
    QVERIFY2(request.ok(), qPrintable(request.error));
    const auto numbers = LabelLayout::numbersBySheet(*sheet, request.start, request.count);
    QCOMPARE(numbers.size(), sheets);
    QCOMPARE(numbers.last().last(), lastOnLastSheet);
    QCOMPARE(numbers.last().size(), labelsOnLastSheet);
    // Every number once, in order, no gaps.
    int expected = start;
    for (const auto &onSheet : numbers) {
        QVERIFY(onSheet.size() <= sheet->labelsPerSheet());
        for (int n : onSheet)
            QCOMPARE(n, expected++);
    }
}

void LabelPrintTest::typedValuesAreChecked_data()
{
    QTest::addColumn<bool>("withSheet");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("pages");
    QTest::addColumn<QString>("field"); // empty: accepted

    QTest::newRow("no sheet chosen") << false << "1" << "30" << false << "lstLabels";
    QTest::newRow("start empty") << true << "" << "30" << false << "txtStart";
    QTest::newRow("start zero") << true << "0" << "30" << false << "txtStart";
    QTest::newRow("start negative") << true << "-5" << "30" << false << "txtStart";
    QTest::newRow("start not whole") << true << "1.5" << "30" << false << "txtStart";
    QTest::newRow("start too big") << true << "1000000" << "1" << false << "txtStart";
    QTest::newRow("start highest") << true << "999999" << "1" << false << "";
    QTest::newRow("count empty") << true << "1" << "" << false << "txtEnd";
    QTest::newRow("count zero") << true << "1" << "0" << false << "txtEnd";
    QTest::newRow("count words") << true << "1" << "ten" << false << "txtEnd";
    QTest::newRow("labels past the highest number") << true << "999999" << "2" << false << "txtEnd";
    QTest::newRow("100 pages") << true << "1" << "100" << true << "";
    QTest::newRow("101 pages") << true << "1" << "101" << true << "txtEnd";
    QTest::newRow("labels beyond 100 pages") << true << "1" << "3001" << false << "txtEnd";
    QTest::newRow("huge count") << true << "1" << "99999999999" << false << "txtEnd";
}

void LabelPrintTest::typedValuesAreChecked()
{
    QFETCH(bool, withSheet);
    QFETCH(QString, start);
    QFETCH(QString, count);
    QFETCH(bool, pages);
    QFETCH(QString, field);

    const auto sheet = withSheet ? LabelLayout::sheetFor(definition(QStringLiteral("T;0.1875;0.5;2.625;1;2.75;1;3;10;Letter")))
                                 : std::nullopt;
    const auto request = LabelLayout::checkRequest(sheet, start, count, pages);
    QCOMPARE(request.field, field);
    QCOMPARE(request.ok(), field.isEmpty());
}

void LabelPrintTest::dialogChecksBeforePrinting_data()
{
    QTest::addColumn<int>("row"); // -1: nothing chosen
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("pages");
    QTest::addColumn<QString>("focus");   // the control named by the message; empty: printed
    QTest::addColumn<QString>("message"); // part of the message

    QTest::newRow("nothing chosen") << -1 << "1" << "30" << false << "lstLabels" << "choose a label type";
    QTest::newRow("unusable sheet") << 1 << "1" << "30" << false << "lstLabels" << "\"Too wide\" cannot be used";
    QTest::newRow("bad start") << 0 << "x" << "30" << false << "txtStart" << "first label number";
    QTest::newRow("no count") << 0 << "1" << "" << false << "txtEnd" << "how many labels";
    QTest::newRow("too many pages") << 0 << "1" << "101" << true << "txtEnd" << "how many pages";
    QTest::newRow("labels") << 0 << "451" << "45" << false << "" << "";
    QTest::newRow("pages") << 0 << "1" << "2" << true << "" << "";
}

void LabelPrintTest::dialogChecksBeforePrinting()
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
    defs.write(testDefinitions);
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
    dialog.mode(pages ? 1 : 0)->setChecked(true);
    dialog.count()->setFocus();
    QTest::keyClick(dialog.count(), Qt::Key_Return); // Enter presses Print

    if (focus.isEmpty()) {
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed.first().first, start.toInt());
        QCOMPARE(printed.first().second, pages ? count.toInt() * 30 : count.toInt());
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
    if (!havePoppler())
        QSKIP("poppler-utils is not installed");
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("a printer is installed here; this test must not print on it");
    TestFolder folder;
    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    {
        QSqlQuery fill(window.database()->connection());
        QVERIFY(fill.exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Passports' WHERE FileNumber = 5")));
    }
    const auto sheet = LabelLayout::sheetFor(definition(QStringLiteral("L;0.1875;0.5;2.625;1;2.75;1;3;10;Letter")));
    QVERIFY(sheet);
    const QString pdf = folder.filePath(QStringLiteral("labels.pdf"));
    dialogs.yesNoAnswers.enqueue(true); // no printer: save as PDF
    dialogs.fileAnswers.enqueue(pdf);
    QVERIFY(LabelPrinting::print(window, *sheet, 1, 31));
    QCOMPARE(dialogs.shown.size(), 2);
    QCOMPARE(dialogs.proposedFileNames, QStringList{QStringLiteral("Papyra Labels.pdf")});

    const QVector<PdfPage> pages = pdfPages(pdf);
    QCOMPARE(pages.size(), 2);
    QCOMPARE(qRound(pages.first().width), 612); // Letter, in points
    QCOMPARE(qRound(pages.first().height), 792);
    QHash<QString, PdfWord> found;
    for (const PdfWord &w : pages.first().words)
        found.insert(w.text, w);
    for (int n = 1; n <= 30; ++n) {
        QVERIFY2(found.contains(QString::number(n)), qPrintable(QString::number(n)));
        const PdfWord w = found.value(QString::number(n));
        const QRectF label = sheet->labelRect(n - 1);
        const QRectF box(QPointF(w.left, w.top) / 72.0, QPointF(w.right, w.bottom) / 72.0);
        QVERIFY2(label.contains(box), qPrintable(QStringLiteral("%1 outside its label").arg(n)));
    }
    QVERIFY(found.contains(QStringLiteral("Passports")));
    QVERIFY(sheet->labelRect(4).contains(QPointF(found.value(QStringLiteral("Passports")).left,
                                                 found.value(QStringLiteral("Passports")).top) / 72.0));
    QCOMPARE(pages.last().words.size(), 1);
    QCOMPARE(pages.last().words.first().text, QStringLiteral("31"));
}

void LabelPrintTest::menuOpensTheDialog()
{
    TestFolder folder;
    QVERIFY(folder.copyProgramData());
    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QAction *item = window.action(QStringLiteral("mnuPrintLabels"));
    QVERIFY(item->isEnabled());

    QString opened;
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<LabelsDialog *>(QApplication::activeModalWidget())) {
            opened = dialog->objectName();
            QCOMPARE(dialog->labelList()->count(), 8);
            dialog->reject();
        }
    });
    QTest::keyClick(&window, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(opened, QStringLiteral("frmLabels"));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(dialogs.shown.isEmpty());
}

QTEST_MAIN(LabelPrintTest)
#include "tst_labelprint.moc"
