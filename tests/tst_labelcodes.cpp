// Codes on labels: the text they hold, the printed codes read back by real decoders from every
// shipped sheet, the keyword line drawn whole, and a scanned code finding its folder.
#include "PdfText.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "panels/AddFilesPanel.h"
#include "print/LabelCode.h"
#include "print/LabelDefinitions.h"
#include "print/LabelPainter.h"
#include "store/DataSource.h"
#include "ui/DataGrid.h"

#include <QLineEdit>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QtTest>

namespace {

using LabelCode::Kind;

QVector<LabelLayout::Sheet> shippedSheets()
{
    QVector<LabelLayout::Sheet> sheets;
    const auto read =
        LabelDefinitions::read(QDir(TestFolder::builtProgramFolder()).filePath(LabelDefinitions::fileName));
    for (const LabelDefinition &d : read.definitions)
        sheets.append(*LabelLayout::sheetFor(d));
    return sheets;
}

// Prints one sheet's labels (a roll: `count` pages) to a PDF file.
bool printSheet(const QString &pdf, const LabelLayout::Sheet &sheet, const QVector<int> &numbers,
                const QHash<int, QString> &keywords, const LabelPainter::Code &code)
{
    QPdfWriter writer(pdf);
    LabelPainter::setUpDevice(writer, sheet);
    return LabelPainter::paint(writer, sheet, LabelLayout::numbersBySheet(sheet, numbers), keywords, code);
}

QRect inPixels(const QRectF &inches, int dpi)
{
    return QRectF(inches.topLeft() * dpi, inches.size() * dpi).toAlignedRect();
}

// What the decoder reads from each picture, one line per picture in order; zbarimg for QR Code and
// Code 128, dmtxread for Data Matrix.
QStringList decode(Kind kind, const QStringList &pictures)
{
    QProcess p;
    if (kind == Kind::DataMatrix)
        p.start(QStringLiteral("dmtxread"), QStringList{QStringLiteral("-n"), QStringLiteral("-N1")} + pictures);
    else
        p.start(QStringLiteral("zbarimg"), QStringList{QStringLiteral("-q"), QStringLiteral("--raw"),
                                                       QStringLiteral("--nodbus"), QStringLiteral("-Sdisable"),
                                                       kind == Kind::QrCode ? QStringLiteral("-Sqrcode.enable")
                                                                            : QStringLiteral("-Scode128.enable")} +
                                               pictures);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool haveDecoders()
{
    return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("dmtxread")).isEmpty();
}

} // namespace

class LabelCodesTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY2(!shippedSheets().isEmpty(), "the built labels.def is missing"); }
    void codeTexts_data();
    void codeTexts();
    void scans_data();
    void scans();
    void codesReadBack_data();
    void codesReadBack();
    void keywordLineIsWhole_data();
    void keywordLineIsWhole();
    void scanFindsTheFolder_data();
    void scanFindsTheFolder();
};

void LabelCodesTest::codeTexts_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("archive serial number") << "ASN" << 454 << "ASN00454";
    QTest::newRow("ASN typed in lower case") << "asn" << 7 << "ASN00007";
    QTest::newRow("ASN, six digits") << "ASN" << 123456 << "ASN123456";
    QTest::newRow("other prefix, not padded") << "BOX-" << 12 << "BOX-12";
    QTest::newRow("no prefix") << "" << 454 << "454";
}

void LabelCodesTest::codeTexts()
{
    QFETCH(QString, prefix);
    QFETCH(int, number);
    QFETCH(QString, text);
    QCOMPARE(LabelCode::text(prefix, number), text);
}

void LabelCodesTest::scans_data()
{
    QTest::addColumn<QString>("scanned");
    QTest::addColumn<QString>("lastPrefix");
    QTest::addColumn<int>("number"); // 0: no code, the text is searched for
    const auto row = [](const char *name, const char *scanned, const char *prefix, int number) {
        QTest::newRow(name) << QString::fromLatin1(scanned) << QString::fromLatin1(prefix) << number;
    };
    row("archive serial number", "ASN00454", "", 454);
    row("lower case, blanks around", " asn454 ", "", 454);
    row("six digits", "ASN123456", "BOX", 123456);
    row("last prefix", "BOX-12", "BOX-", 12);
    row("ASN whatever the last prefix", "ASN00012", "BOX", 12);
    row("plain number", "454", "", 0);
    row("plain number with a prefix chosen", "454", "BOX", 0);
    row("prefix alone", "ASN", "", 0);
    row("other prefix", "BOX12", "", 0);
    row("blank inside", "ASN 00454", "", 0);
    row("ten digits", "ASN1234567890", "", 0);
    row("a prefix of digits is none", "12454", "12", 0);
}

void LabelCodesTest::scans()
{
    QFETCH(QString, scanned);
    QFETCH(QString, lastPrefix);
    QFETCH(int, number);
    QCOMPARE(LabelCode::scannedNumber(scanned, lastPrefix).value_or(0), number);
}

void LabelCodesTest::codesReadBack_data()
{
    // One page per sheet and kind of code; the sheets take turns with and without the ASN prefix,
    // so that each sheet is read both ways over the three kinds.
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("archiveFirst"); // the first sheet's labels carry ASN
    QTest::newRow("QR Code") << int(Kind::QrCode) << true;
    QTest::newRow("Data Matrix") << int(Kind::DataMatrix) << false;
    QTest::newRow("Code 128") << int(Kind::Code128) << true;
}

void LabelCodesTest::codesReadBack()
{
    QFETCH(int, kind);
    QFETCH(bool, archiveFirst);
    QVERIFY2(havePoppler(), "poppler-utils (pdftoppm, pdftotext) is needed to read the pages");
    QVERIFY2(haveDecoders(), "zbar-tools (zbarimg) and dmtx-utils (dmtxread) are needed to read the codes");
    constexpr int dpi = 300;
    QTemporaryDir dir;
    bool archive = archiveFirst;
    for (const LabelLayout::Sheet &sheet : shippedSheets()) {
        // ASN labels from 1, as a new archive starts; the others at numbers of 3 to 6 digits.
        const LabelPainter::Code code{Kind(kind), archive ? QStringLiteral("ASN") : QString()};
        const int start = archive ? 1 : (sheet.labelsPerSheet() * 997) % 99000 + 100;
        archive = !archive;
        // A sheet's page, or a roll's first two labels, each on a page of its own.
        QVector<int> numbers(sheet.roll ? 2 : sheet.labelsPerSheet());
        std::iota(numbers.begin(), numbers.end(), start);
        QVERIFY2(LabelPainter::checkCodes(sheet, numbers, code).isEmpty(), qPrintable(sheet.name));
        const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
        QVERIFY(printSheet(pdf, sheet, numbers, {}, code));
        const QVector<QImage> pages = pdfImages(pdf, dpi);
        QCOMPARE(pages.size(), sheet.roll ? 2 : 1);
        // A roll's page is the label.
        const QSizeF paper = sheet.pageSize().size(QPageSize::Point) * dpi / 72.0;
        QVERIFY(qAbs(pages.first().width() - paper.width()) <= 1 && qAbs(pages.first().height() - paper.height()) <= 1);

        // Each label cut out on its own: its code reads back as its own text, quiet zone and all.
        QStringList pictures, expected;
        for (int i = 0; i < numbers.size(); ++i) {
            const QString picture = dir.filePath(QStringLiteral("label%1.pgm").arg(i));
            QVERIFY(
                pages.at(sheet.roll ? i : 0).copy(inPixels(sheet.labelRect(sheet.roll ? 0 : i), dpi)).save(picture));
            pictures << picture;
            expected << LabelCode::text(code.prefix, numbers.at(i));
        }
        const QStringList read = decode(code.kind, pictures);
        QVERIFY2(read == expected, qPrintable(sheet.name + QStringLiteral(": read ") + read.join(QLatin1Char(' '))));
    }
}

void LabelCodesTest::keywordLineIsWhole_data()
{
    QTest::addColumn<QString>("sheetName");
    QTest::addColumn<int>("kind");
    QTest::newRow("A4 21, no code") << "A4 21 per sheet" << int(Kind::None);
    QTest::newRow("Letter 80, QR Code") << "Letter 80 per sheet" << int(Kind::QrCode);
    QTest::newRow("A4 65, Code 128") << "A4 65 per sheet" << int(Kind::Code128);
}

void LabelCodesTest::keywordLineIsWhole()
{
    QFETCH(QString, sheetName);
    QFETCH(int, kind);
    QVERIFY2(havePoppler(), "poppler-utils (pdftoppm, pdftotext) is needed to read the pages");
    std::optional<LabelLayout::Sheet> sheet;
    for (const LabelLayout::Sheet &s : shippedSheets())
        if (s.name.startsWith(sheetName))
            sheet = s;
    QVERIFY(sheet);
    constexpr int dpi = 300;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    QVERIFY(printSheet(pdf, *sheet, {1, 2, 3}, {{2, QStringLiteral("gypsy jpq")}}, {Kind(kind), QString()}));
    const QImage page = pdfImages(pdf, dpi).value(0);
    QVERIFY(!page.isNull());
    const QRect label = inPixels(sheet->labelRect(1), dpi);

    // The keyword line's words as pdftotext places them: their box runs down to the font's descent.
    // Neither they nor the number come near the code.
    const LabelCode::Symbol symbol = LabelCode::encode(Kind(kind), QStringLiteral("3"));
    const QRect codeArea = inPixels(
        LabelPainter::areasFor(sheet->labelRect(1), Kind(kind), symbol.linear ? 0 : symbol.size.width()).code, dpi);
    QRectF words;
    for (const PdfWord &w : pdfPages(pdf).value(0).words) {
        const QRectF box(QPointF(w.left, w.top) * dpi / 72.0, QPointF(w.right, w.bottom) * dpi / 72.0);
        QVERIFY2(!box.intersects(codeArea), qPrintable(w.text));
        if (w.text == QLatin1String("gypsy") || w.text == QLatin1String("jpq"))
            words |= box;
    }
    QVERIFY(!words.isEmpty());
    // The ink below the words' top, inside their columns.
    QRect ink;
    const QRect scan = QRect(words.toAlignedRect().topLeft(), QPoint(words.right(), page.height() - 1)) & page.rect();
    for (int y = scan.top(); y <= scan.bottom(); ++y)
        for (int x = scan.left(); x <= scan.right(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    if (Kind(kind) == Kind::Code128) // the bars beneath are not the keywords' ink
        ink &= QRect(0, 0, page.width(), codeArea.top());
    QVERIFY2(
        label.contains(ink),
        qPrintable(QStringLiteral("ink %1,%2 %3x%4").arg(ink.x()).arg(ink.y()).arg(ink.width()).arg(ink.height())));
    // The descenders of g, y, p, j and q reach down to near the bottom of the font's box, uncut.
    QVERIFY2(ink.bottom() >= words.bottom() - 0.12 * words.height(),
             qPrintable(QStringLiteral("ink ends at %1, the line's box at %2").arg(ink.bottom()).arg(words.bottom())));
}

void LabelCodesTest::scanFindsTheFolder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("folder"); // 0: the text is searched for
    QTest::newRow("archive serial number") << "ASN00454" << 454;
    QTest::newRow("last label prefix") << "BOX12" << 12;
    QTest::newRow("plain number searches") << "454" << 0;
}

void LabelCodesTest::scanFindsTheFolder()
{
    QFETCH(QString, typed);
    QFETCH(int, folder);
    WindowFixture fixture;
    QVERIFY(fixture.open());
    LabelCode::rememberPrefix(fixture.folder().path(), QStringLiteral("BOX")); // as a print with BOX leaves it
    MainWindow &window = fixture.window();
    window.SwitchTab(Tab::Search);
    // A scanner types the code and Enter.
    QTest::keyClicks(window.searchBox(), typed);
    QTest::keyClick(window.searchBox(), Qt::Key_Return);
    if (folder == 0) {
        QCOMPARE(window.tabStrip()->currentIndex(), int(Tab::SearchResults) - 1);
        return;
    }
    QCOMPARE(window.tabStrip()->currentIndex(), int(Tab::AddFiles) - 1);
    DataSource &file = window.store().file();
    QCOMPARE(file.index(file.currentRow(), 0).data().toInt(), folder);
    const DataGrid *grid = window.addFilesPanel()->grid();
    QVERIFY(grid->viewport()->rect().intersects(grid->visualRect(grid->currentIndex())));
}

QTEST_MAIN(LabelCodesTest)
#include "tst_labelcodes.moc"
