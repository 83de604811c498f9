#include "store/FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

#ifdef Q_OS_WIN
#include <QRandomGenerator>

#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace FileCopy {

#ifdef Q_OS_WIN

namespace {

// The system's own text for a Windows error code, in the user's language.
QString systemMessage(DWORD code)
{
    wchar_t *buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    QString text = length ? QString::fromWCharArray(buffer, int(length)).trimmed() : QString();
    LocalFree(buffer);
    return text.isEmpty() ? QCoreApplication::translate("FileCopy", "Windows error %1").arg(code) : text;
}

bool failWith(DWORD code, QString *error)
{
    if (error)
        *error = systemMessage(code);
    return false;
}

bool failWithLastError(QString *error)
{
    return failWith(GetLastError(), error);
}

// Paths go to the wide-character functions as they are, backslashes and all: every letter survives.
std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// Closes a handle once, keeping the error of the failure that is being reported.
class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (valid()) {
            const DWORD saved = GetLastError();
            CloseHandle(m_handle);
            SetLastError(saved);
        }
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE get() const { return m_handle; }
    bool close()
    {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

bool failIsFolder(QString *error)
{
    // What Windows itself answers when a folder is opened or replaced as a file.
    return failWith(ERROR_ACCESS_DENIED, error);
}

} // namespace

bool matchMode(const QString &path, const QString &like)
{
    // Windows keeps access rights in the folder's inherited security, which a new file already has;
    // what is left to match is the read-only attribute.
    const DWORD likeAttributes = GetFileAttributesW(native(like).c_str());
    const DWORD attributes = GetFileAttributesW(native(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    const bool readOnly = likeAttributes != INVALID_FILE_ATTRIBUTES && (likeAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    const DWORD wanted =
        readOnly ? (attributes | FILE_ATTRIBUTE_READONLY) : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    return wanted == attributes || SetFileAttributesW(native(path).c_str(), wanted) != 0;
}

bool createUnique(const QString &folder, const QString &prefix, QString *path, QString *error)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = prefix;
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)]);
        const QString candidate = QDir(folder).filePath(name);
        Handle file(CreateFileW(native(candidate).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
        if (!file.valid()) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return failWithLastError(error);
        }
        if (!file.close()) {
            const DWORD saved = GetLastError();
            DeleteFileW(native(candidate).c_str());
            return failWith(saved, error);
        }
        *path = candidate;
        return true;
    }
    return failWith(ERROR_FILE_EXISTS, error);
}

bool copyInto(const QString &from, const QString &to, QString *error)
{
    if (QFileInfo(from).isDir())
        return failIsFolder(error);
    // Others may go on reading and writing the source meanwhile, as on Linux.
    Handle source(CreateFileW(native(from).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source.valid())
        return failWithLastError(error);
    // Only a file on a disk is read: not a device (NUL, CON) nor a pipe.
    if (GetFileType(source.get()) != FILE_TYPE_DISK) {
        if (error)
            *error = QCoreApplication::translate("FileCopy", "This is not a regular file.");
        return false;
    }
    // Opened for writing without truncating first: a file that is in use is refused before it is emptied.
    Handle target(
        CreateFileW(native(to).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.valid())
        return failWithLastError(error);
    if (!SetEndOfFile(target.get()))
        return failWithLastError(error);
    static constexpr DWORD bufferSize = 1 << 20;
    std::unique_ptr<char[]> buffer(new char[bufferSize]);
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(source.get(), buffer.get(), bufferSize, &n, nullptr))
            return failWithLastError(error);
        if (n == 0)
            break;
        for (DWORD done = 0; done < n;) {
            DWORD written = 0;
            if (!WriteFile(target.get(), buffer.get() + done, n - done, &written, nullptr))
                return failWithLastError(error);
            done += written;
        }
    }
    // A full disk may show only here, when the data reaches it.
    if (!FlushFileBuffers(target.get()) || !target.close())
        return failWithLastError(error);
    return true;
}

bool writeInto(const QByteArray &bytes, const QString &to, QString *error)
{
    if (QFileInfo(to).isDir())
        return failIsFolder(error);
    Handle target(
        CreateFileW(native(to).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target.valid() || !SetEndOfFile(target.get()))
        return failWithLastError(error);
    for (qsizetype done = 0; done < bytes.size();) {
        const DWORD chunk = DWORD(qMin<qsizetype>(bytes.size() - done, 1 << 30));
        DWORD written = 0;
        if (!WriteFile(target.get(), bytes.constData() + done, chunk, &written, nullptr))
            return failWithLastError(error);
        done += written;
    }
    // A full disk may show only here, when the data reaches it.
    if (!FlushFileBuffers(target.get()) || !target.close())
        return failWithLastError(error);
    return true;
}

bool syncFile(const QString &path, QString *error)
{
    // FlushFileBuffers needs write access; others keep theirs meanwhile.
    Handle file(CreateFileW(native(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid() || !FlushFileBuffers(file.get()))
        return failWithLastError(error);
    return true;
}

bool replace(const QString &from, const QString &to, QString *error)
{
    const std::wstring source = native(from), target = native(to);
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // ReplaceFileW keeps what the user's file had: its security, attributes and creation time.
        if (ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            // The replacement's name and metadata reach the disk with a flush of the file itself.
            Handle replaced(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (replaced.valid())
                FlushFileBuffers(replaced.get()); // the replace is done; a failed flush does not undo it
            return true;
        }
        // Here the old file is gone and the new one still has its temporary name; anything else
        // left both as they were.
        if (GetLastError() != ERROR_UNABLE_TO_MOVE_REPLACEMENT)
            return failWithLastError(error);
    }
    // Write-through: the call returns once the new name is on disk.
    if (!MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failWithLastError(error);
    return true;
}

#else

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

namespace {

bool writeAll(int fd, const char *data, size_t size)
{
    for (size_t done = 0; done < size;) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        done += size_t(written);
    }
    return true;
}

} // namespace

bool writeInto(const QByteArray &bytes, const QString &to, QString *error)
{
    Descriptor target(::open(native(to).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666));
    if (target.get() < 0 || !writeAll(target.get(), bytes.constData(), size_t(bytes.size())))
        return failWithErrno(error);
    // A full disk may show only here, when the data reaches it.
    if (::fsync(target.get()) != 0 || !target.close())
        return failWithErrno(error);
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
        if (!writeAll(target.get(), buffer.get(), size_t(n)))
            return failWithErrno(error);
    }
    // A full disk may show only here, when the data reaches it.
    if (::fsync(target.get()) != 0 || !target.close())
        return failWithErrno(error);
    return true;
}

bool syncFile(const QString &path, QString *error)
{
    Descriptor file(::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0 || ::fsync(file.get()) != 0)
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

namespace {

bool failIsFolder(QString *error)
{
    errno = EISDIR;
    return failWithErrno(error);
}

} // namespace

#endif

bool copyAtomically(const QString &from, const QString &to, QString *error)
{
    if (QFileInfo(from).canonicalFilePath() == QFileInfo(to).canonicalFilePath() && QFileInfo::exists(to))
        return true;
    const QFileInfo target(to);
    if (target.isDir())
        return failIsFolder(error);
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

bool writeAtomically(const QByteArray &bytes, const QString &to, QString *error)
{
    const QFileInfo target(to);
    if (target.isDir())
        return failIsFolder(error);
    QString temporary;
    if (!createUnique(target.absolutePath(), QStringLiteral(".") + target.fileName() + QStringLiteral("."), &temporary,
                      error))
        return false;
    matchMode(temporary, to);
    if (writeInto(bytes, temporary, error) && replace(temporary, to, error))
        return true;
    QFile::remove(temporary);
    return false;
}

} // namespace FileCopy
