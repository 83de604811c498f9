// The label dialog and its definitions file.
#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "print/LabelDefinitions.h"
#include "print/LabelsDialog.h"

#include "ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

const QByteArray good1("Letter 30;0.1875;0.5;2.625;1;2.75;1;3;10;Letter");
const QByteArray good2("A4 21;0.2839;0.5965;2.5;1.5;2.6;1.5;3;7;A4;3 across; 7 down");

} // namespace

class LabelsTest : public QObject
{
    Q_OBJECT
private slots:
    void readsTheFirstBlock_data();
    void readsTheFirstBlock();
    void messagesWhenTheFileCannotBeUsed_data();
    void messagesWhenTheFileCannotBeUsed();
    void controlsFitInOneFont();
};

void LabelsTest::readsTheFirstBlock_data()
{
    QTest::addColumn<QByteArray>("contents"); // lines joined with "\n"
    QTest::addColumn<QString>("names");       // joined with "|"; "bad" for a bad file
    const auto row = [](const char *name, const QByteArray &contents, const char *names) {
        QTest::newRow(name) << contents << QString::fromLatin1(names);
    };
    const QByteArray g1 = good1 + "\n", g2 = good2 + "\n";
    row("lines before the marker skipped", "notes; a;b\n\n<BEGINDEF>\n" + g1 + g2 + "</BEGINDEF>\n", "Letter 30|A4 21");
    row("second block not read", "<BEGINDEF>\n" + g1 + "</BEGINDEF>\n<BEGINDEF>\n" + g2, "Letter 30");
    row("no end marker nor final line end", "<BEGINDEF>\n" + g1 + good2, "Letter 30|A4 21");
    row("empty block", "<BEGINDEF>\n</BEGINDEF>\n", "");
    row("malformed lines still listed", "<BEGINDEF>\nShort;1;2\nno separator\n\n" + g1, "Short|||Letter 30");
    row("end marker with a space", "<BEGINDEF>\n" + g1 + "</BEGINDEF> \n" + g2 + "</BEGINDEF>\n", "Letter 30||A4 21");
    row("marker is the last line", "notes\n<BEGINDEF>\n", "bad");
    row("no marker", g1 + g2, "bad");
    row("marker in lower case", "<begindef>\n" + g1 + "</begindef>\n", "bad");
    row("marker with a space", " <BEGINDEF>\n" + g1, "bad");
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

void LabelsTest::messagesWhenTheFileCannotBeUsed_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QStringLiteral("missing") << LabelsDialog::notFoundMessage();
    QTest::newRow("a folder in its place") << QStringLiteral("folder") << LabelsDialog::notFoundMessage();
    QTest::newRow("no start marker") << QStringLiteral("bad") << LabelsDialog::badFileMessage();
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

void LabelsTest::controlsFitInOneFont()
{
    ScriptedDialogs dialogs;
    LabelsDialog dialog(TestFolder::builtProgramFolder(), &dialogs);
    QVERIFY(dialog.LoadDefs());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.codeChoice()->count(), 4);
    QCOMPARE(dialog.codeChoice()->currentText(), QStringLiteral("None"));
    QVERIFY(dialog.prefix()->text().isEmpty());
    QVERIFY(!dialog.listedOnly()->isChecked());

    // The first controls where they always were; the new ones beside them, nothing overlapping,
    // every control inside the dialog, every caption whole, and one font for all.
    QCOMPARE(dialog.startNumber()->geometry(), Twips::rect(2340, 2400, 735, 285));
    QCOMPARE(dialog.mode(1)->geometry(), Twips::rect(4140, 2940, 975, 195));
    const QList<QWidget *> controls = dialog.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    const QFont font = dialog.startNumber()->font();
    for (QWidget *a : controls) {
        QVERIFY2(dialog.rect().contains(a->geometry()), qPrintable(a->objectName()));
        const bool added =
            QStringList{"lblCode", "cboCode", "lblPrefix", "txtPrefix", "chkListed"}.contains(a->objectName());
        for (QWidget *b : controls)
            QVERIFY2(a == b || !added || !a->geometry().intersects(b->geometry()),
                     qPrintable(a->objectName() + QStringLiteral(" on ") + b->objectName()));
        if (qobject_cast<QLabel *>(a) || qobject_cast<QAbstractButton *>(a)) {
            QVERIFY2(a->sizeHint().width() <= a->width() || qobject_cast<QPushButton *>(a),
                     qPrintable(QStringLiteral("%1 needs %2 of %3 px in %4 (%5)")
                                    .arg(a->objectName())
                                    .arg(a->sizeHint().width())
                                    .arg(a->width())
                                    .arg(a->font().toString(), QFontInfo(a->font()).family())));
            QVERIFY2(a->font() == font, qPrintable(a->objectName()));
        }
    }
}

QTEST_MAIN(LabelsTest)
#include "tst_labels.moc"
