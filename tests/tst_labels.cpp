// The label dialog and its definitions file.
#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "print/LabelDefinitions.h"
#include "print/LabelsDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(contents) == contents.size();
}

// The next control that Tab reaches, skipping the inner parts of compound controls.
QWidget *nextTabStop(QWidget *from)
{
    QWidget *next = from->nextInFocusChain();
    while (next != from && (next->parentWidget() != from->parentWidget() || !(next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
    return next;
}

const char *const good1 = "Letter 30;0.1875;0.5;2.625;1;2.75;1;3;10;Letter";
const char *const good2 = "A4 21;0.2839;0.5965;2.5;1.5;2.6;1.5;3;7;A4;3 across; 7 down";
const char *const good3 = "Letter 20;0.15625;0.5;4;1;4.1875;1;2;10;Letter";

} // namespace

class LabelsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheFirstBlock_data();
    void readsTheFirstBlock();
    void splitsADefinitionLine_data();
    void splitsADefinitionLine();
    void shippedDefinitionsDescribeRealSheets();
    void dialogFace();
    void messagesWhenTheFileCannotBeUsed_data();
    void messagesWhenTheFileCannotBeUsed();
    void rereadAtEveryOpening();
    void cancelCloses_data();
    void cancelCloses();
};

void LabelsTest::readsTheFirstBlock_data()
{
    QTest::addColumn<QByteArray>("contents"); // lines joined with "\n"
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("names");

    const int read = int(LabelDefinitions::Status::Read);
    const int bad = int(LabelDefinitions::Status::Bad);
    const QByteArray g1(good1), g2(good2), g3(good3);
    const QStringList three{QStringLiteral("Letter 30"), QStringLiteral("A4 21"), QStringLiteral("Letter 20")};

    QTest::newRow("three definitions") << "<BEGINDEF>\n" + g1 + "\n" + g2 + "\n" + g3 + "\n</BEGINDEF>\n"
                                       << read << three;
    QTest::newRow("lines before the marker skipped")
        << "Some notes; with; semicolons\n\n<BEGINDEF>\n" + g1 + "\n" + g2 + "\n" + g3 + "\n</BEGINDEF>\n"
        << read << three;
    QTest::newRow("second block not read")
        << "<BEGINDEF>\n" + g1 + "\n</BEGINDEF>\n<BEGINDEF>\n" + g2 + "\n</BEGINDEF>\n"
        << read << QStringList{QStringLiteral("Letter 30")};
    QTest::newRow("no end marker: read to the end") << "<BEGINDEF>\n" + g1 + "\n" + g2 + "\n" + g3 + "\n"
                                                    << read << three;
    QTest::newRow("no end marker nor final line end")
        << "<BEGINDEF>\n" + g1 + "\n" + g2 << read << QStringList{QStringLiteral("Letter 30"), QStringLiteral("A4 21")};
    QTest::newRow("empty block") << QByteArray("<BEGINDEF>\n</BEGINDEF>\n") << read << QStringList();
    QTest::newRow("malformed lines still listed")
        << "<BEGINDEF>\nShort;1;2\nno separator at all\n\n" + g1 + "\nWords;a;b;c;d;e;f;g;h;Letter\n</BEGINDEF>\n"
        << read
        << QStringList{QStringLiteral("Short"), QString(), QString(), QStringLiteral("Letter 30"),
                       QStringLiteral("Words")};
    QTest::newRow("end marker with a space is a definition line")
        << "<BEGINDEF>\n" + g1 + "\n</BEGINDEF> \n" + g2 + "\n</BEGINDEF>\n"
        << read << QStringList{QStringLiteral("Letter 30"), QString(), QStringLiteral("A4 21")};
    QTest::newRow("marker is the last line") << QByteArray("notes\n<BEGINDEF>\n") << bad << QStringList();
    QTest::newRow("marker is the last line, no line end") << QByteArray("<BEGINDEF>") << bad << QStringList();
    QTest::newRow("no marker") << g1 + "\n" + g2 + "\n" << bad << QStringList();
    QTest::newRow("empty file") << QByteArray() << bad << QStringList();
    QTest::newRow("marker in lower case") << "<begindef>\n" + g1 + "\n</begindef>\n" << bad << QStringList();
    QTest::newRow("marker with spaces") << " <BEGINDEF>\n" + g1 + "\n" << bad << QStringList();
    QTest::newRow("marker inside a line") << "x<BEGINDEF>x\n" + g1 + "\n" << bad << QStringList();
}

void LabelsTest::readsTheFirstBlock()
{
    QFETCH(QByteArray, contents);
    QFETCH(int, status);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    for (const char *lineEnd : {"\n", "\r\n"}) {
        QByteArray file = contents;
        file.replace("\n", lineEnd);
        QVERIFY(writeFile(dir.filePath(QStringLiteral("labels.def")), file));
        const LabelDefinitions::Result result = LabelDefinitions::read(dir.filePath(QStringLiteral("labels.def")));
        QCOMPARE(int(result.status), status);
        QStringList got;
        for (const LabelDefinition &d : result.definitions)
            got << d.name;
        QCOMPARE(got, names);
    }
}

void LabelsTest::splitsADefinitionLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVector<float>>("numbers");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<bool>("wellFormed");

    QTest::newRow("plain") << QString::fromLatin1(good1) << QStringLiteral("Letter 30")
                           << QVector<float>{0.1875f, 0.5f, 2.625f, 1, 2.75f, 1, 3, 10} << QStringLiteral("Letter")
                           << true;
    QTest::newRow("tail keeps its own separators") << QString::fromLatin1(good2) << QStringLiteral("A4 21")
                                                   << QVector<float>{0.2839f, 0.5965f, 2.5f, 1.5f, 2.6f, 1.5f, 3, 7}
                                                   << QStringLiteral("A4;3 across; 7 down") << true;
    QTest::newRow("empty tail") << QStringLiteral("N;1;2;3;4;5;6;7;8;") << QStringLiteral("N")
                                << QVector<float>{1, 2, 3, 4, 5, 6, 7, 8} << QString() << true;
    QTest::newRow("empty name") << QStringLiteral(";1;2;3;4;5;6;7;8;A4") << QString()
                                << QVector<float>{1, 2, 3, 4, 5, 6, 7, 8} << QStringLiteral("A4") << true;
    QTest::newRow("no separator") << QStringLiteral("Letter 30 per sheet") << QString() << QVector<float>(8, 0)
                                  << QString() << false;
    QTest::newRow("too few fields") << QStringLiteral("Short;1;2") << QStringLiteral("Short")
                                    << QVector<float>{1, 0, 0, 0, 0, 0, 0, 0} << QString() << false;
    QTest::newRow("eight numbers, no tail") << QStringLiteral("N;1;2;3;4;5;6;7;8") << QStringLiteral("N")
                                            << QVector<float>{1, 2, 3, 4, 5, 6, 7, 0} << QString() << false;
    QTest::newRow("empty number field") << QStringLiteral("N;1;;3;4;5;6;7;8;A4") << QStringLiteral("N")
                                        << QVector<float>{1, 0, 3, 4, 5, 6, 7, 8} << QStringLiteral("A4") << false;
    QTest::newRow("decimal comma is not a number")
        << QStringLiteral("N;0,5;2;3;4;5;6;7;8;A4") << QStringLiteral("N") << QVector<float>{0, 2, 3, 4, 5, 6, 7, 8}
        << QStringLiteral("A4") << false;
}

void LabelsTest::splitsADefinitionLine()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QVector<float>, numbers);
    QFETCH(QString, tail);
    QFETCH(bool, wellFormed);
    const LabelDefinition d = LabelDefinitions::parseLine(line);
    QCOMPARE(d.name, name);
    QCOMPARE(QVector<float>(d.numbers.begin(), d.numbers.end()), numbers);
    QCOMPARE(d.tail, tail);
    QCOMPARE(d.wellFormed, wellFormed);
}

void LabelsTest::shippedDefinitionsDescribeRealSheets()
{
    const LabelDefinitions::Result result =
        LabelDefinitions::read(QDir(TestFolder::builtProgramFolder()).filePath(QStringLiteral("labels.def")));
    QCOMPARE(int(result.status), int(LabelDefinitions::Status::Read));
    QStringList names;
    for (const LabelDefinition &d : result.definitions) {
        names << d.name;
        QVERIFY2(d.wellFormed, qPrintable(d.name));
        const QString paper = d.tail.section(QLatin1Char(';'), 0, 0);
        QVERIFY2(paper == QLatin1String("Letter") || paper == QLatin1String("A4"), qPrintable(d.name));
        const double pageWidth = paper == QLatin1String("A4") ? 210 / 25.4 : 8.5;
        const double pageHeight = paper == QLatin1String("A4") ? 297 / 25.4 : 11;
        const auto &n = d.numbers;
        using N = LabelDefinition;
        // Every label lies on the page and labels do not overlap.
        QVERIFY2(n[N::HorizontalPitch] >= n[N::Width] && n[N::VerticalPitch] >= n[N::Height], qPrintable(d.name));
        QVERIFY2(n[N::LeftMargin] + (n[N::Columns] - 1) * n[N::HorizontalPitch] + n[N::Width] <= pageWidth,
                 qPrintable(d.name));
        QVERIFY2(n[N::TopMargin] + (n[N::Rows] - 1) * n[N::VerticalPitch] + n[N::Height] <= pageHeight,
                 qPrintable(d.name));
    }
    for (const char *required :
         {"Letter 30 per sheet (1 x 2-5/8 in)", "Letter 80 per sheet (1/2 x 1-3/4 in)",
          "Letter 20 per sheet (1 x 4 in)", "A4 21 per sheet (63.5 x 38.1 mm)", "A4 65 per sheet (38.1 x 21.2 mm)"})
        QVERIFY2(names.contains(QString::fromLatin1(required)), required);
}

void LabelsTest::dialogFace()
{
    TestFolder folder;
    QVERIFY(folder.copyProgramData());
    ScriptedDialogs dialogs;
    LabelsDialog dialog(folder.path(), &dialogs);
    QVERIFY(dialog.LoadDefs());
    QCOMPARE(dialog.objectName(), QStringLiteral("frmLabels"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Papyra! Labels"));
    QCOMPARE(dialog.size(), Twips::size(6150, 3975));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

    const struct {
        const char *name;
        const char *text;
        int left, top, width, height;
    } controls[] = {
        {"cmdCancel", "Cancel", 3660, 3435, 1095, 375},
        {"cmdApply", "Print", 4860, 3435, 1095, 375},
        {"lstLabels", nullptr, 480, 600, 4935, 1620},
        {"Label1(0)", "Label Type:", 480, 360, 855, 255},
        {"txtStart", "1", 2340, 2400, 735, 285},
        {"txtEnd", "", 2340, 2880, 735, 285},
        {"Label1(1)", "Start label numbering at", 60, 2460, 2175, 255},
        {"Label1(2)", "Print a total of", 600, 2940, 1575, 255},
        {"optMode(0)", "Labels", 3300, 2940, 795, 195},
        {"optMode(1)", "Pages", 4140, 2940, 975, 195},
    };
    QWidget *previous = nullptr;
    for (const auto &c : controls) {
        auto *widget = dialog.findChild<QWidget *>(QString::fromLatin1(c.name));
        QVERIFY2(widget, c.name);
        QCOMPARE(widget->geometry(), Twips::rect(c.left, c.top, c.width, c.height));
        if (c.text) {
            QString text;
            if (auto *label = qobject_cast<QLabel *>(widget))
                text = label->text();
            else if (auto *button = qobject_cast<QAbstractButton *>(widget))
                text = button->text();
            else if (auto *line = qobject_cast<QLineEdit *>(widget))
                text = line->text();
            QCOMPARE(text, QString::fromLatin1(c.text));
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous)
                QCOMPARE(nextTabStop(previous), widget);
            previous = widget;
        }
    }
    QVERIFY(dialog.printButton()->isDefault());
    QVERIFY(dialog.mode(0)->isChecked());
    QVERIFY(!dialog.mode(1)->isChecked());
    dialog.mode(1)->click();
    QVERIFY(!dialog.mode(0)->isChecked());
    QVERIFY(dialog.labelList()->selectedItems().isEmpty());
    QCOMPARE(dialog.labelList()->count(), dialog.definitions().size());
    QVERIFY(dialog.labelList()->count() >= 5);
    QVERIFY(dialogs.shown.isEmpty());
}

void LabelsTest::messagesWhenTheFileCannotBeUsed_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QStringLiteral("missing") << LabelsDialog::notFoundMessage;
    QTest::newRow("a folder in its place") << QStringLiteral("folder") << LabelsDialog::notFoundMessage;
    QTest::newRow("no start marker") << QStringLiteral("bad") << LabelsDialog::badFileMessage;
}

void LabelsTest::messagesWhenTheFileCannotBeUsed()
{
    QFETCH(QString, situation);
    QFETCH(QString, message);
    TestFolder folder;
    const QString path = folder.filePath(QStringLiteral("labels.def"));
    if (situation == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (situation == QLatin1String("bad"))
        QVERIFY(writeFile(path, QByteArray(good1) + "\r\n"));

    ScriptedDialogs dialogs;
    {
        LabelsDialog dialog(folder.path(), &dialogs);
        QVERIFY(!dialog.LoadDefs());
        QCOMPARE(dialog.labelList()->count(), 0);
    }
    QCOMPARE(dialogs.messages(), QStringList{message});

    // As the menu opens it: the message once, and no dialog left waiting on screen.
    dialogs.clear();
    QWidget owner;
    LabelsDialog::showModal(folder.path(), &dialogs, &owner, {});
    QCOMPARE(dialogs.messages(), QStringList{message});
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(owner.findChildren<LabelsDialog *>().isEmpty());
}

void LabelsTest::rereadAtEveryOpening()
{
    TestFolder folder;
    const QString path = folder.filePath(QStringLiteral("labels.def"));
    QVERIFY(writeFile(path, "<BEGINDEF>\r\n" + QByteArray(good1) + "\r\n</BEGINDEF>\r\n"));
    ScriptedDialogs dialogs;
    QStringList seen;
    for (int opening = 0; opening < 2; ++opening) {
        LabelsDialog dialog(folder.path(), &dialogs);
        QVERIFY(dialog.LoadDefs());
        QCOMPARE(dialog.labelList()->count(), 1);
        seen << dialog.labelList()->item(0)->text();
    }
    QCOMPARE(seen, (QStringList{QStringLiteral("Letter 30"), QStringLiteral("Letter 30")}));

    QVERIFY(writeFile(path, "<BEGINDEF>\r\n" + QByteArray(good2) + "\r\n" + good3 + "\r\n</BEGINDEF>\r\n"));
    LabelsDialog changed(folder.path(), &dialogs);
    QVERIFY(changed.LoadDefs());
    QCOMPARE(changed.labelList()->count(), 2);
    QCOMPARE(changed.labelList()->item(0)->text(), QStringLiteral("A4 21"));
    QVERIFY(dialogs.shown.isEmpty());
}

void LabelsTest::cancelCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel clicked") << QStringLiteral("cancel");
    QTest::newRow("Esc") << QStringLiteral("escape");
}

void LabelsTest::cancelCloses()
{
    QFETCH(QString, how);
    TestFolder folder;
    QVERIFY(folder.copyProgramData());
    ScriptedDialogs dialogs;
    LabelsDialog dialog(folder.path(), &dialogs);
    QVERIFY(dialog.LoadDefs());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    dialog.labelList()->setCurrentRow(1);
    if (how == QLatin1String("cancel"))
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    else
        QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(dialogs.shown.isEmpty());
}

QTEST_MAIN(LabelsTest)
#include "tst_labels.moc"
