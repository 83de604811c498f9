#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "panels/AddFilesPanel.h"
#include "store/DataSource.h"
#include "ui/DataGrid.h"
#include "ui/DropDownDelegate.h"
#include "ui/Twips.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabBar>
#include <QtTest>

// The Add Files tab in the real window over a database of 60 slots.
class AddFilesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<WindowFixture> m_fixture;
    MainWindow *m_window = nullptr;
    DataGrid *m_grid = nullptr;
    DataSource *m_file = nullptr;

    void sql(const QString &statement) { QVERIFY(m_fixture->sql(statement).isActive()); }
    QString stored(int number, const char *field)
    {
        QSqlQuery query(m_window->store().engine().connection());
        query.exec(QStringLiteral("SELECT %1 FROM Varnel WHERE FileNumber = %2").arg(field).arg(number));
        return query.next() ? query.value(0).toString() : QStringLiteral("<no slot>");
    }
    int currentNumber() const { return m_file->index(m_file->currentRow(), 0).data().toInt(); }
    QModelIndex cell(int number, const char *field) const
    {
        return m_file->index(number - 1, m_file->columnIndex(QString::fromLatin1(field)));
    }
    // A key, a menu item or a button of the tab, by name.
    void run(const QString &via)
    {
        if (via == QLatin1String("F5") || via == QLatin1String("F6"))
            QTest::keyClick(QApplication::focusWidget(), via == QLatin1String("F5") ? Qt::Key_F5 : Qt::Key_F6);
        else if (via.startsWith(QLatin1String("mnu")))
            m_window->action(via)->trigger();
        else
            QTest::mouseClick(m_window->addFilesPanel()->findChild<QPushButton *>(via), Qt::LeftButton);
    }
    // Types into a cell and leaves its editor open, as a user still typing.
    void typeInto(const QModelIndex &index, const QString &text)
    {
        m_grid->setFocus();
        m_grid->setCurrentIndex(index);
        m_grid->edit(index);
        auto *editor = qobject_cast<QLineEdit *>(m_grid->indexWidget(index));
        QVERIFY(editor);
        editor->setText(text);
    }
    bool currentRowShown() const
    {
        return m_grid->viewport()->rect().intersects(m_grid->visualRect(m_grid->currentIndex()));
    }

private slots:
    void init()
    {
        m_fixture = std::make_unique<WindowFixture>(TestFolder::Contents::TemplateOnly);
        QVERIFY(m_fixture->open(60));
        m_window = &m_fixture->window();
        m_grid = m_window->addFilesPanel()->grid();
        m_file = &m_window->store().file();
        m_window->SwitchTab(3);
    }
    void cleanup() { m_fixture.reset(); }

    void jumpCommands_data()
    {
        QTest::addColumn<int>("filledUpTo");
        QTest::addColumn<int>("startNumber");
        QTest::addColumn<int>("startTab");
        QTest::addColumn<QString>("via");
        QTest::addColumn<int>("expected");
        QTest::newRow("open slot above the current row") << 3 << 40 << 3 << "Command1(0)" << 4;
        QTest::newRow("F5 on the Search tab") << 5 << 1 << 1 << "F5" << 6;
        QTest::newRow("Jump menu on Start Here") << 0 << 1 << 5 << "mnuOpen" << 1;
        QTest::newRow("every slot filled keeps the row") << 60 << 30 << 3 << "Command1(0)" << 30;
        QTest::newRow("F6 on Start Here") << 0 << 50 << 5 << "F6" << 1;
    }
    void jumpCommands()
    {
        QFETCH(int, filledUpTo);
        QFETCH(int, startNumber);
        QFETCH(int, startTab);
        QFETCH(QString, via);
        QFETCH(int, expected);
        sql(QStringLiteral("UPDATE Varnel SET Keywords = 'papers' WHERE FileNumber <= %1").arg(filledUpTo));
        m_file->setCurrentRow(startNumber - 1);
        m_grid->scrollTo(m_grid->currentIndex());
        if (startTab != 3)
            m_window->SwitchTab(static_cast<qint16>(startTab));
        run(via);

        QCOMPARE(m_window->tabStrip()->currentIndex(), 2);
        QCOMPARE(currentNumber(), expected);
        QVERIFY(currentRowShown());
        if (via == QLatin1String("F6"))
            QCOMPARE(m_grid->rowAt(0), 0);
        QCOMPARE(m_file->recordCount(), 60);
        QVERIFY(m_fixture->dialogs().shown.isEmpty());
    }

    void nextOpenSlotStaysUntilKeywordsAreWritten()
    {
        run("F5");
        run("F5");
        QCOMPARE(m_grid->currentIndex(), cell(1, "Keywords"));
        // F5 while the keywords are still in the cell editor: they are kept and typing goes on in slot 2.
        typeInto(cell(1, "Keywords"), QStringLiteral("Tax papers 2023"));
        run("F5");
        QCOMPARE(stored(1, "Keywords"), QStringLiteral("Tax papers 2023"));
        QCOMPARE(m_grid->currentIndex(), cell(2, "Keywords"));
        QCOMPARE(QApplication::focusWidget(), m_grid);
    }

    void jumpToFile_data()
    {
        QTest::addColumn<QVariant>("answer"); // null: Cancel
        QTest::addColumn<int>("expected");    // 0: the row stays, its edit still pending
        QTest::newRow("cancel") << QVariant() << 0;
        QTest::newRow("slot far down, blanks around") << QVariant(QStringLiteral(" 58 ")) << 58;
        QTest::newRow("number no slot carries") << QVariant(QStringLiteral("5000")) << 0;
        QTest::newRow("condition text") << QVariant(QStringLiteral("1 OR 1=1")) << 0;
        QTest::newRow("statement text") << QVariant(QStringLiteral("12; DROP TABLE Varnel")) << 0;
        QTest::newRow("scanned label code") << QVariant(QStringLiteral("ASN00058")) << 58;
        QTest::newRow("label code of no slot") << QVariant(QStringLiteral("ASN99999")) << 0;
    }
    void jumpToFile()
    {
        QFETCH(QVariant, answer);
        QFETCH(int, expected);
        m_file->setCurrentRow(2);
        m_file->setData(cell(3, "Keywords"), QStringLiteral("typing"));
        if (!answer.isNull())
            m_fixture->dialogs().inputAnswers.enqueue(answer.toString());
        run("Command6");

        QCOMPARE(m_fixture->dialogs().shown.size(), 1);
        QCOMPARE(m_fixture->dialogs().shown.first().text, QStringLiteral("Please Enter File "));
        QCOMPARE(currentNumber(), expected ? expected : 3);
        QVERIFY(currentRowShown());
        QCOMPARE(m_file->hasPendingEdit(), expected == 0);
        QCOMPARE(stored(3, "Keywords"), expected ? QStringLiteral("typing") : QString());
        QCOMPARE(stored(60, "FileNumber"), QStringLiteral("60"));
    }

    void undoRestoresTheRow()
    {
        sql(QStringLiteral("UPDATE Varnel SET Keywords = 'Old' WHERE FileNumber = 7"));
        for (bool editorOpen : {false, true}) {
            m_file->setCurrentRow(6);
            if (editorOpen) // the text is still in the cell editor
                typeInto(cell(7, "Keywords"), QStringLiteral("New"));
            else
                QVERIFY(m_file->setData(cell(7, "Keywords"), QStringLiteral("New")));
            run("Command2");
            QCOMPARE(QApplication::focusWidget(), m_grid);
            QCOMPARE(cell(7, "Keywords").data().toString(), QStringLiteral("Old"));
            m_file->setCurrentRow(0);
            QCOMPARE(stored(7, "Keywords"), QStringLiteral("Old"));
        }
    }

    void pickList_data()
    {
        QTest::addColumn<bool>("bottomRow");
        QTest::newRow("top row") << false;
        QTest::newRow("bottom row") << true;
    }
    void pickList()
    {
        QFETCH(bool, bottomRow);
        sql(QStringLiteral("UPDATE Varnel SET Keywords = 'Car', Category = 'Bank'"));
        m_grid->scrollTo(m_file->index(20, 0), QAbstractItemView::PositionAtTop);
        int row = m_grid->rowAt(0);
        while (bottomRow && m_grid->rowViewportPosition(row + 2) <= m_grid->viewport()->height())
            ++row;
        const int number = row + 1;
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          DropDownDelegate::buttonRect(m_grid->visualRect(cell(number, "Category"))).center());

        // Right-aligned with the column, 500 twips below the row's top, even past the grid's lower
        // edge, in front of the grid; the button does not start a cell editor.
        AddFilesPanel *panel = m_window->addFilesPanel();
        QListView *list = panel->categoryList();
        QVERIFY(list->isVisible());
        QCOMPARE(m_grid->currentIndex(), cell(number, "Category"));
        QVERIFY(!m_grid->indexWidget(m_grid->currentIndex()));
        const int column = m_grid->currentIndex().column();
        QCOMPARE(list->geometry().right() + 1,
                 m_grid->viewport()
                     ->mapTo(panel, QPoint(m_grid->columnViewportPosition(column) + m_grid->columnWidth(column), 0))
                     .x());
        const int rowTop = m_grid->y() + (row - m_grid->rowAt(0)) * m_grid->rowHeight(row);
        QVERIFY(qAbs(list->y() - rowTop - Twips::toPixels(500)) <= 1);
        QCOMPARE(list->geometry().bottom() > m_grid->geometry().bottom(), bottomRow);
        QVERIFY(list->isAncestorOf(panel->childAt(list->pos() + QPoint(4, 4))));

        // The pick goes into the current row only, written when the row is left.
        const QModelIndex health = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, "Health").value(0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(health).center());
        QVERIFY(!list->isVisible());
        QCOMPARE(stored(number, "Category"), QStringLiteral("Bank"));
        m_file->setCurrentRow(0);
        for (int n : {number - 1, number, number + 1})
            QCOMPARE(stored(n, "Category") + stored(n, "Keywords"), (n == number ? "HealthCar" : "BankCar"));
    }

    void pickListByKeys_data()
    {
        using Keys = QList<QKeyCombination>;
        QTest::addColumn<QString>("typed"); // into the cell first; empty: no editor open
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QString>("expected"); // the row's category once the row is left; +n, -n: counted from Bank
        const QKeyCombination open(Qt::AltModifier, Qt::Key_Down);
        QTest::newRow("Alt+Down, Down, Enter") << QString() << Keys{open, Qt::Key_Down, Qt::Key_Return} << "+1";
        QTest::newRow("Up twice") << QString() << Keys{open, Qt::Key_Up, Qt::Key_Up, Qt::Key_Enter} << "-2";
        QTest::newRow("Escape closes the list only") << QString() << Keys{open, Qt::Key_Escape} << "Bank";
        QTest::newRow("from the editor") << "He" << Keys{open, Qt::Key_Return} << "Health";
        QTest::newRow("typing completes") << "he" << Keys{Qt::Key_Return} << "Health";
        QTest::newRow("a new name is kept") << "Hex" << Keys{Qt::Key_Return} << "Hex";
    }
    void pickListByKeys()
    {
        QFETCH(QString, typed);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QString, expected);
        sql(QStringLiteral("UPDATE Varnel SET Category = 'Bank' WHERE FileNumber = 5"));
        m_window->SwitchTab(3);
        QListView *list = m_window->addFilesPanel()->categoryList();
        const QModelIndex bank = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, "Bank").value(0);
        m_grid->setFocus();
        m_grid->setCurrentIndex(cell(5, "Category"));
        if (!typed.isEmpty()) {
            m_grid->edit(m_grid->currentIndex());
            auto *editor = qobject_cast<QLineEdit *>(m_grid->indexWidget(m_grid->currentIndex()));
            QVERIFY(editor);
            editor->selectAll();
            QTest::keyClicks(editor, typed);
        }
        for (const QKeyCombination key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            if (key.keyboardModifiers() & Qt::AltModifier)
                QVERIFY(list->isVisible());
        }
        QVERIFY(!list->isVisible());
        m_file->setCurrentRow(0);
        // An entry counted from Bank, where the list opens for this row.
        if (expected.startsWith('+') || expected.startsWith('-'))
            expected = list->model()
                           ->index(qBound(0, bank.row() + expected.toInt(), list->model()->rowCount() - 1), 0)
                           .data()
                           .toString();
        QCOMPARE(stored(5, "Category"), expected);
    }
};

QTEST_MAIN(AddFilesTest)
#include "tst_addfiles.moc"
