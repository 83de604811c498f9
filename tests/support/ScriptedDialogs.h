#pragma once

#include "ui/Dialogs.h"

#include <QGuiApplication>
#include <QQueue>
#include <QStringList>

// Dialogs answered in advance. Every question is recorded; an unexpected question is answered
// with the safe default (No, Cancel, no file) so a test never blocks on a modal loop.
class ScriptedDialogs : public Dialogs
{
public:
    struct Shown {
        QString kind; // "message", "yesno", "input", "save", "open"
        QString text;
        Icon icon = Icon::None;
        // Whether the busy pointer was showing when it came up: it never should be.
        bool busyPointer = QGuiApplication::overrideCursor() != nullptr;
    };

    void message(QWidget *parent, const QString &text, Icon icon = Icon::None) override;
    bool askYesNo(QWidget *parent, const QString &text) override;
    std::optional<QString> input(QWidget *parent, const QString &prompt) override;
    QString saveFileName(QWidget *parent, const QString &proposed) override;
    QString openFileName(QWidget *parent, const QString &proposed) override;
    // Never a real printer: a test must not print on whatever printer the machine has.
    QPrinterInfo defaultPrinter() override;

    QQueue<bool> yesNoAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QString> fileAnswers;

    QList<Shown> shown;
    QStringList proposedFileNames;

    QStringList messages() const;
    void clear()
    {
        shown.clear();
        proposedFileNames.clear();
    }
};
