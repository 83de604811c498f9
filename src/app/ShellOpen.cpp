#include "app/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

void ShellOpen(const QString &document)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(document));
}
