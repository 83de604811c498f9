// The About box, and finding the system information tool through the registry rules.
#include "ScriptedDialogs.h"

#include "about/AboutBox.h"
#include "about/SystemInfo.h"

#include <QPushButton>
#include <QtTest>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A registry of our own making, and a record of what was read and started.
class FakeHost : public SystemInfo::Host
{
public:
    QHash<QString, QPair<quint32, QByteArray>> values; // "key|value name" -> type, bytes
    QSet<QString> existingFiles, startable;
    QStringList started, reads;

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
        *type = it->first;
        *data = it->second;
        return true;
    }
    bool fileExists(const QString &path) override { return existingFiles.contains(path); }
    bool startProgram(const QString &path) override
    {
        if (startable.contains(path))
            started.append(path);
        return startable.contains(path);
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
    void buttons();
    void getKeyValueRules_data();
    void getKeyValueRules();
    void startSysInfoOutcomes_data();
    void startSysInfoOutcomes();
#ifndef Q_OS_WIN
    void desktopToolStandsInForTheRegistry();
#else
    void registryValuesReadThroughTheSystem();
#endif
};

void AboutTest::buttons()
{
    ScriptedDialogs dialogs;
    FakeHost host;
    AboutBox box(&dialogs, nullptr, &host);
    QVERIFY(host.reads.isEmpty()); // the registry is read only when asked to
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("cmdOK"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QCOMPARE(QApplication::focusWidget(), ok);
        // System Info tells that nothing was found and leaves the box open.
        QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QVERIFY(box.isVisible());
        ok->setFocus();
        QTest::keyClick(&box, key);
        QVERIFY(!box.isVisible());
    }
    QCOMPARE(dialogs.messages(), QStringList(2, SystemInfo::unavailableMessage()));
}

void AboutTest::getKeyValueRules_data()
{
    QTest::addColumn<uint>("type"); // 0: no such value
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value"); // the caller passes "before"

    const QString path = QStringLiteral("C:\\info.exe");
    QTest::newRow("text ending in NUL") << 1u << withNul("C:\\info.exe") << true << path;
    QTest::newRow("text without NUL keeps its last character") << 1u << QByteArray("C:\\info.exe") << true << path;
    QTest::newRow("only one NUL is dropped")
        << 1u << QByteArray("abc\0\0", 5) << true << QString::fromLatin1("abc\0", 4);
    QTest::newRow("number") << 4u << QByteArray("\x2a\x01\x00\x00", 4) << true << QStringLiteral("298");
    QTest::newRow("largest number") << 4u << QByteArray(4, '\xff') << true << QStringLiteral("4294967295");
    QTest::newRow("another type leaves the value") << 2u << withNul("%SystemRoot%") << true << QStringLiteral("before");
    QTest::newRow("longest readable") << 1u << QByteArray(1023, 'x') + '\0' << true << QString(1023, QLatin1Char('x'));
    QTest::newRow("longer than the buffer") << 1u << QByteArray(1025, 'x') << false << QString();
    QTest::newRow("missing") << 0u << QByteArray() << false << QString();
}

void AboutTest::getKeyValueRules()
{
    QFETCH(uint, type);
    QFETCH(QByteArray, data);
    QFETCH(bool, found);
    QFETCH(QString, value);
    FakeHost host;
    if (type)
        host.set(QStringLiteral("K"), QStringLiteral("V"), type, data);
    QString out = QStringLiteral("before");
    QCOMPARE(SystemInfo::GetKeyValue(host, SystemInfo::localMachine, QStringLiteral("K"), QStringLiteral("V"), out),
             found);
    QCOMPARE(out, value);
}

void AboutTest::startSysInfoOutcomes_data()
{
    // What the machine has: "tool" (the first value, naming the program), "folder" (the second
    // value), "file" (the program in that folder), "start" (the program starts when asked).
    QTest::addColumn<QString>("machine");
    QTest::addColumn<QString>("started"); // empty: the message is shown instead

    const QString tool = QStringLiteral("C:\\Info\\info.exe");
    const QString inFolder = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
    QTest::newRow("first value names the program") << QStringLiteral("tool folder file start") << tool;
    QTest::newRow("first value, start fails") << QStringLiteral("tool folder file") << QString();
    QTest::newRow("folder with the program") << QStringLiteral("folder file start") << inFolder;
    QTest::newRow("folder without the program") << QStringLiteral("folder start") << QString();
    QTest::newRow("neither value") << QStringLiteral("file start") << QString();
}

void AboutTest::startSysInfoOutcomes()
{
    QFETCH(QString, machine);
    QFETCH(QString, started);
    const QString inFolder = QStringLiteral("C:\\Shared\\MSINFO32.EXE");
    FakeHost host;
    if (machine.contains(QLatin1String("tool")))
        host.set(SystemInfo::toolKey, SystemInfo::toolValue, SystemInfo::textType, withNul("C:\\Info\\info.exe"));
    if (machine.contains(QLatin1String("folder")))
        host.set(SystemInfo::folderKey, SystemInfo::folderValue, SystemInfo::textType, withNul("C:\\Shared"));
    if (machine.contains(QLatin1String("file")))
        host.existingFiles.insert(inFolder);
    if (machine.contains(QLatin1String("start")))
        host.startable = {QStringLiteral("C:\\Info\\info.exe"), inFolder};
    ScriptedDialogs dialogs;
    SystemInfo::StartSysInfo(host, &dialogs, nullptr);

    QCOMPARE(host.started, started.isEmpty() ? QStringList() : QStringList{started});
    QCOMPARE(dialogs.messages(), started.isEmpty() ? QStringList{SystemInfo::unavailableMessage()} : QStringList());
    // The folder is asked for only when the first value is missing.
    QCOMPARE(host.reads.contains(SystemInfo::folderValue), !machine.contains(QLatin1String("tool")));
}

#ifndef Q_OS_WIN
void AboutTest::desktopToolStandsInForTheRegistry()
{
    QTemporaryDir bin;
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    auto host = SystemInfo::platformHost();
    ScriptedDialogs dialogs;
    SystemInfo::StartSysInfo(*host, &dialogs, nullptr); // nothing on PATH: the user is told

    // Two tools of the list on PATH: the earlier one in the list is named.
    const QStringList tools = SystemInfo::desktopTools();
    for (const QString &name : {tools.at(2), tools.at(1)}) {
        QFile tool(bin.filePath(name));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    QString tool;
    const bool found =
        SystemInfo::GetKeyValue(*host, SystemInfo::localMachine, SystemInfo::toolKey, SystemInfo::toolValue, tool);
    qputenv("PATH", oldPath);

    QCOMPARE(dialogs.messages(), QStringList{SystemInfo::unavailableMessage()});
    QVERIFY(found);
    QCOMPARE(tool, bin.filePath(tools.at(1)));
}
#else
void AboutTest::registryValuesReadThroughTheSystem()
{
    // Values of our own under the current user's root (writable without an administrator), read
    // back through the program's registry host; key, value and text in letters beyond any 8-bit
    // code page.
    const quint32 currentUser = 0x80000001;
    const QString parent = QStringLiteral("Software\\Papyra tests %1").arg(QCoreApplication::applicationPid());
    const QString key = parent + QStringLiteral("\\Jörg Ωμέγα");
    const QString path = QStringLiteral("C:\\Programme\\Jörg\\Ωμέγα 文件\\info.exe");
    HKEY handle = nullptr;
    QCOMPARE(RegCreateKeyExW(HKEY_CURRENT_USER, key.toStdWString().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                             nullptr),
             LONG(ERROR_SUCCESS));
    const auto setText = [&](const QString &name, const QString &text) {
        return RegSetValueExW(handle, name.toStdWString().c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE *>(text.utf16()),
                              DWORD(2 * (text.size() + 1))) == ERROR_SUCCESS;
    };
    const DWORD number = 1234567;
    const bool written =
        setText(QStringLiteral("Pfad Ä"), path) && setText(QStringLiteral("Longest"), QString(1023, 'x')) &&
        setText(QStringLiteral("Too long"), QString(1024, 'x')) &&
        RegSetValueExW(handle, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number) ==
            ERROR_SUCCESS;
    RegCloseKey(handle);

    // name, readable, value read
    const QList<std::tuple<QString, bool, QString>> cases{
        {QStringLiteral("Pfad Ä"), true, path},
        {QStringLiteral("Number"), true, QStringLiteral("1234567")},
        {QStringLiteral("Longest"), true, QString(1023, 'x')},
        {QStringLiteral("Too long"), false, QString()},
        {QStringLiteral("Missing"), false, QString()},
    };
    auto host = SystemInfo::platformHost();
    QStringList wrong;
    for (const auto &[name, readable, expected] : cases) {
        QString value = QStringLiteral("before");
        if (SystemInfo::GetKeyValue(*host, currentUser, key, name, value) != readable || value != expected)
            wrong.append(name + QStringLiteral(": ") + value.left(40));
    }
    QString none = QStringLiteral("before");
    const bool missingKey = SystemInfo::GetKeyValue(*host, currentUser, parent + QStringLiteral("\\Missing"),
                                                    QStringLiteral("Number"), none);
    RegDeleteTreeW(HKEY_CURRENT_USER, parent.toStdWString().c_str());

    QVERIFY(written);
    QCOMPARE(wrong, QStringList());
    QVERIFY(!missingKey);
    QCOMPARE(none, QString());
}
#endif

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
