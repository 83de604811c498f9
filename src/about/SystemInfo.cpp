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
        if (RegOpenKeyExW(rootKey, wide(key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;
        // The wide functions, so that every letter of a name or a path survives; text comes back as
        // UTF-16 and is handed on as UTF-8, like a text value on any other system. Room for
        // bufferSize letters: whether the value is too long is decided on its UTF-8 form.
        QByteArray buffer(2 * bufferSize, '\0');
        DWORD size = DWORD(buffer.size());
        DWORD valueType = 0;
        const LONG status = RegQueryValueExW(handle, wide(valueName).c_str(), nullptr, &valueType,
                                             reinterpret_cast<LPBYTE>(buffer.data()), &size);
        RegCloseKey(handle);
        if (status != ERROR_SUCCESS)
            return false;
        *type = valueType;
        buffer.truncate(int(size));
        if (valueType == REG_SZ || valueType == REG_EXPAND_SZ || valueType == REG_MULTI_SZ)
            *data =
                QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer.constData()), buffer.size() / 2).toUtf8();
        else
            *data = buffer;
        return true;
    }

private:
    static std::wstring wide(const QString &text) { return text.toStdWString(); }

public:
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
                *data = path.toUtf8() + '\0';
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
        value = QString::fromUtf8(data);
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
