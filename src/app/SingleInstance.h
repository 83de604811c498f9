#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

// One Papyra per local index: two windows editing one file would each show stale rows and the last
// writer would silently win. The first Papyra holds a lock file in the data folder and listens on a
// local socket named after that folder; a second start finds the lock, asks the first window over
// the socket to come to the front, and ends. A lock left by a Papyra that crashed is stale (its
// process is gone) and is taken over.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    enum class Claim {
        First,    // this Papyra has the index; it listens for later starts
        Woken,    // another Papyra has it and was asked to come to the front
        Unreached // another Papyra has it but did not answer
    };
    Claim claim();

    // The socket's name for a data folder: the same folder always gives the same name.
    static QString serverName(const QString &dataFolder);

signals:
    // A later start asked this Papyra to bring its window to the front.
    void activationRequested();

private:
    QString m_name;
    QLockFile m_lock;
    QLocalServer m_server;
};
