// The shared index on a PostgreSQL server: addresses, making and opening one, and several desks
// at once (live changes, conflicting edits, a server that goes away, rights, backup and restore).
// A throw-away server runs for the whole test program.
#include "PgCluster.h"
#include "SideConnection.h"
#include "TestFolder.h"
#include "WindowFixture.h"

#include "app/CommandLine.h"
#include "app/IndexSettings.h"
#include "panels/CategoriesPanel.h"
#include "panels/GridBinding.h"

#include "store/DataSource.h"
#include "store/PostgresEngine.h"
#include "store/RecordStore.h"
#include "store/Schema.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>

namespace {

PgCluster *server()
{
    QString why;
    PgCluster *cluster = PgCluster::shared(&why);
    if (!cluster)
        qWarning("%s", qPrintable(why));
    return cluster;
}

// One desk: a record store on the shared index, its File list read.
struct Desk {
    explicit Desk(const QString &uri)
    {
        ServerAddress address;
        ServerAddress::parse(uri, &address, &error);
        store.setEngine(std::make_unique<PostgresEngine>(address));
        if (store.open(&error))
            store.file().refresh();
    }
    DataSource &file() { return store.file(); }
    QString shown(int slot, int column = 1) { return file().data(file().index(slot - 1, column)).toString(); }
    // Types into slot's cell; the row is written when it is left.
    bool type(int slot, const QString &text, int column = 1)
    {
        file().setCurrentRow(slot - 1);
        return file().setData(file().index(slot - 1, column), text);
    }
    void leave(int slot) { file().setCurrentRow(slot == 1 ? 1 : 0); }

    TestFolder folder{TestFolder::Contents::Empty};
    RecordStore store{folder.path()};
    QString error;
};

} // namespace

class TestShared : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addresses_data();
    void addresses();
    void createRefusals();
    void openRefusals_data();
    void openRefusals();
    void changeShowsAtTheOtherDesk();
    void conflict_data();
    void conflict();
    void serverGoneMidEdit();
    void readerCannotWrite();
    void backupAndRestore();
    void windowChoosesTheIndex();

private:
    QString newIndex(int slotCount = 20);
    QString m_template;
};

void TestShared::initTestCase()
{
    QVERIFY2(server(), "the PostgreSQL test server is needed; see the warning above");
    m_template = TestFolder::builtTemplate();
}

QString TestShared::newIndex(int slotCount)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("source.mdb");
    QString error;
    if (!Schema::createDatabase(file, slotCount, {"Bank", "Taxes"}, 1, &error))
        qWarning("%s", qPrintable(error));
    const QString name = server()->createIndex(file, &error);
    if (name.isEmpty())
        qWarning("%s", qPrintable(error));
    return server()->uri(name);
}

void TestShared::addresses_data()
{
    QTest::addColumn<QString>("uri");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("rest"); // other settings, or the error's first words
    QTest::newRow("server, port, user") << "postgresql://anna@office-server:5433/papyra"
                                        << "office-server" << 5433 << "papyra"
                                        << "anna"
                                        << "";
    QTest::newRow("socket folder as query") << "postgresql:///papyra?host=/run/postgresql&port=5433&user=anna"
                                            << "/run/postgresql" << 5433 << "papyra"
                                            << "anna"
                                            << "";
    QTest::newRow("percent-encoded socket, TLS")
        << "postgres://%2Fvar%2Frun/pa%20pyra?sslmode=verify-full&sslrootcert=/etc/ca.pem"
        << "/var/run" << -1 << "pa pyra"
        << ""
        << "sslmode=verify-full sslrootcert=/etc/ca.pem";
    QTest::newRow("IPv6") << "postgresql://[::1]:5432/papyra"
                          << "::1" << 5432 << "papyra"
                          << ""
                          << "";
    QTest::newRow("not a URI") << "office-server/papyra"
                               << "" << 0 << ""
                               << ""
                               << "\"office-server/papyra\" is not";
    QTest::newRow("no database") << "postgresql://office-server"
                                 << "" << 0 << ""
                                 << ""
                                 << "The address names no";
    QTest::newRow("bad port") << "postgresql://office-server:99999/papyra"
                              << "" << 0 << ""
                              << ""
                              << "\"99999\" is not";
}

void TestShared::addresses()
{
    QFETCH(QString, uri);
    QFETCH(QString, host);
    QFETCH(QString, rest);
    ServerAddress address;
    QString error;
    const bool ok = ServerAddress::parse(uri, &address, &error);
    if (host.isEmpty()) {
        QVERIFY(!ok);
        QVERIFY2(error.startsWith(rest), qPrintable(error));
        return;
    }
    QVERIFY2(ok, qPrintable(error));
    QCOMPARE(address.host, host);
    QTEST(address.port, "port");
    QTEST(address.database, "database");
    QTEST(address.user, "user");
    QStringList options;
    for (const auto &option : address.options)
        options << option.first + '=' + option.second;
    QCOMPARE(options.join(' '), rest);
    // Written back (as the settings keep it) it reads the same, without any password.
    address.password = "secret";
    ServerAddress again;
    QVERIFY(ServerAddress::parse(address.toUri(), &again));
    QVERIFY(!address.toUri().contains("secret"));
    QCOMPARE(again.host, host);
    QCOMPARE(again.database, address.database);
}

void TestShared::createRefusals()
{
    const QString database = server()->createDatabase();
    ServerAddress address;
    QVERIFY(ServerAddress::parse(server()->uri(database), &address));
    QString report, error;
    {
        // As the administrator runs it: papyra --create-shared-index URI, the template by default.
        QTextStream out(&report), err(&error);
        QCOMPARE(CommandLine::createSharedIndex({server()->uri(database)}, TestFolder::builtProgramFolder(), out, err),
                 0);
    }
    QVERIFY2(report.contains("1000 folder slots"), qPrintable(report + error));
    QCOMPARE(server()->value(database, "SELECT count(*) FROM Varnel").toInt(), 1000);
    QCOMPARE(server()->value(database, "SELECT count(*) FROM pg_roles WHERE rolname LIKE 'papyra_%'").toInt(), 2);
    // A second time, and from a file that is not a Papyra database: refused, nothing changed.
    QVERIFY(!PostgresEngine::createIndex(address, m_template, &report, &error));
    QVERIFY2(error.contains("already holds a Papyra index"), qPrintable(error));
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("notes.txt"), "hello"));
    const QString other = server()->createDatabase();
    QVERIFY(ServerAddress::parse(server()->uri(other), &address));
    QVERIFY(!PostgresEngine::createIndex(address, dir.filePath("notes.txt"), &report, &error));
    QVERIFY2(error.contains("not a database"), qPrintable(error));
    QCOMPARE(server()->value(other, "SELECT count(*) FROM pg_tables WHERE tablename = 'varnel'").toInt(), 0);
}

void TestShared::openRefusals_data()
{
    QTest::addColumn<QString>("setup"); // SQL run in a fresh database first
    QTest::addColumn<QString>("uriSuffix");
    QTest::addColumn<QString>("message");
    QTest::newRow("no tables") << ""
                               << ""
                               << "holds no Papyra index";
    QTest::newRow("tables of another shape")
        << "CREATE TABLE Varnel (FileNumber int); CREATE TABLE Categories (Category text)"
        << ""
        << "tables of another shape";
    QTest::newRow("no such database") << ""
                                      << "_missing"
                                      << "has no database called";
    QTest::newRow("no such server") << ""
                                    << "&port=1"
                                    << "cannot be reached";
}

void TestShared::openRefusals()
{
    QFETCH(QString, setup);
    QFETCH(QString, uriSuffix);
    QFETCH(QString, message);
    const QString database = server()->createDatabase();
    for (const QString &sql : setup.split("; ", Qt::SkipEmptyParts))
        QVERIFY(server()->exec(database, sql));
    QString uri = server()->uri(database);
    if (uriSuffix.startsWith('_'))
        uri.replace(database, database + uriSuffix);
    else
        uri += uriSuffix;
    Desk desk(uri);
    QVERIFY(!desk.store.isOpen());
    QVERIFY2(desk.error.contains(message), qPrintable(desk.error));
}

void TestShared::changeShowsAtTheOtherDesk()
{
    const QString uri = newIndex();
    Desk anna(uri), ben(uri);
    QVERIFY2(anna.store.isOpen() && ben.store.isOpen(), qPrintable(anna.error + ben.error));
    int changes = 0;
    ben.store.setChangeHandler([&] { ++changes; });
    QCOMPARE(ben.shown(5), QString());
    QCOMPARE(ben.store.dueCount(QDate(2030, 1, 1)), 0);
    // Ben is typing into slot 7 while Anna fills slots 5 and 7.
    QVERIFY(ben.type(7, "Ben's text"));
    QVERIFY(anna.type(5, "Car insurance") && anna.type(5, QDate(2003, 5, 1).toString(Qt::ISODate), 3));
    QVERIFY(anna.type(7, "Anna's text", 2));
    anna.leave(7);
    QTRY_VERIFY(changes > 0);
    QCOMPARE(ben.shown(5), QString("Car insurance"));
    QCOMPARE(ben.shown(7), QString("Ben's text"));
    QCOMPARE(ben.shown(7, 2), QString("Anna's text"));
    QCOMPARE(ben.store.dueCount(QDate(2030, 1, 1)), 1);
    // The search at Ben's desk finds what Anna wrote.
    QVERIFY(ben.store.searchFor("CAR"));
    QCOMPARE(ben.store.search().recordCount(), 1);
    // Categories added elsewhere come into Ben's list, and his own pending category stays.
    QVERIFY(ben.store.categories().refresh());
    QCOMPARE(ben.store.categories().recordCount(), 2);
    QVERIFY(anna.store.categories().refresh());
    anna.store.categories().addNew();
    QVERIFY(anna.store.categories().setData(anna.store.categories().index(2, 0), "Travel"));
    anna.store.categories().setCurrentRow(0);
    QTRY_COMPARE(ben.store.categories().recordCount(), 3);
    QCOMPARE(ben.store.categories().index(2, 0).data().toString(), QString("Travel"));
    // What Anna's edit replaced is kept on the server: Ben sees it and puts it back.
    changes = 0;
    QVERIFY(anna.type(5, "Car insurance 2004"));
    anna.leave(5);
    QTRY_VERIFY(changes > 0);
    QVector<History::Version> versions;
    QString error;
    QVERIFY2(ben.store.slotHistory(5, &versions, &error), qPrintable(error));
    const auto kept = std::find_if(versions.cbegin(), versions.cend(),
                                   [](const History::Version &v) { return v.keywords == "Car insurance"; });
    QVERIFY(kept != versions.cend());
    QVERIFY2(ben.store.putBack(kept->id, nullptr, &error), qPrintable(error));
    QVERIFY(anna.file().refresh());
    QCOMPARE(anna.shown(5), QString("Car insurance"));
}

void TestShared::conflict_data()
{
    QTest::addColumn<bool>("keepMine");
    QTest::newRow("keep this desk's text") << true;
    QTest::newRow("take the other desk's text") << false;
}

void TestShared::conflict()
{
    QFETCH(bool, keepMine);
    const QString uri = newIndex();
    Desk anna(uri), ben(uri);
    QList<DataSource::Conflict> asked;
    ben.file().setConflictResolver([&](const DataSource::Conflict &c) {
        asked << c;
        return keepMine;
    });
    // Ben starts editing slot 3; Anna writes it first; Ben leaves the row.
    QVERIFY(ben.type(3, "Ben's words"));
    QVERIFY(anna.type(3, "Anna's words"));
    anna.leave(3);
    ben.leave(3);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].number, 3);
    QCOMPARE(asked[0].theirs, QStringList{"Anna's words"});
    QCOMPARE(asked[0].mine, QStringList{"Ben's words"});
    const QString question = GridBinding::conflictQuestion(asked[0]);
    QVERIFY2(question.startsWith("Folder 3 was changed at another desk") && question.contains("\"Anna's words\"") &&
                 question.contains("\"Ben's words\""),
             qPrintable(question));
    const QString expected = keepMine ? "Ben's words" : "Anna's words";
    QCOMPARE(server()
                 ->value(uri.section('?', 0, 0).section('/', -1), "SELECT Keywords FROM Varnel WHERE FileNumber = 3")
                 .toString(),
             expected);
    QVERIFY(!ben.file().hasPendingEdit());
    QCOMPARE(ben.shown(3), expected);
    // A field the other desk did not touch is no conflict: both changes stay.
    QVERIFY(ben.type(4, "Ben's category", 2));
    QVERIFY(anna.type(4, "Anna's keywords"));
    anna.leave(4);
    ben.leave(4);
    QCOMPARE(asked.size(), 1);
}

void TestShared::serverGoneMidEdit()
{
    const QString uri = newIndex();
    const QString database = uri.section('?', 0, 0).section('/', -1);
    Desk desk(uri);
    QVERIFY(desk.store.isOpen());
    QVERIFY(desk.type(9, "Typed while the server stopped"));
    const QString before =
        server()
            ->value(database, "SELECT string_agg(concat_ws('|', FileNumber, Keywords, Category, "
                              "Reminder), ';' ORDER BY FileNumber) FROM Varnel WHERE FileNumber <> 9")
            .toString();
    QVERIFY(server()->stop("immediate"));
    QSignalSpy failures(&desk.file(), &DataSource::writeFailed);
    desk.leave(9);
    QCOMPARE(failures.size(), 1);
    QVERIFY(desk.store.isLost());
    QVERIFY(desk.file().hasPendingEdit());
    QCOMPARE(desk.shown(9), QString("Typed while the server stopped"));
    QVERIFY(!desk.store.reconnect());
    QVERIFY(server()->startServer());
    QVERIFY2(desk.store.reconnect(&desk.error), qPrintable(desk.error));
    QVERIFY(!desk.file().hasPendingEdit());
    QCOMPARE(server()->value(database, "SELECT Keywords FROM Varnel WHERE FileNumber = 9").toString(),
             QString("Typed while the server stopped"));
    QCOMPARE(server()
                 ->value(database, "SELECT string_agg(concat_ws('|', FileNumber, Keywords, Category, Reminder), "
                                   "';' ORDER BY FileNumber) FROM Varnel WHERE FileNumber <> 9")
                 .toString(),
             before);
}

void TestShared::readerCannotWrite()
{
    const QString uri = newIndex();
    const QString database = uri.section('?', 0, 0).section('/', -1);
    QVERIFY(server()->exec(database, "DROP ROLE IF EXISTS carla") &&
            server()->exec(database, "CREATE ROLE carla LOGIN IN ROLE papyra_readers"));
    Desk carla(QString(uri).replace("user=postgres", "user=carla"));
    QVERIFY2(carla.store.isOpen(), qPrintable(carla.error));
    QVERIFY(!carla.file().mayWrite());
    QVERIFY(!(carla.file().flags(carla.file().index(0, 1)) & Qt::ItemIsEditable));
    QVERIFY(!carla.type(1, "nope"));
    // Through the store itself: refused by the server, nothing half written.
    QString error;
    QVERIFY(!carla.store.fillSlots({{1, QString("a"), {}, {}}, {2, QString("b"), {}, {}}}, &error));
    QVERIFY2(error.contains("permission denied"), qPrintable(error));
    QCOMPARE(server()->value(database, "SELECT count(Keywords) FROM Varnel").toInt(), 0);
    QVERIFY(carla.store.searchFor(""));
}

void TestShared::backupAndRestore()
{
    const QString uri = newIndex();
    const QString database = uri.section('?', 0, 0).section('/', -1);
    Desk anna(uri), ben(uri);
    QVERIFY(anna.type(2, "Tax return 2003"));
    anna.leave(2);
    QTemporaryDir dir;
    const QString backup = dir.filePath("Papyra.bkp");
    QVERIFY2(anna.store.backupTo(backup, &anna.error), qPrintable(anna.error));
    // The backup is an ordinary Papyra database file.
    QCOMPARE(SideConnection(backup).value("SELECT Keywords FROM Varnel WHERE FileNumber = 2").toString(),
             QString("Tax return 2003"));
    QCOMPARE(SideConnection(backup).value("SELECT count(*) FROM Categories").toInt(), 2);
    QVERIFY(anna.file().refresh());
    QVERIFY(anna.type(2, "changed after the backup"));
    anna.leave(2);
    // A file that is not a Papyra database changes nothing; the backup puts the old text back, at
    // every desk.
    QVERIFY(writeFile(dir.filePath("bad.mdb"), "not a database"));
    QVERIFY(!anna.store.restoreFrom(dir.filePath("bad.mdb"), &anna.error));
    QCOMPARE(server()->value(database, "SELECT Keywords FROM Varnel WHERE FileNumber = 2").toString(),
             QString("changed after the backup"));
    QVERIFY2(anna.store.restoreFrom(backup, &anna.error), qPrintable(anna.error));
    QCOMPARE(server()->value(database, "SELECT Keywords FROM Varnel WHERE FileNumber = 2").toString(),
             QString("Tax return 2003"));
    QTRY_COMPARE(ben.shown(2), QString("Tax return 2003"));
}

void TestShared::windowChoosesTheIndex()
{
    const QString uri = newIndex();
    const QString database = uri.section('?', 0, 0).section('/', -1);
    QVERIFY(server()->exec(database, "DROP ROLE IF EXISTS dora") &&
            server()->exec(database, "CREATE ROLE dora LOGIN IN ROLE papyra_readers"));
    WindowFixture fixture;
    QVERIFY(fixture.open());
    MainWindow &window = fixture.window();
    ScriptedDialogs &dialogs = fixture.dialogs();
    auto *panel = window.statusBar()->findChild<QLabel *>("Panel(4)");
    const QString ownFile = QDir::toNativeSeparators(fixture.folder().databasePath());
    QCOMPARE(panel->text(), ownFile);
    // The panel tells what a search found while its list shows; its tip still names the index.
    window.searchBox()->setText("nothing like this");
    QTest::keyClick(window.searchBox(), Qt::Key_Return);
    QCOMPARE(panel->text(), window.searchStatus());
    QCOMPARE(panel->toolTip(), ownFile);
    window.action("mnuDue")->trigger();
    QCOMPARE(panel->text(), ownFile);

    // A database that is not there: the form comes back saying why, and the own index stays.
    QString missing = uri;
    missing.replace(database, "nowhere");
    dialogs.loginAnswers << Dialogs::ServerLogin{missing, {}, false}
                         << Dialogs::ServerLogin{QString(uri).replace("user=postgres", "user=dora"), "secret", false};
    window.action("mnuShared")->trigger();
    QCOMPARE(dialogs.shown.size(), 2);
    QVERIFY2(dialogs.shown[1].text.contains("has no database called nowhere"), qPrintable(dialogs.shown[1].text));
    QVERIFY(window.store().isShared());
    QCOMPARE(panel->text(), "Shared index: localhost/" + database + " (read only)");
    // Remembered without the password, and used at the next start.
    const QString remembered = IndexSettings::sharedIndex(window.settingsPath());
    QVERIFY2(remembered.contains("user=dora") || remembered.contains("dora@"), qPrintable(remembered));
    QVERIFY(!readFile(window.settingsPath()).contains("secret"));
    // A reader's F7 and F8 say why nothing happens.
    dialogs.clear();
    window.SwitchTab(Tab::MyCategories);
    window.action("mnuAddcat")->trigger();
    QCOMPARE(dialogs.messages().size(), 1);
    QVERIFY(dialogs.messages()[0].contains("may only read the shared index"));
    fixture.closeWindow();
    QVERIFY(fixture.open());
    QVERIFY(fixture.window().store().isShared());
    QVERIFY(fixture.window().store().file().recordCount() == 20);
    // Back to the own index: the file again, and the choice forgotten.
    fixture.window().action("mnuLocal")->trigger();
    QVERIFY(!fixture.window().store().isShared());
    QCOMPARE(fixture.window().store().file().recordCount(), 1000);
    QCOMPARE(IndexSettings::sharedIndex(fixture.window().settingsPath()), QString());
}

QTEST_MAIN(TestShared)
#include "tst_shared.moc"
