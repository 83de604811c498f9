#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "app/Twips.h"
#include "store/AddFilesPanel.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/DropDownDelegate.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabBar>
#include <QtTest>

// The Add Files tab in the real window over a database of 60 slots.
class AddFilesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    AddFilesPanel *m_panel = nullptr;
    DataGrid *m_grid = nullptr;
    DataSource *m_file = nullptr;

    void sql(const QString &statement, const QVariantList &binds = {})
    {
        QSqlQuery query(m_window->database()->connection());
        QVERIFY(query.prepare(statement));
        for (const QVariant &v : binds)
            query.addBindValue(v);
        QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
    }
    QVariant stored(int number, const char *field)
    {
        QSqlQuery query(m_window->database()->connection());
        query.exec(QStringLiteral("SELECT %1 FROM Varnel WHERE FileNumber = %2").arg(field).arg(number));
        return query.next() ? query.value(0) : QVariant(QStringLiteral("<no slot>"));
    }
    int currentNumber() const { return m_file->field(QStringLiteral("FileNumber")).toInt(); }
    QModelIndex cell(int number, const char *field) const
    {
        return m_file->index(number - 1, m_file->columnIndex(QString::fromLatin1(field)));
    }
    // Types into a cell of the grid and leaves the editor open, as a user still typing.
    void typeInto(const QModelIndex &index, const QString &text)
    {
        m_grid->setFocus();
        m_grid->setCurrentIndex(index);
        m_grid->edit(index);
        auto *editor = qobject_cast<QLineEdit *>(m_grid->indexWidget(index));
        QVERIFY(editor);
        editor->setText(text);
    }
    void pressDropDown(int number)
    {
        const QModelIndex index = cell(number, "Category");
        m_grid->scrollTo(index);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          DropDownDelegate::buttonRect(m_grid->visualRect(index)).center());
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>(TestFolder::Contents::TemplateOnly);
        QVERIFY(m_folder->makeDatabase(60));
        m_dialogs = ScriptedDialogs();
        m_window = std::make_unique<MainWindow>(m_folder->path(), &m_dialogs);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_panel = m_window->addFilesPanel();
        m_grid = m_panel->grid();
        m_file = m_window->fileSource();
    }
    void cleanup() { m_window.reset(); }

    void nextOpenSlot_data()
    {
        QTest::addColumn<int>("filledUpTo");
        QTest::addColumn<int>("startTab");
        QTest::addColumn<int>("startNumber");
        QTest::addColumn<QString>("via");
        QTest::addColumn<int>("expected");
        QTest::newRow("open slot above the current row") << 3 << 3 << 40 << "Command1(0)" << 4;
        QTest::newRow("F5 on the Search tab") << 5 << 1 << 1 << "F5" << 6;
        QTest::newRow("Jump menu on Start Here") << 0 << 5 << 1 << "mnuOpen" << 1;
        QTest::newRow("every slot filled keeps the row") << 60 << 3 << 30 << "Command1(0)" << 30;
    }
    void nextOpenSlot()
    {
        QFETCH(int, filledUpTo);
        QFETCH(int, startTab);
        QFETCH(int, startNumber);
        QFETCH(QString, via);
        QFETCH(int, expected);
        sql(QStringLiteral("UPDATE Varnel SET Keywords = 'papers' WHERE FileNumber <= ?"), {filledUpTo});
        m_window->SwitchTab(3);
        m_file->setCurrentRow(startNumber - 1);
        if (startTab != 3)
            m_window->SwitchTab(static_cast<qint16>(startTab));
        if (via == QLatin1String("F5"))
            QTest::keyClick(m_window.get(), Qt::Key_F5);
        else if (via == QLatin1String("mnuOpen"))
            m_window->action(via)->trigger();
        else
            QTest::mouseClick(m_panel->findChild<QPushButton *>(via), Qt::LeftButton);

        QCOMPARE(m_window->tabStrip()->currentIndex(), 2);
        QCOMPARE(currentNumber(), expected);
        QVERIFY(m_grid->viewport()->rect().intersects(m_grid->visualRect(m_grid->currentIndex())));
        QCOMPARE(m_file->recordCount(), 60);
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void nextOpenSlotStaysUntilKeywordsAreWritten()
    {
        m_window->SwitchTab(3);
        QTest::keyClick(m_window.get(), Qt::Key_F5);
        QTest::keyClick(m_window.get(), Qt::Key_F5);
        QCOMPARE(currentNumber(), 1);
        QCOMPARE(m_grid->currentIndex(), cell(1, "Keywords"));
        // F5 while the keywords are still in the cell editor: they are kept and the next slot is open.
        typeInto(cell(1, "Keywords"), QStringLiteral("Tax papers 2023"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
        QCOMPARE(stored(1, "Keywords").toString(), QStringLiteral("Tax papers 2023"));
        QCOMPARE(currentNumber(), 2);
        QVERIFY(!m_grid->indexWidget(cell(1, "Keywords")));
        QCOMPARE(QApplication::focusWidget(), m_grid); // typing goes on into slot 2
    }

    void topOfList()
    {
        m_window->SwitchTab(3);
        m_file->setCurrentRow(50);
        m_grid->scrollTo(m_grid->currentIndex());
        m_window->SwitchTab(5);
        QTest::keyClick(m_window.get(), Qt::Key_F6);
        QCOMPARE(m_window->tabStrip()->currentIndex(), 2);
        QCOMPARE(m_file->currentRow(), 0);
        QCOMPARE(m_grid->rowAt(0), 0);
    }

    void jumpToFile_data()
    {
        QTest::addColumn<QVariant>("answer"); // null: Cancel
        QTest::addColumn<int>("expected");    // 0: the row stays, its edit still pending
        QTest::newRow("cancel") << QVariant() << 0;
        QTest::newRow("empty") << QVariant(QString()) << 0;
        QTest::newRow("letters") << QVariant(QStringLiteral("abc")) << 0;
        QTest::newRow("number with blanks") << QVariant(QStringLiteral(" 12 ")) << 12;
        QTest::newRow("slot far down") << QVariant(QStringLiteral("58")) << 58;
        QTest::newRow("number no slot carries") << QVariant(QStringLiteral("5000")) << 0;
        QTest::newRow("condition text") << QVariant(QStringLiteral("1 OR 1=1")) << 0;
        QTest::newRow("statement text") << QVariant(QStringLiteral("12; DROP TABLE Varnel")) << 0;
    }
    void jumpToFile()
    {
        QFETCH(QVariant, answer);
        QFETCH(int, expected);
        m_window->SwitchTab(3);
        m_file->setCurrentRow(2);
        m_file->setData(cell(3, "Keywords"), QStringLiteral("typing"));
        if (!answer.isNull())
            m_dialogs.inputAnswers.enqueue(answer.toString());
        QTest::mouseClick(m_panel->findChild<QPushButton *>(QStringLiteral("Command6")), Qt::LeftButton);

        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Please Enter File "));
        QCOMPARE(currentNumber(), expected ? expected : 3);
        QCOMPARE(m_file->hasPendingEdit(), expected == 0);
        QCOMPARE(stored(3, "Keywords").toString(), expected ? QStringLiteral("typing") : QString());
        QVERIFY(m_grid->viewport()->rect().intersects(m_grid->visualRect(m_grid->currentIndex())));
        QCOMPARE(stored(60, "FileNumber").toInt(), 60);
    }

    void undo_data()
    {
        QTest::addColumn<bool>("editorOpen");
        QTest::newRow("edit in the row") << false;
        QTest::newRow("text still in the cell editor") << true;
    }
    void undo()
    {
        QFETCH(bool, editorOpen);
        sql(QStringLiteral("UPDATE Varnel SET Keywords = 'Old' WHERE FileNumber = 7"));
        m_window->SwitchTab(3);
        m_file->setCurrentRow(6);
        if (editorOpen)
            typeInto(cell(7, "Keywords"), QStringLiteral("New"));
        else
            QVERIFY(m_file->setData(cell(7, "Keywords"), QStringLiteral("New")) && m_file->hasPendingEdit());
        QTest::mouseClick(m_panel->findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);

        QCOMPARE(QApplication::focusWidget(), m_grid);
        QCOMPARE(cell(7, "Keywords").data().toString(), QStringLiteral("Old"));
        m_file->setCurrentRow(0);
        QCOMPARE(stored(7, "Keywords").toString(), QStringLiteral("Old"));
    }

    void pickListPlacement_data()
    {
        QTest::addColumn<bool>("bottomRow");
        QTest::newRow("top row") << false;
        QTest::newRow("bottom row") << true;
    }
    void pickListPlacement()
    {
        QFETCH(bool, bottomRow);
        m_window->SwitchTab(3);
        m_grid->scrollTo(m_file->index(20, 0), QAbstractItemView::PositionAtTop);
        int row = m_grid->rowAt(0);
        if (bottomRow) {
            while (m_grid->rowViewportPosition(row + 1) + m_grid->rowHeight(row + 1) <= m_grid->viewport()->height())
                ++row;
        }
        pressDropDown(row + 1);

        QListView *list = m_panel->categoryList();
        QVERIFY(list->isVisible());
        QCOMPARE(m_file->currentRow(), row);
        QVERIFY(!m_grid->indexWidget(m_grid->currentIndex()));
        const int column = m_file->columnIndex(QStringLiteral("Category"));
        const QPoint columnRight = m_grid->viewport()->mapTo(
            m_panel, QPoint(m_grid->columnViewportPosition(column) + m_grid->columnWidth(column), 0));
        QCOMPARE(list->geometry().right() + 1, columnRight.x());
        const int visibleRow = row - m_grid->rowAt(0);
        QCOMPARE(list->y(), Twips::toPixels(Twips::fromPixels(m_grid->rowHeight(row)) * visibleRow +
                                            Twips::fromPixels(m_grid->y()) + 500));
        QCOMPARE(list->y() + list->height() > m_grid->geometry().bottom(), bottomRow);
        // In front of the grid where the two overlap.
        const QPoint overlap = list->pos() + QPoint(4, 4);
        QVERIFY(m_grid->geometry().contains(overlap));
        QVERIFY(list->isAncestorOf(m_panel->childAt(overlap)));
    }

    void pickWritesTheCategoryCellOnly()
    {
        sql(QStringLiteral("UPDATE Varnel SET Keywords = 'Car', Category = 'Bank', Reminder = '2024-03-01' "
                           "WHERE FileNumber BETWEEN 4 AND 6"));
        m_window->SwitchTab(3);
        pressDropDown(5);
        QListView *list = m_panel->categoryList();
        const QModelIndexList health =
            list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("Health"));
        QCOMPARE(health.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(health.first()).center());

        QVERIFY(!list->isVisible());
        QCOMPARE(cell(5, "Category").data().toString(), QStringLiteral("Health"));
        QCOMPARE(stored(5, "Category").toString(), QStringLiteral("Bank")); // written when the row is left
        m_file->setCurrentRow(0);
        for (int number : {4, 5, 6}) {
            QCOMPARE(stored(number, "Category").toString(), number == 5 ? "Health" : "Bank");
            QCOMPARE(stored(number, "Keywords").toString(), QStringLiteral("Car"));
            QCOMPARE(stored(number, "Reminder").toString(), QStringLiteral("2024-03-01"));
        }
    }

    void pickListStaysOpenUntilTheTabIsLeft()
    {
        m_window->SwitchTab(3);
        pressDropDown(2);
        QListView *list = m_panel->categoryList();
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, m_grid->visualRect(cell(3, "Keywords")).center());
        QVERIFY(list->isVisible());
        m_window->SwitchTab(4);
        m_window->SwitchTab(3);
        QVERIFY(!list->isVisible());
    }
};

QTEST_MAIN(AddFilesTest)
#include "tst_addfiles.moc"
