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
#include <QScreen>
#include <QTabBar>
#include <QtTest>

namespace {

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void makesDatabaseFromTemplateByteForByte();
    void neverOverwritesAnExistingDatabase();
    void worksFromAnyWorkingDirectory();
    void toleratesMissingTemplate();
    void unusableDatabaseIsReportedOnceAndLeftAlone_data();
    void unusableDatabaseIsReportedOnceAndLeftAlone();
    void windowHasItsDesignedSizeAndPlace();

private:
    QString m_savedCurrent;
};

void StartupTest::makesDatabaseFromTemplateByteForByte()
{
    TestFolder folder(TestFolder::Contents::TemplateOnly);
    QVERIFY(!QFile::exists(folder.databasePath()));
    Startup::prepareProgramFolder(folder.path());
    QVERIFY(QFile::exists(folder.databasePath()));
    QCOMPARE(digest(folder.databasePath()), digest(folder.templatePath()));
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(folder.path()).canonicalFilePath());

    // The template holds 1000 open slots and a starting category list.
    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    QCOMPARE(window.fileSource()->recordCount(), 1000);
    QCOMPARE(window.fileSource()->data(window.fileSource()->index(0, 0)).toInt(), 1);
    QCOMPARE(window.fileSource()->data(window.fileSource()->index(999, 0)).toInt(), 1000);
    QVERIFY(window.fileSource()->data(window.fileSource()->index(0, 1)).toString().isEmpty());
    QVERIFY(window.categoriesSource()->recordCount() > 0);
    QVERIFY(dialogs.shown.isEmpty());
}

void StartupTest::neverOverwritesAnExistingDatabase()
{
    TestFolder folder(TestFolder::Contents::TemplateOnly);
    QVERIFY(folder.makeDatabase(7));
    const QByteArray before = digest(folder.databasePath());
    Startup::prepareProgramFolder(folder.path());
    QCOMPARE(digest(folder.databasePath()), before);

    // Not even a database that is not one: the user's file is never replaced.
    QVERIFY(writeFile(folder.databasePath(), "my notes"));
    Startup::prepareProgramFolder(folder.path());
    QFile file(folder.databasePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("my notes"));
}

void StartupTest::worksFromAnyWorkingDirectory()
{
    TestFolder elsewhere(TestFolder::Contents::Empty);
    TestFolder folder(TestFolder::Contents::TemplateOnly);
    QDir::setCurrent(elsewhere.path());
    Startup::prepareProgramFolder(folder.path());
    QVERIFY(QFile::exists(folder.databasePath()));
    QVERIFY(!QFile::exists(elsewhere.databasePath()));

    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    QCOMPARE(window.fileSource()->recordCount(), 1000);
}

void StartupTest::toleratesMissingTemplate()
{
    TestFolder folder(TestFolder::Contents::Empty);
    Startup::prepareProgramFolder(folder.path()); // nothing to copy: skipped without a word
    QVERIFY(!QFile::exists(folder.databasePath()));

    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    window.show();
    QTRY_COMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages().first().contains(QDir::toNativeSeparators(folder.databasePath())));
    QVERIFY(!QFile::exists(folder.databasePath())); // never created behind the user's back
}

void StartupTest::unusableDatabaseIsReportedOnceAndLeftAlone_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("sqlite");
    QTest::newRow("not a database") << QByteArray("PK\x03\x04 a zip file, not a database") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("database without the tables") << QByteArray() << true;
}

void StartupTest::unusableDatabaseIsReportedOnceAndLeftAlone()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, sqlite);
    TestFolder folder(TestFolder::Contents::TemplateOnly);
    if (sqlite)
        QVERIFY(SideConnection(folder.databasePath()).exec("CREATE TABLE Notes (Text TEXT)"));
    else
        QVERIFY(writeFile(folder.databasePath(), contents));
    const QByteArray before = digest(folder.databasePath());

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
        QCOMPARE(window.fileSource()->rowCount(), 0);
        window.close();
    }
    QCOMPARE(digest(folder.databasePath()), before);
}

void StartupTest::windowHasItsDesignedSizeAndPlace()
{
    TestFolder folder;
    ScriptedDialogs dialogs;
    MainWindow window(folder.path(), &dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Papyra!"));
    QCOMPARE(window.centralWidget()->size(), QSize(697, 489));
    QCOMPARE(window.minimumSize(), window.maximumSize()); // fixed border
    for (int i = 0; i < 5; ++i)
        QCOMPARE(window.panel(i)->geometry(), QRect(0, 48, 697, 441));
    QCOMPARE(window.tabStrip()->geometry(), QRect(0, 0, 697, 57));
    const QRect screen = window.screen()->availableGeometry();
    // Centred before the frame exists, so allow the frame's few pixels.
    QVERIFY(qAbs(window.frameGeometry().center().x() - screen.center().x()) <= 4);
    QVERIFY(qAbs(window.frameGeometry().center().y() - screen.center().y()) <= 16);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
