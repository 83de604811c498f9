#include "backup/FileCopy.h"

#include <QFile>
#include <QSaveFile>

namespace FileCopy {

bool copyAtomically(const QString &from, const QString &to, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return fail(source.errorString());
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return fail(target.errorString());
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = source.read(buffer.data(), buffer.size());
        if (n < 0)
            return fail(source.errorString()); // the unfinished copy is dropped with `target`
        if (n == 0)
            break;
        if (target.write(buffer.constData(), n) != n)
            return fail(target.errorString());
    }
    // commit() syncs the temporary file to disk before it renames it over the target.
    if (!target.commit())
        return fail(target.errorString());
    return true;
}

} // namespace FileCopy
