// Start-up: the program folder, the database made from the template, and a database that cannot
// be opened.
#include "ScriptedDialogs.h"
#include "SideConnection.h"
#include "TestFolder.h"

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "store/DataSource.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QtTest>

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void makesDatabaseFromTemplateByteForByte();
    void neverOverwritesAnExistingDatabase();
    void unusableDatabaseIsReportedOnceAndLeftAlone_data();
    void unusableDatabaseIsReportedOnceAndLeftAlone();

private:
    QString m_savedCurrent;
};

void StartupTest::makesDatabaseFromTemplateByteForByte()
{
    // Started from another working directory: the database goes into the program folder.
    TestFolder elsewhere(TestFolder::Contents::Empty);
    TestFolder folder(TestFolder::Contents::TemplateOnly);
    QDir::setCurrent(elsewhere.path());
    Startup::prepareProgramFolder(folder.path());
    QCOMPARE(digest(folder.databasePath()), digest(folder.templatePath()));
    QVERIFY(!digest(folder.databasePath()).isEmpty());
    QVERIFY(!QFile::exists(elsewhere.databasePath()));
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(folder.path()).canonicalFilePath());

    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    QCOMPARE(window.store().file().recordCount(), 1000);
    QVERIFY(dialogs.shown.isEmpty());
}

void StartupTest::neverOverwritesAnExistingDatabase()
{
    TestFolder folder(TestFolder::Contents::TemplateOnly);
    QVERIFY(folder.makeDatabase(7));
    const QByteArray before = digest(folder.databasePath());
    Startup::prepareProgramFolder(folder.path());
    QCOMPARE(digest(folder.databasePath()), before);
}

void StartupTest::unusableDatabaseIsReportedOnceAndLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("no template, no database") << "missing";
    QTest::newRow("not a database") << "zip";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("database without the tables") << "other tables";
}

void StartupTest::unusableDatabaseIsReportedOnceAndLeftAlone()
{
    QFETCH(QString, kind);
    TestFolder folder(kind == QLatin1String("missing") ? TestFolder::Contents::Empty
                                                       : TestFolder::Contents::TemplateOnly);
    QFile file(folder.databasePath());
    if (kind == QLatin1String("other tables")) {
        QVERIFY(SideConnection(folder.databasePath()).exec("CREATE TABLE Notes (Text TEXT)"));
    } else if (kind != QLatin1String("missing")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kind == QLatin1String("zip") ? "PK\x03\x04 a zip file, not a database" : "");
        file.close();
    }
    const bool existed = file.exists();
    const QByteArray before = digest(folder.databasePath());

    // The user's file is never replaced, not even when it is no database at all.
    Startup::prepareProgramFolder(folder.path());
    ScriptedDialogs dialogs;
    {
        MainWindow window(folder.path(), &dialogs);
        window.show();
        QTRY_COMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages().first().contains(QDir::toNativeSeparators(folder.databasePath())));

        // Every tab still works; a failing refresh does not repeat the message or end anything.
        for (qint16 tab : {3, 4, 2, 1, 5, 3})
            window.SwitchTab(tab);
        QCOMPARE(window.tabStrip()->currentIndex(), 2);
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(window.store().file().rowCount(), 0);
        window.close();
    }
    QCOMPARE(QFile::exists(folder.databasePath()), existed); // never created behind the user's back
    QCOMPARE(digest(folder.databasePath()), before);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
