// Where the data lives: a portable program folder keeps Varnel.mdb beside the program; an installed
// one (marked by the install step) keeps it in the user's data folder, made at the first start from
// the template and never overwritten, and never touches the program folder. A labels.def in the
// data folder is read instead of the shipped one.
#include "TestFolder.h"

#include "ScriptedDialogs.h"

#include "app/MainWindow.h"
#include "app/Startup.h"
#include "print/LabelDefinitions.h"
#include "print/LabelPrinting.h"
#include "print/LabelsDialog.h"
#include "store/DataFolder.h"

#include <QApplication>
#include <QListWidget>
#include <QSqlQuery>
#include <QTimer>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QtTest>

namespace {

// Every file under a folder with its contents' digest, to see that nothing changed there.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), digest(path));
    }
    return files;
}

} // namespace

class DataFolderTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void userDataHomeFollowsXdg_data();
    void userDataHomeFollowsXdg();
    void startsPutTheDatabaseInTheModesFolder_data();
    void startsPutTheDatabaseInTheModesFolder();
    void unusableDataFolderIsSkippedQuietly();
    void usersLabelDefinitionsComeFirst_data();
    void usersLabelDefinitionsComeFirst();
    void installedWindowWorksInTheDataFolder();

private:
    QString m_savedCurrent;
};

void DataFolderTest::userDataHomeFollowsXdg_data()
{
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("expected");
    QTest::newRow("XDG_DATA_HOME set, trailing slash dropped") << "/srv/data/anna/" << QStringLiteral("/srv/data/anna");
    QTest::newRow("XDG_DATA_HOME unset") << "" << QStringLiteral("/home/anna/.local/share");
    QTest::newRow("relative XDG_DATA_HOME is ignored") << "data" << QStringLiteral("/home/anna/.local/share");
}

void DataFolderTest::userDataHomeFollowsXdg()
{
    QFETCH(QString, xdg);
    QFETCH(QString, expected);
    QCOMPARE(DataFolder::userDataHome(xdg, QStringLiteral("/home/anna")), expected);
}

void DataFolderTest::startsPutTheDatabaseInTheModesFolder_data()
{
    QTest::addColumn<bool>("marked");
    QTest::addColumn<bool>("dataHomeExists");
    QTest::newRow("portable folder") << false << true;
    QTest::newRow("installed, data home exists") << true << true;
    QTest::newRow("installed, first program to use the data home") << true << false;
}

void DataFolderTest::startsPutTheDatabaseInTheModesFolder()
{
    QFETCH(bool, marked);
    QFETCH(bool, dataHomeExists);
    TestFolder program(TestFolder::Contents::TemplateOnly);
    QVERIFY(program.copyProgramData());
    // A template read-only as installed files are still gives a database the user can write.
    QVERIFY(QFile::setPermissions(program.templatePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (marked)
        QVERIFY(writeFile(program.filePath(DataFolder::installedMarker), "installed\n"));
    QTemporaryDir home;
    const QString dataHome = home.filePath(dataHomeExists ? QStringLiteral("share") : QStringLiteral("new/share"));
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("share"))));
    const auto programBefore = snapshot(program.path());

    TestFolder elsewhere(TestFolder::Contents::Empty); // started from another working directory
    QDir::setCurrent(elsewhere.path());
    const QString dataFolder = Startup::prepareProgramFolder(program.path(), dataHome);

    const QString expected = marked ? QDir(dataHome).filePath(QStringLiteral("Papyra")) : program.path();
    QCOMPARE(dataFolder, expected);
    const QString database = QDir(expected).filePath(QStringLiteral("Varnel.mdb"));
    QVERIFY(!digest(database).isEmpty());
    QCOMPARE(digest(database), digest(program.templatePath()));
    QVERIFY(QFile::permissions(database) & QFile::WriteOwner);
    QCOMPARE(QFileInfo(QDir::currentPath()).canonicalFilePath(), QFileInfo(expected).canonicalFilePath());
    QVERIFY(!QFile::exists(elsewhere.databasePath()));
    if (marked) // the installed program's folder is the system's: not one file added or changed
        QCOMPARE(snapshot(program.path()), programBefore);

    // A later start keeps the user's records.
    QVERIFY(writeFile(database, "the user's own records"));
    QCOMPARE(Startup::prepareProgramFolder(program.path(), dataHome), expected);
    QCOMPARE(digest(database), QCryptographicHash::hash("the user's own records", QCryptographicHash::Sha256));
}

void DataFolderTest::unusableDataFolderIsSkippedQuietly()
{
    // A regular file where the data folder should be: no database anywhere, the program folder
    // untouched, and start-up still returns so the window can say what is wrong.
    TestFolder program(TestFolder::Contents::TemplateOnly);
    QVERIFY(writeFile(program.filePath(DataFolder::installedMarker), ""));
    QTemporaryDir home;
    QVERIFY(writeFile(home.filePath(QStringLiteral("Papyra")), "not a folder"));
    const auto programBefore = snapshot(program.path());

    QCOMPARE(Startup::prepareProgramFolder(program.path(), home.path()), home.filePath(QStringLiteral("Papyra")));
    QCOMPARE(snapshot(program.path()), programBefore);
}

void DataFolderTest::usersLabelDefinitionsComeFirst_data()
{
    QTest::addColumn<QString>("inDataFolder");
    QTest::addColumn<bool>("usersChosen");
    QTest::newRow("no labels.def of the user's") << "" << false;
    QTest::newRow("the user's labels.def") << "file" << true;
    QTest::newRow("a folder named labels.def") << "folder" << false;
}

void DataFolderTest::usersLabelDefinitionsComeFirst()
{
    QFETCH(QString, inDataFolder);
    QFETCH(bool, usersChosen);
    TestFolder program(TestFolder::Contents::Empty);
    TestFolder data(TestFolder::Contents::Empty);
    if (inDataFolder == QLatin1String("file"))
        QVERIFY(writeFile(data.filePath(QStringLiteral("labels.def")), "<BEGINDEF>\n"));
    else if (inDataFolder == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(data.filePath(QStringLiteral("labels.def"))));
    QCOMPARE(LabelDefinitions::folderFor(program.path(), data.path()), usersChosen ? data.path() : program.path());
}

void DataFolderTest::installedWindowWorksInTheDataFolder()
{
    TestFolder program(TestFolder::Contents::TemplateOnly);
    QVERIFY(program.copyProgramData());
    QVERIFY(writeFile(program.filePath(DataFolder::installedMarker), ""));
    QTemporaryDir home;
    const auto programBefore = snapshot(program.path());
    const QString dataFolder = Startup::prepareProgramFolder(program.path(), home.path());
    QVERIFY(writeFile(QDir(dataFolder).filePath(QStringLiteral("labels.def")),
                      "<BEGINDEF>\nHome sheet;0.5;0.5;2;1;2;1;4;10;A4\n</BEGINDEF>\n"));

    ScriptedDialogs dialogs;
    MainWindow window(program.path(), dataFolder, &dialogs);
    QCOMPARE(window.store().databasePath(), QDir(dataFolder).filePath(QStringLiteral("Varnel.mdb")));
    QVERIFY(QSqlQuery(window.store().engine().connection())
                .exec(QStringLiteral("UPDATE Varnel SET Keywords = 'Tax 2003' WHERE FileNumber = 1")));

    QStringList listed;
    QTimer::singleShot(0, [&] {
        if (auto *dialog = qobject_cast<LabelsDialog *>(QApplication::activeModalWidget())) {
            for (int i = 0; i < dialog->labelList()->count(); ++i)
                listed << dialog->labelList()->item(i)->text();
            dialog->reject();
        }
    });
    LabelPrinting::showDialog(window.store(), dialogs, program.path(), &window);
    QCOMPARE(listed, QStringList{QStringLiteral("Home sheet")});
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(snapshot(program.path()), programBefore);
}

QTEST_MAIN(DataFolderTest)
#include "tst_datafolder.moc"
