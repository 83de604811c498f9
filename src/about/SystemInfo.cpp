#include "about/SystemInfo.h"

#include "ui/Dialogs.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace SystemInfo {

namespace {

bool startDetached(const QString &path)
{
    return !path.isEmpty() && QProcess::startDetached(path, {});
}

#ifdef Q_OS_WIN

class RegistryHost : public Host
{
public:
    bool readValue(quint32 root, const QString &key, const QString &valueName, quint32 *type, QByteArray *data) override
    {
        // Read access only: asking for more is refused to a standard user, and the lookup never writes.
        HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
        HKEY handle = nullptr;
        if (RegOpenKeyExA(rootKey, key.toLocal8Bit().constData(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;
        QByteArray buffer(bufferSize, '\0');
        DWORD size = bufferSize;
        DWORD valueType = 0;
        const LONG status = RegQueryValueExA(handle, valueName.toLocal8Bit().constData(), nullptr, &valueType,
                                             reinterpret_cast<LPBYTE>(buffer.data()), &size);
        RegCloseKey(handle);
        if (status != ERROR_SUCCESS)
            return false;
        *type = valueType;
        *data = buffer.left(static_cast<int>(size));
        return true;
    }
    bool fileExists(const QString &path) override { return QFileInfo(path).isFile(); }
    bool startProgram(const QString &path) override { return startDetached(path); }
};

#else

// Without a registry, the desktop's own system information program stands in for the one the
// registry would name; the folder lookup has nothing to offer.
class DesktopHost : public Host
{
public:
    bool readValue(quint32 root, const QString &key, const QString &valueName, quint32 *type, QByteArray *data) override
    {
        if (root != localMachine || key != toolKey || valueName != toolValue)
            return false;
        for (const QString &tool : desktopTools()) {
            const QString path = QStandardPaths::findExecutable(tool);
            if (!path.isEmpty()) {
                *type = textType;
                *data = path.toLocal8Bit() + '\0';
                return true;
            }
        }
        return false;
    }
    bool fileExists(const QString &path) override { return QFileInfo(path).isFile(); }
    bool startProgram(const QString &path) override { return startDetached(path); }
};

#endif

} // namespace

std::unique_ptr<Host> platformHost()
{
#ifdef Q_OS_WIN
    return std::make_unique<RegistryHost>();
#else
    return std::make_unique<DesktopHost>();
#endif
}

QStringList desktopTools()
{
    return {QStringLiteral("hardinfo2"),
            QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"),
            QStringLiteral("cpu-x"),
            QStringLiteral("gnome-system-monitor"),
            QStringLiteral("mate-system-monitor")};
}

bool GetKeyValue(Host &host, quint32 root, const QString &keyName, const QString &valueName, QString &value)
{
    quint32 type = 0;
    QByteArray data;
    if (!host.readValue(root, keyName, valueName, &type, &data) || data.size() > bufferSize) {
        value.clear();
        return false;
    }
    if (data.endsWith('\0'))
        data.chop(1);
    if (type == textType) {
        value = QString::fromLocal8Bit(data);
    } else if (type == numberType) {
        // Little-endian; a dropped trailing NUL was only a zero high byte.
        quint32 number = 0;
        for (int i = qMin(4, int(data.size())) - 1; i >= 0; --i)
            number = (number << 8) | static_cast<quint8>(data.at(i));
        value = QString::number(number);
    }
    return true;
}

void StartSysInfo(Host &host, Dialogs *dialogs, QWidget *parent)
{
    QString path;
    bool started = false;
    if (GetKeyValue(host, localMachine, toolKey, toolValue, path)) {
        started = host.startProgram(path);
    } else if (GetKeyValue(host, localMachine, folderKey, folderValue, path)) {
        path += programFile;
        started = host.fileExists(path) && host.startProgram(path);
    }
    if (!started)
        dialogs->message(parent, unavailableMessage());
}

} // namespace SystemInfo
