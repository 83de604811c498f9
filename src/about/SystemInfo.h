#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <memory>

class Dialogs;
class QWidget;

// Finding and starting the operating system's system information tool from the About box. The
// value rules and the order of the lookups are plain code over a Host, so any registry contents
// can be fed to them.
namespace SystemInfo {

constexpr quint32 localMachine = 0x80000002; // the local machine registry root
constexpr quint32 textType = 1;              // a zero-terminated text value
constexpr quint32 numberType = 4;            // a 32-bit little-endian number
constexpr int bufferSize = 1024;             // a value longer than this cannot be read

inline const QString toolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
inline const QString toolValue = QStringLiteral("PATH");
inline const QString folderKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
inline const QString folderValue = QStringLiteral("MSINFO");
inline const QString programFile = QStringLiteral("\\MSINFO32.EXE");
inline QString unavailableMessage()
{
    return QCoreApplication::translate("SystemInfo", "System Information Is Unavailable At This Time");
}

// What the lookup needs from the operating system.
class Host
{
public:
    virtual ~Host() = default;
    // Reads one value read-only: its type and its bytes as stored, a text value in UTF-8. False
    // when the key cannot be opened or the value cannot be read.
    virtual bool readValue(quint32 root, const QString &key, const QString &valueName, quint32 *type,
                           QByteArray *data) = 0;
    virtual bool fileExists(const QString &path) = 0;
    // Starts a program in a normal window without waiting for it; false when it could not start.
    virtual bool startProgram(const QString &path) = 0;
};

// The running system's host. On Windows it reads the registry; elsewhere there is no registry and
// the first lookup answers with the first of desktopTools() found on PATH.
std::unique_ptr<Host> platformHost();
QStringList desktopTools();

// Reads a registry value as text into value. False, with value emptied, when it cannot be read.
// The data is cut to its length and one trailing NUL dropped; a text value is read as UTF-8, a
// number becomes decimal text, and a value of any other type leaves value as it was passed.
bool GetKeyValue(Host &host, quint32 root, const QString &keyName, const QString &valueName, QString &value);

// Starts the system information program named by the registry, or tells the user it is unavailable.
void StartSysInfo(Host &host, Dialogs *dialogs, QWidget *parent);

} // namespace SystemInfo
