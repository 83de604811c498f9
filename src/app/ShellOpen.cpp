#include "app/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QDir>

#include <windows.h>

#include <shellapi.h>
#endif

void ShellOpen(const QString &document)
{
#ifdef Q_OS_WIN
    // A web address goes to the shell through Qt (ShellExecute underneath, and an application's own
    // URL handler still sees it first). A file name goes to the shell's own "open", as Explorer does
    // on a double click, in Windows form: backslashes and every letter kept, and a plain name found
    // in the current folder (the data folder).
    if (!document.contains(QLatin1String("://")) &&
        !document.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)) {
        const QString path = QDir::toNativeSeparators(document);
        ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t *>(path.utf16()), nullptr, nullptr,
                      SW_SHOWNORMAL);
        return;
    }
    QDesktopServices::openUrl(QUrl(document));
#else
    QDesktopServices::openUrl(QUrl::fromUserInput(document));
#endif
}
