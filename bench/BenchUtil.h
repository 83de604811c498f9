#pragma once

#include "ui/Dialogs.h"

#include <QString>
#include <QVector>
#include <functional>

namespace Bench {

// Runs fn `runs` times and returns the median duration in milliseconds.
double medianMs(int runs, const std::function<void()> &fn);
// Runs fn `runs` times; fn times its own part and returns milliseconds. Returns the median.
double medianTimed(int runs, const std::function<double()> &fn);
double median(QVector<double> values);
double elapsedMs(const std::function<void()> &fn);

// A fresh program folder (under the system temp folder) holding a database of slotCount slots.
QString makeProgramFolder(const QString &name, int slotCount);

void report(const QString &what, double ms, const QString &target = QString());

// Says Yes to every question and names the same file in every file dialog; messages are only counted.
class AnsweringDialogs : public Dialogs
{
public:
    QString file;
    int messages = 0;
    void message(QWidget *, const QString &, Icon) override { ++messages; }
    bool askYesNo(QWidget *, const QString &) override { return true; }
    QString saveFileName(QWidget *, const QString &) override { return file; }
    QString folderName(QWidget *, const QString &) override { return QString(); }
    QString openFileName(QWidget *, const QString &, const QString &, const QStringList &) override { return file; }
};

} // namespace Bench
