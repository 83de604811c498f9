#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {

const QByteArray wakeUp = QByteArrayLiteral("raise\n");

} // namespace

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent), m_name(serverName(dataFolder)), m_lock(QDir(dataFolder).filePath(QStringLiteral(".papyra.lock")))
{
    // Never stale by age: a Papyra left open for a week still holds the index. QLockFile still
    // takes over a lock whose process has ended.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
}

QString SingleInstance::serverName(const QString &dataFolder)
{
    const QFileInfo info(dataFolder);
    const QString path = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    return QStringLiteral("papyra-") +
           QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

SingleInstance::Claim SingleInstance::claim()
{
    if (m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError) {
        // Either the index is ours, or the folder allows no lock at all (read-only): then nothing
        // can be written there anyway, and the window says so itself.
        QLocalServer::removeServer(m_name); // a socket file left by a Papyra that crashed
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                    if (socket->readAll().contains(wakeUp))
                        emit activationRequested();
                    socket->disconnectFromServer();
                });
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        m_server.setSocketOptions(QLocalServer::UserAccessOption);
        m_server.listen(m_name);
        return Claim::First;
    }
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(3000))
        return Claim::Unreached;
    socket.write(wakeUp);
    return socket.waitForBytesWritten(3000) ? Claim::Woken : Claim::Unreached;
}
