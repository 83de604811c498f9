#include "ScriptedDialogs.h"

#include <QPrinterInfo>

void ScriptedDialogs::message(QWidget *, const QString &text, Icon icon)
{
    shown.append({QStringLiteral("message"), text, icon});
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

QString ScriptedDialogs::openFileName(QWidget *, const QString &proposed)
{
    shown.append({QStringLiteral("open"), proposed, Icon::None});
    proposedFileNames.append(proposed);
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
