// The About box: its face, and finding the system information tool through the registry rules.
#include "ScriptedDialogs.h"

#include "about/AboutBox.h"
#include "about/SystemInfo.h"
#include "app/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// A registry of our own making, and a record of what was started.
class FakeHost : public SystemInfo::Host
{
public:
    struct Value {
        quint32 type;
        QByteArray data;
    };
    QHash<QString, Value> values; // "key|value name"
    QSet<QString> existingFiles;
    QSet<QString> startable;
    QStringList started;
    QStringList reads;

    void set(const QString &key, const QString &name, quint32 type, const QByteArray &data)
    {
        values.insert(key + QLatin1Char('|') + name, {type, data});
    }
    bool readValue(quint32 root, const QString &key, const QString &valueName, quint32 *type, QByteArray *data) override
    {
        reads.append(valueName);
        const auto it = values.constFind(key + QLatin1Char('|') + valueName);
        if (root != SystemInfo::localMachine || it == values.constEnd())
            return false;
        *type = it->type;
        *data = it->data;
        return true;
    }
    bool fileExists(const QString &path) override { return existingFiles.contains(path); }
    bool startProgram(const QString &path) override
    {
        if (!startable.contains(path))
            return false;
        started.append(path);
        return true;
    }
};

QByteArray withNul(const char *text)
{
    return QByteArray(text) + '\0';
}

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT
private slots:
    void face();
    void okEnterAndEscapeClose_data();
    void okEnterAndEscapeClose();
    void getKeyValueRules_data();
    void getKeyValueRules();
    void startSysInfoOutcomes_data();
    void startSysInfoOutcomes();
    void systemInfoButtonKeepsTheBoxOpen();
#ifndef Q_OS_WIN
    void desktopToolStandsInForTheRegistry();
#endif
};

void AboutTest::face()
{
    ScriptedDialogs dialogs;
    FakeHost host;
    AboutBox box(&dialogs, nullptr, &host);
    QCOMPARE(box.objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(box.windowTitle(), QStringLiteral("About Papyra (TM)"));
    QCOMPARE(box.size(), Twips::size(5655, 3585));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QVERIFY(!(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Papyra \u2122"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 3.4.0"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("lblDescription"))->text(),
             QStringLiteral("Papyra \u2122  is an easy to use file tracking system that will make your life easier "
                            "in minutes!"));
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("lblDisclaimer"))->text().size(), 111);
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().size(), QSize(32, 32));
    QVERIFY(box.findChild<QWidget *>(QStringLiteral("Line1(0)")));
    QVERIFY(box.findChild<QWidget *>(QStringLiteral("Line1(1)")));

    auto *ok = box.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    auto *sysInfo = box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), Twips::rect(4245, 2625, 1260, 345));
    QVERIFY(ok->isDefault());
    QCOMPARE(sysInfo->text(), QStringLiteral("&System Info..."));
    QCOMPARE(sysInfo->geometry(), Twips::rect(4260, 3075, 1245, 345));
    QCOMPARE(ok->nextInFocusChain(), sysInfo);
    QVERIFY(host.reads.isEmpty());
}

void AboutTest::okEnterAndEscapeClose_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("OK clicked") << QStringLiteral("click");
    QTest::newRow("Enter") << QStringLiteral("enter");
    QTest::newRow("Esc") << QStringLiteral("escape");
}

void AboutTest::okEnterAndEscapeClose()
{
    QFETCH(QString, how);
    ScriptedDialogs dialogs;
    FakeHost host;
    AboutBox box(&dialogs, nullptr, &host);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    QCOMPARE(QApplication::focusWidget(), box.findChild<QPushButton *>(QStringLiteral("cmdOK")));
    if (how == QLatin1String("click"))
        QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    else
        QTest::keyClick(&box, how == QLatin1String("enter") ? Qt::Key_Return : Qt::Key_Escape);
    QVERIFY(!box.isVisible());
    QVERIFY(host.started.isEmpty());
    QVERIFY(dialogs.shown.isEmpty());
}

void AboutTest::getKeyValueRules_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<uint>("type");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value"); // the caller passes "before"

    QTest::newRow("text ending in NUL") << true << 1u << withNul("C:\\Tools\\info.exe") << true
                                        << QStringLiteral("C:\\Tools\\info.exe");
    QTest::newRow("text without NUL keeps its last character")
        << true << 1u << QByteArray("C:\\Tools\\info.exe") << true << QStringLiteral("C:\\Tools\\info.exe");
    QTest::newRow("only one NUL is dropped")
        << true << 1u << QByteArray("abc\0\0", 5) << true << QString::fromLatin1("abc\0", 4);
    QTest::newRow("empty text") << true << 1u << QByteArray() << true << QString();
    QTest::newRow("just a NUL") << true << 1u << QByteArray(1, '\0') << true << QString();
    QTest::newRow("number") << true << 4u << QByteArray("\x2a\x01\x00\x00", 4) << true << QStringLiteral("298");
    QTest::newRow("number zero") << true << 4u << QByteArray(4, '\0') << true << QStringLiteral("0");
    QTest::newRow("largest number") << true << 4u << QByteArray(4, '\xff') << true << QStringLiteral("4294967295");
    QTest::newRow("expandable text is another type")
        << true << 2u << withNul("%SystemRoot%\\info.exe") << true << QStringLiteral("before");
    QTest::newRow("binary is another type")
        << true << 3u << QByteArray("\x01\x02", 2) << true << QStringLiteral("before");
    QTest::newRow("longest readable text")
        << true << 1u << QByteArray(1023, 'x') + '\0' << true << QString(1023, QLatin1Char('x'));
    QTest::newRow("longer than the buffer") << true << 1u << QByteArray(1025, 'x') << false << QString();
    QTest::newRow("missing") << false << 1u << QByteArray() << false << QString();
}

void AboutTest::getKeyValueRules()
{
    QFETCH(bool, present);
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, found);
    QFETCH(QString, value);
    FakeHost host;
    if (present)
        host.set(QStringLiteral("K"), QStringLiteral("V"), type, data);
    QString out = QStringLiteral("before");
    QCOMPARE(SystemInfo::GetKeyValue(host, SystemInfo::localMachine, QStringLiteral("K"), QStringLiteral("V"), out),
             found);
    QCOMPARE(out, value);
}

void AboutTest::startSysInfoOutcomes_data()
{
    QTest::addColumn<QByteArray>("toolPath"); // empty: value missing
    QTest::addColumn<uint>("toolType");
    QTest::addColumn<QByteArray>("folder"); // empty: value missing
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("canStart");
    QTest::addColumn<QString>("started"); // empty: the message is shown instead

    const QString direct = QStringLiteral("C:\\Info\\info.exe");
    const QString inFolder = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
    QTest::newRow("first value names the program")
        << withNul("C:\\Info\\info.exe") << 1u << QByteArray() << false << true << direct;
    QTest::newRow("first value, start fails")
        << withNul("C:\\Info\\info.exe") << 1u << QByteArray() << false << false << QString();
    QTest::newRow("first value of another type")
        << QByteArray("\x01\x02", 2) << 3u << QByteArray() << false << true << QString();
    QTest::newRow("folder with the program") << QByteArray() << 1u << withNul("C:\\Shared") << true << true << inFolder;
    QTest::newRow("folder without the program")
        << QByteArray() << 1u << withNul("C:\\Shared") << false << true << QString();
    QTest::newRow("folder with the program, start fails")
        << QByteArray() << 1u << withNul("C:\\Shared") << true << false << QString();
    QTest::newRow("neither value") << QByteArray() << 1u << QByteArray() << false << true << QString();
}

void AboutTest::startSysInfoOutcomes()
{
    QFETCH(QByteArray, toolPath);
    QFETCH(uint, toolType);
    QFETCH(QByteArray, folder);
    QFETCH(bool, fileThere);
    QFETCH(bool, canStart);
    QFETCH(QString, started);

    FakeHost host;
    if (!toolPath.isEmpty())
        host.set(SystemInfo::toolKey, SystemInfo::toolValue, toolType, toolPath);
    if (!folder.isEmpty())
        host.set(SystemInfo::folderKey, SystemInfo::folderValue, 1, folder);
    const QString inFolder = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
    if (fileThere)
        host.existingFiles.insert(inFolder);
    if (canStart) {
        host.startable.insert(QStringLiteral("C:\\Info\\info.exe"));
        host.startable.insert(inFolder);
    }
    ScriptedDialogs dialogs;
    SystemInfo::StartSysInfo(host, &dialogs, nullptr);

    if (started.isEmpty()) {
        QVERIFY(host.started.isEmpty());
        QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    } else {
        QCOMPARE(host.started, QStringList{started});
        QVERIFY(dialogs.shown.isEmpty());
    }
    // The folder is asked for only when the first value is missing.
    QCOMPARE(host.reads.contains(SystemInfo::folderValue), toolPath.isEmpty());
}

void AboutTest::systemInfoButtonKeepsTheBoxOpen()
{
    ScriptedDialogs dialogs;
    FakeHost host;
    AboutBox box(&dialogs, nullptr, &host);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
    QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
    QVERIFY(box.isVisible());
}

#ifndef Q_OS_WIN
void AboutTest::desktopToolStandsInForTheRegistry()
{
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    auto host = SystemInfo::platformHost();
    auto lookUp = [&host](const QString &key, const QString &name, QString *value) {
        return SystemInfo::GetKeyValue(*host, SystemInfo::localMachine, key, name, *value);
    };

    // Nothing on PATH: the lookup fails and the user is told.
    QString noTool;
    const bool foundWithout = lookUp(SystemInfo::toolKey, SystemInfo::toolValue, &noTool);
    ScriptedDialogs dialogs;
    SystemInfo::StartSysInfo(*host, &dialogs, nullptr);

    // Two tools of the list on PATH: the earlier one in the list is named.
    const QStringList tools = SystemInfo::desktopTools();
    for (const QString &name : {tools.at(2), tools.at(1)}) {
        QFile tool(bin.filePath(name));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n");
        tool.close();
        tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString tool;
    const bool found = lookUp(SystemInfo::toolKey, SystemInfo::toolValue, &tool);
    QString folder;
    const bool folderFound = lookUp(SystemInfo::folderKey, SystemInfo::folderValue, &folder);
    qputenv("PATH", oldPath);

    QVERIFY(!foundWithout);
    QCOMPARE(dialogs.messages(), QStringList{SystemInfo::unavailableMessage});
    QVERIFY(found);
    QCOMPARE(tool, bin.filePath(tools.at(1)));
    QVERIFY(!folderFound);
}
#endif

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
