#include "WindowFixture.h"

#include "app/MainWindow.h"
#include "panels/CategoriesPanel.h"
#include "store/DataSource.h"
#include "store/Schema.h"
#include "ui/DataGrid.h"

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

    std::unique_ptr<WindowFixture> m_fixture;
    MainWindow *m_window = nullptr;
    DataGrid *m_grid = nullptr;
    DataSource *m_categories = nullptr;

    QSqlQuery sql(const QString &statement) { return m_fixture->sql(statement); }
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
        m_fixture = std::make_unique<WindowFixture>(TestFolder::Contents::TemplateOnly);
        QVERIFY(m_fixture->open(20));
        m_window = &m_fixture->window();
        m_grid = m_window->categoriesPanel()->grid();
        m_categories = &m_window->store().categories();
        m_window->SwitchTab(4);
    }
    void cleanup() { m_fixture.reset(); }

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
        QTest::keyClick(m_window, Qt::Key_F7);
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
        m_fixture->dialogs().yesNoAnswers.enqueue(deleted);
        if (via == QLatin1String("F8") || via == QLatin1String("Delete"))
            QTest::keyClick(QApplication::focusWidget(), via == QLatin1String("F8") ? Qt::Key_F8 : Qt::Key_Delete);
        else if (via == QLatin1String("mnuDelcat"))
            m_window->action(via)->trigger();
        else
            QTest::mouseClick(m_window->categoriesPanel()->findChild<QPushButton *>(via), Qt::LeftButton);

        const bool asked = via != QLatin1String("Delete");
        QCOMPARE(m_fixture->dialogs().shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(m_fixture->dialogs().shown.first().text, QStringLiteral("Are you sure?"));
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
        QTest::keyClick(m_window, Qt::Key_F7);
        for (int tries = 1; tries <= 2; ++tries) {
            const QStringList before = storedNames();
            m_fixture->dialogs().yesNoAnswers.enqueue(true);
            QTest::keyClick(m_window, Qt::Key_F8);
            QCOMPARE(m_fixture->dialogs().shown.size(), tries);
            QCOMPARE(m_fixture->dialogs().shown.last().kind, QStringLiteral("message"));
            QCOMPARE(m_fixture->dialogs().shown.last().text,
                     QStringLiteral("Please click on a category record to select it."));
            QCOMPARE(storedNames(), before);
            sql(QStringLiteral("DELETE FROM Categories"));
            m_window->SwitchTab(4);
        }
    }

    void deleteARowWrittenWithoutARefresh()
    {
        // The table read empty; a category typed and written by another command (the report writes
        // what is being typed) is a real record once clicked, though nothing read the table again.
        sql(QStringLiteral("DELETE FROM Categories"));
        m_window->SwitchTab(4);
        QTest::keyClick(m_window, Qt::Key_F7);
        m_grid->edit(m_grid->currentIndex());
        qobject_cast<QLineEdit *>(m_grid->indexWidget(m_grid->currentIndex()))->setText(QStringLiteral("Pets"));
        m_window->action(QStringLiteral("mnuPrint"))->trigger(); // no printer: the PDF offer is declined
        QCOMPARE(storedNames(), QStringList{QStringLiteral("Pets")});

        clickRow(0);
        m_fixture->dialogs().clear();
        m_fixture->dialogs().yesNoAnswers.enqueue(true);
        QTest::keyClick(m_window, Qt::Key_F8);
        QCOMPARE(m_fixture->dialogs().shown.value(0).text, QStringLiteral("Are you sure?"));
        QCOMPARE(storedNames(), QStringList());
    }
};

QTEST_MAIN(CategoriesTest)
#include "tst_categories.moc"
