#include "store/FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace FileCopy {

namespace {

bool failWithErrno(QString *error)
{
    const int code = errno;
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(code));
    return false;
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Closes a descriptor once, keeping errno of the failure that is being reported.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0) {
            const int saved = errno;
            ::close(m_fd);
            errno = saved;
        }
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool syncFolderOf(const QString &path)
{
    Descriptor folder(::open(native(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder.get() >= 0 && ::fsync(folder.get()) == 0;
}

} // namespace

bool matchMode(const QString &path, const QString &like)
{
    struct stat info {
    };
    mode_t mode;
    if (::stat(native(like).constData(), &info) == 0) {
        mode = info.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::chmod(native(path).constData(), mode) == 0;
}

bool createUnique(const QString &folder, const QString &prefix, QString *path, QString *error)
{
    QByteArray name = native(QDir(folder).filePath(prefix + QStringLiteral("XXXXXX")));
    Descriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return failWithErrno(error);
    if (!fd.close()) {
        const int saved = errno;
        ::unlink(name.constData());
        errno = saved;
        return failWithErrno(error);
    }
    *path = QFile::decodeName(name);
    return true;
}

bool copyInto(const QString &from, const QString &to, QString *error)
{
    // Opened without blocking, so that a named pipe put in the file's place cannot hang the copy;
    // only a regular file is read.
    Descriptor source(::open(native(from).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (source.get() < 0)
        return failWithErrno(error);
    struct stat info {
    };
    if (::fstat(source.get(), &info) != 0)
        return failWithErrno(error);
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        return failWithErrno(error);
    }
    if (!S_ISREG(info.st_mode)) {
        if (error)
            *error = QCoreApplication::translate("FileCopy", "This is not a regular file.");
        return false;
    }
    Descriptor target(::open(native(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666));
    if (target.get() < 0)
        return failWithErrno(error);
    static constexpr size_t bufferSize = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[bufferSize]);
    for (;;) {
        const ssize_t n = ::read(source.get(), buffer.get(), bufferSize);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failWithErrno(error);
        if (n == 0)
            break;
        for (ssize_t done = 0; done < n;) {
            const ssize_t written = ::write(target.get(), buffer.get() + done, size_t(n - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                return failWithErrno(error);
            done += written;
        }
    }
    // A full disk may show only here, when the data reaches it.
    if (::fsync(target.get()) != 0 || !target.close())
        return failWithErrno(error);
    return true;
}

bool replace(const QString &from, const QString &to, QString *error)
{
    if (::rename(native(from).constData(), native(to).constData()) != 0)
        return failWithErrno(error);
    syncFolderOf(to); // the rename is done; a folder that cannot be synced does not undo it
    return true;
}

bool copyAtomically(const QString &from, const QString &to, QString *error)
{
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath() && QFileInfo::exists(to))
        return true;
    const QFileInfo target(to);
    if (target.isDir()) {
        errno = EISDIR;
        return failWithErrno(error);
    }
    QString temporary;
    if (!createUnique(target.absolutePath(), QStringLiteral(".") + target.fileName() + QStringLiteral("."), &temporary,
                      error))
        return false;
    matchMode(temporary, to);
    if (copyInto(from, temporary, error) && replace(temporary, to, error))
        return true;
    QFile::remove(temporary);
    return false;
}

} // namespace FileCopy
