#include "ScriptedDialogs.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "store/CategoriesPanel.h"
#include "ui/DataGrid.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Schema.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

QStringList names(QAbstractItemModel *model, int count)
{
    QStringList names;
    for (int row = 0; row < count; ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

} // namespace

// The My Categories tab in the real window, starting from the template's ten categories.
class CategoriesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestFolder> m_folder;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    DataGrid *m_grid = nullptr;
    DataSource *m_categories = nullptr;

    QSqlQuery sql(const QString &statement)
    {
        QSqlQuery query(m_window->store().database().connection());
        query.exec(statement);
        return query;
    }
    QStringList storedNames()
    {
        QSqlQuery query = sql(
            QStringLiteral("SELECT group_concat(Category, '|') FROM (SELECT Category FROM Categories ORDER BY rowid)"));
        return query.next() ? query.value(0).toString().split(QLatin1Char('|'), Qt::SkipEmptyParts)
                            : QStringList{QStringLiteral("<query failed>")};
    }
    void clickRow(int row)
    {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          m_grid->visualRect(m_categories->index(row, 0)).center());
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
        m_categories = &m_window->store().categories();
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
        QTest::keyClick(m_window.get(), Qt::Key_F7);
        QCOMPARE(QApplication::focusWidget(), m_grid);
        QVERIFY(m_categories->isNewRow(m_categories->currentRow()));
        if (!name.isEmpty()) {
            m_grid->edit(m_grid->currentIndex());
            qobject_cast<QLineEdit *>(m_grid->indexWidget(m_grid->currentIndex()))->setText(name);
        }
        clickRow(0);
        QStringList expected = Schema::defaultCategories();
        if (!name.isEmpty())
            expected << name;
        QCOMPARE(storedNames(), expected);
        QCOMPARE(names(m_categories, m_categories->rowCount() - 1), expected);
    }

    void deleteCategory_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("via");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("first row, Yes") << 0 << "F8" << true;
        QTest::newRow("middle row, Yes") << 4 << "Command5" << true;
        QTest::newRow("last row, Yes") << 9 << "mnuDelcat" << true;
        QTest::newRow("answer No") << 9 << "F8" << false;
        QTest::newRow("grid's Delete key asks nothing") << 4 << "Delete" << true;
    }
    void deleteCategory()
    {
        QFETCH(int, row);
        QFETCH(QString, via);
        QFETCH(bool, deleted);
        clickRow(row);
        m_dialogs.yesNoAnswers.enqueue(deleted);
        if (via == QLatin1String("F8") || via == QLatin1String("Delete"))
            QTest::keyClick(QApplication::focusWidget(), via == QLatin1String("F8") ? Qt::Key_F8 : Qt::Key_Delete);
        else if (via == QLatin1String("mnuDelcat"))
            m_window->action(via)->trigger();
        else
            QTest::mouseClick(m_window->categoriesPanel()->findChild<QPushButton *>(via), Qt::LeftButton);

        const bool asked = via != QLatin1String("Delete");
        QCOMPARE(m_dialogs.shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(m_dialogs.shown.first().text, QStringLiteral("Are you sure?"));
            QCOMPARE(m_categories->currentRow(), deleted ? -1 : row); // no neighbour chosen for the user
        }
        QStringList expected = Schema::defaultCategories();
        if (deleted)
            expected.removeAt(row);
        QCOMPARE(storedNames(), expected);
        QCOMPARE(names(m_categories, m_categories->rowCount() - 1), expected);
    }

    void deleteWithoutARecord()
    {
        // The add-new row current, then an empty table: nothing is asked and nothing goes.
        QTest::keyClick(m_window.get(), Qt::Key_F7);
        for (int tries = 1; tries <= 2; ++tries) {
            const QStringList before = storedNames();
            m_dialogs.yesNoAnswers.enqueue(true);
            QTest::keyClick(m_window.get(), Qt::Key_F8);
            QCOMPARE(m_dialogs.shown.size(), tries);
            QCOMPARE(m_dialogs.shown.last().kind, QStringLiteral("message"));
            QCOMPARE(m_dialogs.shown.last().text, QStringLiteral("Please click on a category record to select it."));
            QCOMPARE(storedNames(), before);
            sql(QStringLiteral("DELETE FROM Categories"));
            m_window->SwitchTab(4);
        }
    }
};

QTEST_MAIN(CategoriesTest)
#include "tst_categories.moc"
