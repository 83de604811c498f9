// What a screen reader says for the controls a user works in: the grids, the category pick list,
// the search box and the label list each carry a name and the role of their kind.
#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "print/LabelsDialog.h"

#include <QAccessible>
#include <QtTest>

class AccessibleTest : public QObject
{
    Q_OBJECT
private slots:
    void controlsHaveNames_data();
    void controlsHaveNames();
};

void AccessibleTest::controlsHaveNames_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::newRow("search box") << "txtFrontSearch" << QStringLiteral("Search for") << int(QAccessible::EditableText);
    QTest::newRow("search results grid") << "grdSearch" << QStringLiteral("Search results") << int(QAccessible::Table);
    QTest::newRow("file slots grid") << "grdFile" << QStringLiteral("File slots") << int(QAccessible::Table);
    QTest::newRow("category pick list") << "CatList" << QStringLiteral("Category pick list") << int(QAccessible::List);
    QTest::newRow("my categories grid") << "grdCategories" << QStringLiteral("My categories")
                                        << int(QAccessible::Table);
    QTest::newRow("label type list") << "lstLabels" << QStringLiteral("Label type") << int(QAccessible::List);
    QTest::newRow("label code prefix") << "txtPrefix" << QStringLiteral("Code prefix")
                                       << int(QAccessible::EditableText);
}

void AccessibleTest::controlsHaveNames()
{
    QFETCH(QString, objectName);
    QFETCH(QString, name);
    QFETCH(int, role);
    TestFolder folder;
    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    LabelsDialog labels(folder.path(), &dialogs, &window);
    QWidget *widget = window.findChild<QWidget *>(objectName);
    if (!widget)
        widget = labels.findChild<QWidget *>(objectName);
    QVERIFY(widget);

    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(face);
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(int(face->role()), role);
}

QTEST_MAIN(AccessibleTest)
#include "tst_accessible.moc"
