#include "ScriptedDialogs.h"

#include <QPrinterInfo>

void ScriptedDialogs::message(QWidget *, const QString &text, Icon icon)
{
    shown.append({QStringLiteral("message"), text, icon});
}

void ScriptedDialogs::messageWithDetail(QWidget *parent, const QString &text, const QString &detail, Icon icon)
{
    message(parent, text + QStringLiteral("\n\n") + detail, icon);
}

bool ScriptedDialogs::askYesNo(QWidget *, const QString &text)
{
    shown.append({QStringLiteral("yesno"), text, Icon::None});
    return yesNoAnswers.isEmpty() ? false : yesNoAnswers.dequeue();
}

std::optional<QString> ScriptedDialogs::input(QWidget *, const QString &prompt)
{
    shown.append({QStringLiteral("input"), prompt, Icon::None});
    return inputAnswers.isEmpty() ? std::nullopt : inputAnswers.dequeue();
}

QString ScriptedDialogs::saveFileName(QWidget *, const QString &proposed)
{
    shown.append({QStringLiteral("save"), proposed, Icon::None});
    proposedFileNames.append(proposed);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget *, const QString &proposed, const QString &folder,
                                      const QStringList &filters)
{
    shown.append({QStringLiteral("open"), proposed, Icon::None});
    proposedFileNames.append(proposed);
    openFolders.append(folder);
    openFilters.append(filters);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedDialogs::folderName(QWidget *, const QString &start)
{
    shown.append({QStringLiteral("folder"), start, Icon::None});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown &s : shown)
        if (s.kind == QLatin1String("message"))
            texts.append(s.text);
    return texts;
}

QPrinterInfo ScriptedDialogs::defaultPrinter()
{
    return QPrinterInfo();
}

std::optional<Dialogs::ServerLogin> ScriptedDialogs::serverLogin(QWidget *, const ServerLogin &, const QString &note)
{
    shown.append({QStringLiteral("login"), note, Icon::None});
    return loginAnswers.isEmpty() ? std::nullopt : loginAnswers.dequeue();
}
