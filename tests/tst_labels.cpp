// The label dialog and its definitions file.
#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "print/LabelDefinitions.h"
#include "print/LabelsDialog.h"

#include <QApplication>
#include <QDir>
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

const QByteArray good1("Letter 30;0.1875;0.5;2.625;1;2.75;1;3;10;Letter");
const QByteArray good2("A4 21;0.2839;0.5965;2.5;1.5;2.6;1.5;3;7;A4;3 across; 7 down");

} // namespace

class LabelsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheFirstBlock_data();
    void readsTheFirstBlock();
    void splitsADefinitionLine_data();
    void splitsADefinitionLine();
    void dialogFace();
    void messagesWhenTheFileCannotBeUsed_data();
    void messagesWhenTheFileCannotBeUsed();
};

void LabelsTest::readsTheFirstBlock_data()
{
    QTest::addColumn<QByteArray>("contents"); // lines joined with "\n"
    QTest::addColumn<QString>("names");       // joined with "|"; "bad" for a bad file

    const QByteArray g1 = good1 + "\n", g2 = good2 + "\n";
    QTest::newRow("lines before the marker skipped")
        << "notes; with; semicolons\n\n<BEGINDEF>\n" + g1 + g2 + "</BEGINDEF>\n"
        << QStringLiteral("Letter 30|A4 21");
    QTest::newRow("second block not read")
        << "<BEGINDEF>\n" + g1 + "</BEGINDEF>\n<BEGINDEF>\n" + g2 << QStringLiteral("Letter 30");
    QTest::newRow("no end marker nor final line end")
        << "<BEGINDEF>\n" + g1 + good2 << QStringLiteral("Letter 30|A4 21");
    QTest::newRow("empty block") << QByteArray("<BEGINDEF>\n</BEGINDEF>\n") << QString();
    QTest::newRow("malformed lines still listed") << "<BEGINDEF>\nShort;1;2\nno separator\n\n" + g1 + "</BEGINDEF>\n"
                                                  << QStringLiteral("Short|||Letter 30");
    QTest::newRow("end marker with a space is a definition line")
        << "<BEGINDEF>\n" + g1 + "</BEGINDEF> \n" + g2 + "</BEGINDEF>\n"
        << QStringLiteral("Letter 30||A4 21");
    QTest::newRow("marker is the last line") << QByteArray("notes\n<BEGINDEF>\n") << QStringLiteral("bad");
    QTest::newRow("no marker") << g1 + g2 << QStringLiteral("bad");
    QTest::newRow("marker in lower case") << "<begindef>\n" + g1 + "</begindef>\n" << QStringLiteral("bad");
    QTest::newRow("marker with a space") << " <BEGINDEF>\n" + g1 << QStringLiteral("bad");
}

void LabelsTest::readsTheFirstBlock()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, names);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("labels.def"));
    for (const char *lineEnd : {"\n", "\r\n"}) {
        QVERIFY(writeFile(path, QByteArray(contents).replace("\n", lineEnd)));
        const LabelDefinitions::Result result = LabelDefinitions::read(path);
        QStringList got;
        for (const LabelDefinition &d : result.definitions)
            got << d.name;
        QCOMPARE(result.status == LabelDefinitions::Status::Bad ? QStringLiteral("bad") : got.join(QLatin1Char('|')),
                 names);
    }
}

void LabelsTest::splitsADefinitionLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("parts"); // name|eight numbers|tail|well formed

    QTest::newRow("tail keeps its own separators")
        << QString::fromLatin1(good2)
        << QStringLiteral("A4 21|0.2839 0.5965 2.5 1.5 2.6 1.5 3 7|A4;3 across; 7 down|1");
    QTest::newRow("empty tail") << QStringLiteral("N;1;2;3;4;5;6;7;8;") << QStringLiteral("N|1 2 3 4 5 6 7 8||1");
    QTest::newRow("no separator") << QStringLiteral("Letter 30 per sheet") << QStringLiteral("|0 0 0 0 0 0 0 0||0");
    QTest::newRow("eight numbers, no tail")
        << QStringLiteral("N;1;2;3;4;5;6;7;8") << QStringLiteral("N|1 2 3 4 5 6 7 0||0");
    QTest::newRow("empty number field") << QStringLiteral("N;1;;3;4;5;6;7;8;A4")
                                        << QStringLiteral("N|1 0 3 4 5 6 7 8|A4|0");
    QTest::newRow("decimal comma is not a number")
        << QStringLiteral("N;0,5;2;3;4;5;6;7;8;A4") << QStringLiteral("N|0 2 3 4 5 6 7 8|A4|0");
}

void LabelsTest::splitsADefinitionLine()
{
    QFETCH(QString, line);
    QFETCH(QString, parts);
    const LabelDefinition d = LabelDefinitions::parseLine(line);
    QStringList numbers;
    for (float n : d.numbers)
        numbers << QString::number(n);
    QCOMPARE(QStringList({d.name, numbers.join(QLatin1Char(' ')), d.tail, QString::number(d.wellFormed)})
                 .join(QLatin1Char('|')),
             parts);
}

void LabelsTest::dialogFace()
{
    TestFolder folder;
    QVERIFY(folder.copyProgramData());
    ScriptedDialogs dialogs;
    LabelsDialog dialog(folder.path(), &dialogs);
    QVERIFY(dialog.LoadDefs());
    QVERIFY(dialog.printButton()->isDefault());
    QVERIFY(dialog.mode(0)->isChecked());
    QVERIFY(dialog.labelList()->selectedItems().isEmpty());
    QCOMPARE(dialog.labelList()->count(), dialog.definitions().size());
    QVERIFY(dialog.labelList()->count() >= 5); // the shipped file

    // Cancel closes without a word.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
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
        QVERIFY(writeFile(path, good1 + "\r\n"));

    // As the menu opens it: the message once, and no dialog left waiting on screen.
    ScriptedDialogs dialogs;
    QWidget owner;
    LabelsDialog::showModal(folder.path(), &dialogs, &owner, {});
    QCOMPARE(dialogs.messages(), QStringList{message});
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(owner.findChildren<LabelsDialog *>().isEmpty());

    // The file is read afresh at every opening, so a mended or changed file shows at once.
    QDir().rmdir(path); // the folder row's folder
    for (const QByteArray &line : {good1, good2}) {
        QVERIFY(writeFile(path, "<BEGINDEF>\r\n" + line + "\r\n</BEGINDEF>\r\n"));
        LabelsDialog dialog(folder.path(), &dialogs);
        QVERIFY(dialog.LoadDefs());
        QCOMPARE(dialog.labelList()->count(), 1);
        QCOMPARE(dialog.labelList()->item(0)->text(), QString::fromLatin1(line.left(line.indexOf(';'))));
    }
    QCOMPARE(dialogs.messages().size(), 1);
}

QTEST_MAIN(LabelsTest)
#include "tst_labels.moc"
