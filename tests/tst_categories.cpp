#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "store/AddFilesPanel.h"
#include "store/CategoriesPanel.h"
#include "store/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/DropDownDelegate.h"
#include "store/Schema.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

// The My Categories tab in the real window; the template's ten categories to start with.
class CategoriesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    DataGrid *m_grid = nullptr;
    DataSource *m_categories = nullptr;

    QStringList storedNames()
    {
        QSqlQuery query(m_window->database()->connection());
        query.exec(QStringLiteral("SELECT Category FROM Categories ORDER BY rowid"));
        QStringList names;
        while (query.next())
            names << query.value(0).toString();
        return names;
    }
    QStringList shownNames(QAbstractItemModel *model, int count)
    {
        QStringList names;
        for (int row = 0; row < count; ++row)
            names << model->index(row, 0).data().toString();
        return names;
    }
    void clickRow(int row)
    {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          m_grid->visualRect(m_categories->index(row, 0)).center());
    }
    // F7, then a name typed into the new row, then a click on the first row.
    void addByKeyboard(const QString &name)
    {
        QTest::keyClick(m_window.get(), Qt::Key_F7);
        QCOMPARE(QApplication::focusWidget(), m_grid);
        QVERIFY(m_categories->isNewRow(m_categories->currentRow()));
        if (!name.isEmpty()) {
            m_grid->edit(m_grid->currentIndex());
            auto *editor = qobject_cast<QLineEdit *>(m_grid->indexWidget(m_grid->currentIndex()));
            QVERIFY(editor);
            editor->setText(name);
        }
        clickRow(0);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestFolder>(TestFolder::Contents::TemplateOnly);
        QVERIFY(m_folder->makeDatabase(20));
        m_dialogs = ScriptedDialogs();
        m_window = std::make_unique<MainWindow>(m_folder->path(), &m_dialogs);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_grid = m_window->categoriesPanel()->grid();
        m_categories = m_window->categoriesSource();
        m_window->SwitchTab(4);
    }
    void cleanup() { m_window.reset(); }

    void addCategory_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("left empty") << QString();
        QTest::newRow("new name") << QStringLiteral("Pets");
        QTest::newRow("name already listed") << QStringLiteral("Bank");
    }
    void addCategory()
    {
        QFETCH(QString, name);
        addByKeyboard(name);
        QStringList expected = Schema::defaultCategories();
        if (!name.isEmpty())
            expected << name;
        QCOMPARE(storedNames(), expected);
        QCOMPARE(shownNames(m_categories, m_categories->rowCount() - 1), expected);
        QVERIFY(m_dialogs.shown.isEmpty());
    }

    void deleteCategory_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("via");
        QTest::newRow("first row") << 0 << true << "F8";
        QTest::newRow("middle row") << 4 << true << "Command5";
        QTest::newRow("last row") << 9 << true << "mnuDelcat";
        QTest::newRow("answer No") << 4 << false << "F8";
    }
    void deleteCategory()
    {
        QFETCH(int, row);
        QFETCH(bool, yes);
        QFETCH(QString, via);
        clickRow(row);
        m_dialogs.yesNoAnswers.enqueue(yes);
        if (via == QLatin1String("F8"))
            QTest::keyClick(m_window.get(), Qt::Key_F8);
        else if (via == QLatin1String("mnuDelcat"))
            m_window->action(via)->trigger();
        else
            QTest::mouseClick(m_window->categoriesPanel()->findChild<QPushButton *>(via), Qt::LeftButton);

        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.first().kind, QStringLiteral("yesno"));
        QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Are you sure?"));
        QStringList expected = Schema::defaultCategories();
        if (yes)
            expected.removeAt(row);
        QCOMPARE(storedNames(), expected);
        QCOMPARE(m_categories->rowCount(), expected.size() + 1);
        QCOMPARE(shownNames(m_categories, expected.size()), expected);
        QCOMPARE(m_categories->currentRow(), yes ? -1 : row);
    }

    void deleteWithoutARecord_data()
    {
        QTest::addColumn<bool>("emptyTable");
        QTest::newRow("empty table") << true;
        QTest::newRow("add-new row current") << false;
    }
    void deleteWithoutARecord()
    {
        QFETCH(bool, emptyTable);
        if (emptyTable) {
            QSqlQuery(m_window->database()->connection()).exec(QStringLiteral("DELETE FROM Categories"));
            m_window->SwitchTab(4);
        } else {
            QTest::keyClick(m_window.get(), Qt::Key_F7);
        }
        const QStringList before = storedNames();
        QTest::keyClick(m_window.get(), Qt::Key_F8);
        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.first().kind, QStringLiteral("message"));
        QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Please click on a category record to select it."));
        QVERIFY(m_dialogs.shown.first().icon == Dialogs::Icon::None);
        QCOMPARE(storedNames(), before);
    }

    void categoryKeysOffTheirTab_data()
    {
        QTest::addColumn<int>("tab");
        for (int tab : {1, 2, 3, 5})
            QTest::addRow("tab %d", tab) << tab;
    }
    void categoryKeysOffTheirTab()
    {
        QFETCH(int, tab);
        clickRow(2);
        m_window->SwitchTab(static_cast<qint16>(tab));
        m_dialogs.yesNoAnswers.enqueue(true);
        QTest::keyClick(m_window.get(), Qt::Key_F7);
        QTest::keyClick(m_window.get(), Qt::Key_F8);
        QVERIFY(m_dialogs.shown.isEmpty());
        QCOMPARE(m_categories->currentRow(), 2);
        QCOMPARE(storedNames(), Schema::defaultCategories());
    }

    void gridDeleteKeyAsksNothing()
    {
        clickRow(0);
        QTest::keyClick(m_grid, Qt::Key_Delete);
        QVERIFY(m_dialogs.shown.isEmpty());
        QCOMPARE(storedNames(), Schema::defaultCategories().mid(1));
    }

    void deletedCategoryStaysOnSlotsAndLeavesThePickList()
    {
        QSqlQuery(m_window->database()->connection())
            .exec(QStringLiteral("UPDATE Varnel SET Category = 'Taxes' WHERE FileNumber = 3"));
        clickRow(Schema::defaultCategories().indexOf(QStringLiteral("Taxes")));
        m_dialogs.yesNoAnswers.enqueue(true);
        QTest::keyClick(m_window.get(), Qt::Key_F8);

        m_window->SwitchTab(3);
        AddFilesPanel *panel = m_window->addFilesPanel();
        DataSource *file = m_window->fileSource();
        const QModelIndex slot = file->index(2, file->columnIndex(QStringLiteral("Category")));
        QCOMPARE(slot.data().toString(), QStringLiteral("Taxes"));
        QTest::mouseClick(panel->grid()->viewport(), Qt::LeftButton, {},
                          DropDownDelegate::buttonRect(panel->grid()->visualRect(slot)).center());
        QStringList offered = Schema::defaultCategories();
        offered.removeOne(QStringLiteral("Taxes"));
        QAbstractItemModel *list = panel->categoryList()->model();
        QCOMPARE(list->rowCount(), offered.size());
        QCOMPARE(shownNames(list, offered.size()), offered);
    }
};

QTEST_MAIN(CategoriesTest)
#include "tst_categories.moc"
